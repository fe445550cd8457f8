#pragma once
// Keeps the sizes in the size column right-aligned to that column's width in the fixed font.
#include "listing/file_grid.h"

namespace tavelin {

inline constexpr int kSizeColumn = 1;

// The width, in characters, that re-padding uses for a size column this many pixels wide, with
// the digit "0" this many pixels wide in the grid's font.
int RepadSizeWidth(int sizeColumnPixels, int zeroPixelWidth);

// Rewrites every non-empty size cell as its number right-aligned to `width` characters; a cell
// that does not read as a number becomes 0. Only cells whose text changes are set.
void RepadSizes(FileGrid& grid, int width);

class SizeRepadder {
  public:
    // Call whenever the size column's header cell is painted while the list holds files. Skips
    // the walk over the rows when neither the width nor the size column changed since the last
    // walk, since every size is then already in place.
    void Repad(FileGrid& grid, int sizeColumnPixels, int zeroPixelWidth);

  private:
    const FileGrid* grid_ = nullptr;
    int width_ = 0;
    unsigned long long columnVersion_ = 0;
};

}  // namespace tavelin
