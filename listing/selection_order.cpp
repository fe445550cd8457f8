#include "listing/selection_order.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>

namespace tavelin {

namespace {

// Equal keys get equal ranks; a smaller rank means a key to place earlier in `direction`. The
// keys are sorted themselves rather than through indices, which keeps the comparisons on
// contiguous memory.
std::vector<std::uint32_t> RankKeys(std::vector<std::string> keys, SortDirection direction) {
    std::vector<std::pair<std::string, int>> byKey;
    byKey.reserve(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        byKey.emplace_back(std::move(keys[i]), static_cast<int>(i));
    std::sort(byKey.begin(), byKey.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::uint32_t> ranks(byKey.size());
    std::uint32_t rank = 0;
    for (size_t k = 0; k < byKey.size(); ++k) {
        if (k > 0 && byKey[k - 1].first < byKey[k].first)
            ++rank;
        ranks[byKey[k].second] = rank;
    }
    if (direction == SortDirection::kDescending) {
        for (auto& r : ranks)
            r = rank - r;
    }
    return ranks;
}

// Answers "the leftmost position holding the smallest rank" over positions whose rank can
// change one at a time. Each node holds rank and position packed into one number, so that the
// smaller number is the smaller rank and, among equal ranks, the leftmost position.
class LeftmostMinimumTree {
  public:
    static constexpr std::uint32_t kRetired = std::numeric_limits<std::uint32_t>::max();

    explicit LeftmostMinimumTree(const std::vector<std::uint32_t>& ranks)
        : leaves_(std::bit_ceil(std::max<size_t>(ranks.size(), 1))), nodes_(2 * leaves_, Pack(kRetired, 0)) {
        for (size_t p = 0; p < ranks.size(); ++p)
            nodes_[leaves_ + p] = Pack(ranks[p], p);
        for (size_t node = leaves_ - 1; node >= 1; --node)
            nodes_[node] = std::min(nodes_[2 * node], nodes_[2 * node + 1]);
    }

    std::uint32_t MinimumRank() const { return static_cast<std::uint32_t>(nodes_[1] >> 32); }
    int LeftmostMinimum() const { return static_cast<int>(nodes_[1] & 0xFFFFFFFFu); }

    void Set(int position, std::uint32_t rank) {
        size_t node = leaves_ + static_cast<size_t>(position);
        nodes_[node] = Pack(rank, static_cast<size_t>(position));
        for (node /= 2; node >= 1; node /= 2)
            nodes_[node] = std::min(nodes_[2 * node], nodes_[2 * node + 1]);
    }

  private:
    static std::uint64_t Pack(std::uint32_t rank, size_t position) {
        return (static_cast<std::uint64_t>(rank) << 32) | position;
    }

    size_t leaves_;
    std::vector<std::uint64_t> nodes_;
};

}  // namespace

// The selection sort's pick at position i is the leftmost minimum of the positions after i,
// taken only when it is strictly below the key in place: its running key only moves on a strictly
// smaller key, so the first occurrence of the suffix minimum is the one it keeps. Retiring each
// position once the walk passes it lets the tree's root answer that question for the suffix.
std::vector<int> SelectionSortOrder(std::vector<std::string> keys, SortDirection direction) {
    const int count = static_cast<int>(keys.size());
    std::vector<int> keyAt(keys.size());
    std::iota(keyAt.begin(), keyAt.end(), 0);
    if (count < 2)
        return keyAt;

    const std::vector<std::uint32_t> ranks = RankKeys(std::move(keys), direction);
    LeftmostMinimumTree tree(ranks);
    for (int i = 0; i + 1 < count; ++i) {
        tree.Set(i, LeftmostMinimumTree::kRetired);
        const int best = tree.LeftmostMinimum();
        if (tree.MinimumRank() < ranks[keyAt[i]]) {
            std::swap(keyAt[i], keyAt[best]);
            tree.Set(best, ranks[keyAt[best]]);
        }
    }
    return keyAt;
}

}  // namespace tavelin
