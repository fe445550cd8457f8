#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "fakes/file_system.h"
#include "fakes/loop_host.h"
#include "fakes/text_services.h"
#include "listing/file_row.h"
#include "listing/list_files.h"

namespace tavelin {
namespace {

using test::FakeFileSystem;
using test::FakeHost;
using test::FakeTextServices;
using test::FileTimeOf;

constexpr std::uint32_t kPlain = kAttrArchive;

DirEntry File(std::wstring name,
              std::uint64_t size,
              std::uint32_t attributes = kPlain,
              std::uint64_t time = FileTimeOf(2024, 3, 1, 4, 45, 6)) {
    return {std::move(name), attributes, size, time};
}

std::vector<std::wstring> Row(const FileGrid& grid, int row) {
    std::vector<std::wstring> cells;
    for (int c = 0; c < FileGrid::kColumnCount; ++c)
        cells.emplace_back(grid.Cell(c, row));
    return cells;
}

class ListFilesTest : public ::testing::Test {
  protected:
    int List(const std::wstring& folder, int sizeWidth = 8) {
        return ListFolderFiles(folder, [sizeWidth] { return sizeWidth; }, grid, {reader, text, host});
    }

    // The reader's thread may outlive a test that left it held up: it holds the file system.
    std::shared_ptr<FakeFileSystem> shared = std::make_shared<FakeFileSystem>();
    FakeFileSystem& files = *shared;
    FolderFileReader reader{shared};
    FakeTextServices text;
    FakeHost host;
    FileGrid grid;
};

TEST_F(ListFilesTest, ListsFilesInEnumerationOrderWithPaddedSizesAndKinds) {
    files.Entries(L"C:\\Work\\") = {File(L"b.txt", 1234), File(L"a", 0)};
    EXPECT_EQ(List(L"C:\\Work\\", 8), 2);
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Row(grid, 1),
              (std::vector<std::wstring>{L"b.txt", L"    1234", L" .TXT", L"2024/03/01 13:45:06", L"A "}));
    EXPECT_EQ(Row(grid, 2), (std::vector<std::wstring>{L"a", L"       0", L" ", L"2024/03/01 13:45:06", L"A "}));
    EXPECT_EQ(host.statuses.back(), L"2 Files");
    EXPECT_EQ(files.searched, std::vector<std::wstring>{L"C:\\Work\\"});
}

// The window answers while the files are read, so the user may size the column meanwhile.
TEST_F(ListFilesTest, AColumnSizedDuringTheListingGivesEveryRowItsNewWidth) {
    files.Entries(L"C:\\") = {File(L"a", 5), File(L"b", 40), File(L"c", 300)};
    int width = 4;
    host.onPoll = [&width] { width = 6; };
    EXPECT_EQ(ListFolderFiles(L"C:\\", [&width] { return width; }, grid, {reader, text, host}), 3);
    EXPECT_EQ(grid.Cell(1, 1), L"     5");
    EXPECT_EQ(grid.Cell(1, 2), L"    40");
    EXPECT_EQ(grid.Cell(1, 3), L"   300");
}

TEST_F(ListFilesTest, PaintsTheSearchStatusBeforeListingAndNeverPumps) {
    files.Entries(L"C:\\Work\\") = {File(L"a", 1)};
    List(L"C:\\Work\\");
    ASSERT_EQ(host.painted.size(), 1u);
    EXPECT_EQ(host.painted[0], L"フォルダ「C:\\Work\\」を検索中(ESC:中断)");
    EXPECT_EQ(host.pumps, 0);
}

TEST_F(ListFilesTest, ALongListingLooksAtTheQueueAtLeastEveryTenthOfASecond) {
    files.Entries(L"C:\\Work\\").assign(100, File(L"a", 1));
    host.tick = std::chrono::milliseconds(10);
    List(L"C:\\Work\\");
    EXPECT_GE(host.looks, host.now.time_since_epoch() / std::chrono::milliseconds(100));
}

TEST_F(ListFilesTest, StatusNeverShowsTheLongPathPrefix) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"\\\\?\\C:\\Deep\\", L"フォルダ「C:\\Deep\\」を検索中(ESC:中断)"},
        {L"\\\\?\\UNC\\server\\share\\", L"フォルダ「\\\\server\\share\\」を検索中(ESC:中断)"},
    };
    for (const auto& [folder, status] : cases) {
        host.painted.clear();
        List(folder);
        EXPECT_EQ(host.painted.at(0), status) << folder;
    }
}

