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

TEST(RepadSizeWidthTest, DigitAndColumnWidthsHaveFloorsOfThree) {
    struct Case {
        int pixels, zero, width;
    };
    const Case cases[] = {{80, 8, 10}, {64, 7, 9}, {80, 2, 26}, {80, 0, 26}, {20, 8, 3},
                          {0, 8, 3},   {-5, 8, 3}, {24, 8, 3},  {31, 8, 3},  {32, 8, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(RepadSizeWidth(c.pixels, c.zero), c.width) << c.pixels << " px, zero " << c.zero;
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

TEST(RepadSizesTest, RewritesEveryNonEmptySizeToTheWidth) {
    FileGrid grid = SizeGrid({L"    1234", L"       0", L"", L"junk", L"  -7", L"3221225472", L"123456789012"});
    RepadSizes(grid, 10);
    EXPECT_EQ(Sizes(grid), (std::vector<std::wstring>{L"      1234", L"         0", L"", L"         0", L"        -7",
                                                      L"3221225472", L"123456789012"}));
    EXPECT_EQ(grid.Cell(1, 0), L"Bytes");
    RepadSizes(grid, 3);
    EXPECT_EQ(Sizes(grid),
              (std::vector<std::wstring>{L"1234", L"  0", L"", L"  0", L" -7", L"3221225472", L"123456789012"}));
}

TEST(RepadSizesTest, RepaintsOnlyTheCellsWhoseTextChanges) {
    FileGrid grid = SizeGrid({L"  5", L"12", L"", L"100"});
    test::RecordingObserver observer;
    grid.SetObserver(&observer);
    RepadSizes(grid, 3);
    EXPECT_EQ(observer.cells, (std::vector<std::pair<int, int>>{{1, 2}}));
}

class SizeRepadderTest : public ::testing::Test {
  protected:
    SizeRepadderTest() : grid(SizeGrid({L"   5", L"  40", L" 300"})) { grid.SetObserver(&observer); }
    FileGrid grid;
    test::RecordingObserver observer;
    SizeRepadder repadder;
};

TEST_F(SizeRepadderTest, WideningTheColumnMovesEverySizeRight) {
    repadder.Repad(grid, 48, 8);  // six characters
    EXPECT_EQ(Sizes(grid), (std::vector<std::wstring>{L"     5", L"    40", L"   300"}));
    repadder.Repad(grid, 96, 8);
    EXPECT_EQ(Sizes(grid), (std::vector<std::wstring>{L"           5", L"          40", L"         300"}));
    EXPECT_EQ(observer.cells.size(), 6u);
}

TEST_F(SizeRepadderTest, RepeatedPaintsChangeNothingUntilTheColumnOrWidthDoes) {
    repadder.Repad(grid, 48, 8);
    observer.cells.clear();
    repadder.Repad(grid, 48, 8);
    repadder.Repad(grid, 51, 8);  // still six characters
    EXPECT_TRUE(observer.cells.empty());

    // A new listing writes sizes at its own width; the next paint must pad them again.
    grid.SetRowCount(3);
    grid.SetCell(1, 2, L"       7");
    repadder.Repad(grid, 48, 8);
    EXPECT_EQ(Sizes(grid), (std::vector<std::wstring>{L"     5", L"     7"}));

    // A sort only rearranges rows that are already padded.
    grid.PermuteRows({2, 1});
    observer.cells.clear();
    repadder.Repad(grid, 48, 8);
    EXPECT_TRUE(observer.cells.empty());
    EXPECT_EQ(Sizes(grid), (std::vector<std::wstring>{L"     7", L"     5"}));
}

TEST_F(SizeRepadderTest, LargeSizesKeepTheirValue) {
    grid.SetCell(1, 1, L"3221225472");
    grid.SetCell(1, 2, L"  9223372036854775807");
    grid.SetCell(1, 3, L"2147483648");
    repadder.Repad(grid, 120, 8);
    EXPECT_EQ(Sizes(grid), (std::vector<std::wstring>{L"     3221225472", L"9223372036854775807", L"     2147483648"}));
}

TEST_F(SizeRepadderTest, AnotherGridIsAlwaysWalked) {
    repadder.Repad(grid, 48, 8);
    FileGrid other = SizeGrid({L"9"});
    repadder.Repad(other, 48, 8);
    EXPECT_EQ(other.Cell(1, 1), L"     9");
}

}  // namespace
}  // namespace tavelin
