#include "tree/node_path.h"

#include <vector>

namespace tavelin {

namespace {

// Collects the chain from the node up to (not including) its root, then writes it top down, so
// the cost is the length of the path rather than its square.
void AppendBelowRoot(const FolderTree& tree, NodeId node, std::wstring& out, bool trailingSeparator) {
    std::vector<NodeId> chain;
    for (NodeId n = node; tree.Parent(n) != kNoNode; n = tree.Parent(n))
        chain.push_back(n);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        out += tree.Text(*it);
        if (trailingSeparator || it + 1 != chain.rend())
            out += L'\\';
    }
}

NodeId RootOf(const FolderTree& tree, NodeId node) {
    while (tree.Parent(node) != kNoNode)
        node = tree.Parent(node);
    return node;
}

}  // namespace

std::wstring GetNodePath(const FolderTree& tree, std::size_t index) {
    return NodePath(tree, tree.NodeAt(index));
}

std::wstring NodePath(const FolderTree& tree, NodeId node) {
    std::wstring path(tree.Text(RootOf(tree, node)));
    AppendBelowRoot(tree, node, path, true);
    return path;
}

std::wstring RelativeNodePath(const FolderTree& tree, NodeId node) {
    std::wstring path;
    AppendBelowRoot(tree, node, path, false);
    return path;
}

}  // namespace tavelin
