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

TEST(FileDialogLayout, OpensAtTheNearestFolderThatAnswers) {
    constexpr auto P = FolderAnswer::kPending;
    constexpr auto T = FolderAnswer::kThere;
    constexpr auto M = FolderAnswer::kMissing;
    const struct {
        std::vector<FolderAnswer> answers;
        bool givenUp;
        bool decided;
        std::optional<std::size_t> index;
    } cases[] = {
        {{T, T, T}, false, true, 0},
        {{M, M, T}, false, true, 2},
        {{M, P, T}, false, false, std::nullopt},  // the deeper one may still answer
        {{M, P, T}, true, true, 2},               // a server that holds the check up is passed over
        {{P, P, P}, true, true, std::nullopt},
        {{M, M}, false, true, std::nullopt},
        {{}, false, true, std::nullopt},
    };
    for (const auto& c : cases) {
        const FolderChoice choice = NearestAnsweringFolder(c.answers, c.givenUp);
        EXPECT_EQ(choice.decided, c.decided);
        EXPECT_EQ(choice.index, c.index);
    }
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
