#include "services/retried_search.h"

#include <cstddef>
#include <utility>

namespace tavelin {

bool RetriedSearch::Next(DirEntry& entry) {
    if (search_ && search_->Next(entry)) {
        ++read_;
        return true;
    }
    if (!search_ || !search_->Failed())
        return false;
    search_.reset();
    if (!retried_ && !(stopped_ && *stopped_)) {
        retried_ = true;
        search_ = fs_.Search(folder_);
        DirEntry skipped;
        for (std::size_t i = 0; search_ && i < read_; ++i) {
            if (!search_->Next(skipped))
                search_.reset();
        }
        if (search_)
            return Next(entry);
    }
    failed_ = true;
    return false;
}

std::optional<RetriedSearch> SearchRetryingOnce(FileSystem& fs,
                                                const std::wstring& folder,
                                                const std::atomic<bool>* stopped) {
    auto search = fs.Search(folder);
    if (!search)
        return std::nullopt;
    return std::optional<RetriedSearch>(std::in_place, fs, folder, std::move(search), stopped);
}

}  // namespace tavelin
