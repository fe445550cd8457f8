#include "listing/selection_order.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <numeric>

namespace tavelin {

namespace {

// Equal keys get equal ranks; a smaller rank means a key to place earlier in `direction`.
std::vector<std::uint32_t> RankKeys(const std::vector<std::string>& keys, SortDirection direction) {
    std::vector<int> byKey(keys.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    std::vector<std::uint32_t> ranks(keys.size());
    std::uint32_t rank = 0;
    for (size_t k = 0; k < byKey.size(); ++k) {
        if (k > 0 && keys[byKey[k - 1]] < keys[byKey[k]])
            ++rank;
        ranks[byKey[k]] = rank;
    }
    if (direction == SortDirection::kDescending) {
        for (auto& r : ranks)
            r = rank - r;
    }
    return ranks;
}

// Answers "the leftmost position holding the smallest rank" over positions whose rank can
// change one at a time.
class LeftmostMinimumTree {
  public:
    static constexpr std::uint32_t kRetired = std::numeric_limits<std::uint32_t>::max();

    explicit LeftmostMinimumTree(const std::vector<std::uint32_t>& ranks)
        : leaves_(std::bit_ceil(std::max<size_t>(ranks.size(), 1))), ranks_(leaves_, kRetired), best_(2 * leaves_) {
        std::copy(ranks.begin(), ranks.end(), ranks_.begin());
        for (size_t p = 0; p < leaves_; ++p)
            best_[leaves_ + p] = static_cast<int>(p);
        for (size_t node = leaves_ - 1; node >= 1; --node)
            best_[node] = Better(best_[2 * node], best_[2 * node + 1]);
    }

    std::uint32_t Rank(int position) const { return ranks_[position]; }
    int LeftmostMinimum() const { return best_[1]; }

    void Set(int position, std::uint32_t rank) {
        ranks_[position] = rank;
        for (size_t node = (leaves_ + position) / 2; node >= 1; node /= 2)
            best_[node] = Better(best_[2 * node], best_[2 * node + 1]);
    }

  private:
    // `left` covers smaller positions, so it wins ties.
    int Better(int left, int right) const { return ranks_[right] < ranks_[left] ? right : left; }

    size_t leaves_;
    std::vector<std::uint32_t> ranks_;
    std::vector<int> best_;
};

}  // namespace

// The selection sort's pick at position i is the leftmost minimum of the positions after i,
// taken only when it is strictly below the key in place: its running key only moves on a strictly
// smaller key, so the first occurrence of the suffix minimum is the one it keeps. Retiring each
// position once the walk passes it lets the tree's root answer that question for the suffix.
std::vector<int> SelectionSortOrder(const std::vector<std::string>& keys, SortDirection direction) {
    const int count = static_cast<int>(keys.size());
    std::vector<int> keyAt(keys.size());
    std::iota(keyAt.begin(), keyAt.end(), 0);
    if (count < 2)
        return keyAt;

    const std::vector<std::uint32_t> ranks = RankKeys(keys, direction);
    LeftmostMinimumTree tree(ranks);
    for (int i = 0; i + 1 < count; ++i) {
        tree.Set(i, LeftmostMinimumTree::kRetired);
        const int best = tree.LeftmostMinimum();
        if (tree.Rank(best) < ranks[keyAt[i]]) {
            std::swap(keyAt[i], keyAt[best]);
            tree.Set(best, ranks[keyAt[best]]);
        }
    }
    return keyAt;
}

}  // namespace tavelin
