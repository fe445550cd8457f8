#pragma once
// What a screen reader learns about one row of a string grid: the text it speaks for the row and
// where the row is. Row 0 is the header row.
#include <string>

#include "ui/grid/grid_data.h"
#include "ui/grid/grid_geometry.h"

namespace tavelin::ui {

std::wstring GridRowName(const GridData& data, int row);

// In view coordinates, across the columns from the leftmost shown one to the view's right edge.
GridRect GridRowRect(const GridGeometry& geometry, int row);

// Whether any of the row is inside the view; scrolled-out rows are not.
bool GridRowInView(const GridGeometry& geometry, int row);

}  // namespace tavelin::ui