TEST_F(ListFilesTest, OnlyPlainFilesAreListed) {
    files.Entries(L"C:\\") = {
        File(L".", 0, kAttrDirectory),
        File(L"..", 0, kAttrDirectory),
        File(L"sub", 0, kAttrDirectory),
        File(L"linked", 0, kAttrDirectory | kAttrReparsePoint),
        File(L"hidden.txt", 1, kAttrHidden | kAttrArchive),
        File(L"system.sys", 1, kAttrSystem),
        File(L"label", 0, kAttrVolumeLabel),
        File(L"ro.txt", 2, kAttrReadOnly),
        File(L"none.txt", 3, 0),
        File(L"archived.txt", 4, kAttrArchive),
        File(L"normal.txt", 5, 0x80),
    };
    EXPECT_EQ(List(L"C:\\"), 4);
    ASSERT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cell(0, 1), L"ro.txt");
    EXPECT_EQ(grid.Cell(0, 2), L"none.txt");
    EXPECT_EQ(grid.Cell(0, 3), L"archived.txt");
    EXPECT_EQ(grid.Cell(0, 4), L"normal.txt");
}

TEST_F(ListFilesTest, AttributeColumnShowsArchiveThenReadOnly) {
    files.Entries(L"C:\\") = {File(L"ar", 0, kAttrArchive | kAttrReadOnly), File(L"r", 0, kAttrReadOnly),
                              File(L"a", 0, kAttrArchive), File(L"n", 0, 0x80)};
    List(L"C:\\");
    EXPECT_EQ(grid.Cell(4, 1), L"A R ");
    EXPECT_EQ(grid.Cell(4, 2), L"R ");
    EXPECT_EQ(grid.Cell(4, 3), L"A ");
    EXPECT_EQ(grid.Cell(4, 4), L"");
}

TEST_F(ListFilesTest, TimesShowOnTheTwoSecondGridWithTheLocaleSeparators) {
    // 04:45:07 UTC is 13:45:07 in the fake's zone.
    files.Entries(L"C:\\") = {File(L"t", 0, kPlain, FileTimeOf(2024, 12, 31, 4, 45, 7)),
                              File(L"u", 0, kPlain, FileTimeOf(2024, 12, 31, 15, 0, 59))};
    text.dateSeparator = L'-';
    text.timeSeparator = L'.';
    List(L"C:\\");
    EXPECT_EQ(grid.Cell(3, 1), L"2024-12-31 13.45.06");
    EXPECT_EQ(grid.Cell(3, 2), L"2025-01-01 00.00.58");
}

TEST_F(ListFilesTest, KindIsTheUpperCasedExtensionAfterTheLastDot) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"b.txt", L" .TXT"},        {L"archive.tar.gz", L" .GZ"}, {L"noext", L" "},
        {L".profile", L" .PROFILE"}, {L"trailing.", L" ."},        {L"Mixed.CpP", L" .CPP"},
    };
    for (const auto& [name, kind] : cases) {
        files.Entries(L"C:\\") = {File(name, 0)};
        List(L"C:\\");
        EXPECT_EQ(grid.Cell(2, 1), kind) << name;
    }
}

TEST(ExtensionOfTest, DotsBeforeTheLastSeparatorDoNotCount) {
    EXPECT_EQ(ExtensionOf(L"dir.d\\file"), L"");
    EXPECT_EQ(ExtensionOf(L"dir.d\\file.c"), L".c");
    EXPECT_EQ(ExtensionOf(L"C.x:file"), L"");
    EXPECT_EQ(ExtensionOf(L"a.b.c"), L".c");
}

