#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/dialog_watcher.h"
#include "support/form_fixture.h"
#include "ui/application_win.h"

namespace tavelin::test {
namespace {

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

using Form1Start = FormTest;

TEST_F(Form1Start, StartsWithThePromptAnEmptyTreeAndTheHeaderRowOverFourEmptyRows) {
    EXPECT_EQ(Status(), L"検索フォルダを指定して下さい。");
    EXPECT_TRUE(form->Shown);
    EXPECT_FALSE(form->TreeReady);
    EXPECT_FALSE(form->ListReady);
    EXPECT_EQ(form->SortDescending, 0);
    EXPECT_EQ(WindowText(form->Edit1.Handle()), L"");
    EXPECT_EQ(TreeView_GetCount(form->TreeView1.Handle()), 0u);
    ASSERT_EQ(form->StringGrid1.RowCount(), 5);
    const wchar_t* headers[] = {L"ファイル名", L"Bytes", L"種類", L"更新日時", L"属性"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(form->Grid().Cell(c, 0), headers[c]);
        for (int r = 1; r < 5; ++r)
            EXPECT_EQ(form->Grid().Cell(c, r), L"");
    }
    EXPECT_EQ(form->StringGrid1.RowHeight(1), 24);
}

// The task bar lists a visible window that has no owner or is marked as an application's, unless
// it is a tool window: the program's one button there shows its title, the window its caption.
TEST_F(Form1Start, TheTaskBarButtonShowsTheTitleAndTheWindowItsCaption) {
    std::vector<std::wstring> buttons;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && !(style & WS_EX_TOOLWINDOW) &&
                (!GetWindow(window, GW_OWNER) || (style & WS_EX_APPWINDOW)))
                reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(WindowText(window));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&buttons));
    EXPECT_EQ(buttons, std::vector<std::wstring>{L"Pellarix Ver.1.00"});
    EXPECT_EQ(WindowText(form->Handle()), L"Tavelin Ver.1.00");
}

TEST_F(Form1Start, TaskBarAndCaptionShowTheProgramIcon) {
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVELIN));
    ASSERT_NE(icon, nullptr);
    HWND owner = ui::Application::Instance().OwnerWindow();
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(form->Handle(), GCLP_HICON)), icon);
}

// Each item of the menu bar, chosen, runs its command: the dialog it opens, then cancelled, shows
// which.
TEST_F(Form1Start, TheMenuShowsItsCommandsInOrderAndEachRunsItsOwn) {
    HMENU bar = GetMenu(form->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(MenuText(bar, 0), L"ファイル(&F)");
    const struct {
        const wchar_t* text;
        const wchar_t* opens;  // nullptr: a separator
    } items[] = {
        {L"検索フォルダ指定(&F)...", L"検索フォルダ指定"},
        {L"", nullptr},
        {L"フォルダ名コピー開始(&C)...", L"エラー"},  // no tree to copy yet
        {L"", nullptr},
        {L"終了(&X)", L"確認"},
    };
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), static_cast<int>(std::size(items)));
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        EXPECT_EQ(MenuText(file, i), items[i].text);
        EXPECT_EQ((GetMenuState(file, i, MF_BYPOSITION) & MF_SEPARATOR) != 0, !items[i].opens) << i;
        if (!items[i].opens)
            continue;
        DialogWatcher watcher({Answer::Cancel()});
        Command(GetMenuItemID(file, i));
        ASSERT_EQ(watcher.Count(), 1u) << i;
        EXPECT_EQ(watcher.Seen(0).caption, items[i].opens);
    }
}

TEST_F(Form1Start, ExitAsksAndOnlyYesEndsTheProgram) {
    HWND hwnd = form->Handle();
    DialogWatcher watcher({Answer::Button(IDNO), Answer::Escape(), Answer::Close(), Answer::Button(IDYES)});
    for (int i = 0; i < 3; ++i) {
        Command(IDM_EXIT);
        Pump();
        ASSERT_TRUE(IsWindow(hwnd)) << "answer " << i;
    }
    EXPECT_FALSE(FileExists(IniFile()));
    Command(IDM_EXIT);
    Pump();
    EXPECT_FALSE(IsWindow(hwnd));
    ASSERT_EQ(watcher.Count(), 4u);
    const SeenDialog& asked = watcher.Seen(0);
    EXPECT_EQ(asked.caption, L"確認");
    ASSERT_FALSE(asked.staticTexts.empty());
    EXPECT_EQ(asked.staticTexts.back(), L"終了します。よろしいですか？");
    EXPECT_EQ(DialogWatcher::ButtonText(asked, IDYES), L"はい(&Y)");
    EXPECT_EQ(DialogWatcher::ButtonText(asked, IDNO), L"いいえ(&N)");
    // Yes saved the settings on the way out.
    EXPECT_TRUE(FileExists(IniFile()));
}

TEST_F(Form1Start, CloseBoxEndsWithoutAskingAndSavesOnce) {
    HWND hwnd = form->Handle();
    DialogWatcher watcher({});
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(watcher.Count(), 0u);
    EXPECT_TRUE(FileExists(IniFile()));
}

TEST_F(Form1Start, FolderBoxFollowsTheLeftPaneWhenTheSplitterIsDragged) {
    RECT before;
    GetWindowRect(form->Panel1.Handle(), &before);
    HWND splitter = form->Splitter1.Handle();
    SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(41, 10));
    SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(41, 10));
    Pump();
    RECT pane, edit, client;
    GetWindowRect(form->Panel1.Handle(), &pane);
    GetWindowRect(form->Edit1.Handle(), &edit);
    GetClientRect(form->Panel1.Handle(), &client);
    EXPECT_EQ(pane.right - pane.left, before.right - before.left + 40);
    EXPECT_EQ(edit.right - edit.left, client.right);
}

TEST_F(Form1Start, TabMovesFromTheTreeToTheGrid) {
    SetFocus(form->TreeView1.Handle());
    HWND next = GetNextDlgTabItem(form->Handle(), form->TreeView1.Handle(), FALSE);
    EXPECT_EQ(next, form->StringGrid1.Handle());
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), next, FALSE), form->TreeView1.Handle());
}

}  // namespace
}  // namespace tavelin::test
