#include "tree/link_loop_guard.h"

namespace tavelin {

// No reparse point has the tag zero: a file system that gives it does not tell the kind, and its
// reparse points are taken for links, which costs a check but never a scan without end.
bool IsFolderLink(const DirEntry& entry) {
    return (entry.attributes & kAttrReparsePoint) &&
           (entry.reparseTag == kTagMountPoint || entry.reparseTag == kTagSymbolicLink || entry.reparseTag == 0);
}

bool LinkLoopGuard::LeadsToAncestor(const std::wstring& linkPath,
                                    const std::wstring& parentPath,
                                    const std::atomic<bool>& stopped) {
    const std::optional<FolderIdentity> target = fs_.Identity(linkPath);
    // A broken link finds nothing when enumerated anyway; a folder without an id cannot be told
    // from any other, and taking it for its own ancestor would cut off every folder below it.
    if (!target || !target->Known())
        return false;
    std::wstring path = parentPath;
    while (!stopped) {
        const std::optional<FolderIdentity> identity = IdentityOf(path);
        if (identity && *identity == *target)
            return true;
        if (path.size() <= root_.size())
            return false;
        // Folder names hold no "\", so the ancestor is the path without its last "name\"; the
        // root's own text, whatever separators it holds, is never taken apart.
        path.resize(path.rfind(L'\\', path.size() - 2) + 1);
    }
    return false;
}

// Two threads may ask for the same folder at once and both query it; the answers are the same.
// The query itself runs outside the lock, since on a file server it is a round trip.
std::optional<FolderIdentity> LinkLoopGuard::IdentityOf(const std::wstring& path) {
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
