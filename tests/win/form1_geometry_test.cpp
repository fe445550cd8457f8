#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/dialog_watcher.h"
#include "support/form_fixture.h"
#include "support/settings_file_bytes.h"
#include "support/temp_dir.h"
#include "ui/application_win.h"

namespace tavelin::test {
namespace {

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

RECT RectInParent(HWND child) {
    RECT rc = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int ClientWidth(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return rc.right;
}

RECT WorkArea() {
    RECT rc{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

std::wstring Bounds(const RECT& rc) {
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L" " + std::to_wstring(rc.right - rc.left) +
           L"x" + std::to_wstring(rc.bottom - rc.top);
}

std::wstring SavedBounds(const std::wstring& ini) {
    return KeyValue(L"Form", L"F1_X", ini) + L"," + KeyValue(L"Form", L"F1_Y", ini) + L" " +
           KeyValue(L"Form", L"F1_W", ini) + L"x" + KeyValue(L"Form", L"F1_H", ini);
}

// A minimised application hides every later test's window: restore it whatever the test did.
class Form1Geometry : public FormTest {
  protected:
    void TearDown() override {
        HWND owner = ui::Application::Instance().OwnerWindow();
        if (IsIconic(owner))
            ShowWindow(owner, SW_RESTORE);
        FormTest::TearDown();
    }

    int PaneWidth() const { return RectInParent(form->Panel1.Handle()).right; }
};

TEST_F(Form1Geometry, ThePaneNeverHidesTheSplitterAndTheGrid) {
    struct {
        const wchar_t* pane;
        int expected;  // -1: the splitter's limit, the client width less 33
    } const cases[] = {{L"5000", -1}, {L"2000000000", -1}, {L"-100", 0}, {L"-2147483648", 0}, {L"250", 250}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.pane)));
        OpenWith(std::wstring(L"[Comp]\r\nF1_P1=") + c.pane + L"\r\n");
        const int client = ClientWidth(form->Handle());
        const int expected = c.expected < 0 ? client - 33 : c.expected;
        EXPECT_EQ(PaneWidth(), expected);
        const RECT splitter = RectInParent(form->Splitter1.Handle());
        EXPECT_EQ(splitter.left, expected);
        EXPECT_EQ(splitter.right - splitter.left, 3);
        const RECT grid = RectInParent(form->StringGrid1.Handle());
        EXPECT_EQ(grid.left, expected + 3);
        EXPECT_EQ(grid.right, client);
        CloseForm();
        // The file keeps the user's width, which the pane takes again in a window wide enough.
        EXPECT_EQ(KeyValue(L"Comp", L"F1_P1", IniFile()), std::to_wstring(std::clamp(_wtoi64(c.pane), 0LL, 32767LL)));
    }
}

TEST_F(Form1Geometry, NarrowingTheWindowNarrowsThePaneToTheSplittersLimit) {
    OpenWith(L"[Form]\r\nF1_W=700\r\n[Comp]\r\nF1_P1=500\r\n");
    ASSERT_EQ(PaneWidth(), 500);
    SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 350, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(PaneWidth(), ClientWidth(form->Handle()) - 33);
    EXPECT_GT(RectInParent(form->StringGrid1.Handle()).right, RectInParent(form->StringGrid1.Handle()).left);
    // Wide enough again, the window gives the pane back the width the user gave it.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 700, 350, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(PaneWidth(), 500);
    SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 350, SWP_NOMOVE | SWP_NOZORDER);
    // Minimised, the window has no width; the pane keeps its own for the restore.
    const int before = PaneWidth();
    ShowWindow(form->Handle(), SW_MINIMIZE);
    ShowWindow(form->Handle(), SW_RESTORE);
    Pump();
    EXPECT_EQ(PaneWidth(), before);
    CloseForm();
    EXPECT_EQ(KeyValue(L"Comp", L"F1_P1", IniFile()), L"500");
}

TEST_F(Form1Geometry, AWindowWhoseCaptionWouldBeOnNoMonitorComesOntoTheWorkArea) {
    const RECT work = WorkArea();
    MINMAXINFO limits{};
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    const int minWidth = limits.ptMinTrackSize.x, minHeight = limits.ptMinTrackSize.y;
    struct {
        const wchar_t* form;
        bool moved;  // false: exactly as the file says
        int width, height;
        const wchar_t* savedSize = nullptr;  // when the screen is too small for it: the file's
    } const cases[] = {
        {L"F1_X=-30000\r\n", true, 500, 350},
        {L"F1_X=5000\r\nF1_Y=4000\r\n", true, 500, 350},
        {L"F1_Y=-2147483648\r\nF1_W=2147483647\r\n", true, work.right - work.left, 350, L"2147483647x350"},
        {L"F1_W=-50\r\nF1_H=5\r\n", false, minWidth, minHeight},
        {L"F1_X=-30000\r\nF1_W=0\r\nF1_H=-1\r\n", true, minWidth, minHeight},
        {L"F1_X=1023\r\nF1_Y=767\r\n", true, 500, 350},  // a corner on the screen
        // Partly off the screen, enough of the caption still reachable: left alone.
        {L"F1_X=-350\r\nF1_Y=600\r\n", false, 500, 350},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.form)));
        OpenWith(std::wstring(L"[Form]\r\n") + c.form);
        const RECT rc = WindowRect(form->Handle());
        EXPECT_EQ(rc.right - rc.left, c.width);
        EXPECT_EQ(rc.bottom - rc.top, c.height);
        if (c.moved) {
            EXPECT_GE(rc.left, work.left) << testing::PrintToString(Bounds(rc));
            EXPECT_GE(rc.top, work.top) << testing::PrintToString(Bounds(rc));
            EXPECT_LT(rc.left, work.right) << testing::PrintToString(Bounds(rc));
            EXPECT_LT(rc.top + GetSystemMetrics(SM_CYCAPTION), work.bottom) << testing::PrintToString(Bounds(rc));
        }
        const std::wstring shown = Bounds(rc);
        CloseForm();
        // What is saved is where the window was, not what the file said.
        EXPECT_EQ(SavedBounds(IniFile()), c.savedSize ? shown.substr(0, shown.find(L' ') + 1) + c.savedSize : shown);
    }
    OpenWith(L"[Form]\r\nF1_X=-350\r\nF1_Y=600\r\n");
    EXPECT_EQ(WindowRect(form->Handle()).left, -350);
    EXPECT_EQ(WindowRect(form->Handle()).top, 600);
    // At its smallest, which no dragging goes below, the tree and the grid's header and rows show.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Bounds(WindowRect(form->Handle())),
              L"-350,600 " + std::to_wstring(minWidth) + L"x" + std::to_wstring(minHeight));
    const RECT tree = RectInParent(form->TreeView1.Handle()), grid = RectInParent(form->StringGrid1.Handle());
    EXPECT_GE(tree.bottom - tree.top, form->StringGrid1.RowHeight(0));
    EXPECT_GE(grid.bottom - grid.top, 3 * form->StringGrid1.RowHeight(0));
}

