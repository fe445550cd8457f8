// Every allocation of the test program, on every thread, is counted, so that the folders listed
// ahead of a scan can show how many each one costs.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "allocation_hooks.h"
#include "generated_entries.h"
#include "tree/folder_read_ahead.h"

namespace tavelin {
namespace {

constexpr int kFanOut = 10;
constexpr int kDepth = 5;

// Folders `kFanOut` wide and `kDepth` deep under the root, with names that miss any string's own
// buffer.
test::GeneratedEntries GeneratedFolders() {
    return test::GeneratedEntries(
        [](const std::wstring& folder) {
            int depth = 0;
            for (wchar_t c : folder)
                depth += c == L'\\';
            return depth <= kDepth ? kFanOut : 0;
        },
        [](int n, DirEntry& entry) {
            entry.name.assign(L"a-folder-with-a-long-name-");
            entry.name += static_cast<wchar_t>(L'0' + n - 1);
            entry.attributes = kAttrDirectory;
        });
}

TEST(ReadAheadAllocations, PastItsReachAFolderCostsNothingButTheFileSystemsSearch) {
    // Listings the scan is done with are used again: a listing, its path and its names of its own
    // made four allocations a folder with the file system's search.
    constexpr std::size_t kReach = 256;
    test::GeneratedEntries fs = GeneratedFolders();
    long folders = 1;
    for (int level = 1, width = kFanOut; level <= kDepth; ++level, width *= kFanOut)
        folders += width;
    const long before = test::AllocationsSoFar();
    FolderReadAhead ahead(fs, L"C:\\", 2, {.distance = kReach, .quickDistance = kReach});
    std::size_t subfolders = 0;
    std::wstring last;
    for (long folder = 0; folder < folders; ++folder) {
        const auto listing = ahead.Next(std::chrono::seconds(10));
        ASSERT_NE(listing, nullptr) << folder;
        subfolders += listing->subfolders.size();
        last = listing->path;
    }
    const long made = test::AllocationsSoFar() - before;
    EXPECT_EQ(subfolders, static_cast<std::size_t>(folders - 1));
    EXPECT_EQ(last,
              L"C:\\a-folder-with-a-long-name-9\\a-folder-with-a-long-name-9\\a-folder-with-a-long-name-9\\"
              L"a-folder-with-a-long-name-9\\a-folder-with-a-long-name-9\\");
    // A few allocations for each listing that can be in reach, in a run or with the scan at once,
    // however many folders there are: fewer than one for every twenty of these.
    EXPECT_LE(made - folders, 16 * static_cast<long>(kReach)) << made;
}

}  // namespace
}  // namespace tavelin
