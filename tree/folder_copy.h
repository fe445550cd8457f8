#pragma once
// Re-creates the folders of the folder tree, names only, below a destination folder.
#include <cstdint>
#include <string>

#include "services/file_system.h"
#include "services/loop_host.h"
#include "tree/folder_tree.h"

namespace tavelin {

struct FolderCopyResult {
    std::int64_t created = 0;
    std::int64_t notCreated = 0;  // already there, refused, or the creation failed
    bool completed = true;        // false when Escape stopped the run
};

// Creates every folder of the tree below its root under `targetFolder` (a path ending in "\"),
// naming each in the status line in pre-order, on worker threads, a folder only after the one it
// goes into; ends with the completion or abort text. A folder whose parent could not be made
// fails in turn. A name the shell cannot handle (see ShellCanHandle) is refused, with everything
// below it. Escape ends the copy at once, waiting for no creation: one under way ends on its own
// and is not counted.
FolderCopyResult CopyFolderNames(const FolderTree& tree,
                                 const std::wstring& targetFolder,
                                 FileSystem& fs,
                                 LoopHost& host);

}  // namespace tavelin
