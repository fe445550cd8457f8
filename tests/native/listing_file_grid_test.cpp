#include <gtest/gtest.h>

#include "fakes/grid_observer.h"
#include "listing/file_grid.h"

namespace tavelin {
namespace {

TEST(FileGridTest, RowCountKeepsTheHeaderAndClearsRowsThatComeBack) {
    FileGrid grid;
    grid.SetCell(0, 0, L"ファイル名");
    grid.SetCell(3, 4, L"old");
    grid.SetRowCount(2);
    grid.SetRowCount(5);
    EXPECT_EQ(grid.Cell(3, 4), L"");
    grid.SetRowCount(0);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cell(0, 0), L"ファイル名");
    EXPECT_THROW(grid.Cell(0, 1), std::out_of_range);
    EXPECT_THROW(grid.SetCell(5, 0, L"x"), std::out_of_range);
}

TEST(FileGridTest, ObserverHearsOfExactlyTheCellsAndCountsThatChange) {
    FileGrid grid;
    test::RecordingObserver observer;
    grid.SetObserver(&observer);
    grid.SetCell(2, 3, L"x");
    grid.SetCell(2, 3, L"x");  // same text: nothing to repaint
    grid.SetCell(1, 4, L"y");
    grid.SetRowCount(5);  // unchanged
    grid.SetRowCount(7);
    grid.SetRowCount(2);
    EXPECT_EQ(observer.cells, (std::vector<std::pair<int, int>>{{2, 3}, {1, 4}}));
    EXPECT_EQ(observer.rowCounts, (std::vector<int>{7, 2}));
}

TEST(FileGridTest, PermutationsMoveWholeRowsAndReportOneRearrangementEach) {
    FileGrid grid;
    for (int row = 1; row < 5; ++row) {
        for (int column = 0; column < FileGrid::kColumnCount; ++column)
            grid.SetCell(column, row, std::to_wstring(row) + L":" + std::to_wstring(column));
    }
    test::RecordingObserver observer;
    grid.SetObserver(&observer);
    grid.PermuteRows({3, 2, 1, 4});
    EXPECT_EQ(grid.Cell(4, 1), L"3:4");
    EXPECT_EQ(grid.Cell(0, 3), L"1:0");
    EXPECT_EQ(observer.rearranged, 1);

    grid.PermuteRows({4, 2, 1, 3});  // rows now hold 3, 2, 1, 4 before; take 4th, 2nd, 1st, 3rd
    EXPECT_EQ(grid.Cell(0, 1), L"4:0");
    EXPECT_EQ(grid.Cell(0, 2), L"2:0");
    EXPECT_EQ(grid.Cell(0, 3), L"3:0");
    EXPECT_EQ(grid.Cell(2, 4), L"1:2");
    EXPECT_EQ(observer.rearranged, 2);
    EXPECT_TRUE(observer.cells.empty());
}

TEST(FileGridTest, RowsAcrossThousandsKeepTheirCellsThroughGrowthShrinkAndPermutation) {
    FileGrid grid;
    const int rows = 3000;
    for (int row = 1; row < rows; ++row) {
        grid.SetRowCount(row + 1);
        grid.SetCell(row % FileGrid::kColumnCount, row, std::to_wstring(row));
    }
    std::vector<int> reversed;
    for (int row = rows - 1; row >= 1; --row)
        reversed.push_back(row);
    grid.PermuteRows(reversed);
    for (const int row : {1, 975, 976, 1024, 1025, 2048, 2999}) {
        const int was = rows - row;
        EXPECT_EQ(grid.Cell(was % FileGrid::kColumnCount, row), std::to_wstring(was)) << row;
    }
    grid.SetRowCount(1025);
    grid.SetRowCount(rows);
    EXPECT_EQ(grid.Cell(2000 % FileGrid::kColumnCount, 1000), L"2000");
    EXPECT_EQ(grid.Cell(1976 % FileGrid::kColumnCount, 1024), L"1976");
    for (const int row : {1025, 1026, 2048, 2999}) {
        for (int column = 0; column < FileGrid::kColumnCount; ++column)
            EXPECT_EQ(grid.Cell(column, row), L"") << row;
    }
}

TEST(FileGridTest, CellsKeepTheirTextsThroughRewritesThatOutgrowTheTextStore) {
    // Each round rewrites every size cell with a new width, as re-padding does, until replaced
    // texts outweigh the shown ones many times over; one cell is set from another's own text.
    FileGrid grid;
    grid.SetCell(0, 0, L"ファイル名");
    const int rows = 2000;
    grid.SetRowCount(rows);
    const auto name = [](int row) { return L"name-" + std::to_wstring(row) + L".txt"; };
    const auto size = [](int row, int round) {
        return std::wstring(static_cast<size_t>(round % 7), L' ') + std::to_wstring(row);
    };
    for (int row = 1; row < rows; ++row)
        grid.SetCell(0, row, name(row));
    for (int round = 0; round < 40; ++round) {
        for (int row = 1; row < rows; ++row)
            grid.SetCell(1, row, size(row, round));
    }
    grid.SetCell(4, 7, grid.Cell(0, 7));
    for (int row = 1; row < rows; ++row) {
        ASSERT_EQ(grid.Cell(0, row), name(row)) << row;
        ASSERT_EQ(grid.Cell(1, row), size(row, 39)) << row;
    }
    EXPECT_EQ(grid.Cell(4, 7), name(7));
    grid.Empty();
    EXPECT_EQ(grid.Cell(0, 0), L"ファイル名");
    EXPECT_EQ(grid.Cell(0, 1), L"");
}

TEST(FileGridTest, PermuteRejectsWhatIsNotAPermutationAndKeepsTheRows) {
    FileGrid grid;
    grid.SetRowCount(4);
    grid.SetCell(0, 1, L"a");
    const std::vector<std::vector<int>> bad = {{1, 2}, {1, 2, 3, 4}, {1, 1, 2}, {0, 1, 2}, {1, 2, 4}};
    for (const auto& order : bad) {
        EXPECT_THROW(grid.PermuteRows(order), std::invalid_argument);
        EXPECT_EQ(grid.Cell(0, 1), L"a");
    }
}

}  // namespace
}  // namespace tavelin
