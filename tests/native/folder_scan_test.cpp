#include "tree/folder_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/scan_observer.h"
#include "tree/folder_copy.h"
#include "tree/node_path.h"

namespace tavelin {
namespace {

using test::FakeFileSystem;
using test::FakeHost;
using test::FakeWindow;

std::vector<std::wstring> Paths(const FolderTree& tree) {
    std::vector<std::wstring> out;
    for (std::size_t i = 0; i < tree.Count(); ++i)
        out.push_back(NodePathAt(tree, i));
    return out;
}

// C:\A\ holding, in this enumeration order: Zeta (with Z1, Z2), a file, Alpha (with A1 holding
// A11), Mid.
FakeFileSystem SampleTree() {
    FakeFileSystem fs;
    fs.AddFolder(L"C:\\A\\Zeta");
    fs.AddFolder(L"C:\\A\\Zeta\\Z1");
    fs.AddFolder(L"C:\\A\\Zeta\\Z2");
    fs.AddFile(L"C:\\A\\readme.txt");
    fs.AddFolder(L"C:\\A\\Alpha");
    fs.AddFolder(L"C:\\A\\Alpha\\A1");
    fs.AddFolder(L"C:\\A\\Alpha\\A1\\A11");
    fs.AddFolder(L"C:\\A\\Mid");
    return fs;
}

const std::vector<std::wstring> kSampleOrder{
    L"C:\\A\\",        L"C:\\A\\Zeta\\",      L"C:\\A\\Zeta\\Z1\\",       L"C:\\A\\Zeta\\Z2\\",
    L"C:\\A\\Alpha\\", L"C:\\A\\Alpha\\A1\\", L"C:\\A\\Alpha\\A1\\A11\\", L"C:\\A\\Mid\\",
};

TEST(FolderScan, BuildsTreeInEnumerationOrderAndMirrorsEveryNode) {
    FakeFileSystem fs = SampleTree();
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);

