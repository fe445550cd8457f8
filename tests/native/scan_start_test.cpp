#include "app/scan_start.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/worker_threads.h"
#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/scan_observer.h"

namespace tavelin {
namespace {

using test::FakeFileSystem;
using test::FakeHost;
using test::FakeWindow;

constexpr wchar_t kScanning[] = L"status:フォルダ検索中です。（ESC:中断）";

// The search folder is checked before anything is touched: a folder that is there is scanned, one
// that is not gets the message, and one on a server that holds the check up leaves the window
// answering until Escape ends the wait. Neither of the last two changes the tree or the flags,
// also once the held-up check has been let go.
TEST(StartScan, ChecksTheSearchFolderOffTheWindowsThreadBeforeTouchingTheTree) {
    const struct {
        const wchar_t* folder;
        bool heldUp;
        std::vector<std::wstring> log;
        bool scanned;
    } cases[] = {
        {L"C:\\A\\New\\", false, {kScanning, L"repaint", L"status:"}, true},
        {L"E:\\",
         false,
         {kScanning, L"repaint", L"inform:検索フォルダのディスクドライブの準備が出来ていません。",
          L"status:検索フォルダを指定して下さい。"},
         false},
        {L"C:\\A\\New\\", true, {kScanning, L"repaint", L"status:フォルダ検索を中断しました。"}, false},
    };
    for (const auto& c : cases) {
        auto fs = std::make_shared<FakeFileSystem>();
        fs->AddFolder(L"C:\\A\\Old");
        fs->AddFolder(L"C:\\A\\New");
        fs->AddFolder(L"C:\\A\\New\\Sub");
        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        StartScan(L"C:\\A\\", tree, fs, host, window);
        ASSERT_EQ(tree.Count(), 4u);
        window.log.clear();
        host.log.clear();
        host.looks = 0;
        const auto generation = tree.Generation();
        if (c.heldUp) {
            fs->Block(c.folder);
            host.escapeOnceTrue = [&fs] { return fs->BlockedCalls() > 0; };
        }

        StartScan(c.folder, tree, fs, host, window);
        fs->Release();
        for (int i = 0; i < 3000 && fs->BlockedCalls() > 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(host.log, c.log) << c.folder;
        EXPECT_EQ(tree.Generation() != generation, c.scanned) << c.folder;
        EXPECT_EQ(tree.Count(), c.scanned ? 2u : 4u) << c.folder;
        EXPECT_EQ(window.treeReady, true) << c.folder;
        if (!c.scanned) {
            EXPECT_TRUE(window.log.empty()) << c.folder;
        }
        if (c.heldUp) {
            EXPECT_GT(host.looks, 0) << "the window answered while it waited";
        }
    }
}

// Every check of a search folder on a server that holds it up blocks a thread until the network
// gives up; attempts after attempts, given up with Escape, never block more than the program allows.
TEST(StartScan, RepeatedChecksOfAHeldUpFolderBlockNoMoreThreadsThanAllowed) {
    auto fs = std::make_shared<FakeFileSystem>();
    fs->AddFolder(L"C:\\A");
    fs->Block(L"C:\\A");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    host.escapeOnceTrue = [] { return true; };
    for (std::size_t attempt = 0; attempt <= kMostWorkerThreads; ++attempt)
        StartScan(L"C:\\A\\", tree, fs, host, window);
    for (int i = 0; i < 1000 && fs->BlockedCalls() <= static_cast<int>(kMostWorkerThreads); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_LE(fs->BlockedCalls(), static_cast<int>(kMostWorkerThreads));
    EXPECT_EQ(tree.Count(), 0u);
    fs->Release();
    EXPECT_TRUE(test::WorkerThreadsEnded());
}

}  // namespace
}  // namespace tavelin
