#pragma once
// The file system over the wide Windows APIs. Every path goes to Windows with the "\\?\"
// prefix, so folders deeper than 260 characters and names ending in a dot or a space work.
#include "services/file_system.h"

namespace tavelin {

class FileSystemWin final : public FileSystem {
  public:
    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override;
    bool IsDirectory(const std::wstring& path) override;
    bool MakeDirectory(const std::wstring& path) override;
    std::optional<FolderIdentity> Identity(const std::wstring& path) override;
    std::wstring FullPath(const std::wstring& folder) override;
    std::shared_ptr<FileSystem> Share() override;
};

}  // namespace tavelin