    EXPECT_EQ(Paths(tree), kSampleOrder);
    EXPECT_EQ(tree.Text(tree.NodeAt(0)), L"C:\\A\\");
    EXPECT_EQ(tree.Text(tree.NodeAt(6)), L"A11");
    // Each node reaches the window once, after its parent, with that parent.
    ASSERT_EQ(window.mirrored.size(), tree.Count());
    std::vector<bool> seen(tree.Count());
    for (auto [node, parent] : window.mirrored) {
        EXPECT_EQ(parent, tree.Parent(node));
        if (parent != kNoNode) {
            EXPECT_TRUE(seen[parent]);
        }
        seen[node] = true;
    }
    // The window ends as a whole scan leaves it: its list emptied once, the tree ready and usable.
    EXPECT_EQ(std::count(window.log.begin(), window.log.end(), L"clear list"), 1);
    EXPECT_TRUE(window.treeReady);
    EXPECT_TRUE(window.treeEnabled);
    EXPECT_FALSE(window.scanAborted);
    EXPECT_EQ(host.status, L"");
    EXPECT_EQ(fs.IdentityQueries(), 0) << "ordinary folders must not pay for link detection";
}

TEST(FolderScan, SkipsHiddenSystemAndLabelEntriesButKeepsDotFolders) {
    FakeFileSystem fs;
    fs.AddFolder(L"C:\\A\\hidden", kAttrDirectory | kAttrHidden);
    fs.AddFolder(L"C:\\A\\hidden\\inner");
    fs.AddFolder(L"C:\\A\\system", kAttrDirectory | kAttrSystem);
    fs.AddFolder(L"C:\\A\\both", kAttrDirectory | kAttrHidden | kAttrSystem);
    fs.AddFile(L"C:\\A\\label", kAttrVolumeLabel);
    fs.AddFolder(L"C:\\A\\.git");
    fs.AddFolder(L"C:\\A\\..x");
    fs.AddFolder(L"C:\\A\\readonly", kAttrDirectory | kAttrReadOnly | kAttrArchive);
    fs.AddFile(L"C:\\A\\file.txt", kAttrReadOnly);
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{L"C:\\A\\", L"C:\\A\\.git\\", L"C:\\A\\..x\\", L"C:\\A\\readonly\\"};
    EXPECT_EQ(Paths(tree), expected);
}

TEST(FolderScan, NodePathsOfRootAndGrandchild) {
    const struct {
        const wchar_t* root;
        const wchar_t* grandchild;
    } cases[] = {{L"C:\\A\\", L"C:\\A\\B\\C\\"}, {L"C:\\", L"C:\\B\\C\\"}};
    for (const auto& c : cases) {
        FakeFileSystem fs(c.root);
        fs.AddFolder(std::wstring(c.root) + L"B");
        fs.AddFolder(std::wstring(c.root) + L"B\\C");
        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        ScanFolders(c.root, tree, fs, host, window);
        ASSERT_EQ(tree.Count(), 3u) << c.root;
        EXPECT_EQ(NodePathAt(tree, 0), c.root);
        EXPECT_EQ(NodePathAt(tree, 2), c.grandchild);
    }
}

TEST(FolderScan, UnreadableFolderGetsNoChildrenAndScanGoesOn) {
    FakeFileSystem fs = SampleTree();
    fs.MakeUnreadable(L"C:\\A\\Zeta");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{
        L"C:\\A\\",     L"C:\\A\\Zeta\\", L"C:\\A\\Alpha\\", L"C:\\A\\Alpha\\A1\\", L"C:\\A\\Alpha\\A1\\A11\\",
        L"C:\\A\\Mid\\"};
    EXPECT_EQ(Paths(tree), expected);
    EXPECT_EQ(host.status, L"");
}

TEST(FolderScan, AFailedReadIsTriedOnceMoreAndFoldersStillFailingAreCounted) {
    // Zeta holds ".", "..", Z1, Z2: a read that fails after three entries has read Z1.
    const std::wstring zeta = L"C:\\A\\Zeta\\";
    const struct {
        const wchar_t* name;
        std::vector<std::tuple<std::wstring, std::size_t, int>> failing;  // folder, after, searches
        std::vector<std::wstring> lost;
        const wchar_t* status;
    } cases[] = {
        {L"once, part-way", {{zeta, 3, 1}}, {}, L""},
        {L"once, at the open", {{L"C:\\A\\", 0, 1}}, {}, L""},
        {L"twice, part-way",
         {{zeta, 3, 2}},
         {L"C:\\A\\Zeta\\Z2\\"},
         L"フォルダ検索を完了しました。［読み取れなかったフォルダ数:1］"},
        {L"twice, two folders at the open",
         {{zeta, 0, 2}, {L"C:\\A\\Alpha\\A1\\", 0, 2}},
         {L"C:\\A\\Zeta\\Z1\\", L"C:\\A\\Zeta\\Z2\\", L"C:\\A\\Alpha\\A1\\A11\\"},
         L"フォルダ検索を完了しました。［読み取れなかったフォルダ数:2］"},
    };
    for (const auto& c : cases) {
        FakeFileSystem fs = SampleTree();
        for (const auto& [folder, after, searches] : c.failing)
            fs.FailReading(folder, after, searches);
        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        ScanFolders(L"C:\\A\\", tree, fs, host, window);
        std::vector<std::wstring> expected;
        for (const std::wstring& path : kSampleOrder)
            if (std::find(c.lost.begin(), c.lost.end(), path) == c.lost.end())
                expected.push_back(path);
        EXPECT_EQ(Paths(tree), expected) << c.name;
        EXPECT_EQ(host.status, c.status) << c.name;
        EXPECT_TRUE(window.treeReady) << c.name;
    }
    // An aborted scan keeps its own message, whatever it could not read.
    FakeFileSystem fs = SampleTree();
    fs.FailReading(zeta, 0, 2);
    FolderTree tree;
    FakeHost host;
    host.escapeFromPoll = 4;
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    EXPECT_EQ(host.status, L"フォルダ検索を中断しました。");
}

// The sample tree's folders in the order the scan adds them: each folder's sub-folders, folder
// after folder in pre-order.
const std::vector<std::wstring> kSampleAdditions{L"C:\\A\\Zeta\\",          L"C:\\A\\Alpha\\",    L"C:\\A\\Mid\\",
                                                 L"C:\\A\\Zeta\\Z1\\",      L"C:\\A\\Zeta\\Z2\\", L"C:\\A\\Alpha\\A1\\",
                                                 L"C:\\A\\Alpha\\A1\\A11\\"};

TEST(FolderScan, EscapeLeavesTheFoldersAddedUntilThenInPreOrderAndNothingAfter) {
    // Where the checks fall depends on how soon each listing is ready; what Escape leaves does not.
    for (int escapeAt : {1, 2, 3, 5, 8, 100}) {
        FakeFileSystem fs = SampleTree();
        FolderTree tree;
        FakeHost host;
        host.escapeFromPoll = escapeAt;
        std::size_t atEscape = 0;
        host.onPoll = [&] {
            if (host.polls == escapeAt)
                atEscape = tree.Count();
        };
        FakeWindow window;
        ScanFolders(L"C:\\A\\", tree, fs, host, window);
        const std::size_t added = tree.Count() - 1;
        std::vector<std::wstring> expected{L"C:\\A\\"};
        for (const std::wstring& path : kSampleOrder)
            if (std::find(kSampleAdditions.begin(), kSampleAdditions.begin() + added, path) !=
                kSampleAdditions.begin() + added)
                expected.push_back(path);
        EXPECT_EQ(Paths(tree), expected) << "escape at poll " << escapeAt;
        const bool aborted = host.polls >= escapeAt;
        if (aborted)
            EXPECT_EQ(atEscape, tree.Count()) << "nothing is added after Escape, at poll " << escapeAt;
        else
            EXPECT_EQ(added, kSampleAdditions.size()) << escapeAt;
        EXPECT_EQ(window.mirrored.size(), tree.Count()) << escapeAt;
        EXPECT_EQ(window.scanAborted, aborted) << escapeAt;
        EXPECT_EQ(host.status, aborted ? L"フォルダ検索を中断しました。" : L"") << escapeAt;
        EXPECT_EQ(window.treeReady, added > 0) << escapeAt;
    }
}

TEST(FolderScan, EscapeCancelsTheListingsAheadAndEveryOneHasEndedWhenTheScanReturns) {
    FakeFileSystem fs;
    for (int i = 0; i < 100; ++i) {
        fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i));
        for (int j = 0; j < 5; ++j)
            fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i) + L"\\g" + std::to_wstring(j));
    }
    // Listings as slow as a file server's, so that the threads list ahead once a few have shown it.
    fs.searchDelay = std::chrono::milliseconds(1);
    FolderTree tree;
    FakeHost host;
    host.escapeFromPoll = 150;
    std::size_t atEscape = 0;
    host.onPoll = [&] { atEscape = tree.Count(); };
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    EXPECT_TRUE(window.scanAborted);
    EXPECT_EQ(tree.Count(), atEscape);
    ASSERT_TRUE(test::WorkerThreadsEnded());
    EXPECT_EQ(fs.OpenSearches(), 0);
    EXPECT_LT(fs.searched.size(), 601u / 2) << "the listings ahead stop with the scan";
}

