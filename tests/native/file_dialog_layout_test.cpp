#include <gtest/gtest.h>

#include "ui/file_dialog_layout.h"

namespace tavelin::ui {
namespace {

TEST(FileDialogLayout, TheFolderWithoutItsTrailingSeparatorThenItsAncestors) {
    using Chain = std::vector<std::wstring>;
    const struct {
        std::wstring folder;
        Chain chain;
    } cases[] = {
        {L"C:\\Data\\表\\", {L"C:\\Data\\表", L"C:\\Data", L"C:\\"}},
        {L"C:\\Data", {L"C:\\Data", L"C:\\"}},
        {L"C:\\", {L"C:\\"}},
        {L"C:\\Data\\\\", {L"C:\\Data", L"C:\\"}},
        {L"\\\\srv\\share\\a\\", {L"\\\\srv\\share\\a", L"\\\\srv\\share", L"\\\\srv"}},
        {L"D:", {L"D:"}},
        {L"", {}},
        {L"\\", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderAndAncestors(c.folder), c.chain) << testing::PrintToString(c.folder);
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
