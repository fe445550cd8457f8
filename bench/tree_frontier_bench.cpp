// The folder tree model at its two extremes, the way the scan grows it: a million children of one
// folder, then a chain of folders a hundred thousand deep below the first of them. Each figure is
// also taken at a tenth of the size, to show the cost growing with the number of nodes, not faster.
// Usage: tree_frontier_bench
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "support/elapsed.h"
#include "tree/folder_tree.h"

namespace tavelin::bench {
namespace {

struct Figures {
    double wide = 0;  // seconds for the children of one folder
    double deep = 0;  // seconds for the chain
    bool shaped = false;
};

// `children` siblings below the root, then `depth` folders each below the last.
Figures Grow(int children, int depth) {
    Figures f;
    FolderTree tree;
    const NodeId root = tree.AddRoot(L"C:\\");
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < children; ++i)
        tree.AddChild(root, L"f");
    f.wide = Seconds(start);
    NodeId deep = tree.NodeAt(1);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < depth; ++i)
        deep = tree.AddChild(deep, L"d");
    f.deep = Seconds(start);
    // The chain lands right behind its top, before the top's siblings, in pre-order.
    const auto size = static_cast<std::size_t>(children) + depth + 1;
    f.shaped = tree.Count() == size && tree.NodeAt(depth + 1) == deep && tree.Parent(tree.NodeAt(depth + 2)) == root;
    return f;
}

}  // namespace
}  // namespace tavelin::bench

int main() {
    using tavelin::bench::Figures;
    using tavelin::bench::Grow;
    // The fastest of five runs of each size: the figures are small enough for a timer tick to show.
    Figures small{1e9, 1e9, true}, large{1e9, 1e9, true};
    for (int run = 0; run < 5; ++run) {
        const Figures s = Grow(100000, 10000);
        const Figures l = Grow(1000000, 100000);
        small = {std::min(small.wide, s.wide), std::min(small.deep, s.deep), small.shaped && s.shaped};
        large = {std::min(large.wide, l.wide), std::min(large.deep, l.deep), large.shaped && l.shaped};
    }
    if (!small.shaped || !large.shaped) {
        std::printf("the tree came out in the wrong shape\n");
        return 1;
    }
    std::printf("1,000,000 children of one folder: %.1f ms (%.0f ns a node); 100,000: %.1f ms\n", large.wide * 1e3,
                large.wide / 1e6 * 1e9, small.wide * 1e3);
    std::printf("then a chain 100,000 deep: %.1f ms (%.0f ns a node); 10,000: %.1f ms\n", large.deep * 1e3,
                large.deep / 1e5 * 1e9, small.deep * 1e3);
    // The chain of the large tree pays for the growth of every array past 2^20 nodes, which the
    // small one never reaches, so the whole build is compared. The small tree's arrays stay in
    // the cache and the large one's memory is fresh from the system: a ratio somewhat above 10
    // is memory; a quadratic step would show as a hundred.
    std::printf("1,100,001 nodes against 110,001: ratio %.1f (10 is linear, 100 quadratic)\n",
                (large.wide + large.deep) / (small.wide + small.deep));
    return 0;
}