TEST(FolderScan, EscapeReturnsAtOnceWhileAListingIsHeldUpAndDropsItsResult) {
    // Listed ahead by many threads as on a file server, and by one as on a local disk.
    for (auto delay : {std::chrono::milliseconds(1), std::chrono::milliseconds(0)}) {
        FakeFileSystem fs = SampleTree();
        fs.searchDelay = delay;
        fs.Block(L"C:\\A\\Alpha");
        FolderTree tree;
        FakeHost host;
        host.escapeOnceTrue = [&] { return fs.BlockedCalls() > 0; };
        FakeWindow window;
        {
            FakeFileSystem::ReleaseLater guard(fs);
            ScanFolders(L"C:\\A\\", tree, fs, host, window);
            EXPECT_EQ(fs.BlockedCalls(), 1) << "the scan waited for the server, delay " << delay.count();
        }
        EXPECT_TRUE(window.scanAborted);
        EXPECT_EQ(host.status, L"フォルダ検索を中断しました。");
        const std::vector<std::wstring> before = Paths(tree);
        ASSERT_TRUE(test::WorkerThreadsEnded());
        EXPECT_EQ(Paths(tree), before);
        EXPECT_EQ(std::count(before.begin(), before.end(), L"C:\\A\\Alpha\\A1\\"), 0);
    }
}

// The window that owns the file system may be gone when a call that a server held returns: the
// call returns into the file system the threads share, and they make no new call.
TEST(FolderScan, ACallHeldPastItsOwnerReturnsIntoTheSharedFileSystemAndNoNewCallFollows) {
    for (bool copy : {false, true}) {
        auto fs = std::make_unique<FakeFileSystem>(SampleTree());
        fs->AddFolder(L"E:\\Copy");
        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        if (copy)
            ScanFolders(L"C:\\A\\", tree, *fs, host, window);
        fs->Block(copy ? L"E:\\Copy\\Alpha" : L"C:\\A\\Alpha");
        host.escapeOnceTrue = [&] { return fs->BlockedCalls() > 0; };
        if (copy)
            CopyFolderNames(tree, L"E:\\Copy\\", *fs, host);
        else
            ScanFolders(L"C:\\A\\", tree, *fs, host, window);
        const auto disk = std::static_pointer_cast<FakeFileSystem>(fs->Share());
        ASSERT_EQ(disk->BlockedCalls(), 1) << copy;
        const int calls = disk->Calls();
        fs.reset();  // and with it the block
        ASSERT_TRUE(test::WorkerThreadsEnded()) << copy;
        EXPECT_EQ(disk->Calls(), calls) << copy;
    }
}

