#include "listing/size_repadder.h"

#include <algorithm>

#include "listing/file_row.h"
#include "listing/size_text.h"

namespace tavelin {

int RepadSizeWidth(int sizeColumnPixels, int zeroPixelWidth) {
    const int digitWidth = std::max(zeroPixelWidth, 3);
    return std::max(sizeColumnPixels / digitWidth, 3);
}

void RepadSizes(FileGrid& grid, int width) {
    for (int row = 1; row < grid.RowCount(); ++row) {
        const std::wstring_view cell = grid.Cell(kSizeColumn, row);
        if (cell.empty())
            continue;
        const WholeNumber number = ParseWholeNumber(cell).value_or(WholeNumber{});
        grid.SetCell(kSizeColumn, row, PadLeft(DecimalText(number), width));
    }
}

void SizeRepadder::Repad(FileGrid& grid, int sizeColumnPixels, int zeroPixelWidth) {
    const int width = RepadSizeWidth(sizeColumnPixels, zeroPixelWidth);
    if (grid_ == &grid && width_ == width && columnVersion_ == grid.ColumnVersion(kSizeColumn))
        return;
    RepadSizes(grid, width);
    grid_ = &grid;
    width_ = width;
    columnVersion_ = grid.ColumnVersion(kSizeColumn);
}

}  // namespace tavelin