TEST_F(ListFilesTest, EscapeKeepsTheRowsSoFarAndReportsTheAbort) {
    for (int i = 0; i < 10; ++i)
        files.Entries(L"C:\\").push_back(File(L"f" + std::to_wstring(i), static_cast<std::uint64_t>(i)));
    host.escapeFromPoll = 4;  // polls come with entries 2, 3, 4 and 5
    EXPECT_EQ(List(L"C:\\"), 4);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cell(0, 4), L"f3");
    EXPECT_EQ(host.polls, 4);
    EXPECT_EQ(host.statuses.back(), L"検索を中断しました。");
}

TEST_F(ListFilesTest, EscapeIsPolledOncePerEntryAfterTheFirst) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {7, 6}};  // files, polls
    for (const auto& [count, polls] : cases) {
        files.Entries(L"C:\\").clear();
        for (int i = 0; i < count; ++i)
            files.Entries(L"C:\\").push_back(File(L"f", 1));
        host.polls = 0;
        host.escapeFromPoll = 1;  // held all along: the first file is listed all the same
        EXPECT_EQ(List(L"C:\\"), count == 0 ? 0 : 1) << count;
        EXPECT_EQ(host.polls, polls > 0 ? 1 : 0) << count;
        host.polls = 0;
        host.escapeFromPoll = 0;
        EXPECT_EQ(List(L"C:\\"), count);
        EXPECT_EQ(host.polls, polls) << count;
    }
}

TEST_F(ListFilesTest, UnreadableOrEmptyFolderLeavesOneEmptyRow) {
    files.Entries(L"C:\\Empty\\") = {File(L"sub", 0, kAttrDirectory)};
    for (const std::wstring folder : {L"C:\\Unreadable\\", L"C:\\Empty\\"}) {
        files.Entries(L"C:\\Full\\") = {File(L"x.txt", 9), File(L"y.txt", 9)};
        List(L"C:\\Full\\");
        EXPECT_EQ(List(folder), 0) << folder;
        EXPECT_EQ(grid.RowCount(), 2);
        EXPECT_EQ(Row(grid, 1), std::vector<std::wstring>(5)) << folder;
        EXPECT_EQ(host.statuses.back(), L"0 Files");
    }
}

TEST_F(ListFilesTest, AFailedReadIsTriedOnceMoreAndAListingCutShortSaysSo) {
    const struct {
        std::size_t failAfter;  // entries read before the read fails; 0: the open fails
        int failingSearches;
        int rows;
        const wchar_t* status;
    } cases[] = {
        {4, 1, 10, L"10 Files"},
        {0, 1, 10, L"10 Files"},
        {4, 2, 4, L"4 Files［途中で読み取れなくなりました］"},
        {0, 2, 0, L"0 Files［途中で読み取れなくなりました］"},
    };
    for (int i = 0; i < 10; ++i)
        files.Entries(L"C:\\Share\\").push_back(File(L"f" + std::to_wstring(i), 1));
    for (const auto& c : cases) {
        files.FailReading(L"C:\\Share\\", c.failAfter, c.failingSearches);
        EXPECT_EQ(List(L"C:\\Share\\"), c.rows) << c.status;
        for (int row = 1; row <= c.rows; ++row)
            EXPECT_EQ(grid.Cell(0, row), L"f" + std::to_wstring(row - 1)) << c.status;
        EXPECT_EQ(host.statuses.back(), c.status);
    }
}

