#include "listing/header_press.h"

namespace tavelin {

std::optional<int> HitHeaderColumn(const HeaderGeometry& geometry, int x) {
    const int count = static_cast<int>(geometry.columnWidths.size());
    int left = 0;
    for (int column = geometry.leftmostColumn; column < count; ++column) {
        const int right = left + geometry.columnWidths[column];
        // Both edges are excluded: a press on an edge pixel belongs to no column.
        if (left < x && x < right)
            return column;
        left = right + geometry.gridLineWidth;
    }
    return std::nullopt;
}

HeaderPress ClassifyHeaderPress(bool listReady, int x, int y, int headerHeight, const HeaderGeometry& geometry) {
    if (!listReady || y >= headerHeight)
        return {};
    const std::optional<int> column = HitHeaderColumn(geometry, x);
    if (!column)
        return {};
    if (*column == kAttributesColumn)
        return {HeaderAction::kListAgain, *column};
    return {HeaderAction::kSort, *column};
}

}  // namespace tavelin
