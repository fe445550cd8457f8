#include "ui/grid/grid_row_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/shared/cell_table.h"

namespace tavelin::ui {
namespace {

test::CellTable Table(const std::vector<std::vector<std::wstring>>& rows) {
    test::CellTable table(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            table.SetCell(c, r, rows[r][c]);
    return table;
}

TEST(GridRowNameTest, DataCellsAreReadWithTheirTitlesAndWithoutPadding) {
    const test::CellTable table = Table({
        {L"ファイル名", L"Bytes", L"種類", L"", L" 属性 "},
        {L"a.txt", L"    1234", L"txt", L"note", L"A"},
        {L"Makefile", L"       0", L"", L"", L""},
        {L"", L"   ", L"", L"", L""},
        {L" two  spaces ", L"1, 2", L"", L"", L""},
    });
    struct Case {
        int row;
        std::wstring name;
    } cases[] = {
        {0, L"ファイル名, Bytes, 種類, 属性"},
        {1, L"ファイル名: a.txt, Bytes: 1234, 種類: txt, note, 属性: A"},
        {2, L"ファイル名: Makefile, Bytes: 0"},
        {3, L""},
        {4, L"ファイル名: two  spaces, Bytes: 1, 2"},
        {5, L""},
        {-1, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GridRowName(table, c.row), c.name) << "row " << c.row;
}

TEST(GridRowRectTest, RowsKeepTheirPlaceWhenScrolledOutAndEndAtTheView) {
    GridGeometry geometry(3, 50);
    geometry.SetColWidth(1, 0);
    geometry.SetViewSize(300, 24 * 5);
    geometry.SetTopRow(10);
    struct Case {
        const char* what;
        int row;
        GridRect rect;
        bool inView;
    } cases[] = {
        {"header stays on top", 0, {0, 0, 128, 24}, true},
        {"first row shown is under the header", 10, {0, 24, 128, 48}, true},
        {"last row shown", 13, {0, 96, 128, 120}, true},
        {"below the view", 14, {0, 120, 128, 144}, false},
        {"just above the top row lies behind the header", 9, {0, 0, 128, 24}, false},
        {"far above", 1, {0, -192, 128, -168}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GridRowRect(geometry, c.row), c.rect) << c.what;
        EXPECT_EQ(GridRowInView(geometry, c.row), c.inView) << c.what;
    }
    EXPECT_FALSE(GridRowInView(geometry, 50)) << "past the last row";

    // Columns scrolled out to the left do not count, and a wide row ends at the view's edge.
    geometry.SetColWidth(1, 400);
    geometry.SetViewSize(200, 24 * 5);
    ASSERT_TRUE(geometry.SetLeftCol(1));
    EXPECT_EQ(GridRowRect(geometry, 10), (GridRect{0, 24, 200, 48}));
}

}  // namespace
}  // namespace tavelin::ui
