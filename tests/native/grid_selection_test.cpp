#include "ui/grid/string_grid_selection.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavelin::ui {
namespace {

GridGeometry Make(std::vector<int> widths, int rows) {
    GridGeometry g(static_cast<int>(widths.size()), rows);
    for (int c = 0; c < g.ColCount(); ++c)
        g.SetColWidth(c, widths[c]);
    g.SetViewSize(400, 264);  // header and 10 whole rows
    return g;
}

TEST(GridSelectionTest, KeysMoveTheCurrentCellWithinTheShownCells) {
    const GridGeometry withHidden = Make({64, 0, 64, 64, 0}, 100);
    const GridGeometry hiddenFirst = Make({0, 64, 64}, 100);
    struct Case {
        const char* what;
        const GridGeometry& geometry;
        GridCell from;
        GridMove move;
        GridCell expected;
        bool changed;
    } cases[] = {
        {"right steps over a hidden column", withHidden, {0, 5}, GridMove::Right, {2, 5}, true},
        {"left steps over a hidden column", withHidden, {2, 5}, GridMove::Left, {0, 5}, true},
        {"left at the first column stays", withHidden, {0, 5}, GridMove::Left, {0, 5}, false},
        {"right at the last shown column stays", withHidden, {3, 5}, GridMove::Right, {3, 5}, false},
        {"up stops at the first data row", withHidden, {0, 1}, GridMove::Up, {0, 1}, false},
        {"down", withHidden, {0, 1}, GridMove::Down, {0, 2}, true},
        {"down stops at the last row", withHidden, {0, 99}, GridMove::Down, {0, 99}, false},
        {"page down by the whole rows in view", withHidden, {2, 1}, GridMove::PageDown, {2, 11}, true},
        {"page down stops at the last row", withHidden, {2, 95}, GridMove::PageDown, {2, 99}, true},
        {"page up stops at the first data row", withHidden, {2, 5}, GridMove::PageUp, {2, 1}, true},
        {"home goes to the first shown column", hiddenFirst, {2, 7}, GridMove::Home, {1, 7}, true},
        {"end goes to the last shown column", withHidden, {0, 7}, GridMove::End, {3, 7}, true},
        {"ctrl+home goes to the first cell", hiddenFirst, {2, 40}, GridMove::First, {1, 1}, true},
        {"ctrl+end goes to the last cell", withHidden, {0, 4}, GridMove::Last, {3, 99}, true},
    };
    for (const auto& c : cases) {
        GridSelection s;
        s.Select(c.from, false);
        EXPECT_EQ(s.Move(c.move, false, c.geometry), c.changed) << c.what;
        EXPECT_EQ(s.Current(), c.expected) << c.what;
        EXPECT_EQ(s.Anchor(), c.expected) << c.what;
    }
}

TEST(GridSelectionTest, ExtendingKeepsTheAnchorAndCoversTheRectangle) {
    const GridGeometry g = Make({64, 64, 64, 64, 64}, 100);
    GridSelection s;
    s.Select({1, 3}, false);
    s.Move(GridMove::Down, true, g);
    s.Move(GridMove::Right, true, g);
    EXPECT_EQ(s.Anchor(), (GridCell{1, 3}));
    EXPECT_EQ(s.Current(), (GridCell{2, 4}));
    struct Case {
        int col, row;
        bool in;
    } cells[] = {{1, 3, true},  {2, 3, true},  {1, 4, true},  {2, 4, true},
                 {0, 3, false}, {3, 4, false}, {1, 2, false}, {2, 5, false}};
    for (const auto& c : cells)
        EXPECT_EQ(s.Contains(c.col, c.row), c.in) << c.col << "," << c.row;

    // A move without extending collapses the range, even when the current cell stays put.
    EXPECT_TRUE(s.Move(GridMove::Right, false, Make({64, 64, 64}, 100)));
    EXPECT_EQ(s.Anchor(), s.Current());
}

TEST(GridSelectionTest, NothingMovesWithoutDataRowsOrShownColumns) {
    GridSelection s;
    EXPECT_FALSE(s.Move(GridMove::Down, false, Make({64, 64}, 1)));
    EXPECT_FALSE(s.Move(GridMove::Right, false, Make({0, 0}, 10)));
    EXPECT_EQ(s.Current(), (GridCell{0, 1}));
}

TEST(GridSelectionTest, ShrinkingTheGridPullsBothEndsInside) {
    GridSelection s;
    s.Select({1, 5}, false);
    s.Select({4, 80}, true);
    s.Clamp(Make({64, 64, 64}, 10));
    EXPECT_EQ(s.Current(), (GridCell{2, 9}));
    EXPECT_EQ(s.Anchor(), (GridCell{1, 5}));
    s.Clamp(Make({64, 64, 64}, 2));
    EXPECT_EQ(s.Current(), (GridCell{2, 1}));
    EXPECT_EQ(s.Anchor(), (GridCell{1, 1}));
}

}  // namespace
}  // namespace tavelin::ui
