#pragma once
// The order that the header's selection sort leaves rows in, computed in O(n log n).
#include <string>
#include <vector>

namespace tavelin {

enum class SortDirection { kAscending, kDescending };

// Position k of the result holds the index of the key that the selection sort leaves at
// position k. The selection sort walks positions from the first; at each it picks, among the
// later keys, the first one strictly smaller (ascending) or greater (descending) than every key
// before it in the walk, starting from the key in place, and swaps it in. Keys compare as
// unsigned bytes, a prefix being smaller. Equal keys are never picked over one another, so their
// relative order can change, exactly as the selection sort changes it.
std::vector<int> SelectionSortOrder(const std::vector<std::string>& keys, SortDirection direction);

}  // namespace tavelin
