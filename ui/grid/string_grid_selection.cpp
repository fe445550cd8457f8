#include "ui/grid/string_grid_selection.h"

#include <algorithm>

namespace tavelin::ui {

namespace {

// The nearest shown column from `from` in steps of `step`, or `fallback` when there is none.
int ShownColumn(const GridGeometry& geometry, int from, int step, int fallback) {
    for (int col = from; col >= 0 && col < geometry.ColCount(); col += step) {
        if (geometry.ColVisible(col))
            return col;
    }
    return fallback;
}

GridCell ClampCell(GridCell cell, const GridGeometry& geometry) {
    return {std::clamp(cell.col, 0, std::max(geometry.ColCount() - 1, 0)),
            std::clamp(cell.row, 1, std::max(geometry.RowCount() - 1, 1))};
}

}  // namespace

bool GridSelection::Contains(int col, int row) const {
    return col >= std::min(anchor_.col, current_.col) && col <= std::max(anchor_.col, current_.col) &&
           row >= std::min(anchor_.row, current_.row) && row <= std::max(anchor_.row, current_.row);
}

void GridSelection::Select(GridCell cell, bool extend) {
    current_ = cell;
    if (!extend)
        anchor_ = cell;
}

bool GridSelection::Move(GridMove move, bool extend, const GridGeometry& geometry) {
    const int lastRow = geometry.RowCount() - 1;
    const int lastCol = geometry.ColCount() - 1;
    if (lastRow < 1 || ShownColumn(geometry, 0, 1, -1) < 0)
        return false;
    GridCell next = current_;
    switch (move) {
        case GridMove::Left:
            next.col = ShownColumn(geometry, current_.col - 1, -1, current_.col);
            break;
        case GridMove::Right:
            next.col = ShownColumn(geometry, current_.col + 1, 1, current_.col);
            break;
        case GridMove::Up:
            next.row = std::max(current_.row - 1, 1);
            break;
        case GridMove::Down:
            next.row = std::min(current_.row + 1, lastRow);
            break;
        case GridMove::PageUp:
            next.row = std::max(current_.row - geometry.PageRows(), 1);
            break;
        case GridMove::PageDown:
            next.row = std::min(current_.row + geometry.PageRows(), lastRow);
            break;
        case GridMove::Home:
            next.col = ShownColumn(geometry, 0, 1, current_.col);
            break;
        case GridMove::End:
            next.col = ShownColumn(geometry, lastCol, -1, current_.col);
            break;
        case GridMove::First:
            next = {ShownColumn(geometry, 0, 1, current_.col), 1};
            break;
        case GridMove::Last:
            next = {ShownColumn(geometry, lastCol, -1, current_.col), lastRow};
            break;
    }
    const bool changed = next != current_ || (!extend && anchor_ != next);
    Select(next, extend);
    return changed;
}

void GridSelection::Clamp(const GridGeometry& geometry) {
    current_ = ClampCell(current_, geometry);
    anchor_ = ClampCell(anchor_, geometry);
}

}  // namespace tavelin::ui
