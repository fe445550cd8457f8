#pragma once
// Paths of folder tree nodes, as shown to the user (never with the "\\?\" prefix).
#include <cstddef>
#include <string>

#include "tree/folder_tree.h"

namespace tavelin {

// The full path of a node, ending in "\": the root's text (the search folder, which already ends
// in "\") followed by each folder name on the way down and a "\".
std::wstring NodePath(const FolderTree& tree, NodeId node);
inline std::wstring NodePathAt(const FolderTree& tree, std::size_t index) {
    return NodePath(tree, tree.NodeAt(index));
}

// The node's path below the root, without a trailing "\" (B\C for C:\A\ → B → C); empty for the
// root itself.
std::wstring RelativeNodePath(const FolderTree& tree, NodeId node);

}  // namespace tavelin
