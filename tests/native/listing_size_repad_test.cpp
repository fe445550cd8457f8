#include <gtest/gtest.h>

#include "fakes/grid_observer.h"
#include "listing/size_repadder.h"
#include "listing/size_text.h"

namespace tavelin {
namespace {

TEST(ParseWholeNumberTest, ReadsStrictlyWith64BitRange) {
    struct Case {
        std::wstring text;
        std::optional<WholeNumber> value;
    };
    const Case cases[] = {
        {L"0", WholeNumber{false, 0}},
        {L"    1234", WholeNumber{false, 1234}},
        {L"+5", WholeNumber{false, 5}},
        {L"-12", WholeNumber{true, 12}},
        {L"-0", WholeNumber{false, 0}},
        {L"007", WholeNumber{false, 7}},
        {L"2147483648", WholeNumber{false, 2147483648ull}},
        {L"  3221225472", WholeNumber{false, 3221225472ull}},
        {L"18446744073709551615", WholeNumber{false, 18446744073709551615ull}},
        {L"-9223372036854775808", WholeNumber{true, 9223372036854775808ull}},
        {L"$1F", WholeNumber{false, 31}},
        {L"x10", WholeNumber{false, 16}},
        {L"X10", WholeNumber{false, 16}},
        {L"0x7fffffff", WholeNumber{false, 0x7fffffff}},
        {L" 0XFFFFFFFF", WholeNumber{false, 0xFFFFFFFFull}},
        {L"18446744073709551616", std::nullopt},
        {L"-9223372036854775809", std::nullopt},
        {L"0x123456789", std::nullopt},  // nine hex digits
        {L"$", std::nullopt},
        {L"-$5", std::nullopt},
        {L"0xG", std::nullopt},
        {L"", std::nullopt},
        {L"   ", std::nullopt},
        {L"-", std::nullopt},
        {L"12 ", std::nullopt},
        {L"1 2", std::nullopt},
        {L"abc", std::nullopt},
        {L"\t5", std::nullopt},
        {L"５", std::nullopt},  // full-width digit
    };
    for (const Case& c : cases) {
        const auto parsed = ParseWholeNumber(c.text);
        EXPECT_EQ(parsed, c.value) << "\"" << std::string(c.text.begin(), c.text.end()) << "\"";
    }
}

FileGrid SizeGrid(const std::vector<std::wstring>& sizes) {
    FileGrid grid;
    grid.SetRowCount(static_cast<int>(sizes.size()) + 1);
    grid.SetCell(1, 0, L"Bytes");
    for (size_t i = 0; i < sizes.size(); ++i)
        grid.SetCell(1, static_cast<int>(i) + 1, sizes[i]);
    return grid;
}

std::vector<std::wstring> Sizes(const FileGrid& grid) {
    std::vector<std::wstring> cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells.emplace_back(grid.Cell(1, row));
    return cells;
}

// What the size column shows once re-padded for a column leaving `textPixels` for its text, with
// the digit `digitPixels` wide, and which rows had to be repainted for it.
TEST(RepadSizesTest, EverySizeEndsAtTheColumnsRightEdge) {
    struct Case {
        int textPixels, digitPixels;
        std::vector<std::wstring> before, after;
        std::vector<int> repainted;
    };
    const std::wstring five26 = std::wstring(25, L' ') + L"5";
    const Case cases[] = {
        {48, 8, {L"   5", L"  40", L" 300"}, {L"     5", L"    40", L"   300"}, {1, 2, 3}},
        {96, 8, {L"     5", L"    40"}, {L"           5", L"          40"}, {1, 2}},
        // A width that still holds as many digits changes no text and repaints nothing.
        {51, 8, {L"     5", L"    40"}, {L"     5", L"    40"}, {}},
        {80,
         8,
         {L"    1234", L"       0", L"", L"junk", L"  -7", L"3221225472", L"123456789012"},
         {L"      1234", L"         0", L"", L"         0", L"        -7", L"3221225472", L"123456789012"},
         {1, 2, 4, 5}},
        {24, 8, {L"  5", L"12", L"", L"100", L"1234"}, {L"  5", L" 12", L"", L"100", L"1234"}, {2}},
        {120,
         8,
         {L"3221225472", L"  9223372036854775807", L"2147483648"},
         {L"     3221225472", L"9223372036854775807", L"     2147483648"},
         {1, 2, 3}},
        // Never fewer than three characters, and never a digit taken as narrower than 3 pixels.
        {31, 8, {L"5"}, {L"  5"}, {1}},
        {32, 8, {L"5"}, {L"   5"}, {1}},
        {20, 8, {L"5"}, {L"  5"}, {1}},
        {0, 8, {L"5"}, {L"  5"}, {1}},
        {-5, 8, {L"5"}, {L"  5"}, {1}},
        {64, 7, {L"5"}, {L"        5"}, {1}},
        {80, 2, {L"5"}, {five26}, {1}},
        {80, 0, {L"5"}, {five26}, {1}},
    };
    for (const Case& c : cases) {
        FileGrid grid = SizeGrid(c.before);
        test::RecordingObserver observer;
        grid.SetObserver(&observer);
        RepadSizes(grid, SizeWidth(c.textPixels, c.digitPixels));
        const std::string at = std::to_string(c.textPixels) + " px, digit " + std::to_string(c.digitPixels);
        EXPECT_EQ(Sizes(grid), c.after) << at;
        EXPECT_EQ(grid.Cell(1, 0), L"Bytes") << at;
        std::vector<std::pair<int, int>> repainted;
        for (int row : c.repainted)
            repainted.emplace_back(1, row);
        EXPECT_EQ(observer.cells, repainted) << at;
    }
}

}  // namespace
}  // namespace tavelin
