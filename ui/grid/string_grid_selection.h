#pragma once
// The current cell and the selected range of a string grid, and how the keys move them. The
// range spans from the anchor (where the selection started) to the current cell; header cells
// are never selected.
#include "ui/grid/grid_geometry.h"

namespace tavelin::ui {

enum class GridMove { Left, Right, Up, Down, PageUp, PageDown, Home, End, First, Last };

class GridSelection {
  public:
    GridCell Current() const { return current_; }
    GridCell Anchor() const { return anchor_; }
    bool Contains(int col, int row) const;

    // Makes `cell` current; without `extend` the range shrinks to it.
    void Select(GridCell cell, bool extend);
    // Returns whether the current cell changed. Hidden columns are stepped over.
    bool Move(GridMove move, bool extend, const GridGeometry& geometry);
    // Keeps both ends inside the grid after its row or column count shrank.
    void Clamp(const GridGeometry& geometry);

  private:
    GridCell current_{0, 1};
    GridCell anchor_{0, 1};
};

}  // namespace tavelin::ui
