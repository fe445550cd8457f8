#include "listing/header_sort.h"

#include <string>
#include <utility>
#include <vector>

namespace tavelin {

SortKeyFunction HeaderSortKey(TextServices& text) {
    return [&text](const std::wstring& cell) { return text.SortKey(cell); };
}

void SortRows(FileGrid& grid, int column, SortDirection direction, const SortKeyFunction& key) {
    if (grid.RowCount() < 3)
        return;
    std::vector<std::string> keys;
    keys.reserve(static_cast<size_t>(grid.RowCount() - 1));
    // One string for every cell in turn: the key function takes a string, the grid holds views.
    std::wstring cell;
    for (int row = 1; row < grid.RowCount(); ++row) {
        cell.assign(grid.Cell(column, row));
        keys.push_back(key(cell));
    }

    std::vector<int> order = SelectionSortOrder(keys, direction);
    for (int& from : order)
        ++from;  // keys start at row 1
    grid.PermuteRows(order);
}

}  // namespace tavelin
