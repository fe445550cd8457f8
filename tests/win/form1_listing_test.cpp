#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "support/dialog_watcher.h"
#include "support/escape_clock.h"
#include "support/escape_trigger.h"
#include "support/form_fixture.h"
#include "support/settings_file_bytes.h"
#include "support/stalled_share.h"
#include "support/temp_dir.h"

namespace tavelin::test {
namespace {

class Form1Listing : public FormTest {
  protected:
    void Scan(const std::wstring& folder) {
        form->SearchFolder = folder;
        form->ScanFolderTree();
        Pump();
    }
    HTREEITEM Item(int index) { return OpenEveryItem().at(index); }
    // A left click released on the label of the tree item at `index`.
    void ClickNode(int index) { ClickTreeItem(Item(index)); }
    // A press of `button` at a client point of the grid, as the mouse sends it.
    void PressGrid(int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        HWND grid = form->StringGrid1.Handle();
        SendMessageW(grid, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(grid, up, 0, MAKELPARAM(x, y));
        Pump();
    }
    // The middle of the header cell of column `col` (no horizontal scrolling).
    POINT HeaderCenter(int col) {
        int x = 0;
        for (int c = 0; c < col; ++c)
            x += form->StringGrid1.ColWidth(c);
        return {x + form->StringGrid1.ColWidth(col) / 2, form->StringGrid1.RowHeight(0) / 2};
    }
    void PressHeader(int col) {
        POINT p = HeaderCenter(col);
        PressGrid(p.x, p.y);
    }
    std::vector<std::wstring> Column(int col) {
        std::vector<std::wstring> cells;
        for (int r = 1; r < form->StringGrid1.RowCount(); ++r)
            cells.emplace_back(form->Grid().Cell(col, r));
        return cells;
    }
    TempDir dir;
};

using Cells = std::vector<std::wstring>;

TEST_F(Form1Listing, ClickOnANodeListsItsFilesAndHeaderPressesSortThem) {
    dir.MakeFolder(L"docs");
    dir.MakeFile(L"docs\\b", 5);
    dir.MakeFile(L"docs\\A", 300);
    dir.MakeFile(L"docs\\c", 40);
    dir.MakeFolder(L"docs\\inner");
    Scan(dir.Path());
    ClickNode(1);
    EXPECT_EQ(Status(), L"3 Files");
    ASSERT_TRUE(form->ListReady);
    ASSERT_EQ(form->StringGrid1.RowCount(), 4);

    PressHeader(0);
    EXPECT_EQ(Column(0), (Cells{L"A", L"b", L"c"}));
    PressHeader(0);
    EXPECT_EQ(Column(0), (Cells{L"c", L"b", L"A"}));
    EXPECT_EQ(form->SortDescending, 0);
    PressHeader(1);
    EXPECT_EQ(Column(0), (Cells{L"b", L"c", L"A"}));
    EXPECT_TRUE(IsWindowVisible(form->StringGrid1.Handle()));

    // The attributes header lists the folder again in enumeration order and keeps the direction.
    PressHeader(4);
    EXPECT_EQ(Status(), L"3 Files");
    EXPECT_EQ(form->SortDescending, 1);
    PressHeader(0);
    EXPECT_EQ(Column(0), (Cells{L"c", L"b", L"A"}));
}

TEST_F(Form1Listing, PressesThatAreNotOnAHeaderDoNotSort) {
    dir.MakeFile(L"b", 1);
    dir.MakeFile(L"a", 1);
    dir.MakeFolder(L"sub");
    Scan(dir.Path());
    ClickNode(0);
    Cells listed = Column(0);
    int height = form->StringGrid1.RowHeight(0);
    int edge = form->StringGrid1.ColWidth(0);
    // A data row only selects; an edge pixel hits no column; right of the last column is nothing.
    PressGrid(10, height + 5);
    PressGrid(edge, height / 2, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(Column(0), listed);
    EXPECT_EQ(form->SortDescending, 0);
    // A left press on the edge sizes the column instead of sorting.
    PressGrid(edge, height / 2);
    EXPECT_EQ(form->SortDescending, 0);
    // Every button sorts.
    POINT p = HeaderCenter(0);
    PressGrid(p.x, p.y, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(form->SortDescending, 1);
}

TEST_F(Form1Listing, DoubleClickOnAHeaderSortsTwice) {
    dir.MakeFile(L"b", 1);
    dir.MakeFile(L"a", 1);
    dir.MakeFile(L"c", 1);
    dir.MakeFolder(L"sub");
    Scan(dir.Path());
    ClickNode(0);
    POINT p = HeaderCenter(0);
    PressGrid(p.x, p.y);
    PressGrid(p.x, p.y, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
    EXPECT_EQ(Column(0), (Cells{L"c", L"b", L"a"}));
    EXPECT_EQ(form->SortDescending, 0);
}

TEST_F(Form1Listing, EmptyListAndOneRowStillBehaveAsDescribed) {
    dir.MakeFolder(L"empty");
    dir.MakeFile(L"only", 7);
    Scan(dir.Path());
    ClickNode(1);
    EXPECT_EQ(Status(), L"0 Files");
    EXPECT_FALSE(form->ListReady);
    PressHeader(0);
    EXPECT_EQ(form->SortDescending, 0);
    ClickNode(0);
    EXPECT_EQ(Status(), L"1 Files");
    PressHeader(0);
    EXPECT_EQ(form->SortDescending, 1);
}

// The sizes are in place as soon as the listing or the width change is over, before anything
// is painted.
TEST_F(Form1Listing, SizesEndAtTheSizeColumnsRightEdgeAfterAListingAndEveryWidthChange) {
    dir.MakeFile(L"x", 1234);
    dir.MakeFile(L"y", 0);
    dir.MakeFolder(L"sub");
    Scan(dir.Path());
    form->ListFiles(dir.Path());
    ExpectSizesEndAtTheRightEdge("listed");
    const int digit = form->StringGrid1.ZeroCharWidth();
    for (int width = digit * 11; width <= digit * 12 + form->StringGrid1.TextInset(); ++width) {
        form->StringGrid1.SetColWidth(1, width);
        ExpectSizesEndAtTheRightEdge("set to " + std::to_string(width));
    }
    EXPECT_EQ(Column(1), (Cells{L"        1234", L"           0"}));
    // The user's drag of the column's edge.
    const int edge = form->StringGrid1.ColWidth(0) + form->StringGrid1.ColWidth(1);
    HWND grid = form->StringGrid1.Handle();
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge, 2));
    SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(edge + 3 * digit, 2));
    ASSERT_EQ(form->StringGrid1.ColWidth(1), edge + 3 * digit - form->StringGrid1.ColWidth(0));
    ExpectSizesEndAtTheRightEdge("dragged");
    // A column of width 0 shows nothing, so its sizes stay as they were.
    const Cells shown = Column(1);
    form->StringGrid1.SetColWidth(1, 0);
    EXPECT_EQ(Column(1), shown);
}

TEST_F(Form1Listing, TreeClickOnAPartialTreeAndBeforeAnyTree) {
    {
        DialogWatcher watcher({Answer::Button(IDOK)});
        PostMessageW(form->Handle(), WM_APP + 1, 0, 0);
        Pump();
        ASSERT_EQ(watcher.Count(), 1u);
        EXPECT_EQ(watcher.Seen(0).staticTexts.back(), L"フォルダツリーが表示されていません。");
        EXPECT_EQ(Status(), L"検索フォルダを指定して下さい。");
    }
    for (auto name : {L"a", L"b", L"c"})
        dir.MakeFolder(name);
    dir.MakeFile(L"b\\in-b.txt", 3);
    form->SearchFolder = dir.Path();
    {
        EscapeClock escape(*form, 3);
        form->ScanFolderTree();
    }
    Pump();
    ASSERT_TRUE(form->ScanAborted);
    ClickNode(2);
    EXPECT_EQ(Status(), L"1 Files");
    EXPECT_EQ(Column(0), (Cells{L"in-b.txt"}));
    EXPECT_EQ(Column(2), (Cells{L" .TXT"}));
}

TEST_F(Form1Listing, EscapeStopsAListingAfterTheRowsSoFar) {
    dir.MakeFolder(L"sub");
    for (int i = 0; i < 30; ++i)
        dir.MakeFile(L"f" + std::to_wstring(i), i);
    Scan(dir.Path());
    {
        // Down once the first status text and two rows' worth of cells are in place.
        EscapeTrigger escape(form->StringGrid1.Handle(), WM_NULL, 1);
        PostMessageW(form->StringGrid1.Handle(), WM_NULL, 0, 0);
        Pump();
        ClickNode(0);
    }
    EXPECT_EQ(Status(), L"検索を中断しました。");
    EXPECT_TRUE(form->ListReady);
    EXPECT_EQ(form->StringGrid1.RowCount(), 2);
}

// The task bar's close while the listing waits for a server that has stopped answering: the
// listing stops as at Escape, and the window goes with the settings saved.
TEST_F(Form1Listing, ACloseWhileAServerHoldsUpTheListingEndsItAndTheWindowGoesSaved) {
    dir.MakeFolder(L"stall");
    dir.MakeFile(L"stall\\a.txt");
    const HWND main = form->Handle();
    StalledShare server(L"\\stall\\", [main] { PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); });
    form->ListFiles(dir.Path() + L"stall\\");
    EXPECT_GT(server.HeldCalls(), 0) << "the window waited for the server";
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(KeyValue(L"Set", L"FLD1", IniFile()), form->SearchFolder);
}

}  // namespace
}  // namespace tavelin::test
