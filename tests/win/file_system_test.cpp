#include "platform/file_system_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/long_path.h"
#include "support/file_system_unix.h"
#include "support/temp_dir.h"
#include "tree/folder_listing.h"

namespace tavelin {
namespace {

using test::TempDir;

std::vector<DirEntry> List(FileSystem& fs, const std::wstring& folder) {
    std::vector<DirEntry> out;
    auto search = fs.Search(folder);
    DirEntry e;
    while (search && search->Next(e))
        out.push_back(e);
    return out;
}

const DirEntry* Find(const std::vector<DirEntry>& entries, const std::wstring& name) {
    auto it = std::find_if(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

// Names that the ANSI code page cannot carry or carries as look-alikes.
const wchar_t* const kNames[] = {L"a\u00A5b", L"caf\u00E9", L"\uD55C\uAE00", L"\U0001F600 smile", L"trailing.dot"};

TEST(FileSystemWin, NamesOutsideTheCodePageRoundTrip) {
    TempDir dir;
    // Through what a file system already gone shared, as the scan's and the copy's threads are.
    const std::shared_ptr<FileSystem> shared = std::make_unique<FileSystemWin>()->Share();
    FileSystem& fs = *shared;
    for (const wchar_t* name : kNames) {
        ASSERT_TRUE(fs.MakeDirectory(dir.Path() + name)) << name;
        EXPECT_TRUE(fs.IsDirectory(dir.Path() + name + L"\\"));
        ASSERT_TRUE(fs.MakeDirectory(dir.Path() + name + L"\\" + name));
    }
    dir.MakeFile(L"plain.txt", 5);
    const std::vector<DirEntry> entries = List(fs, dir.Path());
    EXPECT_EQ(entries.size(), std::size(kNames) + 3);  // with ".", ".." and the file
    for (const wchar_t* name : kNames) {
        const DirEntry* e = Find(entries, name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_TRUE(e->attributes & kAttrDirectory);
        ASSERT_NE(Find(List(fs, dir.Path() + name + L"\\"), name), nullptr) << name;
    }
    const DirEntry* file = Find(entries, L"plain.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size, 5u);
    EXPECT_FALSE(file->attributes & kAttrDirectory);
    EXPECT_NE(file->lastWriteTime, 0u);
}

TEST(FileSystemWin, HiddenAndSystemBitsReachTheCaller) {
    TempDir dir;
    const struct {
        const wchar_t* name;
        DWORD set;
    } cases[] = {{L"hidden", FILE_ATTRIBUTE_HIDDEN}, {L"system", FILE_ATTRIBUTE_SYSTEM}, {L".dot", 0}};
    for (const auto& c : cases) {
        dir.MakeFolder(c.name);
        if (c.set) {
            ASSERT_TRUE(SetFileAttributesW((dir.Path() + c.name).c_str(), c.set));
        }
    }
    FileSystemWin fs;
    const std::vector<DirEntry> entries = List(fs, dir.Path());
    for (const auto& c : cases) {
        const DirEntry* e = Find(entries, c.name);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->attributes & (kAttrHidden | kAttrSystem), c.set) << c.name;
    }
}

TEST(FileSystemWin, FailuresAreReportedNotHidden) {
    TempDir dir;
    FileSystemWin fs;
    dir.MakeFolder(L"there");
    dir.MakeFile(L"file");
    EXPECT_FALSE(fs.MakeDirectory(dir.Path() + L"there")) << "already there";
    EXPECT_FALSE(fs.MakeDirectory(dir.Path() + L"file")) << "a file in the way";
    EXPECT_FALSE(fs.IsDirectory(dir.Path() + L"file"));
    EXPECT_FALSE(fs.MakeDirectory(dir.Path() + L"missing\\child")) << "never creates parents";
    EXPECT_FALSE(fs.IsDirectory(dir.Path() + L"missing\\"));
    EXPECT_EQ(fs.Search(dir.Path() + L"missing\\"), nullptr);
    EXPECT_FALSE(fs.Identity(dir.Path() + L"missing").has_value());
}

TEST(FileSystemWin, PathsBeyondTwoHundredSixtyCharacters) {
    // Wine takes long paths even without the prefix, so the prefixing is checked on its own and
    // the long path end to end.
    EXPECT_EQ(ToExtendedPath(L"C:\\x\\"), L"\\\\?\\C:\\x\\");
    TempDir dir;
    FileSystemWin fs;
    std::wstring path = dir.Path();
    while (path.size() < 320) {
        path += L"segment-\u30D5\u30A9\u30EB\u30C0-0123456789";
        ASSERT_TRUE(fs.MakeDirectory(path)) << path.size();
        path += L"\\";
    }
    EXPECT_TRUE(fs.IsDirectory(path));
    ASSERT_TRUE(fs.MakeDirectory(path + L"leaf"));
    EXPECT_NE(Find(List(fs, path), L"leaf"), nullptr);
    EXPECT_TRUE(fs.Identity(path + L"leaf").has_value());
}

TEST(FileSystemWin, IdentityFollowsLinks) {
    TempDir dir;
    FileSystemWin fs;
    dir.MakeFolder(L"a\\b");
    dir.MakeFolder(L"c");
    auto a = fs.Identity(dir.Path() + L"a");
    auto aSlash = fs.Identity(dir.Path() + L"a\\");
    auto b = fs.Identity(dir.Path() + L"a\\b");
    auto c = fs.Identity(dir.Path() + L"c");
    ASSERT_TRUE(a && aSlash && b && c);
    EXPECT_TRUE(a->Known() && b->Known() && c->Known());
    EXPECT_EQ(*a, *aSlash);
    EXPECT_NE(*a, *b);
    EXPECT_NE(*b, *c);
    if (test::UnixPath(dir.Path()).empty())
        GTEST_SKIP() << "links are made from the Unix side, which needs Wine";
    ASSERT_EQ(test::RunUnix(L"ln -s .. " + test::UnixPathArgument(dir.Path() + L"a\\b\\", L"up")), 0);
    const DirEntry* link = Find(List(fs, dir.Path() + L"a\\b\\"), L"up");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->attributes & (kAttrDirectory | kAttrReparsePoint), kAttrDirectory | kAttrReparsePoint);
    EXPECT_TRUE(IsFolderLink(*link)) << std::hex << link->reparseTag;
    EXPECT_EQ(Find(List(fs, dir.Path() + L"a\\"), L"b")->reparseTag, 0u);
    auto up = fs.Identity(dir.Path() + L"a\\b\\up\\");
    ASSERT_TRUE(up);
    EXPECT_EQ(*up, *a);
}

}  // namespace
}  // namespace tavelin