// A local disk gets one listing thread; scans of a server that has stopped answering, each left
// with Escape, leave a bounded number of threads blocked on it, whatever the number of scans.
TEST(FolderScan, ThreadsStartOnlyAsTheBudgetAllowsAndThoseBlockedStayBounded) {
    FakeFileSystem fs = SampleTree();
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    std::size_t peak = 0;
    host.onPump = [&] { peak = std::max(peak, RunningWorkerThreads()); };
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    EXPECT_EQ(Paths(tree), kSampleOrder);
    EXPECT_EQ(peak, 1u);

    constexpr int kScans = 60;
    fs.Block(L"*");
    for (int scan = 0; scan < kScans; ++scan) {
        FakeHost escaping;
        escaping.escapeFromPoll = 3;
        ScanFolders(L"C:\\A\\", tree, fs, escaping, window);
    }
    EXPECT_GT(fs.BlockedCalls(), 1);
    EXPECT_LT(fs.BlockedCalls(), kScans / 2);
    fs.Release();
    EXPECT_TRUE(test::WorkerThreadsEnded());
}

TEST(FolderScan, AFileServerIsListedByManyThreadsOnceItIsRecognised) {
    // The search folder's listing held for a round trip, on the threads' own clock, ends the run of
    // the one thread that lists a local disk; then every search is held until four are at once.
    FakeFileSystem fs;
    for (int i = 0; i < 300; ++i)
        fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i));
    fs.Block(L"C:\\A");
    FolderTree tree;
    FakeHost host;
    bool rootHeld = true;
    int mostHeld = 0;
    host.onPoll = [&] {
        if (rootHeld && fs.BlockedCalls() == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            rootHeld = false;
            fs.Release();
            fs.Block(L"*");
        }
        mostHeld = std::max(mostHeld, fs.BlockedCalls());
        if (mostHeld >= 4)
            fs.Release();
    };
    FakeWindow window;
    {
        FakeFileSystem::ReleaseLater guard(fs);
        ScanFolders(L"C:\\A\\", tree, fs, host, window);
    }
    EXPECT_EQ(tree.Count(), 301u);
    EXPECT_GE(mostHeld, 4);
}

TEST(FolderScan, EscapeStopsAListingAheadBetweenItsEntries) {
    // A huge folder listed ahead on a thread, whose read a server holds at its 200th entry.
    FakeFileSystem fs;
    for (int i = 0; i < 20; ++i)
        fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i));
    fs.AddFolder(L"C:\\A\\huge");
    for (int i = 0; i < 5000; ++i)
        fs.AddFile(L"C:\\A\\huge\\file" + std::to_wstring(i));
    fs.Block(L"C:\\A\\huge", 200);
    FolderTree tree;
    FakeHost host;
    host.escapeOnceTrue = [&] { return fs.BlockedCalls() > 0; };
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    EXPECT_TRUE(window.scanAborted);
    const long read = fs.EntriesRead();
    fs.Release();
    ASSERT_TRUE(test::WorkerThreadsEnded());
    EXPECT_EQ(fs.EntriesRead(), read + 1) << "the read held ends, and the huge folder is read no further";
}

