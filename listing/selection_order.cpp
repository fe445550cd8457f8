#include "listing/selection_order.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>

namespace tavelin {

namespace {

// A key's first sixteen bytes as two big-endian numbers, zero-padded: comparing them orders
// keys as their bytes do, and keys of up to sixteen bytes need nothing else.
struct RankItem {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint32_t length = 0;
    std::uint32_t index = 0;
};

std::uint64_t BigEndianBytes(const std::string& key, size_t from) {
    std::uint64_t value = 0;
    for (size_t i = from; i < from + 8; ++i)
        value = (value << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return value;
}

// Equal keys get equal ranks; a smaller rank means a key to place earlier in `direction`.
std::vector<std::uint32_t> RankKeys(const std::vector<std::string>& keys, SortDirection direction) {
    std::vector<RankItem> items(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        items[i] = {BigEndianBytes(keys[i], 0), BigEndianBytes(keys[i], 8),
                    static_cast<std::uint32_t>(std::min<size_t>(keys[i].size(), 0xFFFFFFFFu)),
                    static_cast<std::uint32_t>(i)};
    }
    const auto less = [&keys](const RankItem& a, const RankItem& b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        // Same first sixteen bytes: a shorter key is a prefix of the longer one, unless both go
        // on beyond what the numbers hold.
        if (a.length <= 16 || b.length <= 16)
            return a.length < b.length;
        return keys[a.index] < keys[b.index];
    };
    std::sort(items.begin(), items.end(), less);
    std::vector<std::uint32_t> ranks(items.size());
    std::uint32_t rank = 0;
    for (size_t k = 0; k < items.size(); ++k) {
        if (k > 0 && less(items[k - 1], items[k]))
            ++rank;
        ranks[items[k].index] = rank;
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
        // Where a node keeps its value, so do all above it.
        for (node /= 2; node >= 1; node /= 2) {
            const std::uint64_t smaller = std::min(nodes_[2 * node], nodes_[2 * node + 1]);
            if (nodes_[node] == smaller)
                break;
            nodes_[node] = smaller;
        }
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
        if (tree.MinimumRank() < ranks[keyAt[i]]) {
            std::swap(keyAt[i], keyAt[best]);
            tree.Set(best, ranks[keyAt[best]]);
        }
    }
    return keyAt;
}

}  // namespace tavelin
