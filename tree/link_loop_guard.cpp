#include "tree/link_loop_guard.h"

namespace tavelin {

bool LinkLoopGuard::LeadsToAncestor(const std::wstring& linkPath, NodeId parent, const std::wstring& parentPath) {
    const std::optional<FolderIdentity> target = fs_.Identity(linkPath);
    if (!target)
        return false;  // a broken link: enumerating it finds nothing anyway
    std::wstring path = parentPath;
    for (NodeId node = parent; node != kNoNode; node = tree_.Parent(node)) {
        const std::optional<FolderIdentity>& identity = IdentityOf(node, path);
        if (identity && *identity == *target)
            return true;
        // The ancestor's path is this one without the node's own "name\" at the end; the root's
        // text is the whole remaining path.
        const std::size_t own = tree_.Text(node).size() + 1;
        path.resize(path.size() > own ? path.size() - own : 0);
    }
    return false;
}

const std::optional<FolderIdentity>& LinkLoopGuard::IdentityOf(NodeId node, const std::wstring& path) {
    auto found = identities_.find(node);
    if (found == identities_.end())
        found = identities_.emplace(node, fs_.Identity(path)).first;
    return found->second;
}

}  // namespace tavelin
