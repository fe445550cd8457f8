#pragma once
// Folders that exist only as a rule: every folder less than `depth` levels below the search folder
// holds `fanOut` sub-folders. The names are made once, so that a benchmark over them times the
// scan and the tree, not the making of names.
#include <string>
#include <vector>

#include "services/file_system.h"

namespace tavelin::bench {

class GeneratedFolders final : public FileSystem {
  public:
    // `rootDepth`: the number of "\" in the search folder's path.
    GeneratedFolders(int fanOut, int depth, int rootDepth);

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override;
    bool IsDirectory(const std::wstring&) override { return true; }
    bool MakeDirectory(const std::wstring&) override { return true; }
    std::optional<FolderIdentity> Identity(const std::wstring&) override { return std::nullopt; }
    std::shared_ptr<FileSystem> Share() override { return std::make_shared<GeneratedFolders>(*this); }

  private:
    std::vector<std::wstring> names_;
    int maxDepth_;
};

}  // namespace tavelin::bench
