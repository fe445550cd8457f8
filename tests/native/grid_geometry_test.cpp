#include "ui/grid/grid_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace tavelin::ui {
namespace {

struct Layout {
    std::vector<int> widths;
    int rows;
    int viewWidth;
    int viewHeight;
    int leftCol = 0;
    int topRow = 1;
};

GridGeometry Make(const Layout& layout) {
    GridGeometry g(static_cast<int>(layout.widths.size()), layout.rows);
    for (int c = 0; c < g.ColCount(); ++c)
        g.SetColWidth(c, layout.widths[c]);
    g.SetViewSize(layout.viewWidth, layout.viewHeight);
    g.SetLeftCol(layout.leftCol);
    g.SetTopRow(layout.topRow);
    return g;
}

const Layout kPlain{{64, 64, 64, 64, 64}, 100, 200, 240};
const Layout kHiddenSecond{{64, 0, 64, 64, 64}, 100, 200, 240};
const Layout kScrolled{{64, 64, 64, 64, 64}, 100, 100, 120, 2, 10};

TEST(GridGeometryTest, CellAtPointOnBothSidesOfEdges) {
    struct Case {
        const char* what;
        Layout layout;
        int x, y;
        std::optional<GridCell> expected;
    } cases[] = {
        {"origin", kPlain, 0, 0, GridCell{0, 0}},
        {"last pixel of column 0", kPlain, 63, 23, GridCell{0, 0}},
        {"edge pixel starts column 1", kPlain, 64, 0, GridCell{1, 0}},
        {"first data row", kPlain, 65, 24, GridCell{1, 1}},
        {"last pixel of row 1", kPlain, 10, 47, GridCell{0, 1}},
        {"row 2", kPlain, 10, 48, GridCell{0, 2}},
        {"right of the last column", kPlain, 320, 30, std::nullopt},
        {"last column's last pixel", kPlain, 319, 30, GridCell{4, 1}},
        {"left of the grid", kPlain, -1, 30, std::nullopt},
        {"above the grid", kPlain, 10, -1, std::nullopt},
        {"hidden column is never hit", kHiddenSecond, 64, 30, GridCell{2, 1}},
        {"before the hidden column", kHiddenSecond, 63, 30, GridCell{0, 1}},
        {"scrolled: x 0 is the leftmost visible column", kScrolled, 0, 0, GridCell{2, 0}},
        {"scrolled: first data row is the top row", kScrolled, 70, 24, GridCell{3, 10}},
        {"below the last row", {{64, 64}, 3, 200, 240}, 5, 72, std::nullopt},
        {"last row", {{64, 64}, 3, 200, 240}, 5, 71, GridCell{0, 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Make(c.layout).CellAt(c.x, c.y), c.expected) << c.what;
}

TEST(GridGeometryTest, SizingZoneRunsFromThreeLeftToFourRightOfAnEdge) {
    const Layout narrow{{5, 5, 64}, 10, 200, 240};
    struct Case {
        const char* what;
        Layout layout;
        int x, y;
        std::optional<int> expected;
    } cases[] = {
        {"4 px left of the edge", kPlain, 60, 5, std::nullopt},
        {"3 px left of the edge", kPlain, 61, 5, 0},
        {"on the edge", kPlain, 64, 5, 0},
        {"4 px right of the edge", kPlain, 68, 5, 0},
        {"5 px right of the edge", kPlain, 69, 5, std::nullopt},
        {"middle of a header cell", kPlain, 32, 5, std::nullopt},
        {"second edge", kPlain, 130, 23, 1},
        {"data row never sizes", kPlain, 64, 24, std::nullopt},
        {"above the header", kPlain, 64, -1, std::nullopt},
        {"right edge of the last column", kPlain, 322, 5, 4},
        {"hidden column: on the shared edge sizes the shown one", kHiddenSecond, 64, 5, 0},
        {"hidden column: left of the shared edge", kHiddenSecond, 62, 5, 0},
        {"hidden column: right of the shared edge opens it", kHiddenSecond, 66, 5, 1},
        {"narrow columns: nearer edge wins", narrow, 7, 5, 0},
        {"narrow columns: the other nearer edge", narrow, 8, 5, 1},
        {"scrolled: edge of the leftmost visible column", kScrolled, 63, 5, 2},
        {"scrolled: left border is no edge", kScrolled, 1, 5, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Make(c.layout).SizingColumnAt(c.x, c.y), c.expected) << c.what;
}

// At 150 % the zone grows with the columns (3 and 4 px become 5 and 6), and its far ends are what
// a grid still using the 96-dpi distances would miss.
TEST(GridGeometryTest, AScaledSizingZoneReachesAsFarAsItWasSet) {
    GridGeometry g = Make({{96, 96, 96}, 10, 400, 360});
    g.SetRowHeight(36);
    g.SetSizingZone(5, 6);
    struct Case {
        const char* what;
        int x, y;
        std::optional<int> expected;
    } cases[] = {
        {"6 px left of the edge", 90, 5, std::nullopt}, {"5 px left of the edge", 91, 5, 0},
        {"6 px right of the edge", 102, 5, 0},          {"7 px right of the edge", 103, 5, std::nullopt},
        {"second edge, 5 px left", 187, 5, 1},          {"lowest pixel of the taller header", 96, 35, 0},
        {"first data row", 96, 36, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.SizingColumnAt(c.x, c.y), c.expected) << c.what;
}

TEST(GridGeometryTest, ScrollPositionClampsToContent) {
    struct Case {
        const char* what;
        Layout layout;
        int wantLeft, wantTop;
        int maxLeft, maxTop;
    } cases[] = {
        {"rows fewer than the view: no vertical scrolling", {{64, 64}, 5, 200, 240, 0, 3}, 0, 1, 0, 1},
        {"columns narrower than the view: no horizontal scrolling", {{64, 64}, 5, 400, 240, 1, 1}, 0, 1, 0, 1},
        {"only the header row", {{64}, 1, 200, 240, 0, 5}, 0, 1, 0, 1},
        {"no rows at all", {{64}, 0, 200, 240, 0, 5}, 0, 1, 0, 1},
        // 264 px: header and 10 whole rows, so the last top row shows rows 90..99.
        {"far past the end", {{64, 64}, 100, 200, 264, 0, 1000}, 0, 90, 0, 90},
        {"below the top", {{64, 64}, 100, 200, 264, 0, -4}, 0, 1, 0, 90},
        // 150 px hold columns 3 and 4 (128 px) but not 2 more.
        {"last columns that fit", {{64, 64, 64, 64, 64}, 5, 150, 240, 9, 1}, 3, 1, 3, 1},
        {"a last column wider than the view", {{64, 64, 500}, 5, 300, 240, 9, 1}, 2, 1, 2, 1},
        {"hidden trailing columns take no room", {{64, 64, 64, 0, 0}, 5, 130, 240, 9, 1}, 1, 1, 1, 1},
        {"a view lower than one row still pages by one", {{64}, 10, 100, 30, 0, 100}, 0, 9, 0, 9},
    };
    for (const auto& c : cases) {
        const GridGeometry g = Make(c.layout);
        EXPECT_EQ(g.LeftCol(), c.wantLeft) << c.what;
        EXPECT_EQ(g.TopRow(), c.wantTop) << c.what;
        EXPECT_EQ(g.MaxLeftCol(), c.maxLeft) << c.what;
        EXPECT_EQ(g.MaxTopRow(), c.maxTop) << c.what;
    }
}

TEST(GridGeometryTest, ShrinkingContentOrGrowingTheViewPullsThePositionBack) {
    GridGeometry g = Make({{64, 64, 64, 64, 64}, 100, 150, 264, 3, 90});
    ASSERT_EQ(g.TopRow(), 90);
    g.SetRowCount(50);
    EXPECT_EQ(g.TopRow(), 40);
    g.SetRowCount(2);
    EXPECT_EQ(g.TopRow(), 1);
    ASSERT_EQ(g.LeftCol(), 3);
    g.SetColWidth(4, 0);
    EXPECT_EQ(g.LeftCol(), 2) << "hiding the last column makes room for columns 2 and 3";
    g.SetViewSize(400, 264);
    EXPECT_EQ(g.LeftCol(), 0);
}

TEST(GridGeometryTest, VisibleRangeCoversPartlyShownCellsOnly) {
    struct Case {
        const char* what;
        Layout layout;
        GridVisibleRange expected;
    } cases[] = {
        // 100 px below a 24 px header: rows 1..4 whole and the fifth in part; x 128 < 150 starts column 2.
        {"top left", {{64, 64, 64, 64, 64}, 100, 150, 124}, {0, 2, 1, 5}},
        {"scrolled to the end", {{64, 64, 64, 64, 64}, 100, 150, 124, 3, 100}, {3, 4, 96, 99}},
        {"fewer rows than the view", {{64, 64}, 3, 400, 240}, {0, 1, 1, 2}},
        {"header only", {{64, 64}, 1, 400, 240}, {0, 1, 1, 0}},
        {"view as high as the header", {{64}, 10, 100, 24}, {0, 0, 1, 0}},
        {"a million rows cost no more than ten", {{64}, 1000000, 100, 124, 0, 1000000}, {0, 0, 999996, 999999}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Make(c.layout).VisibleRange(), c.expected) << c.what;
}

TEST(GridGeometryTest, CellRectsFollowTheScrollPosition) {
    const GridGeometry g = Make(kScrolled);
    struct Case {
        int col, row;
        std::optional<GridRect> expected;
    } cases[] = {
        {2, 0, GridRect{0, 0, 64, 24}},
        {3, 0, GridRect{64, 0, 128, 24}},
        {2, 10, GridRect{0, 24, 64, 48}},
        {4, 12, GridRect{128, 72, 192, 96}},
        {1, 0, std::nullopt},
        {2, 9, std::nullopt},
        {2, 100, std::nullopt},
        {5, 0, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.CellRect(c.col, c.row), c.expected) << c.col << "," << c.row;
}

TEST(GridGeometryTest, ScrollIntoViewMovesTheLeastNeeded) {
    struct Case {
        const char* what;
        GridCell cell;
        int wantLeft, wantTop;
    } cases[] = {
        {"already whole", {1, 5}, 0, 1},
        // 240 px: header and 9 whole rows.
        {"one row below the page", {0, 10}, 0, 2},
        {"far down", {0, 99}, 0, 91},
        {"column right of the view", {4, 1}, 2, 1},
        {"partly shown column", {3, 1}, 1, 1},
    };
    for (const auto& c : cases) {
        GridGeometry g = Make(kPlain);
        g.ScrollIntoView(c.cell);
        EXPECT_EQ(g.LeftCol(), c.wantLeft) << c.what;
        EXPECT_EQ(g.TopRow(), c.wantTop) << c.what;
    }
    GridGeometry g = Make({{64, 64, 64, 64, 64}, 100, 200, 240, 3, 50});
    g.ScrollIntoView({0, 20});
    EXPECT_EQ(g.LeftCol(), 0);
    EXPECT_EQ(g.TopRow(), 20);
}

TEST(GridGeometryTest, ColumnsNearTheLargestIntAddUpWithoutWrapping) {
    const int huge = std::numeric_limits<int>::max();
    GridGeometry g = Make({{huge, huge, huge, 64, 64}, 10, 300, 240});
    EXPECT_EQ(g.MaxLeftCol(), 3);
    EXPECT_EQ(g.PageCols(), 1);
    EXPECT_EQ(g.VisibleRange().lastCol, 0);
    ASSERT_TRUE(g.SetLeftCol(2));
    EXPECT_EQ(g.PageCols(), 1);
    EXPECT_EQ(g.VisibleRange().lastCol, 2);
}

}  // namespace
}  // namespace tavelin::ui
