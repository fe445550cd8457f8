#include "tree/folder_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/scan_observer.h"
#include "tree/folder_scan.h"

namespace tavelin {
namespace {

using test::FakeFileSystem;
using test::FakeHost;
using test::FakeWindow;

// C:\A\ → B → C, and D beside B; the destination E:\Copy\ exists and is empty.
struct CopyFixture {
    FakeFileSystem fs;
    FolderTree tree;
    FakeHost host;

    CopyFixture() {
        fs.AddFolder(L"C:\\A\\B");
        fs.AddFolder(L"C:\\A\\B\\C");
        fs.AddFolder(L"C:\\A\\D");
        fs.AddFolder(L"E:\\Copy");
        FakeWindow window;
        ScanFolders(L"C:\\A\\", tree, fs, host, window);
        host.log.clear();
        host.statuses.clear();
        host.painted.clear();
        host.polls = 0;
    }
};

TEST(FolderCopy, NamesInPreOrderCreatesEveryFolderThenFindsEverythingThere) {
    CopyFixture f;
    FolderCopyResult first = CopyFolderNames(f.tree, L"E:\\Copy\\", f.fs, f.host);
    EXPECT_EQ(first.created, 3);
    EXPECT_EQ(first.notCreated, 0);
    EXPECT_TRUE(first.completed);
    // Made on several threads: D may come before B or C, C never before B (it would fail).
    std::vector<std::wstring> created = f.fs.Created();
    std::sort(created.begin(), created.end());
    const std::vector<std::wstring> expected{L"E:\\Copy\\B", L"E:\\Copy\\B\\C", L"E:\\Copy\\D"};
    EXPECT_EQ(created, expected);
    const std::vector<std::wstring> statuses{
        L"フォルダ［B］を作成しています。", L"フォルダ［C］を作成しています。", L"フォルダ［D］を作成しています。",
        L"フォルダ名コピーを完了しました。［フォルダ作成数:3］［フォルダ未作成数:0］"};
    EXPECT_EQ(f.host.statuses, statuses);
    EXPECT_EQ(f.host.painted.back(), statuses.back());

    FolderCopyResult again = CopyFolderNames(f.tree, L"E:\\Copy\\", f.fs, f.host);
    EXPECT_EQ(again.created, 0);
    EXPECT_EQ(again.notCreated, 3);
    EXPECT_EQ(f.host.status, L"フォルダ名コピーを完了しました。［フォルダ作成数:0］［フォルダ未作成数:3］");
}

TEST(FolderCopy, FailuresCountAsNotCreatedAndDescendantsFailToo) {
    const struct {
        const wchar_t* name;
        void (*prepare)(FakeFileSystem&);
        int created;
        int notCreated;
    } cases[] = {
        {L"creation of B fails", [](FakeFileSystem& fs) { fs.FailCreationOf(L"E:\\Copy\\B"); }, 1, 2},
        {L"a file named B in the way", [](FakeFileSystem& fs) { fs.AddFile(L"E:\\Copy\\B"); }, 1, 2},
        {L"creation of a leaf fails", [](FakeFileSystem& fs) { fs.FailCreationOf(L"E:\\Copy\\D"); }, 2, 1},
    };
    for (const auto& c : cases) {
        CopyFixture f;
        c.prepare(f.fs);
        FolderCopyResult result = CopyFolderNames(f.tree, L"E:\\Copy\\", f.fs, f.host);
        EXPECT_EQ(result.created, c.created) << c.name;
        EXPECT_EQ(result.notCreated, c.notCreated) << c.name;
        EXPECT_TRUE(result.completed) << c.name;
    }
    CopyFixture f;
    FolderCopyResult result = CopyFolderNames(f.tree, L"F:\\Nowhere\\", f.fs, f.host);
    EXPECT_EQ(result.created, 0);
    EXPECT_EQ(result.notCreated, 3);
}

TEST(FolderCopy, NamesTheShellCannotHandleAreNotCreatedNorAnythingBelowThem) {
    FakeFileSystem fs;
    fs.AddFolder(L"E:\\Copy\\a.");  // there already: what goes below it is refused all the same
    FolderTree tree;
    const NodeId root = tree.AddRoot(L"C:\\A\\");
    tree.AddChild(tree.AddChild(root, L"a."), L"x");
    tree.AddChild(tree.AddChild(tree.AddChild(root, L"CON"), L"y"), L"z");
    const NodeId ok = tree.AddChild(root, L"ok");
    tree.AddChild(ok, L"nul.txt");
    tree.AddChild(ok, L"w");
    tree.AddChild(root, L"b ");
    FakeHost host;
    FolderCopyResult result = CopyFolderNames(tree, L"E:\\Copy\\", fs, host);
    EXPECT_EQ(result.created, 2);
    EXPECT_EQ(result.notCreated, 7);
    std::vector<std::wstring> created = fs.Created();
    std::sort(created.begin(), created.end());
    const std::vector<std::wstring> expected{L"E:\\Copy\\ok", L"E:\\Copy\\ok\\w"};
    EXPECT_EQ(created, expected);
}

TEST(FolderCopy, TheDestinationIsMadeFullAndTheNamesBelowItAreNot) {
    CopyFixture f;
    f.fs.SetFullPath(L"E:\\X\\..\\Copy\\", L"E:\\Copy\\");
    FolderCopyResult result = CopyFolderNames(f.tree, L"E:\\X\\..\\Copy\\", f.fs, f.host);
    EXPECT_EQ(result.created, 3);
    std::vector<std::wstring> created = f.fs.Created();
    std::sort(created.begin(), created.end());
    const std::vector<std::wstring> expected{L"E:\\Copy\\B", L"E:\\Copy\\B\\C", L"E:\\Copy\\D"};
    EXPECT_EQ(created, expected);
}

TEST(FolderCopy, EscapeStopsBeforeTheNextFolderAndOnlyFoldersNamedBeforeItAreMade) {
    // Beside the fixture's three, a deep and wide tree whose folders wait on each other's creation.
    for (int escapeAt : {1, 2, 3, 200, 400}) {
        CopyFixture f;
        std::wstring chain;
        for (int i = 0; i < 400; ++i) {
            chain = (i % 8 == 0 ? L"C:\\A\\D" : chain) + L"\\n" + std::to_wstring(i);
            f.fs.AddFolder(chain);
        }
        FakeWindow window;
        ScanFolders(L"C:\\A\\", f.tree, f.fs, f.host, window);
        f.host.escapeFromPoll = f.host.polls + escapeAt;
        f.host.statuses.clear();
        FolderCopyResult result = CopyFolderNames(f.tree, L"E:\\Copy\\", f.fs, f.host);
        EXPECT_FALSE(result.completed);
        EXPECT_EQ(result.notCreated, 0) << "a folder made before its parent fails";
        EXPECT_EQ(f.host.status, L"フォルダ名コピーを中断しました。");
        EXPECT_EQ(f.host.painted.back(), f.host.status);
        // Only folders named before Escape are made: those counted, and those then under way.
        const std::size_t named = f.host.statuses.size() - 1;
        EXPECT_LE(named, static_cast<std::size_t>(escapeAt - 1)) << escapeAt;
        EXPECT_LE(result.created, static_cast<std::int64_t>(named)) << escapeAt;
        ASSERT_TRUE(test::WorkerThreadsEnded());
        EXPECT_GE(f.fs.Created().size(), static_cast<std::size_t>(result.created)) << escapeAt;
        EXPECT_LE(f.fs.Created().size(), named) << escapeAt;
    }
}

TEST(FolderCopy, EscapeReturnsAtOnceWhileACreationIsHeldUpAndDoesNotCountIt) {
    CopyFixture f;
    f.fs.Block(L"E:\\Copy\\B");
    f.host.escapeOnceTrue = [&] { return f.fs.BlockedCalls() > 0; };
    FolderCopyResult result;
    {
        FakeFileSystem::ReleaseLater guard(f.fs);
        result = CopyFolderNames(f.tree, L"E:\\Copy\\", f.fs, f.host);
        EXPECT_EQ(f.fs.BlockedCalls(), 1) << "the copy waited for the server";
    }
    EXPECT_FALSE(result.completed);
    EXPECT_LE(result.created, 1);  // D, beside B, may have been made
    EXPECT_EQ(result.notCreated, 0);
    EXPECT_EQ(f.host.status, L"フォルダ名コピーを中断しました。");
}

TEST(FolderCopy, AStoppedClockPaintsOnlyTheLastFolderAndTheEndButSetsEveryName) {
    CopyFixture f;
    f.host.tick = std::chrono::milliseconds(0);
    CopyFolderNames(f.tree, L"E:\\Copy\\", f.fs, f.host);
    EXPECT_EQ(f.host.statuses.size(), 4u);
    const std::vector<std::wstring> painted{
        L"フォルダ［D］を作成しています。",
        L"フォルダ名コピーを完了しました。［フォルダ作成数:3］［フォルダ未作成数:0］"};
    EXPECT_EQ(f.host.painted, painted);
}

TEST(FolderCopy, ALongCopyLooksAtTheQueueAtLeastEveryTenthOfASecond) {
    CopyFixture f;
    for (int i = 0; i < 100; ++i)
        f.tree.AddChild(f.tree.NodeAt(0), L"f" + std::to_wstring(i));
    f.host.tick = std::chrono::milliseconds(10);
    const auto start = f.host.now;
    CopyFolderNames(f.tree, L"E:\\Copy\\", f.fs, f.host);
    EXPECT_GE(f.host.looks, (f.host.now - start) / std::chrono::milliseconds(100));
}

TEST(FolderCopy, RootAloneCreatesNothing) {
    FakeFileSystem fs;
    fs.AddFolder(L"E:\\Copy");
    FolderTree tree;
    tree.AddRoot(L"C:\\A\\");
    FakeHost host;
    FolderCopyResult result = CopyFolderNames(tree, L"E:\\Copy\\", fs, host);
    EXPECT_EQ(result.created + result.notCreated, 0);
    EXPECT_TRUE(fs.Created().empty());
    EXPECT_EQ(host.status, L"フォルダ名コピーを完了しました。［フォルダ作成数:0］［フォルダ未作成数:0］");
}

}  // namespace
}  // namespace tavelin
