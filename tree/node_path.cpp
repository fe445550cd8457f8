#include "tree/node_path.h"

#include <algorithm>
#include <utility>

namespace tavelin {

namespace {

// Copies the names from the node up to just below the root into `out`, back to front, the last
// one ending at `end`, one place apart: `out` is filled with separators beforehand. So a path costs
// one pass up for its length, one for its text, and one allocation.
void WriteBelowRoot(const FolderTree& tree, NodeId node, std::wstring& out, std::size_t end) {
    for (NodeId n = node; tree.Parent(n) != kNoNode; n = tree.Parent(n)) {
        const std::wstring_view name = tree.Text(n);
        end -= name.size();
        std::copy(name.begin(), name.end(), out.begin() + static_cast<std::ptrdiff_t>(end));
        --end;
    }
}

// The length of the names below the root, each with its separator, and the root itself.
std::pair<std::size_t, NodeId> MeasureBelowRoot(const FolderTree& tree, NodeId node) {
    std::size_t length = 0;
    for (; tree.Parent(node) != kNoNode; node = tree.Parent(node))
        length += tree.Text(node).size() + 1;
    return {length, node};
}

}  // namespace

std::wstring NodePath(const FolderTree& tree, NodeId node) {
    const auto [length, root] = MeasureBelowRoot(tree, node);
    const std::wstring_view rootText = tree.Text(root);
    std::wstring path(rootText.size() + length, L'\\');
    std::copy(rootText.begin(), rootText.end(), path.begin());
    WriteBelowRoot(tree, node, path, path.size() - 1);
    return path;
}

std::wstring RelativeNodePath(const FolderTree& tree, NodeId node) {
    const std::size_t length = MeasureBelowRoot(tree, node).first;
    std::wstring path(length == 0 ? 0 : length - 1, L'\\');
    WriteBelowRoot(tree, node, path, path.size());
    return path;
}

}  // namespace tavelin
