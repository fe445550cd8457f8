#include "tree/folder_scan.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/scan_observer.h"
#include "tree/node_path.h"

namespace tavelin {
namespace {

using test::FakeFileSystem;
using test::FakeHost;
using test::FakeWindow;

constexpr wchar_t kScanning[] = L"フォルダ検索中です。（ESC:中断）";

std::vector<std::wstring> Paths(const FolderTree& tree) {
    std::vector<std::wstring> out;
    for (std::size_t i = 0; i < tree.Count(); ++i)
        out.push_back(GetNodePath(tree, i));
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
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);

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
    const std::vector<std::wstring> expectedLog{L"clear list", L"not ready", L"not aborted", L"disable",
                                                L"clear tree", L"enable",    L"ready"};
    EXPECT_EQ(window.log, expectedLog);
    const std::vector<std::wstring> expectedStatus{std::wstring(L"status:") + kScanning, L"repaint", L"status:"};
    EXPECT_EQ(host.log, expectedStatus);
    EXPECT_FALSE(window.scanAborted);
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
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{L"C:\\A\\", L"C:\\A\\.git\\", L"C:\\A\\..x\\", L"C:\\A\\readonly\\"};
    EXPECT_EQ(Paths(tree), expected);
    // With every check due: pumped once per returned entry after the first, in each of the four
    // folders listed (root ".", "..", .git, ..x, readonly, file.txt; then "." and ".." in each of
    // the three children), and once at the end of each.
    EXPECT_EQ(host.pumps, 5 + 3 * 1 + 4);
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
        ScanFolderTree(c.root, tree, fs, host, window);
        ASSERT_EQ(tree.Count(), 3u) << c.root;
        EXPECT_EQ(GetNodePath(tree, 0), c.root);
        EXPECT_EQ(GetNodePath(tree, 2), c.grandchild);
    }
}

TEST(FolderScan, UnreadableFolderGetsNoChildrenAndScanGoesOn) {
    FakeFileSystem fs = SampleTree();
    fs.MakeUnreadable(L"C:\\A\\Zeta");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{
        L"C:\\A\\",     L"C:\\A\\Zeta\\", L"C:\\A\\Alpha\\", L"C:\\A\\Alpha\\A1\\", L"C:\\A\\Alpha\\A1\\A11\\",
        L"C:\\A\\Mid\\"};
    EXPECT_EQ(Paths(tree), expected);
    EXPECT_EQ(host.status, L"");
}

TEST(FolderScan, EscapeLeavesPartialTreeInPreOrder) {
    // Polls happen per entry after the first of a folder and at the end of each folder's listing.
    // Root: ".", then 5 entries ("..", Zeta, file, Alpha, Mid) with a poll each (polls 1-5), end 6;
    // node Zeta: "..", Z1, Z2 (7-9), end 10; node Z1: ".." 11, end 12; ...
    const struct {
        int escapeAt;
        std::size_t nodes;
    } cases[] = {
        {1, 1},    // stopped before any child
        {3, 2},    // Zeta added, stopped at the file
        {5, 3},    // stopped at Mid
        {6, 4},    // root complete, stopped before Zeta is listed
        {9, 5},    // Z1 added, stopped at Z2
        {10, 6},   // Zeta complete
        {100, 8},  // never reached
    };
    for (const auto& c : cases) {
        FakeFileSystem fs = SampleTree();
        FolderTree tree;
        FakeHost host;
        host.escapeFromPoll = c.escapeAt;
        FakeWindow window;
        ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
        std::vector<std::wstring> paths = Paths(tree);
        ASSERT_EQ(paths.size(), c.nodes) << "escape at poll " << c.escapeAt;
        const bool aborted = c.escapeAt != 100;
        EXPECT_EQ(window.scanAborted, aborted) << c.escapeAt;
        EXPECT_EQ(host.status, aborted ? L"フォルダ検索を中断しました。" : L"") << c.escapeAt;
        EXPECT_EQ(window.treeReady, c.nodes > 1) << c.escapeAt;
        EXPECT_EQ(window.log.back(), c.nodes > 1 ? L"ready" : L"enable") << c.escapeAt;
        // The nodes present are the ones a full scan has, each under the right parent.
        FakeFileSystem fullFs = SampleTree();
        for (const std::wstring& p : paths)
            EXPECT_TRUE(fullFs.IsDirectory(p)) << p;
        for (std::size_t i = 1; i < tree.Count(); ++i)
            EXPECT_LT(tree.IndexOf(tree.Parent(tree.NodeAt(i))), i);
    }
    // The exact partial order for a stop in the middle of a folder's listing.
    FakeFileSystem fs = SampleTree();
    FolderTree tree;
    FakeHost host;
    host.escapeFromPoll = 9;
    FakeWindow window;
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{L"C:\\A\\", L"C:\\A\\Zeta\\", L"C:\\A\\Zeta\\Z1\\", L"C:\\A\\Alpha\\",
                                             L"C:\\A\\Mid\\"};
    EXPECT_EQ(Paths(tree), expected);
}