TEST(FolderScan, ThePumpRunsWhileTheScanRunsAndOnceAtItsEnd) {
    // The root holds 30 folders of 2 each. A stopped clock never makes a check due, so Escape,
    // held throughout, is never read; the one look at the end still lets a waiting message run.
    for (auto tick : {std::chrono::milliseconds(0), std::chrono::milliseconds(1000)}) {
        FakeFileSystem fs;
        for (int i = 0; i < 30; ++i) {
            fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i));
            for (int j = 0; j < 2; ++j)
                fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i) + L"\\g" + std::to_wstring(j));
        }
        FolderTree tree;
        FakeHost host;
        host.tick = tick;
        host.escapeFromPoll = tick.count() == 0 ? 1 : 0;
        std::vector<std::size_t> countAtPump;
        host.onPump = [&] { countAtPump.push_back(tree.Count()); };
        FakeWindow window;
        ScanFolders(L"C:\\A\\", tree, fs, host, window);
        EXPECT_EQ(tree.Count(), 91u) << tick.count();
        EXPECT_FALSE(window.scanAborted) << tick.count();
        ASSERT_FALSE(countAtPump.empty()) << tick.count();
        EXPECT_EQ(countAtPump.back(), 91u) << tick.count();
        if (tick.count() == 0)
            EXPECT_EQ(countAtPump.size(), 1u);
        else
            EXPECT_LT(countAtPump[countAtPump.size() / 2], 91u) << "pumped while the scan ran";
    }
}

TEST(FolderScan, FolderWithoutSubfoldersIsNotReady) {
    FakeFileSystem fs;
    fs.AddFile(L"C:\\A\\only.txt");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    window.treeReady = true;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    EXPECT_EQ(tree.Count(), 1u);
    EXPECT_FALSE(window.treeReady);
    EXPECT_EQ(host.status, L"");
}

TEST(FolderScan, LinksBackIntoTheirAncestryStayChildless) {
    FakeFileSystem fs;
    fs.AddFolder(L"C:\\A\\B");
    fs.AddLink(L"C:\\A\\B\\toSelf", L"C:\\A\\B");
    fs.AddLink(L"C:\\A\\B\\toRoot", L"C:\\A");
    fs.AddFolder(L"C:\\A\\C");
    fs.AddFolder(L"C:\\A\\C\\D");
    fs.AddLink(L"C:\\A\\B\\toCousin", L"C:\\A\\C");  // not an ancestor: followed
    fs.AddLink(L"C:\\A\\C\\D\\up", L"C:\\A\\B");     // leads into B, whose links then stop
    fs.searchDelay = std::chrono::milliseconds(1);   // told on the listing threads too
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{
        L"C:\\A\\",
        L"C:\\A\\B\\",
        L"C:\\A\\B\\toSelf\\",
        L"C:\\A\\B\\toRoot\\",
        L"C:\\A\\B\\toCousin\\",
        L"C:\\A\\B\\toCousin\\D\\",
        L"C:\\A\\B\\toCousin\\D\\up\\",
        L"C:\\A\\C\\",
        L"C:\\A\\C\\D\\",
        L"C:\\A\\C\\D\\up\\",
        L"C:\\A\\C\\D\\up\\toSelf\\",
        L"C:\\A\\C\\D\\up\\toRoot\\",
        L"C:\\A\\C\\D\\up\\toCousin\\",
    };
    EXPECT_EQ(Paths(tree), expected);
}

TEST(FolderScan, OnlyLinksAreCheckedForLoopsAndFoldersWithoutIdsNeverMatch) {
    const struct {
        const wchar_t* name;
        std::uint32_t tag;
        bool ids;
        bool checked;
    } cases[] = {
        {L"mount point", kTagMountPoint, true, true},
        {L"symbolic link", kTagSymbolicLink, true, true},
        {L"symbolic link, no ids", kTagSymbolicLink, false, true},
        {L"kind not given", 0, true, true},
        {L"cloud placeholder", 0x9000001A, true, false},
        {L"cloud placeholder, other kind", 0x9000F01A, true, false},
        {L"app execution alias", 0x8000001B, true, false},
        {L"deduplicated", 0x80000013, true, false},
    };
    for (const auto& c : cases) {
        FakeFileSystem fs;
        fs.AddFolder(L"C:\\A\\B");
        fs.AddFolder(L"C:\\A\\C");
        fs.AddFolder(L"C:\\A\\C\\D");
        fs.AddLink(L"C:\\A\\B\\L", L"C:\\A\\C", c.tag);
        if (!c.ids)
            fs.WithoutIds();
        FolderTree tree;
        FakeHost host;
        FakeWindow window;
        ScanFolders(L"C:\\A\\", tree, fs, host, window);
        const std::vector<std::wstring> expected{L"C:\\A\\",          L"C:\\A\\B\\", L"C:\\A\\B\\L\\",
                                                 L"C:\\A\\B\\L\\D\\", L"C:\\A\\C\\", L"C:\\A\\C\\D\\"};
        EXPECT_EQ(Paths(tree), expected) << c.name;
        EXPECT_EQ(fs.IdentityQueries() > 0, c.checked) << c.name;
    }
}

