#pragma once
// Generated folders held in memory, so that a benchmark can time what the scan and the copy do
// around the file system without the disk's own costs.
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

  private:
    bool Add(const std::wstring& path);

    std::mutex mutex_;
    // Each folder's entries, by its path ending in "\".
    std::unordered_map<std::wstring, std::vector<DirEntry>> folders_;
};

}  // namespace tavelin::bench
