#include "ui/grid/grid_geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tavelin::ui {

namespace {

// A width of 0 or less hides the column; it still keeps its place in the order.
int Shown(int width) {
    return std::max(width, 0);
}

}  // namespace

GridGeometry::GridGeometry(int columns, int rows)
    : widths_(static_cast<size_t>(std::max(columns, 0)), kDefaultColWidth), rows_(std::max(rows, 0)) {}

void GridGeometry::SetColWidth(int col, int width) {
    widths_[col] = width;
    ClampPosition();
}

void GridGeometry::SetRowCount(int rows) {
    rows_ = std::max(rows, 0);
    topRow_ = std::clamp(topRow_, 1, MaxTopRow());
}

void GridGeometry::SetRowHeight(int height) {
    rowHeight_ = std::max(height, 1);
    ClampPosition();
}

void GridGeometry::SetSizingZone(int left, int right) {
    sizingZoneLeft_ = std::max(left, 0);
    sizingZoneRight_ = std::max(right, 0);
}

void GridGeometry::SetViewSize(int width, int height) {
    viewWidth_ = std::max(width, 0);
    viewHeight_ = std::max(height, 0);
    ClampPosition();
}

bool GridGeometry::SetLeftCol(int col) {
    const int old = leftCol_;
    leftCol_ = std::clamp(col, 0, MaxLeftCol());
    return leftCol_ != old;
}

bool GridGeometry::SetTopRow(int row) {
    const int old = topRow_;
    topRow_ = std::clamp(row, 1, MaxTopRow());
    return topRow_ != old;
}

void GridGeometry::ClampPosition() {
    SetLeftCol(leftCol_);
    SetTopRow(topRow_);
}

// The leftmost column from which the rest of the columns fit the view; scrolling further would
// only show empty space.
int GridGeometry::MaxLeftCol() const {
    int col = ColCount();
    std::int64_t width = 0;
    while (col > 0 && width + Shown(widths_[col - 1]) <= viewWidth_) {
        width += Shown(widths_[col - 1]) + GridLineWidth();
        --col;
    }
    return std::max(0, std::min(col, ColCount() - 1));
}

int GridGeometry::MaxTopRow() const {
    return std::max(1, rows_ - PageRows());
}

int GridGeometry::PageRows() const {
    return std::max(1, (viewHeight_ - rowHeight_) / rowHeight_);
}

int GridGeometry::PageCols() const {
    int count = 0;
    std::int64_t x = 0;
    for (int col = leftCol_; col < ColCount(); ++col) {
        x += Shown(widths_[col]);
        if (x > viewWidth_)
            break;
        ++count;
        x += GridLineWidth();
    }
    return std::max(count, 1);
}

GridVisibleRange GridGeometry::VisibleRange() const {
    GridVisibleRange range;
    range.firstCol = leftCol_;
    range.lastCol = leftCol_ - 1;
    std::int64_t x = 0;
    for (int col = leftCol_; col < ColCount() && x < viewWidth_; ++col) {
        range.lastCol = col;
        x += Shown(widths_[col]) + GridLineWidth();
    }
    range.firstRow = topRow_;
    const int dataHeight = viewHeight_ - rowHeight_;
    const int rowsInView = dataHeight > 0 ? (dataHeight + rowHeight_ - 1) / rowHeight_ : 0;
    range.lastRow = std::min(rows_ - 1, topRow_ + rowsInView - 1);
    return range;
}

std::optional<GridRect> GridGeometry::CellRect(int col, int row) const {
    if (col < leftCol_ || col >= ColCount() || row < 0 || row >= rows_ || (row > 0 && row < topRow_))
        return std::nullopt;
    int x = 0;
    for (int c = leftCol_; c < col; ++c)
        x += Shown(widths_[c]) + GridLineWidth();
    const int y = row == 0 ? 0 : rowHeight_ * (1 + row - topRow_);
    return GridRect{x, y, x + Shown(widths_[col]), y + rowHeight_};
}

std::optional<GridCell> GridGeometry::CellAt(int x, int y) const {
    if (x < 0 || y < 0)
        return std::nullopt;
    const int row = y < rowHeight_ ? 0 : topRow_ + (y - rowHeight_) / rowHeight_;
    if (row >= rows_)
        return std::nullopt;
    for (int col = leftCol_, left = 0; col < ColCount() && left <= x; ++col) {
        const int right = left + Shown(widths_[col]);
        if (x < right)
            return GridCell{col, row};
        left = right + GridLineWidth();
    }
    return std::nullopt;
}

std::optional<int> GridGeometry::SizingColumnAt(int x, int y) const {
    if (y < 0 || y >= rowHeight_ || rows_ == 0)
        return std::nullopt;
    std::optional<int> best;
    int bestDistance = 0;
    for (int col = leftCol_, left = 0; col < ColCount(); ++col) {
        const int edge = left + Shown(widths_[col]);
        if (edge - sizingZoneLeft_ > x)
            break;
        if (x <= edge + sizingZoneRight_) {
            const int distance = std::abs(x - edge);
            if (!best || distance < bestDistance || (distance == bestDistance && x > edge)) {
                best = col;
                bestDistance = distance;
            }
        }
        left = edge + GridLineWidth();
    }
    return best;
}

bool GridGeometry::ScrollIntoView(GridCell cell) {
    bool moved = false;
    if (cell.row >= 1) {
        if (cell.row < topRow_)
            moved |= SetTopRow(cell.row);
        else if (cell.row > topRow_ + PageRows() - 1)
            moved |= SetTopRow(cell.row - PageRows() + 1);
    }
    if (cell.col < leftCol_) {
        moved |= SetLeftCol(cell.col);
    } else {
        while (leftCol_ < cell.col) {
            const auto rect = CellRect(cell.col, 0);
            if (!rect || rect->right <= viewWidth_ || !SetLeftCol(leftCol_ + 1))
                break;
            moved = true;
        }
    }
    return moved;
}

}  // namespace tavelin::ui
