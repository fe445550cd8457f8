#pragma once
// Tells a folder link that leads back to the folder holding it, or to one of that folder's
// ancestors, from any other link, so that the scan does not descend into it for ever.
#include <optional>
#include <string>
#include <unordered_map>

#include "services/file_system.h"
#include "tree/folder_tree.h"

namespace tavelin {

class LinkLoopGuard {
  public:
    LinkLoopGuard(const FolderTree& tree, FileSystem& fs) : tree_(tree), fs_(fs) {}

    // `linkPath` is a link found in the folder `parentPath`, which node `parent` stands for.
    bool LeadsToAncestor(const std::wstring& linkPath, NodeId parent, const std::wstring& parentPath);

    // Forgets the identities learnt, for a tree that was cleared.
    void Clear() { identities_.clear(); }

  private:
    const std::optional<FolderIdentity>& IdentityOf(NodeId node, const std::wstring& path);

    const FolderTree& tree_;
    FileSystem& fs_;
    // Asked only when a link turns up, and each ancestor at most once per scan.
    std::unordered_map<NodeId, std::optional<FolderIdentity>> identities_;
};

}  // namespace tavelin
