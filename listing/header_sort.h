#pragma once
// Sorting the listed rows on one column, as a press on that column's header does.
#include <functional>
#include <string>

#include "listing/file_grid.h"
#include "listing/selection_order.h"
#include "services/text_services.h"

namespace tavelin {

// Turns a cell's text into the bytes that rows are ordered by.
using SortKeyFunction = std::function<std::string(const std::wstring&)>;

// The code-page bytes of the locale's upper-casing of the text, so that names order as they
// always have in the system code page, letter case aside.
SortKeyFunction HeaderSortKey(TextServices& text);

// Orders rows 1 .. RowCount() - 1 on `column` exactly as the header's selection sort does
// (see SelectionSortOrder), computing each row's key once. With fewer than two file rows there
// is nothing to order.
void SortRows(FileGrid& grid, int column, SortDirection direction, const SortKeyFunction& key);

}  // namespace tavelin
