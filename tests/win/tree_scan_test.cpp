// The scan and the copy on real folders through FileSystemWin.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/scan_start.h"
#include "base/long_path.h"
#include "platform/file_system_win.h"
#include "support/file_system_unix.h"
#include "support/temp_dir.h"
#include "tree/folder_copy.h"
#include "tree/folder_scan.h"
#include "tree/node_path.h"

namespace tavelin {
namespace {

using test::TempDir;

class QuietHost : public LoopHost {
  public:
    void SetStatus(const std::wstring& text) override { statuses.push_back(text); }
    void RepaintStatus() override {}
    bool EscapeDown() override { return false; }
    void PumpEvents() override {}
    void KeepResponsive() override {}
    void Inform(const std::wstring& text) override { statuses.push_back(L"inform:" + text); }
    void ShowError(const std::wstring& text) override { statuses.push_back(L"error:" + text); }
    std::vector<std::wstring> statuses;
};

class NoWindow : public ScanObserver {
  public:
    void ClearFileList() override {}
    void SetTreeReady(bool ready) override { treeReady = ready; }
    void SetScanAborted(bool aborted) override { scanAborted = aborted; }
    bool IsScanAborted() const override { return scanAborted; }
    void EnableTree(bool) override {}
    void ClearTree() override {}
    void NodeAdded(NodeId, NodeId) override {}
    bool treeReady = false;
    bool scanAborted = false;
};

struct Scanned {
    FolderTree tree;
    QuietHost host;
    NoWindow window;
    std::shared_ptr<FileSystemWin> fs = std::make_shared<FileSystemWin>();
    std::vector<std::wstring> paths;

