#include "listing/size_repadder.h"

#include <algorithm>

#include "listing/file_row.h"
#include "listing/size_text.h"

namespace tavelin {

// Below three digits a size would never line up with its neighbours anyway, and a font too small
// to read is taken as three pixels a digit.
int SizeWidth(int textPixels, int digitPixels) {
    const int digitWidth = std::max(digitPixels, 3);
    return std::max(textPixels / digitWidth, 3);
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

}  // namespace tavelin
