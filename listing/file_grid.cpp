#include "listing/file_grid.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tavelin {

FileGrid::FileGrid() : rows_(kInitialRowCount) {}

void FileGrid::SetRowCount(int rowCount) {
    rowCount = std::max(rowCount, 1);
    if (rowCount == RowCount())
        return;
    // resize() keeps the capacity growth geometric, so a listing that adds one row at a time
    // stays linear in the number of files.
    rows_.resize(static_cast<size_t>(rowCount));
    BumpAllVersions();
    if (observer_)
        observer_->RowCountChanged(rowCount);
}

void FileGrid::SetCell(int column, int row, std::wstring text) {
    std::wstring& cell = rows_.at(row).at(column);
    if (cell == text)
        return;
    cell = std::move(text);
    ++columnVersions_[column];
    if (observer_)
        observer_->CellChanged(column, row);
}

void FileGrid::SwapRows(int a, int b) {
    if (a == b)
        return;
    std::swap(rows_.at(a), rows_.at(b));
    if (!observer_)
        return;
    for (int column = 0; column < kColumnCount; ++column) {
        observer_->CellChanged(column, a);
        observer_->CellChanged(column, b);
    }
}

void FileGrid::PermuteRows(const std::vector<int>& order) {
    if (order.size() + 1 != rows_.size())
        throw std::invalid_argument("row order does not cover the rows");
    std::vector<bool> taken(rows_.size(), false);
    for (const int from : order) {
        if (from < 1 || from >= RowCount() || taken[from])
            throw std::invalid_argument("row order is not a permutation");
        taken[from] = true;
    }
    std::vector<Row> rearranged(rows_.size());
    rearranged[0] = std::move(rows_[0]);
    for (size_t k = 0; k < order.size(); ++k)
        rearranged[k + 1] = std::move(rows_[order[k]]);
    rows_ = std::move(rearranged);
    if (observer_)
        observer_->RowsRearranged();
}

void FileGrid::BumpAllVersions() {
    for (auto& version : columnVersions_)
        ++version;
}

}  // namespace tavelin
