#pragma once
// What the folder scan tells the main window while it runs. The window keeps the flags, empties
// its file list and mirrors each node in its tree view control. The abort flag has no other
// copy: the scan reads it back from the window to know whether to go on.
#include "tree/folder_tree.h"

namespace tavelin {

class ScanObserver {
  public:
    virtual ~ScanObserver() = default;
    virtual void ClearFileList() = 0;
    virtual void SetTreeReady(bool ready) = 0;
    virtual void SetScanAborted(bool aborted) = 0;
    virtual bool IsScanAborted() const = 0;
    virtual void EnableTree(bool enabled) = 0;
    // The model has just been cleared; the control must drop every item.
    virtual void ClearTree() = 0;
    // `node` was added as the last child of `parent` (kNoNode for the root), so the control can
    // insert it after the parent's last item without walking any siblings.
    virtual void NodeAdded(NodeId node, NodeId parent) = 0;
};

}  // namespace tavelin
