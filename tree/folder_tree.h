#pragma once
// The folder tree: nodes with a text, a parent and ordered children, addressed either by a
// stable id or by their absolute index (position in pre-order, root 0).
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tree/block_array.h"
#include "tree/name_store.h"

namespace tavelin {

using NodeId = std::uint32_t;
inline constexpr NodeId kNoNode = 0xFFFFFFFFu;

class FolderTree {
  public:
    // Removes every node. Ids handed out before are void afterwards; Generation() tells.
    void Clear();

    // Adds a node as the last top-level node, after everything in pre-order.
    NodeId AddRoot(std::wstring_view text);
    // Adds a node as the last child of `parent`; in pre-order it follows the parent's last
    // descendant. Constant amortised time when children go where a depth-first scan puts them.
    NodeId AddChild(NodeId parent, std::wstring_view text);

    std::size_t Count() const { return order_.size() - GapLength(); }
    NodeId NodeAt(std::size_t index) const;
    // The absolute index of a node, in constant time.
    std::size_t IndexOf(NodeId node) const;

    std::wstring_view Text(NodeId node) const { return names_.Text(nodes_[node].name); }
    NodeId Parent(NodeId node) const { return nodes_[node].parent; }
    NodeId FirstChild(NodeId node) const { return nodes_[node].firstChild; }
    NodeId NextSibling(NodeId node) const { return nodes_[node].nextSibling; }

    // Changes whenever the tree is cleared, so that a loop that let other code run can tell
    // that the nodes it was working on are gone.
    std::uint64_t Generation() const { return generation_; }

  private:
    // Sixteen bytes: the last child is not kept, since children arrive in runs (a scan adds all
    // of a folder's children at once) and the last one added is remembered instead.
    struct Node {
        NameId name;
        NodeId parent;
        NodeId firstChild;
        NodeId nextSibling;
    };

    NodeId NewNode(NodeId parent, std::wstring_view text);
    NodeId LastChild(NodeId parent) const;
    std::size_t SubtreeEnd(NodeId node) const;
    std::size_t Locate(NodeId node) const;
    std::size_t GapLength() const { return gapEnd_ - gapStart_; }
    void InsertInOrder(std::size_t index, NodeId node);
    void GrowOrder();
    void Place(std::size_t slot, NodeId node);

    BlockArray<Node> nodes_;
    NameStore names_;
    // Node ids in pre-order with a gap where the last insertion happened: a scan inserts right
    // behind the previous insertion or close to it, so the gap rarely travels far.
    std::vector<NodeId> order_;
    std::size_t gapStart_ = 0;
    std::size_t gapEnd_ = 0;
    // Where each node stands in order_, by id. Only the few nodes that the gap passes over move,
    // so keeping this costs a scan little, and a node's index is its slot with the gap taken out.
    BlockArray<std::uint32_t> slots_;
    NodeId lastRoot_ = kNoNode;
    // The node that last received a child, and that child.
    NodeId lastParent_ = kNoNode;
    NodeId lastAdded_ = kNoNode;
    std::uint64_t generation_ = 0;
};

}  // namespace tavelin
