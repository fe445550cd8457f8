#include "tree/folder_tree.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "tree/node_path.h"

namespace tavelin {
namespace {

// Pre-order by a plain recursive walk over the child links, independent of the order buffer.
void WalkChildren(const FolderTree& tree, NodeId node, std::vector<NodeId>& out) {
    out.push_back(node);
    for (NodeId c = tree.FirstChild(node); c != kNoNode; c = tree.NextSibling(c))
        WalkChildren(tree, c, out);
}

std::vector<NodeId> ByIndex(const FolderTree& tree) {
    std::vector<NodeId> out;
    for (std::size_t i = 0; i < tree.Count(); ++i)
        out.push_back(tree.NodeAt(i));
    return out;
}

TEST(FolderTree, ChildrenAddedInAnyOrderKeepPreOrderAndIndexOf) {
    // Insertions far from the frontier: under the root after deep descendants exist, under
    // an early sibling after later ones, and a second top-level node.
    FolderTree tree;
    NodeId root = tree.AddRoot(L"C:\\A\\");
    NodeId b = tree.AddChild(root, L"B");
    NodeId c = tree.AddChild(root, L"C");
    NodeId bb = tree.AddChild(b, L"BB");
    NodeId bbb = tree.AddChild(bb, L"BBB");
    NodeId d = tree.AddChild(root, L"D");
    NodeId bc = tree.AddChild(b, L"BC");
    NodeId cc = tree.AddChild(c, L"CC");
    NodeId root2 = tree.AddRoot(L"D:\\");
    NodeId bbc = tree.AddChild(bb, L"BBC");

    const std::vector<NodeId> expected{root, b, bb, bbb, bbc, bc, c, cc, d, root2};
    EXPECT_EQ(ByIndex(tree), expected);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(tree.IndexOf(expected[i]), i);
    EXPECT_EQ(tree.Parent(bbc), bb);
    EXPECT_EQ(tree.Parent(root2), kNoNode);
    EXPECT_EQ(tree.Text(bbc), L"BBC");
    EXPECT_EQ(NodePath(tree, bbc), L"C:\\A\\B\\BB\\BBC\\");
    EXPECT_EQ(RelativeNodePath(tree, bbc), L"B\\BB\\BBC");
}

TEST(FolderTree, RandomInsertionsMatchRecursiveWalk) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 rng(seed);
        FolderTree tree;
        std::vector<NodeId> all{tree.AddRoot(L"R\\")};
        for (int i = 0; i < 400; ++i) {
            // Mostly near the newest nodes, as a scan does, sometimes anywhere.
            std::size_t pick =
                rng() % 4 == 0 ? rng() % all.size() : all.size() - 1 - rng() % std::min<std::size_t>(all.size(), 3);
            all.push_back(tree.AddChild(all[pick], L"n" + std::to_wstring(i)));
        }
        std::vector<NodeId> walked;
        WalkChildren(tree, all[0], walked);
        ASSERT_EQ(ByIndex(tree), walked) << "seed " << seed;
        for (std::size_t i = 0; i < walked.size(); i += 37)
            ASSERT_EQ(tree.IndexOf(walked[i]), i) << "seed " << seed;
    }
}

TEST(FolderTree, IndexOfFollowsEveryInsertion) {
    // Asked after each insertion, anywhere in the tree: an answer kept from before the last
    // insertion would be off for every node behind it.
    std::mt19937 rng(7);
    FolderTree tree;
    std::vector<NodeId> all{tree.AddRoot(L"R\\")};
    for (int i = 0; i < 200; ++i) {
        all.push_back(tree.AddChild(all[rng() % all.size()], L"n"));
        const std::vector<NodeId> order = ByIndex(tree);
        for (std::size_t k = 0; k < order.size(); ++k)
            ASSERT_EQ(tree.IndexOf(order[k]), k) << "after insertion " << i;
    }
    tree.Clear();
    const NodeId again = tree.AddRoot(L"D:\\");
    EXPECT_EQ(tree.IndexOf(again), 0u);
    EXPECT_THROW(tree.IndexOf(again + 1), std::out_of_range);
}

TEST(FolderTree, NodesBeyondTheFirstBlockKeepLinksAndNames) {
    FolderTree tree;
    const NodeId root = tree.AddRoot(L"R\\");
    for (int i = 0; i < 70000; ++i)
        tree.AddChild(root, L"n" + std::to_wstring(i % 1000));
    const NodeId last = tree.NodeAt(70000);
    EXPECT_EQ(tree.Parent(last), root);
    EXPECT_EQ(tree.IndexOf(last), 70000u);
    EXPECT_EQ(NodePath(tree, last), L"R\\n999\\");
    EXPECT_EQ(tree.NextSibling(tree.NodeAt(65536)), tree.NodeAt(65537));
}

TEST(FolderTree, ScanSizedTreeKeepsPreOrderPastEveryGrowth) {
    // Grown as the scan grows it (each node's children added when the walk reaches it) to
    // 111,111 nodes: past many growths of the order and the first block of nodes. A few late
    // children of early nodes then land far behind the walk.
    FolderTree tree;
    tree.AddRoot(L"R\\");
    for (std::size_t index = 0; index < tree.Count(); ++index) {
        const NodeId node = tree.NodeAt(index);
        std::size_t depth = 0;
        for (NodeId n = node; tree.Parent(n) != kNoNode; n = tree.Parent(n))
            ++depth;
        for (int child = 0; depth < 5 && child < 10; ++child)
            tree.AddChild(node, std::to_wstring(child));
    }
    for (const std::size_t early : {1u, 2u, 500u})
        tree.AddChild(tree.NodeAt(early), L"late");
    std::vector<NodeId> walked;
    WalkChildren(tree, tree.NodeAt(0), walked);
    ASSERT_EQ(walked.size(), 111114u);
    ASSERT_EQ(ByIndex(tree), walked);
    for (std::size_t i = 0; i < walked.size(); ++i)
        ASSERT_EQ(tree.IndexOf(walked[i]), i);
    EXPECT_EQ(NodePath(tree, walked.back()), L"R\\9\\9\\9\\9\\9\\");
}

TEST(FolderTree, ClearEmptiesAndChangesGeneration) {
    FolderTree tree;
    NodeId root = tree.AddRoot(L"C:\\");
    tree.AddChild(root, L"x");
    const auto generation = tree.Generation();
    tree.Clear();
    EXPECT_EQ(tree.Count(), 0u);
    EXPECT_NE(tree.Generation(), generation);
    EXPECT_THROW(tree.NodeAt(0), std::out_of_range);
    EXPECT_THROW(tree.AddChild(root, L"y"), std::out_of_range);
    NodeId again = tree.AddRoot(L"D:\\");
    EXPECT_EQ(tree.Text(tree.NodeAt(0)), L"D:\\");
    EXPECT_EQ(tree.IndexOf(again), 0u);
}

}  // namespace
}  // namespace tavelin
