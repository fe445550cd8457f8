#include "listing/file_grid.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tavelin {

FileGrid::FileGrid() {
    SetRowCount(kInitialRowCount);
}

const FileGrid::Row& FileGrid::RowAt(int row) const {
    if (row < 0 || row >= rowCount_)
        throw std::out_of_range("row outside the grid");
    return (*blocks_[static_cast<size_t>(row / kBlockRows)])[static_cast<size_t>(row % kBlockRows)];
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
    // Rows that go are emptied, so that they come back empty.
    for (int row = rowCount; row < rowCount_; ++row)
        RowAt(row) = Row{};
    const size_t blocks = static_cast<size_t>((rowCount + kBlockRows - 1) / kBlockRows);
    if (blocks < blocks_.size())
        blocks_.resize(blocks);
    while (blocks_.size() < blocks)
        blocks_.push_back(std::make_unique<Block>());
    rowCount_ = rowCount;
    BumpAllVersions();
    if (observer_)
        observer_->RowCountChanged(rowCount);
}

void FileGrid::SetCell(int column, int row, std::wstring text) {
    std::wstring& cell = RowAt(row).at(column);
    if (cell == text)
        return;
    cell = std::move(text);
    ++columnVersions_[column];
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

void FileGrid::BumpAllVersions() {
    for (auto& version : columnVersions_)
        ++version;
}

}  // namespace tavelin
