#include "tree/folder_tree.h"

#include <algorithm>
#include <stdexcept>

namespace tavelin {

void FolderTree::Clear() {
    // Memory is given back, so that a small scan after a huge one does not keep the huge one's.
    nodes_.clear();
    names_.Clear();
    std::vector<NodeId>().swap(order_);
    slots_.clear();
    gapStart_ = gapEnd_ = 0;
    lastRoot_ = lastParent_ = lastAdded_ = kNoNode;
    ++generation_;
}

NodeId FolderTree::NewNode(NodeId parent, std::wstring_view text) {
    if (nodes_.size() >= kNoNode)
        throw std::length_error("folder tree is full");
    nodes_.push_back(Node{names_.Intern(text), parent, kNoNode, kNoNode});
    slots_.push_back(0);
    return static_cast<NodeId>(nodes_.size() - 1);
}

NodeId FolderTree::AddRoot(std::wstring_view text) {
    std::size_t index = Count();
    NodeId id = NewNode(kNoNode, text);
    if (lastRoot_ != kNoNode)
        nodes_[lastRoot_].nextSibling = id;
    lastRoot_ = id;
    InsertInOrder(index, id);
    return id;
}

// A walk along the siblings only when children of one folder arrive between those of others,
// which a scan never does.
NodeId FolderTree::LastChild(NodeId parent) const {
    if (parent == lastParent_)
        return lastAdded_;
    NodeId last = nodes_[parent].firstChild;
    while (last != kNoNode && nodes_[last].nextSibling != kNoNode)
        last = nodes_[last].nextSibling;
    return last;
}

NodeId FolderTree::AddChild(NodeId parent, std::wstring_view text) {
    if (parent >= nodes_.size())
        throw std::out_of_range("no such folder tree node");
    // The two cheap cases are the ones a scan produces: the first child of a leaf, and a further
    // child of a node whose children are all leaves so far.
    const NodeId last = LastChild(parent);
    std::size_t index;
    if (last == kNoNode)
        index = Locate(parent) + 1;
    else if (nodes_[last].firstChild == kNoNode)
        index = Locate(last) + 1;
    else
        index = SubtreeEnd(parent);
    NodeId id = NewNode(parent, text);
    if (last == kNoNode)
        nodes_[parent].firstChild = id;
    else
        nodes_[last].nextSibling = id;
    lastParent_ = parent;
    lastAdded_ = id;
    InsertInOrder(index, id);
    return id;
}

NodeId FolderTree::NodeAt(std::size_t index) const {
    if (index >= Count())
        throw std::out_of_range("no folder tree node at this index");
    return order_[index < gapStart_ ? index : index + GapLength()];
}

std::size_t FolderTree::IndexOf(NodeId node) const {
    if (node >= nodes_.size())
        throw std::out_of_range("no such folder tree node");
    return Locate(node);
}

// The index right behind the node's last descendant: where the next node that is not a
// descendant stands, or the end.
std::size_t FolderTree::SubtreeEnd(NodeId node) const {
    for (NodeId n = node; n != kNoNode; n = nodes_[n].parent) {
        if (nodes_[n].nextSibling != kNoNode)
            return Locate(nodes_[n].nextSibling);
    }
    return Count();
}

// The node's slot, less the gap when the node stands behind it.
std::size_t FolderTree::Locate(NodeId node) const {
    const std::size_t slot = slots_[node];
    return slot < gapStart_ ? slot : slot - GapLength();
}

// The nodes between the gap and `index` cross the gap first.
void FolderTree::InsertInOrder(std::size_t index, NodeId node) {
    if (GapLength() == 0)
        GrowOrder();
    std::size_t start = gapStart_;
    std::size_t end = gapEnd_;
    for (; start > index; --start, --end)
        Place(end - 1, order_[start - 1]);
    for (; start < index; ++start, ++end)
        Place(start, order_[end]);
    Place(start, node);
    gapStart_ = start + 1;
    gapEnd_ = end;
}

// The nodes behind the gap move to the end of the larger buffer; a scan has few there, since it
// inserts behind everything but the later siblings of the folders it is in.
void FolderTree::GrowOrder() {
    const std::size_t oldSize = order_.size();
    // Half as much again rather than twice: the old and the new buffer are both alive while the
    // one moves into the other.
    const std::size_t newSize = std::max<std::size_t>(64, oldSize + oldSize / 2);
    if (newSize > 0xFFFFFFFFu)
        throw std::length_error("folder tree is full");
    std::vector<NodeId> grown(newSize);
    std::copy(order_.begin(), order_.begin() + gapStart_, grown.begin());
    order_.swap(grown);
    gapEnd_ = newSize - (oldSize - gapStart_);
    for (std::size_t from = gapStart_; from < oldSize; ++from)
        Place(gapEnd_ + (from - gapStart_), grown[from]);
}

void FolderTree::Place(std::size_t slot, NodeId node) {
    order_[slot] = node;
    slots_[node] = static_cast<std::uint32_t>(slot);
}

}  // namespace tavelin
