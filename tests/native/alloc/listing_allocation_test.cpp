// Every allocation of the test program is counted, so that a listing can show that its
// allocations do not grow with its rows.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "allocation_hooks.h"
#include "fakes/loop_host.h"
#include "fakes/text_services.h"
#include "generated_entries.h"
#include "listing/list_files.h"

namespace tavelin {
namespace {

// Names long enough to miss any string's own buffer, their digits backwards; the extension is
// short enough to stay inside the string that the text services return.
void NameOf(int file, std::wstring& name) {
    name.assign(L"a-file-with-a-long-name-");
    for (int rest = file; rest != 0; rest /= 10)
        name += static_cast<wchar_t>(L'0' + rest % 10);
    name += L".c";
}

struct ListingAllocations {
    long window;  // on the thread that lists, the window's
    long reader;  // on the reader's thread
};

// The allocations of one listing into a grid that has listed nothing before, by a reader that
// has read nothing before.
ListingAllocations CountListing(int files) {
    // Each file written into the caller's entry: the file system allocates nothing per file.
    auto folder = std::make_shared<test::GeneratedEntries>([files](const std::wstring&) { return files; },
                                                           [](int n, DirEntry& entry) {
                                                               NameOf(n, entry.name);
                                                               entry.attributes = n % 2 ? kAttrArchive : kAttrReadOnly;
                                                               entry.size = 1000003ull * static_cast<unsigned>(n);
                                                               entry.lastWriteTime = test::FileTimeOf(
                                                                   2024, 1 + n % 12, 1 + n % 28, n % 24, 30, 8);
                                                           });
    test::FakeTextServices text;
    test::FakeHost host;
    FolderFileReader reader(folder);
    FileGrid grid;
    const long before = test::AllocationsSoFar();
    const long beforeHere = test::AllocationsOnThisThread();
    EXPECT_EQ(ListFolderFiles(L"C:\\Big\\", [] { return 25; }, grid, {reader, text, host}), files);
    const long here = test::AllocationsOnThisThread() - beforeHere;
    const ListingAllocations made{here, test::AllocationsSoFar() - before - here};
    std::wstring last;
    NameOf(files, last);
    EXPECT_EQ(grid.Cell(0, files), last);
    return made;
}

TEST(ListingAllocations, StayFewWhateverTheNumberOfRows) {
    // Three texts per row outgrow a string's own buffer: a grid of strings made 90,000
    // allocations for the larger folder. The arena and the row array grow by doubling.
    const ListingAllocations small = CountListing(1000);
    const ListingAllocations large = CountListing(30000);
    EXPECT_LE(small.window, 64);
    EXPECT_LE(large.window, 64);
    EXPECT_LE(large.window - small.window, 16);
    // On the reader's thread only the names' buffers: this file system's names take two
    // allocations in an entry that has held none, and none in one that has held a longer name.
    EXPECT_LE(large.reader, 2 * 30000 + 64);
}

}  // namespace
}  // namespace tavelin
