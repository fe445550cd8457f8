#include "tree/folder_listing.h"

#include "services/attribute_filter.h"
#include "services/retried_search.h"

namespace tavelin {

namespace {
// Room made at a listing's first sub-folder, so that a folder of a few needs no regrowth.
constexpr std::size_t kFirstSubfolders = 16;
constexpr std::size_t kFirstNameLength = 16;

bool IsSubfolder(const DirEntry& entry) {
    return MatchesAttributeSet(entry.attributes, kFolderScanAttributeSet) && (entry.attributes & kAttrDirectory) &&
           entry.name != L"." && entry.name != L"..";
}
}  // namespace

void FolderListing::Add(std::wstring_view name, bool loopLink) {
    if (subfolders.empty()) {
        subfolders.reserve(kFirstSubfolders);
        names.reserve(kFirstSubfolders * kFirstNameLength);
    }
    subfolders.push_back({names.size(), name.size(), loopLink});
    names.append(name);
}

// No reparse point has the tag zero: a file system that gives it does not tell the kind, and its
// reparse points are taken for links, which costs a check but never a scan without end.
bool IsFolderLink(const DirEntry& entry) {
    return (entry.attributes & kAttrReparsePoint) &&
           (entry.reparseTag == kTagMountPoint || entry.reparseTag == kTagSymbolicLink || entry.reparseTag == 0);
}

// `entry` is the caller's, so that its name's room serves folder after folder.
void FolderLister::List(FolderListing& listing, DirEntry& entry, const std::atomic<bool>& stopped) {
    listing.subfolders.clear();
    listing.names.clear();
    listing.cutShort = false;
    const std::wstring& folder = listing.path;
    auto search = SearchRetryingOnce(fs_, folder, &stopped);
    if (!search)
        return;
    while (!stopped && search->Next(entry)) {
        // Only a link can lead back up; other folders never pay for the identity query.
        if (IsSubfolder(entry))
            listing.Add(entry.name,
                        IsFolderLink(entry) && LeadsToAncestor(folder + entry.name + L'\\', folder, stopped));
    }
    listing.cutShort = search->Failed();
}

// `link` is found in the folder `parent`, a path below or at the root.
bool FolderLister::LeadsToAncestor(const std::wstring& link,
                                   const std::wstring& parent,
                                   const std::atomic<bool>& stopped) {
    const std::optional<FolderIdentity> target = fs_.Identity(link);
    // A broken link finds nothing when enumerated anyway; a folder without an id cannot be told
    // from any other, and taking it for its own ancestor would cut off every folder below it.
    if (!target || !target->Known())
        return false;
    std::wstring path = parent;
    while (!stopped) {
        if (IdentityOf(path) == target)
            return true;
        if (path.size() <= root_.size())
            return false;
        // Folder names hold no "\", so the ancestor is the path without its last "name\"; the
        // root's own text, whatever separators it holds, is never taken apart.
        path.resize(path.rfind(L'\\', path.size() - 2) + 1);
    }
    return false;
}

// The query runs outside the lock (on a file server it is a round trip): two threads may both ask.
std::optional<FolderIdentity> FolderLister::IdentityOf(const std::wstring& path) {
    {
        std::lock_guard lock(mutex_);
        if (auto found = identities_.find(path); found != identities_.end())
            return found->second;
    }
    std::optional<FolderIdentity> identity = fs_.Identity(path);
    std::lock_guard lock(mutex_);
    identities_.emplace(path, identity);
    return identity;
}

}  // namespace tavelin
