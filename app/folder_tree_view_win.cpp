#include "app/folder_tree_view_win.h"

namespace tavelin {

FolderTreeView::FolderTreeView(const FolderTree& tree, ui::TreeView& control) : tree_(tree), control_(control) {
    control_.onExpanding = [this](const NMTREEVIEWW& notice) { return Expanding(notice); };
}

void FolderTreeView::Clear() {
    control_.Clear();
    rootItems_.clear();
}

// Nodes arrive only during a scan, when the control is disabled and holds nothing but the root,
// unopened (see Expanding): a new node never needs an item, only its parent's button may change.
void FolderTreeView::NodeAdded(NodeId node, NodeId parent) {
    if (parent == kNoNode) {
        HTREEITEM after = rootItems_.empty() ? nullptr : rootItems_.back().second;
        rootItems_.emplace_back(node, control_.Add(nullptr, after, tree_.Text(node), static_cast<LPARAM>(node), false));
    } else if (tree_.Parent(parent) == kNoNode && tree_.FirstChild(parent) == node) {
        for (const auto& [root, item] : rootItems_)
            if (root == parent)
                control_.SetHasChildren(item, true);
    }
}

// A disabled control belongs to a scan in progress, whose nodes are still arriving: an item
// opened now would miss the children found after it.
bool FolderTreeView::Expanding(const NMTREEVIEWW& notice) {
    if (!(notice.action & TVE_EXPAND))
        return false;
    if (!IsWindowEnabled(control_.Handle()))
        return true;
    const auto node = static_cast<NodeId>(notice.itemNew.lParam);
    if (!control_.HasChildItems(notice.itemNew.hItem))
        AddChildItems(node, notice.itemNew.hItem);
    return false;
}

// Each child goes in as the first, last child first: naming the previous sibling instead makes
// some implementations look the handle up among all items, which is quadratic in the children,
// and asking for the last place makes others walk the siblings. The first place costs both
// nothing.
void FolderTreeView::AddChildItems(NodeId node, HTREEITEM item) {
    std::vector<NodeId> children;
    for (NodeId child = tree_.FirstChild(node); child != kNoNode; child = tree_.NextSibling(child))
        children.push_back(child);
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        control_.Add(item, nullptr, tree_.Text(*child), static_cast<LPARAM>(*child),
                     tree_.FirstChild(*child) != kNoNode);
}

std::optional<NodeId> FolderTreeView::SelectedNode() const {
    if (auto data = control_.SelectedData())
        return static_cast<NodeId>(*data);
    return std::nullopt;
}

}  // namespace tavelin
