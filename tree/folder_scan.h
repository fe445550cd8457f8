#pragma once
// The scan of a search folder into the folder tree, depth first, cancellable with Escape.
#include <cstdint>
#include <string>
#include <unordered_set>

#include "services/file_system.h"
#include "services/loop_host.h"
#include "services/loop_pacer.h"
#include "tree/folder_read_ahead.h"
#include "tree/folder_tree.h"
#include "tree/scan_observer.h"

namespace tavelin {

// One run of the scan. The host and the observer (the main window) must outlive it: the event
// pump inside may run any handler, but the window stays until the scan has returned. A handler
// that clears the tree meanwhile (a second scan started by a message) makes this one return at
// once without touching the tree, the host or the observer again: the tree's generation is this
// class's only guard against a nested scan, and it holds whoever starts one. Whether the user
// may start one at all is the window's business.
class FolderScan {
  public:
    FolderScan(FolderTree& tree, FileSystem& fs, LoopHost& host, ScanObserver& observer);

    // Replaces the tree with the folders below `searchFolder`, an existing folder (a path ending
    // in "\"); the caller has shown the scan's status.
    void Scan(const std::wstring& searchFolder);

  private:
    void Run(const std::wstring& searchFolder);
    // Appends the sub-folders of `folder` as children of `node`, letting pending window messages
    // run and reading Escape between them (at most once per pacing interval); stops early on
    // Escape.
    void AddSubfolders(const FolderListing& folder, NodeId node);
    // The listing of the next folder in the scan's order, probing while it is not there; nullptr
    // when the scan must stop.
    const FolderListing* NextListing(FolderReadAhead& ahead);
    bool Probe();
    void Abort();
    bool Aborted() const { return observer_.IsScanAborted(); }
    bool TreeReplaced() const { return tree_.Generation() != generation_; }

    FolderTree& tree_;
    FileSystem& fs_;
    LoopHost& host_;
    ScanObserver& observer_;
    LoopPacer pacer_;
    // Links back into their own ancestry: they stay in the tree without children.
    std::unordered_set<NodeId> loopLinks_;
    std::uint64_t generation_ = 0;
    std::int64_t cutShort_ = 0;  // folders whose listing a failed read ended
    bool treeDisabled_ = false;
};

void ScanFolders(const std::wstring& searchFolder,
                 FolderTree& tree,
                 FileSystem& fs,
                 LoopHost& host,
                 ScanObserver& observer);

}  // namespace tavelin
