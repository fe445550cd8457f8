#pragma once
// A control for the file grid model in the portable logic's tests.
#include <utility>
#include <vector>

#include "listing/file_grid.h"

namespace tavelin::test {

// Records what the grid told its control.
class RecordingObserver : public FileGridObserver {
  public:
    std::vector<std::pair<int, int>> cells;  // (column, row)
    std::vector<int> rowCounts;
    int rearranged = 0;

    void CellChanged(int column, int row) override { cells.emplace_back(column, row); }
    void RowCountChanged(int rowCount) override { rowCounts.push_back(rowCount); }
    void RowsRearranged() override { ++rearranged; }
};

}  // namespace tavelin::test
