#include "ui/grid/grid_row_access.h"

#include <algorithm>
#include <string_view>

namespace tavelin::ui {

namespace {

// Cells are padded with spaces for the eye (sizes line up on their right edge in the fixed-pitch
// font); a listener gains nothing from hearing them.
std::wstring_view Trimmed(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

// The header row reads as its titles: "ファイル名, Bytes, 種類". A data row pairs every cell with
// its column's title: "ファイル名: a.txt, Bytes: 1234, 種類: txt", so that the listener hears
// which value is which without stepping through the cells. An empty cell is left out rather than
// read as a bare title, and a cell whose column has no title is read alone. Hidden columns are
// read too: their texts are still the row's.
std::wstring GridRowName(const GridData& data, int row) {
    std::wstring name;
    if (row < 0 || row >= data.RowCount())
        return name;
    for (int col = 0; col < data.ColumnCount(); ++col) {
        const std::wstring_view cell = Trimmed(data.CellText(col, row));
        if (cell.empty())
            continue;
        if (!name.empty())
            name += L", ";
        const std::wstring_view title = row == 0 ? std::wstring_view{} : Trimmed(data.CellText(col, 0));
        if (!title.empty()) {
            name += title;
            name += L": ";
        }
        name += cell;
    }
    return name;
}

// A row scrolled out keeps its place on the plane the view slides over, above or below the view,
// as list views report their items: a reader can still tell which way it lies.
GridRect GridRowRect(const GridGeometry& geometry, int row) {
    const int top = row == 0 ? 0 : geometry.RowHeight() * (1 + row - geometry.TopRow());
    int width = 0;
    for (int col = geometry.LeftCol(); col < geometry.ColCount(); ++col)
        width += std::max(geometry.ColWidth(col), 0) + GridGeometry::GridLineWidth();
    return {0, top, std::min(width, geometry.ViewWidth()), top + geometry.RowHeight()};
}

bool GridRowInView(const GridGeometry& geometry, int row) {
    if (row < 0 || row >= geometry.RowCount() || (row > 0 && row < geometry.TopRow()))
        return false;
    const GridRect rect = GridRowRect(geometry, row);
    return rect.top < geometry.ViewHeight() && rect.right > 0;
}

}  // namespace tavelin::ui
