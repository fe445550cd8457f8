#pragma once
// The folder tree in a tree view control that holds only what the user has opened: the root, and
// the children of each node opened since the scan began. An item has an expand button exactly
// when its node has a child, and receives its children, in the model's order, when it is first
// opened; so a scan costs the control nothing but the root, however many folders it finds.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <utility>
#include <vector>

#include "tree/folder_tree.h"
#include "ui/tree_view_win.h"

namespace tavelin {

class FolderTreeView {
  public:
    // Takes over the control's expanding notice.
    FolderTreeView(const FolderTree& tree, ui::TreeView& control);

    // The model has just been cleared.
    void Clear();
    // `node` has just been added to the model as the last child of `parent` (kNoNode: the root).
    void NodeAdded(NodeId node, NodeId parent);
    // The node of the selected item; nullopt when nothing is selected.
    std::optional<NodeId> SelectedNode() const;

  private:
    // Answers TVN_ITEMEXPANDINGW: true keeps the item closed.
    bool Expanding(const NMTREEVIEWW& notice);
    void AddChildItems(NodeId node, HTREEITEM item);

    const FolderTree& tree_;
    ui::TreeView& control_;
    // The top-level nodes and their items: every other item is made when its parent opens.
    std::vector<std::pair<NodeId, HTREEITEM>> rootItems_;
};

}  // namespace tavelin
