#include "tree/folder_tree.h"

#include <algorithm>
#include <stdexcept>

namespace tavelin {

void FolderTree::Clear() {
    // Swapped with empty vectors so that a small scan after a huge one gives the memory back.
    std::vector<Node>().swap(nodes_);
    std::vector<wchar_t>().swap(text_);
    std::vector<NodeId>().swap(order_);
    std::vector<std::uint32_t>().swap(indexById_);
    gapStart_ = gapEnd_ = 0;
    lastRoot_ = kNoNode;
    ++generation_;
}

NodeId FolderTree::NewNode(NodeId parent, std::wstring_view text) {
    if (nodes_.size() >= kNoNode)
        throw std::length_error("folder tree is full");
    Node node{text_.size(), static_cast<std::uint32_t>(text.size()), parent, kNoNode, kNoNode, kNoNode};
    text_.insert(text_.end(), text.begin(), text.end());
    nodes_.push_back(node);
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

NodeId FolderTree::AddChild(NodeId parent, std::wstring_view text) {
    if (parent >= nodes_.size())
        throw std::out_of_range("no such folder tree node");
    // The two cheap cases are the ones a scan produces: the first child of a leaf, and a further
    // child of a node whose children are all leaves so far.
    const Node& p = nodes_[parent];
    std::size_t index;
    if (p.lastChild == kNoNode)
        index = Locate(parent) + 1;
    else if (nodes_[p.lastChild].firstChild == kNoNode)
        index = Locate(p.lastChild) + 1;
    else
        index = SubtreeEnd(parent);
    NodeId id = NewNode(parent, text);
    Node& q = nodes_[parent];
    if (q.lastChild == kNoNode)
        q.firstChild = id;
    else
        nodes_[q.lastChild].nextSibling = id;
    q.lastChild = id;
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

// A click on a million-node tree asks for one index; searching out from the gap would cost a
// millisecond each time, one pass costs a few and serves every later click.
void FolderTree::IndexEveryNode() const {
    indexById_.assign(nodes_.size(), 0);
    const std::size_t count = Count();
    for (std::size_t index = 0; index < count; ++index)
        indexById_[OrderAt(index)] = static_cast<std::uint32_t>(index);
}

std::wstring_view FolderTree::Text(NodeId node) const {
    const Node& n = nodes_[node];
    return std::wstring_view(text_.data() + n.textOffset, n.textLength);
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
        const std::size_t newSize = std::max<std::size_t>(64, oldSize * 2);
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
