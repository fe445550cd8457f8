#pragma once
// One folder's sub-folders as the scan sees them, and which of them are links back into their own
// ancestry: the scan shows those but never descends into them.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "services/file_system.h"

namespace tavelin {

struct Subfolder {
    std::size_t nameStart = 0;  // in the listing's names
    std::size_t nameLength = 0;
    bool loopLink = false;
};

// The names share one text: a listing costs a few allocations however many sub-folders it holds.
struct FolderListing {
    std::wstring path;  // ending in "\"
    // In the order the search returned them; empty when the folder could not be read.
    std::vector<Subfolder> subfolders;
    std::wstring names;
    bool cutShort = false;  // a read failed twice: the sub-folders are those read until then

    std::wstring_view Name(const Subfolder& subfolder) const {
        return std::wstring_view(names).substr(subfolder.nameStart, subfolder.nameLength);
    }
    void PathOf(const Subfolder& subfolder, std::wstring& out) const {  // ending in "\"
        out.reserve(path.size() + subfolder.nameLength + 1);
        out.assign(path).append(Name(subfolder)) += L'\\';
    }
    void Add(std::wstring_view name, bool loopLink);
};

// True for mount points, symbolic links and reparse points of a kind not told. Every other kind (a
// cloud placeholder, a deduplicated folder) holds its own entries, and opening it may fetch it.
bool IsFolderLink(const DirEntry& entry);

// Lists the folders below one search folder; several threads may list at once.
class FolderLister {
  public:
    // `root`: the search folder, the top of every ancestry a link is checked against.
    FolderLister(FileSystem& fs, std::wstring root) : fs_(fs), root_(std::move(root)) {}

    // Lists the sub-folders of `listing.path` into `listing`, which it empties first, keeping its
    // room. Once `stopped` is set it makes no further call and leaves the listing as far as it got.
    void List(FolderListing& listing, DirEntry& entry, const std::atomic<bool>& stopped);

  private:
    bool LeadsToAncestor(const std::wstring& link, const std::wstring& parent, const std::atomic<bool>& stopped);
    std::optional<FolderIdentity> IdentityOf(const std::wstring& path);

    FileSystem& fs_;
    const std::wstring root_;
    std::mutex mutex_;
    // Asked only when a link turns up, and each ancestor about once per scan.
    std::unordered_map<std::wstring, std::optional<FolderIdentity>> identities_;
};

}  // namespace tavelin
