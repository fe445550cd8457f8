#pragma once
// What a string grid shows: a table of texts that some model owns. The grid only reads it; the
// owner tells the grid when a cell or the row count changed.
#include <string_view>

namespace tavelin::ui {

class GridData {
  public:
    virtual ~GridData() = default;
    virtual int ColumnCount() const = 0;
    // Rows including the header row 0.
    virtual int RowCount() const = 0;
    virtual std::wstring_view CellText(int col, int row) const = 0;
};

}  // namespace tavelin::ui
