#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>

#include "listing/list_files.h"
#include "platform/file_system_win.h"
#include "platform/text_services_win.h"
#include "support/local_time.h"
#include "support/temp_dir.h"

namespace tavelin {
namespace {

class QuietHost : public LoopHost {
  public:
    std::vector<std::wstring> statuses;
    void SetStatus(const std::wstring& text) override { statuses.push_back(text); }
    void RepaintStatus() override {}
    bool EscapeDown() override { return false; }
    void PumpEvents() override {}
    void KeepResponsive() override {}
    void Inform(const std::wstring&) override {}
    void ShowError(const std::wstring&) override {}
};

void SetLocalWriteTime(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    const std::uint64_t ticks = test::TicksOfLocal(year, month, day, hour, minute, second);
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
    CloseHandle(file);
}

class ListingFolderTest : public ::testing::Test {
  protected:
    // Rows by file name, since the enumeration order is the file system's.
    std::map<std::wstring, std::vector<std::wstring>> List(const std::wstring& folder, int sizeWidth) {
        count = ListFolderFiles(folder, [sizeWidth] { return sizeWidth; }, grid, {reader, text, host});
        std::map<std::wstring, std::vector<std::wstring>> rows;
        for (int row = 1; row < grid.RowCount(); ++row) {
            std::vector<std::wstring> cells;
            for (int column = 1; column < FileGrid::kColumnCount; ++column)
                cells.emplace_back(grid.Cell(column, row));
            rows[std::wstring(grid.Cell(0, row))] = cells;
        }
        return rows;
    }

    test::TempDir temp;
    FolderFileReader reader{std::make_shared<FileSystemWin>()};
    TextServicesWin text;
    QuietHost host;
    FileGrid grid;
    int count = 0;
};

TEST_F(ListingFolderTest, ListsPlainFilesWithSizesKindsTimesAndAttributes) {
    SetLocalWriteTime(temp.MakeFile(L"b.txt", 1234), 2024, 3, 1, 13, 45, 7);
    SetLocalWriteTime(temp.MakeFile(L"a", 0), 1970, 6, 15, 10, 20, 31);
    SetLocalWriteTime(temp.MakeFile(L"big.bin", 3ull << 30), 2108, 1, 1, 0, 0, 1);
    const std::wstring readOnly = temp.MakeFile(L"ｒｏ.Md", 5);
    SetLocalWriteTime(readOnly, 2000, 2, 29, 23, 59, 59);
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(SetFileAttributesW(temp.MakeFile(L"hidden.txt", 1).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW(temp.MakeFile(L"system.sys", 1).c_str(), FILE_ATTRIBUTE_SYSTEM));
    temp.MakeFolder(L"sub.dir");

    const auto rows = List(temp.Path(), 10);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(grid.RowCount(), 5);
    using Cells = std::vector<std::wstring>;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.at(L"b.txt"), (Cells{L"      1234", L" .TXT", L"2024/03/01 13:45:06", L"A "}));
    EXPECT_EQ(rows.at(L"a"), (Cells{L"         0", L" ", L"1970/06/15 10:20:30", L"A "}));
    EXPECT_EQ(rows.at(L"big.bin"), (Cells{L"3221225472", L" .BIN", L"2108/01/01 00:00:00", L"A "}));
    EXPECT_EQ(rows.at(L"ｒｏ.Md"), (Cells{L"         5", L" .MD", L"2000/02/29 23:59:58", L"A R "}));
    EXPECT_EQ(host.statuses.front(), L"フォルダ「" + temp.Path() + L"」を検索中(ESC:中断)");
    EXPECT_EQ(host.statuses.back(), L"4 Files");
}

TEST_F(ListingFolderTest, LongPrefixedPathListsButShowsWithoutThePrefix) {
    std::wstring deep = L"";
    for (int i = 0; i < 12; ++i)
        deep += L"folder-with-a-long-name-" + std::to_wstring(i) + L"\\";
    temp.MakeFolder(deep.substr(0, deep.size() - 1));
    temp.MakeFile(deep + L"leaf.txt", 3);
    const std::wstring folder = temp.Path() + deep;
    ASSERT_GT(folder.size(), 260u);

    const auto rows = List(L"\\\\?\\" + folder, 3);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(rows.at(L"leaf.txt").at(0), L"  3");
    EXPECT_EQ(host.statuses.front(), L"フォルダ「" + folder + L"」を検索中(ESC:中断)");
}

TEST_F(ListingFolderTest, MissingOrEmptyFolderGivesOneEmptyRow) {
    temp.MakeFolder(L"empty\\inner");
    for (const std::wstring& folder : {temp.Path() + L"missing\\", temp.Path() + L"empty\\"}) {
        const auto rows = List(folder, 10);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(grid.RowCount(), 2);
        EXPECT_EQ(rows.begin()->first, L"");
        EXPECT_EQ(rows.begin()->second, std::vector<std::wstring>(4));
        EXPECT_EQ(host.statuses.back(), L"0 Files");
    }
}

}  // namespace
}  // namespace tavelin
