#include "listing/file_grid.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace tavelin {

FileGrid::FileGrid() {
    SetRowCount(kInitialRowCount);
}

const FileGrid::Row& FileGrid::RowAt(int row) const {
    if (row < 0 || row >= rowCount_)
        throw std::out_of_range("row outside the grid");
    return rows_[static_cast<size_t>(row)];
}

FileGrid::Row& FileGrid::RowAt(int row) {
    return const_cast<Row&>(std::as_const(*this).RowAt(row));
}

void FileGrid::Empty() {
    SetRowCount(2);
    for (int column = 0; column < kColumnCount; ++column)
        SetCell(column, 1, {});
}

void FileGrid::SetRowCount(int rowCount) {
    rowCount = std::max(rowCount, 1);
    if (rowCount == rowCount_)
        return;
    // Rows that go take their text with them, and come back empty.
    for (int row = rowCount; row < rowCount_; ++row) {
        for (const std::wstring_view cell : RowAt(row))
            liveUnits_ -= cell.size();
    }
    rows_.resize(static_cast<size_t>(rowCount));
    rowCount_ = rowCount;
    DropUnusedText();
    if (observer_)
        observer_->RowCountChanged(rowCount);
}

void FileGrid::SetCell(int column, int row, std::wstring_view text) {
    std::wstring_view& cell = RowAt(row).at(column);
    if (cell == text)
        return;
    const std::wstring_view kept = text_.Keep(text);
    liveUnits_ += kept.size() - cell.size();
    cell = kept;
    DropUnusedText();
    if (observer_)
        observer_->CellChanged(column, row);
}

void FileGrid::PermuteRows(const std::vector<int>& order) {
    if (order.size() + 1 != static_cast<size_t>(rowCount_))
        throw std::invalid_argument("row order does not cover the rows");
    std::vector<bool> taken(static_cast<size_t>(rowCount_), false);
    for (const int from : order) {
        if (from < 1 || from >= rowCount_ || taken[from])
            throw std::invalid_argument("row order is not a permutation");
        taken[from] = true;
    }
    // In place, one cycle of the permutation at a time: each row moves once and no second copy
    // of the grid is ever made.
    std::vector<bool> placed(static_cast<size_t>(rowCount_), false);
    for (int start = 1; start < rowCount_; ++start) {
        if (placed[start])
            continue;
        Row carried = std::move(RowAt(start));
        int to = start;
        for (;;) {
            placed[to] = true;
            const int from = order[to - 1];
            if (from == start) {
                RowAt(to) = std::move(carried);
                break;
            }
            RowAt(to) = std::move(RowAt(from));
            to = from;
        }
    }
    if (observer_)
        observer_->RowsRearranged();
}

// Once replaced texts outweigh the cells' own, the cells' texts move to the front of the arena:
// rewriting every cell again and again (sizes re-padded at each new column width) then keeps at
// most twice the text the grid shows, and copies each unit a bounded number of times.
void FileGrid::DropUnusedText() {
    constexpr std::size_t kSmallArena = 1 << 16;
    if (text_.Used() <= kSmallArena || text_.Used() <= 2 * liveUnits_)
        return;
    std::wstring kept;
    kept.reserve(liveUnits_);
    for (const Row& row : rows_) {
        for (const std::wstring_view cell : row)
            kept += cell;
    }
    text_.Reset();
    std::wstring_view rest = kept;
    for (Row& row : rows_) {
        for (std::wstring_view& cell : row) {
            const std::size_t length = cell.size();
            cell = text_.Keep(rest.substr(0, length));
            rest.remove_prefix(length);
        }
    }
}

}  // namespace tavelin
