#pragma once
// A plain table of texts for the string grid under test.
#include <string>
#include <vector>

#include "ui/grid/grid_data.h"

namespace tavelin::test {

class CellTable final : public ui::GridData {
  public:
    CellTable(int columns, int rows) : columns_(columns) { SetRowCount(rows); }

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

}  // namespace tavelin::test
