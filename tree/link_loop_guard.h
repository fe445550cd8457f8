#pragma once
// Tells a folder link that leads back to the folder holding it, or to one of that folder's
// ancestors, from any other link, so that the scan does not descend into it for ever. Several
// threads may ask at once.
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "services/file_system.h"

namespace tavelin {

// True for the reparse points that lead elsewhere: mount points and symbolic links, and those
// whose kind the file system does not tell. Every other kind (a cloud placeholder, a deduplicated
// or app folder) holds its own entries, and opening it to compare identities may fetch it from
// its server.
bool IsFolderLink(const DirEntry& entry);

class LinkLoopGuard {
  public:
    // `root` is the search folder, the top of every ancestry asked about.
    LinkLoopGuard(FileSystem& fs, std::wstring root) : fs_(fs), root_(std::move(root)) {}

    // `linkPath` is a link found in the folder `parentPath`, a path below or at the root. Once
    // `stopped` is set it queries no further ancestor and answers false.
    bool LeadsToAncestor(const std::wstring& linkPath,
                         const std::wstring& parentPath,
                         const std::atomic<bool>& stopped);

  private:
    std::optional<FolderIdentity> IdentityOf(const std::wstring& path);

    FileSystem& fs_;
    const std::wstring root_;
    std::mutex mutex_;
    // Asked only when a link turns up, and each ancestor about once per scan.
    std::unordered_map<std::wstring, std::optional<FolderIdentity>> identities_;
};

}  // namespace tavelin
