#pragma once
// A file system that answers like another but waits a given time on every call first, as a
// folder on a file server does: the network is simulated in-process.
#include <chrono>
#include <memory>

#include "services/file_system.h"

namespace tavelin::bench {

class DelayedFileSystem final : public FileSystem {
  public:
    DelayedFileSystem(FileSystem& inner, std::chrono::microseconds delay) : inner_(inner.Share()), delay_(delay) {}

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override;
    bool IsDirectory(const std::wstring& path) override;
    bool MakeDirectory(const std::wstring& path) override;
    std::optional<FolderIdentity> Identity(const std::wstring& path) override;
    std::shared_ptr<FileSystem> Share() override { return std::make_shared<DelayedFileSystem>(*this); }

  private:
    void RoundTrip() const;

    std::shared_ptr<FileSystem> inner_;
    std::chrono::microseconds delay_;
};

}  // namespace tavelin::bench