// A file server that stops answering at the open or after a few files holds up the reader, never
// the window: it answers while it waits, Escape ends the listing with the rows read until then,
// and the reader, let go later, leaves the grid alone and lists the next folder. The reader hands
// files over in batches of 1, 8, 64 and so on: after 1 or 9 files it has handed all of them over.
TEST_F(ListFilesTest, AHeldUpFolderLeavesTheWindowAnsweringAndEscapeKeepsTheRowsReadSoFar) {
    for (int i = 0; i < 10; ++i)
        files.Entries(L"C:\\Share\\").push_back(File(L"f" + std::to_wstring(i), 1));
    files.Entries(L"C:\\Local\\") = {File(L"a", 1), File(L"b", 2)};
    host.tick = {};
    host.escapeOnceTrue = [this] { return host.looks > 0 && files.BlockedCalls() > 0; };
    for (const std::size_t blockedAfter : {0u, 1u, 9u}) {
        files.Block(L"C:\\Share\\", blockedAfter == 0 ? FakeFileSystem::kAtOpen : blockedAfter);
        host.looks = 0;
        host.escapeFromPoll = 0;
        EXPECT_EQ(List(L"C:\\Share\\"), static_cast<int>(blockedAfter));
        EXPECT_EQ(host.statuses.back(), L"検索を中断しました。");
        EXPECT_GT(host.looks, 0);
        std::vector<std::vector<std::wstring>> before;
        for (int row = 1; row < grid.RowCount(); ++row)
            before.push_back(Row(grid, row));
        files.Release();
        for (int i = 0; i < 3000 && files.OpenSearches() > 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(files.OpenSearches(), 0) << "the given-up search was closed";
        ASSERT_EQ(grid.RowCount(), static_cast<int>(before.size()) + 1);
        for (int row = 1; row < grid.RowCount(); ++row)
            EXPECT_EQ(Row(grid, row), before[row - 1]) << blockedAfter;
        host.escapeFromPoll = 0;
        host.escapeOnceTrue = nullptr;
        EXPECT_EQ(List(L"C:\\Local\\"), 2) << blockedAfter;
        EXPECT_EQ(host.statuses.back(), L"2 Files");
        host.escapeOnceTrue = [this] { return host.looks > 0 && files.BlockedCalls() > 0; };
    }
}

// Servers that stopped answering may hold as many threads as the process allows: a listing then
// waits for one to end, the window answering and Escape ending it, and starts no thread beyond.
TEST_F(ListFilesTest, AListingWaitsWhileTheProcessRunsAllTheWorkerThreadsItAllows) {
    files.Entries(L"C:\\Local\\") = {File(L"a", 1), File(L"b", 2)};
    ASSERT_TRUE(test::WorkerThreadsEnded());
    // Threads that keep their place until let go, one at a time.
    const auto letGo = std::make_shared<std::atomic<int>>(0);
    const auto hold = [letGo] {
        for (int n = 0; !(n > 0 && letGo->compare_exchange_weak(n, n - 1)); n = *letGo)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    while (StartWorkerThread(hold)) {
    }
    host.escapeOnceTrue = [this] { return host.looks >= 3; };
    EXPECT_EQ(List(L"C:\\Local\\"), 0);
    EXPECT_EQ(host.statuses.back(), L"検索を中断しました。");
    EXPECT_EQ(RunningWorkerThreads(), kMostWorkerThreads);

    ++*letGo;
    host.escapeFromPoll = 0;
    host.escapeOnceTrue = nullptr;
    EXPECT_EQ(List(L"C:\\Local\\"), 2);
    *letGo = static_cast<int>(kMostWorkerThreads);
}

TEST_F(ListFilesTest, NewListingReplacesTheRowsOfTheLastOne) {
    files.Entries(L"C:\\A\\") = {File(L"1", 1), File(L"2", 2), File(L"3", 3)};
    files.Entries(L"C:\\B\\") = {File(L"only", 1, kAttrReadOnly)};
    List(L"C:\\A\\");
    EXPECT_EQ(List(L"C:\\B\\"), 1);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(grid, 1), (std::vector<std::wstring>{L"only", L"       1", L" ", L"2024/03/01 13:45:06", L"R "}));
}

}  // namespace
}  // namespace tavelin

namespace tavelin {
namespace {

TEST(PaddedSizeTest, PadsToTheWidthAndNeverCutsDigits) {
    const std::tuple<std::uint64_t, int, std::wstring> cases[] = {
        {0, 1, L"0"},
        {0, 0, L"0"},
        {7, 3, L"  7"},
        {1234, 8, L"    1234"},
        {123456, 3, L"123456"},
        {18446744073709551615ull, 3, L"18446744073709551615"},
        {18446744073709551615ull, 22, L"  18446744073709551615"},
    };
    for (const auto& [size, width, text] : cases) {
        std::wstring out = L"x";
        AppendPaddedSize(out, size, width);
        EXPECT_EQ(out, L"x" + text) << size << " at " << width;
    }
}

}  // namespace
}  // namespace tavelin