TEST(FolderScan, TheRootIsMadeFullAndTheNamesBelowItAreNot) {
    FakeFileSystem fs;
    fs.AddFolder(L"C:\\A\\v1.");
    fs.AddFolder(L"C:\\A\\v1.\\w");
    fs.SetFullPath(L"C:\\X\\..\\A\\", L"C:\\A\\");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolders(L"C:\\X\\..\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{L"C:\\X\\..\\A\\", L"C:\\X\\..\\A\\v1.\\", L"C:\\X\\..\\A\\v1.\\w\\"};
    EXPECT_EQ(Paths(tree), expected);
    const std::vector<std::wstring> searched{L"C:\\A\\", L"C:\\A\\v1.\\", L"C:\\A\\v1.\\w\\"};
    EXPECT_EQ(fs.searched, searched);
}

TEST(FolderScan, ScanStartedFromThePumpTakesOverTheTree) {
    // A second search run by a menu command while the first is pumping: the first must not
    // touch the tree or the window afterwards.
    FakeFileSystem fs = SampleTree();
    fs.AddFolder(L"C:\\Other");
    fs.AddFolder(L"C:\\Other\\X");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    bool nested = false;
    host.onPump = [&] {
        if (!nested) {
            nested = true;
            ScanFolders(L"C:\\Other\\", tree, fs, host, window);
        }
    };
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{L"C:\\Other\\", L"C:\\Other\\X\\"};
    EXPECT_EQ(Paths(tree), expected);
    EXPECT_EQ(window.mirrored.size(), 2u);
    EXPECT_EQ(window.log.back(), L"ready");
    EXPECT_EQ(host.log.back(), L"status:");
}

TEST(FolderScan, AnExceptionFromTheFakeHostsPumpEndsTheScanAsEscapeDoesAndGoesOn) {
    // Every check is due, so the pump runs at least before each of the seven folders is added.
    for (int throwAt : {1, 3, 7}) {
        FakeFileSystem fs = SampleTree();
        FolderTree tree;
        FakeHost host;
        std::size_t atThrow = 0;
        host.onPump = [&] {
            if (host.pumps == throwAt) {
                atThrow = tree.Count();
                throw std::bad_alloc();
            }
        };
        FakeWindow window;
        EXPECT_THROW(ScanFolders(L"C:\\A\\", tree, fs, host, window), std::bad_alloc) << throwAt;
        EXPECT_EQ(tree.Count(), atThrow) << throwAt;
        EXPECT_EQ(window.treeReady, atThrow > 1) << throwAt;
        EXPECT_TRUE(window.scanAborted) << throwAt;
        EXPECT_EQ(host.status, L"フォルダ検索を中断しました。") << throwAt;
        EXPECT_TRUE(window.treeEnabled) << throwAt;
    }
}

TEST(FolderScan, AnExceptionAfterTheFakeHostsPumpStartedAnotherScanLeavesThatScansTree) {
    FakeFileSystem fs = SampleTree();
    fs.AddFolder(L"C:\\Other");
    fs.AddFolder(L"C:\\Other\\X");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    host.onPump = [&] {
        if (host.pumps == 1) {
            ScanFolders(L"C:\\Other\\", tree, fs, host, window);
            throw std::bad_alloc();
        }
    };
    EXPECT_THROW(ScanFolders(L"C:\\A\\", tree, fs, host, window), std::bad_alloc);
    EXPECT_EQ(tree.Count(), 2u);
    EXPECT_FALSE(window.scanAborted);
    EXPECT_EQ(window.log.back(), L"ready");
    EXPECT_EQ(host.status, L"");
}

TEST(FolderScan, AnExceptionFromTheFakeWindowBeforeTheTreeIsTouchedLeavesTheFlagsAlone) {
    FakeFileSystem fs = SampleTree();
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolders(L"C:\\A\\", tree, fs, host, window);
    window.log.clear();
    struct ThrowingWindow : FakeWindow {
        void ClearFileList() override { throw std::bad_alloc(); }
    } throwing;
    throwing.treeReady = true;
    EXPECT_THROW(ScanFolders(L"C:\\A\\", tree, fs, host, throwing), std::bad_alloc);
    EXPECT_EQ(tree.Count(), kSampleOrder.size());
    EXPECT_TRUE(throwing.treeReady);
    EXPECT_FALSE(throwing.scanAborted);
    EXPECT_TRUE(throwing.log.empty());
}

}  // namespace
}  // namespace tavelin
