#pragma once
// Where the cells of a string grid are: column widths, the uniform row height, the scroll
// position and the size of the view. One fixed header row (row 0), no fixed column. The grid
// scrolls by whole columns horizontally and by whole rows vertically; nothing here depends on
// the number of rows, so a grid of a million rows costs what a grid of ten does.
#include <cstdint>
#include <optional>
#include <vector>

namespace tavelin::ui {

struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const GridRect&) const = default;
};

struct GridCell {
    int col = 0;
    int row = 0;
    bool operator==(const GridCell&) const = default;
};

// Inclusive ranges of the columns and rows that are at least partly inside the view. The header
// row is always shown; `firstRow`..`lastRow` are the data rows (empty when lastRow < firstRow).
struct GridVisibleRange {
    int firstCol = 0;
    int lastCol = -1;
    int firstRow = 1;
    int lastRow = 0;
    bool operator==(const GridVisibleRange&) const = default;
};

class GridGeometry {
  public:
    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;
    // Distance of a press from a column's right edge that still grabs the edge for sizing, at
    // 96 dpi; SetSizingZone gives the distances on other displays.
    static constexpr int kSizingZoneLeft = 3;
    static constexpr int kSizingZoneRight = 4;

    GridGeometry(int columns, int rows);

    // No lines are drawn between cells; the layout still counts them so the hit tests of
    // callers that add it stay right.
    static constexpr int GridLineWidth() { return 0; }

    int ColCount() const { return static_cast<int>(widths_.size()); }
    int ColWidth(int col) const { return widths_[col]; }
    void SetColWidth(int col, int width);
    bool ColVisible(int col) const { return widths_[col] > 0; }

    int RowCount() const { return rows_; }
    void SetRowCount(int rows);
    int RowHeight() const { return rowHeight_; }
    void SetRowHeight(int height);
    void SetSizingZone(int left, int right);

    int ViewWidth() const { return viewWidth_; }
    int ViewHeight() const { return viewHeight_; }
    void SetViewSize(int width, int height);

    int LeftCol() const { return leftCol_; }
    int TopRow() const { return topRow_; }
    // Both clamp into the scrollable range; they return whether the position changed.
    bool SetLeftCol(int col);
    bool SetTopRow(int row);
    int MaxLeftCol() const;
    int MaxTopRow() const;

    // Data rows that fit entirely below the header; at least 1 so paging always moves.
    int PageRows() const;
    // Columns from LeftCol() that fit entirely in the view; at least 1.
    int PageCols() const;

    GridVisibleRange VisibleRange() const;
    // The cell's rectangle in view coordinates; none for a column left of LeftCol() or a data
    // row above TopRow() (scrolled out). Cells right of or below the view still get one.
    std::optional<GridRect> CellRect(int col, int row) const;
    // The cell under a point: a column owns the pixels from its left edge up to, not including,
    // its right edge. None outside every cell.
    std::optional<GridCell> CellAt(int x, int y) const;
    // The column whose right edge lies within the sizing zone around x, for a point on the
    // header row. When several edges qualify, the nearest wins; edges that coincide (hidden
    // columns) go to the leftmost when x is at or left of the edge and to the rightmost when it
    // is right of it, so a hidden column can be dragged open again.
    std::optional<int> SizingColumnAt(int x, int y) const;
    // Scrolls the least amount that shows the cell whole (or its top-left part when it is larger
    // than the view); returns whether the position changed.
    bool ScrollIntoView(GridCell cell);

  private:
    void ClampPosition();

    std::vector<int> widths_;
    int rows_;
    int rowHeight_ = kDefaultRowHeight;
    int sizingZoneLeft_ = kSizingZoneLeft;
    int sizingZoneRight_ = kSizingZoneRight;
    int viewWidth_ = 0;
    int viewHeight_ = 0;
    int leftCol_ = 0;
    int topRow_ = 1;
};

}  // namespace tavelin::ui
