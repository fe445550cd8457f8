#pragma once
// Keeps the sizes in the size column right-aligned to that column's width in the fixed font.
#include "listing/file_grid.h"

namespace tavelin {

inline constexpr int kSizeColumn = 1;

// The width, in characters, of the sizes in a size column that leaves `textPixels` for its text,
// with the digit "0" `digitPixels` wide in the grid's font. The listing and the re-padding both
// pad to it, so a size keeps its text until the column or its font changes.
int SizeWidth(int textPixels, int digitPixels);

// Rewrites every non-empty size cell as its number right-aligned to `width` characters; a cell
// that does not read as a number becomes 0. Only cells whose text changes are set.
void RepadSizes(FileGrid& grid, int width);

}  // namespace tavelin
