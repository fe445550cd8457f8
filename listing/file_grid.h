#pragma once
// The cells of the file grid: a header row and one row per file, five columns of text. The grid
// control paints from this model and learns about every change through the observer.
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tavelin {

class FileGridObserver {
  public:
    virtual ~FileGridObserver() = default;
    // One cell's text changed: repaint that cell.
    virtual void CellChanged(int column, int row) = 0;
    // Rows were added or removed: lay out again.
    virtual void RowCountChanged(int rowCount) = 0;
    // The rows below the header were rearranged: repaint them all.
    virtual void RowsRearranged() = 0;
};

class FileGrid {
  public:
    static constexpr int kColumnCount = 5;
    // The header and four empty rows, until the first listing.
    static constexpr int kInitialRowCount = 5;

    FileGrid();

    // nullptr detaches; the observer must outlive the grid or be detached first.
    void SetObserver(FileGridObserver* observer) { observer_ = observer; }

    int RowCount() const { return rowCount_; }
    // Never below 1 (the header row); new rows are empty.
    void SetRowCount(int rowCount);
    // The empty list: the header and one empty row, as the grid shows before the first file.
    void Empty();

    // Throws std::out_of_range outside the grid.
    const std::wstring& Cell(int column, int row) const { return RowAt(row).at(column); }
    void SetCell(int column, int row, std::wstring text);

    // Rearranges the rows below the header: row 1 + k takes the row that was at order[k].
    // `order` must be a permutation of 1 .. RowCount() - 1.
    void PermuteRows(const std::vector<int>& order);

    // Changes whenever a cell of the column gets a new text or the row count changes, but not
    // when rows are only rearranged: whoever derives something from the column can tell whether
    // it must look again.
    unsigned long long ColumnVersion(int column) const { return columnVersions_.at(column); }

  private:
    using Row = std::array<std::wstring, kColumnCount>;
    // Rows live in fixed blocks, so that growing the grid one row at a time never moves the
    // rows already there.
    static constexpr int kBlockRows = 1024;
    using Block = std::array<Row, kBlockRows>;

    const Row& RowAt(int row) const;
    Row& RowAt(int row);
    void BumpAllVersions();

    std::vector<std::unique_ptr<Block>> blocks_;
    int rowCount_ = 0;
    std::array<unsigned long long, kColumnCount> columnVersions_{};
    FileGridObserver* observer_ = nullptr;
};

}  // namespace tavelin
