#pragma once
// One folder's sub-folders as the scan sees them: which entries count as sub-folders, and which
// of them are links back into their own ancestry.
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "services/file_system.h"
#include "tree/link_loop_guard.h"

namespace tavelin {

struct Subfolder {
    std::size_t nameStart = 0;  // in the listing's names
    std::size_t nameLength = 0;
    bool loopLink = false;  // leads back into its own ancestry: shown, never listed
};

// The names share one text, so that a listing costs the same few allocations however many
// sub-folders it holds.
struct FolderListing {
    std::wstring path;  // ending in "\"
    // In the order the search returned them; empty when the folder could not be read.
    std::vector<Subfolder> subfolders;
    std::wstring names;
    // A read failed twice: the sub-folders are those read until then.
    bool cutShort = false;

    std::wstring_view Name(const Subfolder& subfolder) const {
        return std::wstring_view(names).substr(subfolder.nameStart, subfolder.nameLength);
    }
    // The path of a sub-folder, ending in "\", into `out`.
    void PathOf(const Subfolder& subfolder, std::wstring& out) const;
    void Add(std::wstring_view name, bool loopLink);
};

// Lists the sub-folders of `listing.path` into `listing`, which it empties first, keeping its
// room. Once `stopped` is set it makes no further call and leaves the listing as far as it got.
void ListFolder(FileSystem& fs,
                LinkLoopGuard& links,
                const std::atomic<bool>& stopped,
                DirEntry& entry,
                FolderListing& listing);

}  // namespace tavelin
