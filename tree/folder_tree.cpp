#include "tree/folder_tree.h"

#include <algorithm>
#include <stdexcept>

namespace tavelin {

void FolderTree::Clear() {
    // Memory is given back, so that a small scan after a huge one does not keep the huge one's.
    nodes_.clear();
    names_.Clear();
    std::vector<NodeId>().swap(order_);
    std::vector<std::uint32_t>().swap(indexById_);
    gapStart_ = gapEnd_ = 0;
    lastRoot_ = lastParent_ = lastAdded_ = kNoNode;
    ++generation_;
}

NodeId FolderTree::NewNode(NodeId parent, std::wstring_view text) {
    if (nodes_.size() >= kNoNode)
        throw std::length_error("folder tree is full");
    nodes_.push_back(Node{names_.Intern(text), parent, kNoNode, kNoNode});
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
    if (last != kNoNode) {
        while (nodes_[last].nextSibling != kNoNode)
            last = nodes_[last].nextSibling;
    }
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
    return OrderAt(index);
}

std::size_t FolderTree::IndexOf(NodeId node) const {
    if (node >= nodes_.size())
        throw std::out_of_range("no such folder tree node");
    if (indexById_.size() != nodes_.size())
        IndexEveryNode();
    return indexById_[node];
}

// A click on a million-node tree asks for one index; searching out from the gap would walk much
// of the tree at every click, where one pass over it serves every later click.
void FolderTree::IndexEveryNode() const {
    indexById_.assign(nodes_.size(), 0);
    const std::size_t count = Count();
    for (std::size_t index = 0; index < count; ++index)
        indexById_[OrderAt(index)] = static_cast<std::uint32_t>(index);
}

std::wstring_view FolderTree::Text(NodeId node) const {
    return names_.Text(nodes_[node].name);
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

// Searches outwards from the gap, where the scan works, so a node near the frontier is found
// after a few steps.
std::size_t FolderTree::Locate(NodeId node) const {
    const std::size_t count = Count();
    for (std::size_t step = 0; step < count; ++step) {
        if (step < gapStart_ && OrderAt(gapStart_ - 1 - step) == node)
            return gapStart_ - 1 - step;
        if (gapStart_ + step < count && OrderAt(gapStart_ + step) == node)
            return gapStart_ + step;
        if (step >= gapStart_ && gapStart_ + step >= count)
            break;
    }
    throw std::logic_error("folder tree node missing from the order");
}

void FolderTree::InsertInOrder(std::size_t index, NodeId node) {
    indexById_.clear();
    if (GapLength() == 0) {
        const std::size_t oldSize = order_.size();
        // Half as much again rather than twice: the old and the new buffer are both alive while
        // the one moves into the other.
        const std::size_t newSize = std::max<std::size_t>(64, oldSize + oldSize / 2);
        std::vector<NodeId> grown(newSize);
        std::copy(order_.begin(), order_.begin() + gapStart_, grown.begin());
        std::copy(order_.begin() + gapStart_, order_.end(), grown.end() - (oldSize - gapStart_));
        gapEnd_ = newSize - (oldSize - gapStart_);
        order_.swap(grown);
    }
    MoveGap(index);
    order_[gapStart_++] = node;
}

void FolderTree::MoveGap(std::size_t index) {
    if (index < gapStart_) {
        const std::size_t moved = gapStart_ - index;
        std::copy_backward(order_.begin() + index, order_.begin() + gapStart_, order_.begin() + gapEnd_);
        gapStart_ -= moved;
        gapEnd_ -= moved;
    } else if (index > gapStart_) {
        const std::size_t moved = index - gapStart_;
        std::copy(order_.begin() + gapEnd_, order_.begin() + gapEnd_ + moved, order_.begin() + gapStart_);
        gapStart_ += moved;
        gapEnd_ += moved;
    }
}

}  // namespace tavelin
