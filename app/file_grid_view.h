#pragma once
// Shows the file grid model in the string grid control: the control reads the cells through
// GridData and hears of every change through the model's observer.
#include "listing/file_grid.h"
#include "ui/grid/grid_data.h"
#include "ui/grid/string_grid_win.h"

namespace tavelin {

class FileGridView final : public ui::GridData, private FileGridObserver {
  public:
    explicit FileGridView(FileGrid& grid) : grid_(grid) {}
    ~FileGridView() override { grid_.SetObserver(nullptr); }
    FileGridView(const FileGridView&) = delete;
    FileGridView& operator=(const FileGridView&) = delete;

    void Attach(ui::StringGrid* control) {
        control_ = control;
        grid_.SetObserver(this);
    }

    int ColumnCount() const override { return FileGrid::kColumnCount; }
    int RowCount() const override { return grid_.RowCount(); }
    std::wstring_view CellText(int col, int row) const override { return grid_.Cell(col, row); }

  private:
    void CellChanged(int column, int row) override { control_->CellChanged(column, row); }
    void RowCountChanged(int) override { control_->RowCountChanged(); }
    void RowsRearranged() override { control_->RowCountChanged(); }

    FileGrid& grid_;
    ui::StringGrid* control_ = nullptr;
};

}  // namespace tavelin
