// Allocations that fail on every thread but the test's own, from a chosen one on: the scan and
// the copy must end as Escape ends them and hand the error to the window's thread, whichever
// allocation of a listing or creating thread it hits.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <thread>

#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/scan_observer.h"
#include "tree/folder_copy.h"
#include "tree/folder_scan.h"

namespace {

std::atomic<bool> armed{false};
std::atomic<long> allowed{0};
const std::thread::id testThread = std::this_thread::get_id();

void FailOtherThreadsAfter(long allocations) {
    allowed = allocations;
    armed = true;
}

void Disarm() {
    armed = false;
}

}  // namespace

void* operator new(std::size_t size) {
    if (armed && std::this_thread::get_id() != testThread && allowed.fetch_sub(1) <= 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

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
        FailOtherThreadsAfter(after);
        EXPECT_THROW(ScanFolders(L"C:\\A\\", tree, fs, host, window), std::bad_alloc) << after;
        Disarm();
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
        FailOtherThreadsAfter(after);
        EXPECT_THROW(CopyFolderNames(tree, L"E:\\Copy\\", fs, host), std::bad_alloc) << after;
        Disarm();
        EXPECT_LT(fs.Created().size(), kFolders - 1) << after;
        EXPECT_EQ(host.status, L"フォルダ名コピーを中断しました。") << after;
        EXPECT_EQ(host.painted.back(), host.status) << after;
    }
}

}  // namespace
}  // namespace tavelin
