#pragma once
// What a string grid shows: a table of texts that some model owns. The grid only reads it; the
// owner tells the grid when a cell or the row count changed.
#include <string>
#include <string_view>
#include <vector>

namespace tavelin::ui {

class GridData {
  public:
    virtual ~GridData() = default;
    virtual int ColumnCount() const = 0;
    // Rows including the header row 0.
    virtual int RowCount() const = 0;
    virtual std::wstring_view CellText(int col, int row) const = 0;
};

// A plain table of cells, for grids whose owner has no model of its own.
class GridTable final : public GridData {
  public:
    GridTable(int columns, int rows) : columns_(columns) { SetRowCount(rows); }

    int ColumnCount() const override { return columns_; }
    int RowCount() const override { return static_cast<int>(cells_.size()) / columns_; }
    std::wstring_view CellText(int col, int row) const override { return cells_[Index(col, row)]; }

    void SetRowCount(int rows) { cells_.resize(static_cast<size_t>(rows) * columns_); }
    void SetCell(int col, int row, std::wstring text) { cells_[Index(col, row)] = std::move(text); }

  private:
    size_t Index(int col, int row) const { return static_cast<size_t>(row) * columns_ + col; }

    int columns_;
    std::vector<std::wstring> cells_;
};

}  // namespace tavelin::ui
