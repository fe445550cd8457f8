#include "support/delayed_file_system.h"

#include <thread>

namespace tavelin::bench {

// A sleep rather than a busy wait: a thread waiting on the network leaves the processor to others.
void DelayedFileSystem::RoundTrip() const {
    if (delay_.count() > 0)
        std::this_thread::sleep_for(delay_);
}

std::unique_ptr<DirectorySearch> DelayedFileSystem::Search(const std::wstring& folder) {
    RoundTrip();
    return inner_->Search(folder);
}

bool DelayedFileSystem::IsDirectory(const std::wstring& path) {
    RoundTrip();
    return inner_->IsDirectory(path);
}

bool DelayedFileSystem::MakeDirectory(const std::wstring& path) {
    RoundTrip();
    return inner_->MakeDirectory(path);
}

std::optional<FolderIdentity> DelayedFileSystem::Identity(const std::wstring& path) {
    RoundTrip();
    return inner_->Identity(path);
}

}  // namespace tavelin::bench
