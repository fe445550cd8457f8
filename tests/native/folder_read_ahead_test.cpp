#include "tree/folder_read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "fakes/file_system.h"

namespace tavelin {
namespace {

TEST(FolderReadAhead, AListingStaysAsItWasUntilTheNextCallWhileTheThreadsListOn) {
    // Far wider than the reach, so that the threads use the listings the caller is done with
    // for the folders ahead while the caller still reads the one it holds.
    test::FakeFileSystem fs;
    constexpr int kWidth = 40;
    for (int i = 0; i < kWidth; ++i) {
        fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i));
        for (int j = 0; j < kWidth; ++j)
            fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i) + L"\\g" + std::to_wstring(j));
    }
    FolderReadAhead ahead(fs, L"C:\\A\\", 2, {.distance = 8, .quickDistance = 8});
    for (int folder = 0; folder < 1 + kWidth + kWidth * kWidth; ++folder) {
        const FolderListing* listing = ahead.Next(std::chrono::seconds(10));
        ASSERT_NE(listing, nullptr) << folder;
        const std::wstring path = listing->path;
        const std::wstring names = listing->names;
        if (folder % 50 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(listing->path, path) << folder;
        ASSERT_EQ(listing->names, names) << folder;
    }
}

}  // namespace
}  // namespace tavelin
