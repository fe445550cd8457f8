#pragma once
// Generated folders held in memory, so that a benchmark can time what the scan and the copy do
// around the file system without the disk's own costs.
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "services/file_system.h"

namespace tavelin::bench {

class MemoryFileSystem final : public FileSystem {
  public:
    // `root` ends in "\"; `folders` are paths relative to it, parents before children.
    MemoryFileSystem(const std::wstring& root, const std::vector<std::wstring>& folders);

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override;
    bool IsDirectory(const std::wstring& path) override;
    bool MakeDirectory(const std::wstring& path) override;
    std::optional<FolderIdentity> Identity(const std::wstring& path) override;
    std::shared_ptr<FileSystem> Share() override { return std::make_shared<MemoryFileSystem>(*this); }

  private:
    bool Add(const std::wstring& path);

    // Each folder's entries, by its path ending in "\"; shared with the copies Share makes.
    struct Folders {
        std::mutex mutex;
        std::unordered_map<std::wstring, std::vector<DirEntry>> entries;
    };
    std::shared_ptr<Folders> folders_ = std::make_shared<Folders>();
};

}  // namespace tavelin::bench
