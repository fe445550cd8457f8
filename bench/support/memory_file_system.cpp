#include "support/memory_file_system.h"

namespace tavelin::bench {

namespace {
class Listing final : public DirectorySearch {
  public:
    explicit Listing(std::vector<DirEntry> entries) : entries_(std::move(entries)) {}
    bool Next(DirEntry& entry) override {
        if (next_ == entries_.size())
            return false;
        entry = entries_[next_++];
        return true;
    }

  private:
    std::vector<DirEntry> entries_;
    std::size_t next_ = 0;
};

std::wstring WithSeparator(const std::wstring& path) {
    return path.empty() || path.back() == L'\\' ? path : path + L'\\';
}
}  // namespace

MemoryFileSystem::MemoryFileSystem(const std::wstring& root, const std::vector<std::wstring>& folders) {
    folders_->entries[WithSeparator(root)] = {{L".", kAttrDirectory}, {L"..", kAttrDirectory}};
    for (const std::wstring& folder : folders)
        Add(root + folder);
}

std::unique_ptr<DirectorySearch> MemoryFileSystem::Search(const std::wstring& folder) {
    std::lock_guard lock(folders_->mutex);
    const auto found = folders_->entries.find(WithSeparator(folder));
    return found == folders_->entries.end() ? nullptr : std::make_unique<Listing>(found->second);
}

bool MemoryFileSystem::IsDirectory(const std::wstring& path) {
    std::lock_guard lock(folders_->mutex);
    return folders_->entries.contains(WithSeparator(path));
}

bool MemoryFileSystem::MakeDirectory(const std::wstring& path) {
    std::lock_guard lock(folders_->mutex);
    return Add(path);
}

std::optional<FolderIdentity> MemoryFileSystem::Identity(const std::wstring&) {
    return std::nullopt;
}

// One level, as a real creation: fails when the folder is there or its parent is not.
bool MemoryFileSystem::Add(const std::wstring& path) {
    const std::wstring folder = WithSeparator(path);
    const std::size_t cut = folder.rfind(L'\\', folder.size() - 2) + 1;
    const auto parent = folders_->entries.find(folder.substr(0, cut));
    if (parent == folders_->entries.end())
        return false;
    // A reference, unlike an iterator, outlives the rehashing that the insertion may cause.
    std::vector<DirEntry>& siblings = parent->second;
    if (!folders_->entries.try_emplace(folder, std::vector<DirEntry>{{L".", kAttrDirectory}, {L"..", kAttrDirectory}})
             .second)
        return false;
    siblings.push_back({folder.substr(cut, folder.size() - cut - 1), kAttrDirectory});
    return true;
}

}  // namespace tavelin::bench
