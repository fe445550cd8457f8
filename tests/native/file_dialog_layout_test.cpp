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

}  // namespace
}  // namespace tavelin::ui
