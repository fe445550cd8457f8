#include "tree/folder_listing.h"

#include "services/attribute_filter.h"
#include "services/retried_search.h"

namespace tavelin {

namespace {
// Room made at a listing's first sub-folder, so that a folder of a few needs no regrowth.
constexpr std::size_t kFirstSubfolders = 16;
constexpr std::size_t kFirstNameLength = 16;

bool IsSubfolder(const DirEntry& entry) {
    return MatchesAttributeSet(entry.attributes, kFolderScanAttributeSet) && (entry.attributes & kAttrDirectory) &&
           entry.name != L"." && entry.name != L"..";
}
}  // namespace

void FolderListing::PathOf(const Subfolder& subfolder, std::wstring& out) const {
    out.reserve(path.size() + subfolder.nameLength + 1);
    out.assign(path).append(Name(subfolder)) += L'\\';
}

void FolderListing::Add(std::wstring_view name, bool loopLink) {
    if (subfolders.empty()) {
        subfolders.reserve(kFirstSubfolders);
        names.reserve(kFirstSubfolders * kFirstNameLength);
    }
    subfolders.push_back({names.size(), name.size(), loopLink});
    names.append(name);
}

// `entry` is the caller's, so that its name's room serves folder after folder.
void ListFolder(FileSystem& fs,
                LinkLoopGuard& links,
                const std::atomic<bool>& stopped,
                DirEntry& entry,
                FolderListing& listing) {
    listing.subfolders.clear();
    listing.names.clear();
    listing.cutShort = false;
    const std::wstring& folder = listing.path;
    auto search = SearchRetryingOnce(fs, folder, &stopped);
    if (!search)
        return;
    while (!stopped && search->Next(entry)) {
        if (!IsSubfolder(entry))
            continue;
        // Only a link can lead back up; other folders never pay for the identity query.
        const bool loopLink =
            IsFolderLink(entry) && links.LeadsToAncestor(folder + entry.name + L'\\', folder, stopped);
        listing.Add(entry.name, loopLink);
    }
    listing.cutShort = search->Failed();
}

}  // namespace tavelin
