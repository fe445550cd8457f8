#pragma once
// The scan of a search folder into the folder tree, depth first, cancellable with Escape.
#include <string>

#include "services/file_system.h"
#include "services/loop_host.h"
#include "tree/folder_tree.h"
#include "tree/scan_observer.h"

namespace tavelin {

// Replaces the tree with the folders below `searchFolder`, an existing folder (a path ending in
// "\"); the caller has shown the scan's status. The host and the observer (the main window) must
// outlive the scan: the event pump inside may run any handler, but the window stays until the scan
// has returned. A handler that clears the tree meanwhile (a second scan started by a message) makes
// this one return at once without touching the tree, the host or the observer again: the tree's
// generation is the only guard against a nested scan, and it holds whoever starts one. Whether the
// user may start one at all is the window's business.
void ScanFolders(const std::wstring& searchFolder,
                 FolderTree& tree,
                 FileSystem& fs,
                 LoopHost& host,
                 ScanObserver& observer);

}  // namespace tavelin