    explicit Scanned(const std::wstring& folder) {
        StartScan(folder, tree, fs, host, window);
        for (std::size_t i = 0; i < tree.Count(); ++i)
            paths.push_back(NodePathAt(tree, i));
    }
    bool Has(const std::wstring& path) const { return std::find(paths.begin(), paths.end(), path) != paths.end(); }
};

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(ToExtendedPath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(TreeScan, NamesOutsideTheCodePageAreScannedAndCopiedExactly) {
    TempDir dir;
    const std::wstring names[] = {L"a\u00A5b", L"caf\u00E9", L"\uD55C\uAE00", L"\U0001F4C1"};
    for (const std::wstring& n : names)
        dir.MakeFolder(L"src\\" + n + L"\\" + n);
    dir.MakeFolder(L"dst");
    Scanned s(dir.Path() + L"src\\");
    ASSERT_EQ(s.tree.Count(), 1 + 2 * std::size(names));
    for (const std::wstring& n : names) {
        EXPECT_TRUE(s.Has(dir.Path() + L"src\\" + n + L"\\" + n + L"\\")) << n.size();
        EXPECT_FALSE(s.Has(dir.Path() + L"src\\a\\b\\"));
    }
    FolderCopyResult r = CopyFolderNames(s.tree, dir.Path() + L"dst\\", *s.fs, s.host);
    EXPECT_EQ(r.created, 8);
    EXPECT_EQ(r.notCreated, 0);
    for (const std::wstring& n : names)
        EXPECT_TRUE(IsFolder(dir.Path() + L"dst\\" + n + L"\\" + n));
    EXPECT_FALSE(IsFolder(dir.Path() + L"dst\\a"));
}

TEST(TreeScan, HiddenAndSystemFoldersSkippedDotFolderKept) {
    TempDir dir;
    dir.MakeFolder(L"hidden\\inside");
    dir.MakeFolder(L"system");
    dir.MakeFolder(L".config\\inside");
    dir.MakeFolder(L"plain");
    dir.MakeFile(L"file.txt");
    ASSERT_TRUE(SetFileAttributesW((dir.Path() + L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((dir.Path() + L"system").c_str(), FILE_ATTRIBUTE_SYSTEM));
    Scanned s(dir.Path());
    std::vector<std::wstring> sorted(s.paths.begin() + 1, s.paths.end());
    std::sort(sorted.begin(), sorted.end());
    const std::vector<std::wstring> expected{dir.Path() + L".config\\", dir.Path() + L".config\\inside\\",
                                             dir.Path() + L"plain\\"};
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(s.paths[0], dir.Path());
}

TEST(TreeScan, DeepPathIsScannedAndCopied) {
    TempDir dir;
    std::wstring relative = L"src";
    while (relative.size() < 320)
        relative += L"\\\u6DF1\u3044\u30D5\u30A9\u30EB\u30C0-deep-folder";
    dir.MakeFolder(relative);
    dir.MakeFolder(L"dst");
    Scanned s(dir.Path() + L"src\\");
    ASSERT_EQ(s.paths.back(), dir.Path() + relative + L"\\");
    ASSERT_GT(s.paths.back().size(), 300u);
    FolderCopyResult r = CopyFolderNames(s.tree, dir.Path() + L"dst\\", *s.fs, s.host);
    EXPECT_EQ(r.created, static_cast<std::int64_t>(s.tree.Count() - 1));
    EXPECT_EQ(r.notCreated, 0);
    EXPECT_TRUE(IsFolder(dir.Path() + L"dst" + relative.substr(3)));
    for (const std::wstring& status : s.host.statuses)
        EXPECT_EQ(status.find(L"\\\\?\\"), std::wstring::npos) << "the prefix never reaches the user";
}

TEST(TreeScan, LinkToAnAncestorEndsAsChildlessNode) {
    TempDir dir;
    dir.MakeFolder(L"root\\a\\b");
    if (test::UnixPath(dir.Path()).empty())
        GTEST_SKIP() << "links are made from the Unix side, which needs Wine";
    ASSERT_EQ(test::RunUnix(L"ln -s ../.. " + test::UnixPathArgument(dir.Path() + L"root\\a\\b\\", L"toRoot")), 0);
    ASSERT_EQ(test::RunUnix(L"ln -s . " + test::UnixPathArgument(dir.Path() + L"root\\a\\", L"toSelf")), 0);
    Scanned s(dir.Path() + L"root\\");
    const std::wstring a = dir.Path() + L"root\\a\\";
    EXPECT_TRUE(s.Has(a + L"b\\toRoot\\"));
    EXPECT_TRUE(s.Has(a + L"toSelf\\"));
    EXPECT_EQ(s.tree.Count(), 5u) << "root, a, b, toRoot, toSelf and nothing below the links";
}

TEST(TreeScan, NamesTheShellCannotHandleAreScannedAsTheyComeButNotCopied) {
    TempDir dir;
    dir.MakeFolder(L"src\\ok\\w");
    dir.MakeFolder(L"dst");
    if (test::UnixPath(dir.Path()).empty())
        GTEST_SKIP() << "such names are made from the Unix side, which needs Wine";
    const std::wstring src = dir.Path() + L"src\\";
    for (const wchar_t* below : {L"a./x", L"CON/y", L"con.txt", L"LPT1.backup", L"COM\u00B9"})
        ASSERT_EQ(test::RunUnix(L"mkdir -p '" + test::UnixPathArgument(src, below) + L"'"), 0) << below;
    Scanned s(src);
    for (const wchar_t* below : {L"a.\\x\\", L"CON\\y\\", L"con.txt\\", L"LPT1.backup\\", L"COM\u00B9\\"})
        EXPECT_TRUE(s.Has(src + below)) << testing::PrintToString(std::wstring(below));
    FolderCopyResult r = CopyFolderNames(s.tree, dir.Path() + L"dst\\", *s.fs, s.host);
    EXPECT_EQ(r.created, 2);
    EXPECT_EQ(r.notCreated, 7);
    EXPECT_TRUE(IsFolder(dir.Path() + L"dst\\ok\\w"));
    EXPECT_EQ(test::RunUnix(L"[ $(ls -A '" + test::UnixPathArgument(dir.Path() + L"dst\\") + L"') = ok ]"), 0)
        << "nothing but ok made";
}

TEST(TreeScan, CopyEdgeCases) {
    TempDir dir;
    dir.MakeFolder(L"Src\\one\\two");
    dir.MakeFolder(L"Src\\three");
    Scanned s(dir.Path() + L"Src\\");
    ASSERT_EQ(s.tree.Count(), 4u);

    // Inside the search folder: the tree is not read again, so the copy holds only the three.
    FolderCopyResult inside = CopyFolderNames(s.tree, dir.Path() + L"Src\\one\\", *s.fs, s.host);
    EXPECT_EQ(inside.created, 3);
    EXPECT_TRUE(IsFolder(dir.Path() + L"Src\\one\\one\\two"));
    EXPECT_FALSE(IsFolder(dir.Path() + L"Src\\one\\one\\one"));

    // A file in the way of "one": it and its child are not created, "three" is.
    dir.MakeFolder(L"dst");
    dir.MakeFile(L"dst\\one");
    FolderCopyResult blocked = CopyFolderNames(s.tree, dir.Path() + L"dst\\", *s.fs, s.host);
    EXPECT_EQ(blocked.created, 1);
    EXPECT_EQ(blocked.notCreated, 2);

    // The source itself named with other letter case: Wine matches names without regard to case
    // as Windows does, so everything is found already there.
    FolderCopyResult sameFolder = CopyFolderNames(s.tree, dir.Path() + L"sRC\\", *s.fs, s.host);
    EXPECT_EQ(sameFolder.created, 0);
    EXPECT_EQ(sameFolder.notCreated, 3);
}

TEST(TreeScan, ReadOnlyDestinationCreatesNothing) {
    TempDir dir;
    dir.MakeFolder(L"src\\x\\y");
    dir.MakeFolder(L"locked");
    if (test::UnixPath(dir.Path()).empty())
        GTEST_SKIP() << "the destination is locked from the Unix side, which needs Wine";
    const std::wstring locked = dir.Path() + L"locked";
    ASSERT_TRUE(test::SetUnwritable(locked, true));
    Scanned s(dir.Path() + L"src\\");
    FolderCopyResult r = CopyFolderNames(s.tree, dir.Path() + L"locked\\", *s.fs, s.host);
    ASSERT_TRUE(test::SetUnwritable(locked, false));
    EXPECT_EQ(r.created, 0);
    EXPECT_EQ(r.notCreated, 2);
    EXPECT_FALSE(IsFolder(dir.Path() + L"locked\\x"));
}

}  // namespace
}  // namespace tavelin