TEST_F(Form1Geometry, AMinimisedStartMinimisesTheApplicationAndSavesTheNormalBounds) {
    HWND owner = ui::Application::Instance().OwnerWindow();
    for (int command : {SW_SHOWMINNOACTIVE, SW_MINIMIZE, SW_SHOWMINIMIZED}) {
        SCOPED_TRACE(command);
        OpenWith(L"[Form]\r\nF1_X=120\r\nF1_Y=80\r\nF1_W=640\r\nF1_H=480\r\n", command);
        EXPECT_TRUE(IsIconic(owner));
        EXPECT_FALSE(IsIconic(form->Handle()));
        EXPECT_FALSE(IsWindowVisible(form->Handle()));
        CloseForm();
        EXPECT_EQ(SavedBounds(IniFile()), L"120,80 640x480");
        ShowWindow(owner, SW_RESTORE);
    }
    // Restoring the application brings the window up where the file put it.
    OpenWith(L"[Form]\r\nF1_X=120\r\nF1_Y=80\r\nF1_W=640\r\nF1_H=480\r\n", SW_SHOWMINNOACTIVE);
    ShowWindow(owner, SW_RESTORE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(Bounds(WindowRect(form->Handle())), L"120,80 640x480");
}

// A minimised window's own rectangle is off every screen; a maximised one's is where it is.
TEST_F(Form1Geometry, AMaximisedCloseSavesTheMaximisedBoundsAndAMinimisedOneTheBoundsItReturnsTo) {
    struct {
        const char* what;
        int showCommand;
        bool viaApplication;
    } const cases[] = {
        {"maximised", SW_MAXIMIZE, false},
        {"minimised itself", SW_MINIMIZE, false},
        {"minimised with the application", 0, true},
        {"maximised, then minimised with the application", SW_MAXIMIZE, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenWith(L"[Form]\r\nF1_X=120\r\nF1_Y=80\r\nF1_W=640\r\nF1_H=480\r\n");
        if (c.showCommand)
            ShowWindow(form->Handle(), c.showCommand);
        ASSERT_EQ(IsZoomed(form->Handle()), c.showCommand == SW_MAXIMIZE);
        const std::wstring maximised = Bounds(WindowRect(form->Handle()));
        if (c.viaApplication)
            SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        Pump();
        CloseForm();
        EXPECT_EQ(SavedBounds(IniFile()), c.showCommand == SW_MAXIMIZE ? maximised : L"120,80 640x480");
        ShowWindow(ui::Application::Instance().OwnerWindow(), SW_RESTORE);
    }
}

TEST_F(Form1Geometry, HugeColumnWidthsAreCutToTheLargestCoordinateBeforeAnyCellIsPadded) {
    TempDir dir;
    dir.MakeFile(L"a.txt", 5);
    OpenWith(L"[Comp]\r\nF1_SG0=-5\r\nF1_SG1=2000000000\r\nF1_SG4=32768\r\n");
    EXPECT_EQ(form->StringGrid1.ColWidth(0), 0);
    ASSERT_EQ(form->StringGrid1.ColWidth(1), 32767);
    EXPECT_EQ(form->StringGrid1.ColWidth(4), 32767);
    form->ListFiles(dir.Path());
    form->StringGrid1.SetColWidth(1, 32767);  // repaints the header, which pads the sizes
    Pump();
    ASSERT_EQ(form->StringGrid1.RowCount(), 2);
    const std::wstring size(form->Grid().Cell(1, 1));
    EXPECT_TRUE(size.ends_with(L" 5")) << size.size();
    EXPECT_LE(size.size(), 32767u / 3);
    CloseForm();
    EXPECT_EQ(KeyValue(L"Comp", L"F1_SG1", IniFile()), L"32767");
}

}  // namespace
}  // namespace tavelin::test
