#include "services/retried_search.h"

#include <cstddef>
#include <utility>

namespace tavelin {

namespace {

class RetriedSearch final : public DirectorySearch {
  public:
    RetriedSearch(FileSystem& fs, std::wstring folder, std::unique_ptr<DirectorySearch> search)
        : fs_(fs), folder_(std::move(folder)), search_(std::move(search)) {}

    bool Next(DirEntry& entry) override {
        if (search_ && search_->Next(entry)) {
            ++read_;
            return true;
        }
        if (!search_ || !search_->Failed())
            return false;
        search_.reset();
        if (retried_ || !Reopen()) {
            failed_ = true;
            return false;
        }
        return Next(entry);
    }
    bool Failed() const override { return failed_; }

  private:
    bool Reopen() {
        retried_ = true;
        search_ = fs_.Search(folder_);
        DirEntry skipped;
        for (std::size_t i = 0; search_ && i < read_; ++i) {
            if (!search_->Next(skipped))
                search_.reset();
        }
        return search_ != nullptr;
    }

    FileSystem& fs_;
    const std::wstring folder_;
    std::unique_ptr<DirectorySearch> search_;
    std::size_t read_ = 0;
    bool retried_ = false;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<DirectorySearch> SearchRetryingOnce(FileSystem& fs, const std::wstring& folder) {
    auto search = fs.Search(folder);
    if (!search)
        return nullptr;
    return std::make_unique<RetriedSearch>(fs, folder, std::move(search));
}

}  // namespace tavelin
