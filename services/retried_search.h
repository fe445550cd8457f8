#pragma once
// A folder's search that survives one failed read: a share that drops a connection for a moment
// loses nothing, and one that keeps failing is told apart from a folder that has ended.
#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "services/file_system.h"

namespace tavelin {

// Searches `folder` as FileSystem::Search does. When a read fails, the folder is opened again
// once and the search goes on after as many entries as were read: a search handle that has
// failed is not to be trusted with another call, and a folder is enumerated in the same order
// each time it is opened. A folder changed between the two opens may lose or repeat an entry,
// as it may when it changes while it is read. Failed() tells that the second try failed too.
// The search is the caller's own and `folder` must outlive it: a folder then costs no
// allocation beyond the file system's own. Once `stopped` (when given) is set, a failed read is
// not tried again: whoever stopped the search wants no further call.
class RetriedSearch final : public DirectorySearch {
  public:
    RetriedSearch(FileSystem& fs,
                  const std::wstring& folder,
                  std::unique_ptr<DirectorySearch> search,
                  const std::atomic<bool>* stopped)
        : fs_(fs), folder_(folder), search_(std::move(search)), stopped_(stopped) {}

    bool Next(DirEntry& entry) override;
    bool Failed() const override { return failed_; }

  private:
    FileSystem& fs_;
    const std::wstring& folder_;
    std::unique_ptr<DirectorySearch> search_;
    const std::atomic<bool>* stopped_;
    std::size_t read_ = 0;
    bool retried_ = false;
    bool failed_ = false;
};

std::optional<RetriedSearch> SearchRetryingOnce(FileSystem& fs,
                                                const std::wstring& folder,
                                                const std::atomic<bool>* stopped = nullptr);

}  // namespace tavelin
