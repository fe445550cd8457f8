#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "res/resource.h"
#include "support/dialog_watcher.h"
#include "support/form_fixture.h"
#include "support/real_input.h"
#include "support/temp_dir.h"
#include "ui/application_win.h"
#include "ui/event_pump.h"

namespace tavelin::test {
namespace {

class Form1Keyboard : public FormTest {
  protected:
    // Where the keys are handled: the program's own loop, or the event pump that a long handler
    // such as the scan runs. Tab moves the focus in both.
    enum class Loop { kMain, kEventPump };
    // A key pressed and released through the real input path, then handled by `loop`.
    static void Press(WORD key, bool shift = false, Loop loop = Loop::kMain) {
        ASSERT_TRUE(SendAndWaitUntilQueued(shift ? KeyStrokes({VK_SHIFT, key}) : KeyStrokes({key})));
        loop == Loop::kMain ? RunQueue() : ui::PumpEvents();
    }
    // Every message waiting, as the program's main loop takes it.
    static void RunQueue() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ui::Application::Instance().Deliver(msg);
    }
    // The windows that Tab gives the keyboard to, pressed twice, then Shift+Tab once.
    std::set<HWND> TabStops(Loop loop = Loop::kMain) {
        std::set<HWND> reached;
        Press(VK_TAB, false, loop);
        reached.insert(GetFocus());
        Press(VK_TAB, false, loop);
        reached.insert(GetFocus());
        const HWND before = GetFocus();
        Press(VK_TAB, true, loop);
        if (GetFocus() == before)
            reached.insert(nullptr);
        return reached;
    }
    TempDir dir;
};

TEST_F(Form1Keyboard, TabReachesTheTreeAndTheGridAfterDialogsScansAndHeaderPresses) {
    dir.MakeFolder(L"sub");
    dir.MakeFile(L"a.txt", 2);
    dir.MakeFile(L"b.txt", 1);
    struct Case {
        const char* what;
        std::function<void()> run;
    } cases[] = {
        {"the search dialog cancelled",
         [&] {
             DialogWatcher watcher({Answer::Cancel()});
             Command(IDM_SEARCH_FOLDER);
             EXPECT_TRUE(watcher.Done());
         }},
        {"the exit question answered no",
         [&] {
             DialogWatcher watcher({Answer::Button(IDNO)});
             Command(IDM_EXIT);
             EXPECT_TRUE(watcher.Done());
         }},
        {"an error box closed",
         [&] {
             DialogWatcher watcher({Answer::Button(IDOK)});
             Command(IDM_PELLARIX);
             EXPECT_TRUE(watcher.Done());
         }},
        {"a scan ended",
         [&] {
             form->SearchFolder = dir.Path();
             form->ScanFolderTree();
             EXPECT_TRUE(form->TreeReady);
         }},
        {"a header press sorted the list",
         [&] {
             form->ListFiles(dir.Path());
             ASSERT_TRUE(form->ListReady);
             const HWND grid = form->StringGrid1.Handle();
             // The size column's header: ascending sizes put b.txt first.
             const LPARAM header = MAKELPARAM(form->StringGrid1.ColWidth(0) + 10, form->StringGrid1.RowHeight(0) / 2);
             SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, header);
             SendMessageW(grid, WM_LBUTTONUP, 0, header);
             EXPECT_EQ(form->Grid().Cell(0, 1), L"b.txt");
             EXPECT_EQ(GetFocus(), grid) << "the press gave the grid the keyboard";
         }},
        {"the keyboard on the window itself", [&] { SetFocus(form->Handle()); }},
    };
    const std::set<HWND> both{form->TreeView1.Handle(), form->StringGrid1.Handle()};
    for (const auto& c : cases) {
        SetFocus(form->TreeView1.Handle());
        c.run();
        RunQueue();
        EXPECT_EQ(TabStops(), both) << c.what;
    }
}

TEST_F(Form1Keyboard, TabHandledByTheEventPumpOfALongHandlerMovesTheFocusAsTheMainLoopDoes) {
    SetFocus(form->TreeView1.Handle());
    EXPECT_EQ(TabStops(Loop::kEventPump), (std::set<HWND>{form->TreeView1.Handle(), form->StringGrid1.Handle()}));
}

TEST_F(Form1Keyboard, TabDuringAColumnSizingDragLeavesTheKeyboardOnTheGridSoEscStillCancels) {
    const HWND grid = form->StringGrid1.Handle();
    const int width = form->StringGrid1.ColWidth(0);
    const LPARAM edge = MAKELPARAM(width, 5);
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, edge);
    SendMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width + 50, 5));
    ASSERT_EQ(GetCapture(), grid);
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), grid);
    Press(VK_ESCAPE);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(width + 50, 5));
    EXPECT_EQ(form->StringGrid1.ColWidth(0), width);
}

TEST_F(Form1Keyboard, EnterOnTheTreeListsTheSelectedFolderAsAClickDoes) {
    dir.MakeFolder(L"sub");
    dir.MakeFile(L"sub\\in-sub.txt", 3);
    dir.MakeFile(L"top.txt", 1);
    form->SearchFolder = dir.Path();
    form->ScanFolderTree();
    ASSERT_TRUE(form->TreeReady);
    const HWND tree = form->TreeView1.Handle();
    SetFocus(tree);
    Press(VK_HOME);
    Press(VK_RETURN);
    EXPECT_EQ(Status(), L"1 Files");
    EXPECT_EQ(form->Grid().Cell(0, 1), L"top.txt");
    // Down from the root, once the root is opened, is its first folder.
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_EQ(Status(), L"1 Files") << "moving the selection alone lists nothing";
    EXPECT_EQ(form->Grid().Cell(0, 1), L"top.txt");
    Press(VK_RETURN);
    EXPECT_EQ(form->Grid().Cell(0, 1), L"in-sub.txt");
    EXPECT_EQ(GetFocus(), tree);
}

}  // namespace
}  // namespace tavelin::test
