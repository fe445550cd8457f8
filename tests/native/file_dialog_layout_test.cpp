#include <gtest/gtest.h>

#include "ui/file_dialog_layout.h"

namespace tavelin::ui {
namespace {

TEST(FileDialogLayout, InitialDirDropsATrailingSeparatorExceptAfterADrive) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Data\\", L"C:\\Data"},
        {L"C:\\", L"C:\\"},
        {L"C:\\Data", L"C:\\Data"},
        {L"\\\\srv\\share\\", L"\\\\srv\\share"},
        {L"", L""},
        {L"\\", L"\\"},
        {L"D:\\表\\", L"D:\\表"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DialogInitialDir(in), out) << testing::PrintToString(std::wstring(in));
}

TEST(FileDialogLayout, CentredHorizontallyWithTheTopAtAThirdOfTheFreeHeight) {
    struct Case {
        ScreenRect work;
        int width, height, x, y;
    };
    const Case cases[] = {
        {{0, 0, 1024, 768}, 424, 468, 300, 100},
        {{1024, 30, 2048, 798}, 400, 300, 1336, 186},
        {{0, 0, 800, 600}, 1000, 700, 0, 0},  // too big: the top-left corner stays on the work area
    };
    for (const Case& c : cases) {
        ScreenPoint at = DialogPosition(c.work, c.width, c.height);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
    }
}

TEST(FileDialogLayout, ALongerInitialDirGivesItsDeepestAncestorThatFits) {
    const std::wstring a(247, L'a');
    const std::wstring b(6, L'b');
    const struct {
        std::wstring in, out;
    } cases[] = {
        {L"C:\\" + a + L"\\" + b + L"\\", L"C:\\" + a + L"\\" + b},  // 257 characters: fits
        {L"C:\\" + a + L"\\" + b + L"c\\", L"C:\\" + a},             // 258: its parent
        {L"C:\\" + a + L"\\" + b + L"c\\d\\e", L"C:\\" + a},
        {L"C:\\" + a + a, L"C:\\"},  // one name too long: the drive root
        {L"\\\\srv\\share\\" + a + L"\\x", L"\\\\srv\\share"},
        {std::wstring(300, L'z'), L""},  // nothing to cut at: the dialog's own choice
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DialogInitialDir(c.in), c.out) << c.in.size();
        EXPECT_LE(DialogInitialDir(c.in).size(), kLongestDialogFolder);
    }
}

TEST(FileDialogLayout, TheFileNameBoxHoldsWhatFitsBesideTheFolderShown) {
    const struct {
        std::wstring folder;
        int limit;
    } cases[] = {
        {L"C:\\", 256},
        {L"C:\\Data", 251},
        {L"C:\\Data\\", 251},
        {L"", 259},  // a folder without a path (the desktop, the computer)
        {L"C:\\" + std::wstring(254, L'a'), 1},
        {L"C:\\" + std::wstring(300, L'a'), 1},  // never 0, which would lift the limit
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileNameLimit(c.folder), c.limit) << c.folder.size();
    EXPECT_EQ(FileNameWithin(std::wstring(300, L'x'), L"C:\\Data"), std::wstring(251, L'x'));
    EXPECT_EQ(FileNameWithin(std::wstring(250, L'x') + L"\xD83D\xDE00", L"C:\\Data"), std::wstring(250, L'x'));
}

}  // namespace
}  // namespace tavelin::ui
