#pragma once
// The cells of the file grid: a header row and one row per file, five columns of text. The grid
// control paints from this model and learns about every change through the observer.
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "listing/text_arena.h"

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

    // Throws std::out_of_range outside the grid. The text stays valid until the grid changes.
    std::wstring_view Cell(int column, int row) const { return RowAt(row).at(column); }
    void SetCell(int column, int row, std::wstring_view text);

    // Rearranges the rows below the header: row 1 + k takes the row that was at order[k].
    // `order` must be a permutation of 1 .. RowCount() - 1.
    void PermuteRows(const std::vector<int>& order);

  private:
    // A row is five views into the grid's own text, so a row costs no allocation of its own and
    // rearranging rows moves no text.
    using Row = std::array<std::wstring_view, kColumnCount>;

    const Row& RowAt(int row) const;
    Row& RowAt(int row);
    void DropUnusedText();

    std::vector<Row> rows_;
    int rowCount_ = 0;
    // Every cell's text, and texts that cells have since replaced; the units of the first kind.
    TextArena text_;
    std::size_t liveUnits_ = 0;
    FileGridObserver* observer_ = nullptr;
};

}  // namespace tavelin
