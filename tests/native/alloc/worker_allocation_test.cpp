// Allocations that fail on every thread but the test's own, from a chosen one on: the scan and
// the copy must end as Escape ends them and hand the error to the window's thread, whichever
// allocation of a listing or creating thread it hits.
#include <gtest/gtest.h>

#include <string>

#include "allocation_hooks.h"
#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/scan_observer.h"
#include "tree/folder_copy.h"
#include "tree/folder_scan.h"

namespace tavelin {
namespace {

using test::FakeFileSystem;
using test::FakeHost;
using test::FakeWindow;

constexpr std::size_t kFolders = 1 + 60 * 6;

// 60 folders of 5 each, listed as slowly as on a file server, so that the threads list ahead.
void AddSlowTree(FakeFileSystem& fs) {
    for (int i = 0; i < 60; ++i) {
        fs.AddFolder(L"C:\\A\\folder" + std::to_wstring(i));
        for (int j = 0; j < 5; ++j)
            fs.AddFolder(L"C:\\A\\folder" + std::to_wstring(i) + L"\\inner" + std::to_wstring(j));
    }
    fs.searchDelay = std::chrono::milliseconds(1);
}

TEST(WorkerAllocation, AFailureOnAListingThreadEndsTheScanAsEscapeDoes) {
    for (long after : {0, 1, 2, 5, 20, 60, 200}) {
        FakeFileSystem fs;
        AddSlowTree(fs);
        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        test::FailOtherThreadsAfter(after);
        EXPECT_THROW(ScanFolders(L"C:\\A\\", tree, fs, host, window), std::bad_alloc) << after;
        test::StopFailing();
        EXPECT_LT(tree.Count(), kFolders) << after;
        EXPECT_TRUE(window.scanAborted) << after;
        EXPECT_EQ(host.status, L"フォルダ検索を中断しました。") << after;
    }
}

TEST(WorkerAllocation, AFailureOnACreatingThreadEndsTheCopyAsEscapeDoes) {
    for (long after : {0, 1, 2, 5, 20, 60}) {
        FakeFileSystem fs;
        AddSlowTree(fs);
        fs.AddFolder(L"E:\\Copy");
        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        ScanFolders(L"C:\\A\\", tree, fs, host, window);
        ASSERT_EQ(tree.Count(), kFolders);
        test::FailOtherThreadsAfter(after);
        EXPECT_THROW(CopyFolderNames(tree, L"E:\\Copy\\", fs, host), std::bad_alloc) << after;
        test::StopFailing();
        EXPECT_LT(fs.Created().size(), kFolders - 1) << after;
        EXPECT_EQ(host.status, L"フォルダ名コピーを中断しました。") << after;
        EXPECT_EQ(host.painted.back(), host.status) << after;
    }
}

}  // namespace
}  // namespace tavelin