TEST(FolderScan, ChecksBetweenEntriesArePacedByTheClockButEveryFolderEndsWithOne) {
    // The root holds 30 empty folders: 31 entries after its first, then ".." in each folder.
    const struct {
        std::chrono::milliseconds tick;
        int pumps;
    } cases[] = {
        {std::chrono::milliseconds(0), 31},               // a stopped clock: the folder ends alone
        {std::chrono::milliseconds(4), 10 + 31},          // every third entry of the root is 12 ms on
        {std::chrono::milliseconds(1000), 31 + 30 + 31},  // every entry after a folder's first
    };
    for (const auto& c : cases) {
        FakeFileSystem fs;
        for (int i = 0; i < 30; ++i)
            fs.AddFolder(L"C:\\A\\f" + std::to_wstring(i));
        FolderTree tree;
        FakeHost host;
        host.tick = c.tick;
        FakeWindow window;
        ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
        EXPECT_EQ(tree.Count(), 31u) << c.tick.count();
        EXPECT_EQ(host.pumps, c.pumps) << c.tick.count();
        EXPECT_EQ(host.polls, c.pumps) << c.tick.count();
    }
}

TEST(FolderScan, EscapeHeldUnderAStoppedClockStopsAtTheEndOfTheFolder) {
    FakeFileSystem fs = SampleTree();
    FolderTree tree;
    FakeHost host;
    host.tick = std::chrono::milliseconds(0);
    host.escapeFromPoll = 1;
    FakeWindow window;
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{L"C:\\A\\", L"C:\\A\\Zeta\\", L"C:\\A\\Alpha\\", L"C:\\A\\Mid\\"};
    EXPECT_EQ(Paths(tree), expected);
    EXPECT_TRUE(window.scanAborted);
    EXPECT_EQ(host.polls, 1);
}

TEST(FolderScan, MissingSearchFolderLeavesPreviousTreeAndFlags) {
    FakeFileSystem fs = SampleTree();
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
    window.log.clear();
    host.log.clear();
    const auto generation = tree.Generation();

    ScanFolderTree(L"E:\\", tree, fs, host, window);
    EXPECT_EQ(Paths(tree), kSampleOrder);
    EXPECT_EQ(tree.Generation(), generation);
    EXPECT_TRUE(window.log.empty());
    EXPECT_TRUE(window.treeReady);
    const std::vector<std::wstring> expected{std::wstring(L"status:") + kScanning, L"repaint",
                                             L"inform:検索フォルダのディスクドライブの準備が出来ていません。",
                                             L"status:検索フォルダを指定して下さい。"};
    EXPECT_EQ(host.log, expected);
}

TEST(FolderScan, FolderWithoutSubfoldersIsNotReady) {
    FakeFileSystem fs;
    fs.AddFile(L"C:\\A\\only.txt");
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    window.treeReady = true;
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
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
    FolderTree tree;
    FakeHost host;
    FakeWindow window;
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
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
            ScanFolderTree(L"C:\\Other\\", tree, fs, host, window);
        }
    };
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
    const std::vector<std::wstring> expected{L"C:\\Other\\", L"C:\\Other\\X\\"};
    EXPECT_EQ(Paths(tree), expected);
    EXPECT_EQ(window.mirrored.size(), 2u);
    EXPECT_EQ(window.log.back(), L"ready");
    EXPECT_EQ(host.log.back(), L"status:");
}

TEST(FolderScan, AnExceptionFromTheFakeHostsPumpEndsTheScanAsEscapeDoesAndGoesOn) {
    // The pump runs before each entry after a folder's first and once at each folder's end:
    // pumps 1-5 list the root (from ".." on), 6 ends it, 7-9 list Zeta.
    const struct {
        int throwAt;
        std::size_t nodes;
    } cases[] = {
        {1, 1},  // the root alone: no tree to use
        {3, 2},  // Zeta added
        {9, 5},  // the root complete and Z1 below Zeta
    };
    for (const auto& c : cases) {
        FakeFileSystem fs = SampleTree();
        FolderTree tree;
        FakeHost host;
        host.onPump = [&] {
            if (host.pumps == c.throwAt)
                throw std::bad_alloc();
        };
        FakeWindow window;
        EXPECT_THROW(ScanFolderTree(L"C:\\A\\", tree, fs, host, window), std::bad_alloc) << c.throwAt;
        EXPECT_EQ(tree.Count(), c.nodes) << c.throwAt;
        EXPECT_EQ(window.treeReady, c.nodes > 1) << c.throwAt;
        EXPECT_TRUE(window.scanAborted) << c.throwAt;
        EXPECT_EQ(host.status, L"フォルダ検索を中断しました。") << c.throwAt;
        const std::wstring last = c.nodes > 1 ? L"ready" : L"not ready";
        const std::vector<std::wstring> tail{L"enable", last};
        ASSERT_GE(window.log.size(), 2u);
        EXPECT_EQ(std::vector<std::wstring>(window.log.end() - 2, window.log.end()), tail) << c.throwAt;
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
            ScanFolderTree(L"C:\\Other\\", tree, fs, host, window);
            throw std::bad_alloc();
        }
    };
    EXPECT_THROW(ScanFolderTree(L"C:\\A\\", tree, fs, host, window), std::bad_alloc);
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
    ScanFolderTree(L"C:\\A\\", tree, fs, host, window);
    window.log.clear();
    struct ThrowingWindow : FakeWindow {
        void ClearFileList() override { throw std::bad_alloc(); }
    } throwing;
    throwing.treeReady = true;
    EXPECT_THROW(ScanFolderTree(L"C:\\A\\", tree, fs, host, throwing), std::bad_alloc);
    EXPECT_EQ(tree.Count(), kSampleOrder.size());
    EXPECT_TRUE(throwing.treeReady);
    EXPECT_FALSE(throwing.scanAborted);
    EXPECT_TRUE(throwing.log.empty());
}

}  // namespace
}  // namespace tavelin
