#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "base/wide_error.h"
#include "support/dialog_watcher.h"
#include "ui/application_win.h"
#include "ui/clickable_edit_win.h"
#include "ui/event_pump.h"
#include "ui/window_win.h"

namespace tavelin {
namespace {

// A window whose handler throws on request and otherwise counts what reaches it.
class ThrowingWindow : public ui::Window<ThrowingWindow> {
  public:
    ThrowingWindow() {
        Register(L"TavelinThrowingWindow", 0, nullptr, nullptr);
        Create(0, L"TavelinThrowingWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
    }
    ~ThrowingWindow() { DestroyHandle(); }

    static constexpr UINT kThrowWide = WM_APP + 1;
    static constexpr UINT kThrowAnsi = WM_APP + 2;
    static constexpr UINT kPing = WM_APP + 3;
    int pings = 0;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kThrowWide)
            throw WideError(L"'12ab' は整数ではありません");
        if (message == kThrowAnsi)
            throw std::runtime_error("Disk full!");
        if (message == kPing)
            return ++pings;
        return DefaultProc(message, wParam, lParam);
    }
};

class WindowBase : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::Application::Instance().Initialize(nullptr);
        ui::Application::Instance().SetTitle(L"Pellarix Ver.1.00");
    }
};

// The box shows once the handlers have unwound, not inside the painting or sizing that failed.
TEST_F(WindowBase, ExceptionFromAHandlerIsShownInTheErrorBoxAndTheWindowGoesOn) {
    ThrowingWindow window;
    test::DialogWatcher watcher({test::Answer::Button(IDOK), test::Answer::Button(IDOK)});
    SendMessageW(window.Handle(), ThrowingWindow::kThrowWide, 0, 0);
    SendMessageW(window.Handle(), ThrowingWindow::kThrowAnsi, 0, 0);
    EXPECT_EQ(watcher.Count(), 0u) << "shown inside the handler";
    for (int waited = 0; waited < 2000 && watcher.Count() < 2; waited += 10) {
        ui::PumpEvents();
        Sleep(10);
    }
    ASSERT_EQ(watcher.Count(), 2u);
    EXPECT_EQ(watcher.Seen(0).caption, L"Pellarix Ver.1.00");
    ASSERT_FALSE(watcher.Seen(0).staticTexts.empty());
    // A message ending in a Japanese character is closed with a full stop; one ending in "!" is not.
    EXPECT_EQ(watcher.Seen(0).staticTexts.back(), L"'12ab' は整数ではありません.");
    EXPECT_EQ(watcher.Seen(1).staticTexts.back(), L"Disk full!");
    EXPECT_EQ(SendMessageW(window.Handle(), ThrowingWindow::kPing, 0, 0), 1);
    EXPECT_TRUE(IsWindow(window.Handle()));
}

// A system control hooked by the window base still does all its own work, and its wrapper sees
// what passes: a press and a release inside the folder box are a click, wherever the press came
// from; a release outside it, or a key, is not.
TEST_F(WindowBase, TheHookedFolderBoxShowsItsTextAndReportsOnlyClicksInsideIt) {
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    ui::ClickableEdit edit;
    edit.Create(parent, 1);
    SetWindowPos(edit.Handle(), nullptr, 0, 0, 200, 24, SWP_NOZORDER);
    edit.SetText(L"C:\\写真¥");
    wchar_t text[32] = {};
    GetWindowTextW(edit.Handle(), text, 32);
    EXPECT_STREQ(text, L"C:\\写真¥");

    int clicks = 0;
    edit.onClick = [&] { ++clicks; };
    const LPARAM inside = MAKELPARAM(10, 10), outside = MAKELPARAM(250, 10);
    struct Case {
        const char* what;
        std::vector<std::pair<UINT, LPARAM>> messages;
        int clicks;
    } const cases[] = {
        {"press and release inside", {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, inside}}, 1},
        {"released outside", {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, outside}}, 0},
        {"double click",
         {{WM_LBUTTONDOWN, inside}, {WM_LBUTTONUP, inside}, {WM_LBUTTONDBLCLK, inside}, {WM_LBUTTONUP, inside}},
         2},
        {"a release alone", {{WM_LBUTTONUP, inside}}, 0},
        {"Enter and space", {{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}, {WM_CHAR, L' '}}, 0},
    };
    for (const auto& c : cases) {
        clicks = 0;
        for (const auto& [message, lParam] : c.messages)
            SendMessageW(edit.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, lParam);
        EXPECT_EQ(clicks, c.clicks) << c.what;
    }
    DestroyWindow(parent);
    EXPECT_EQ(edit.Handle(), nullptr);
}

TEST(ErrorBoxText, FullStopFollowsTheLastCodePageByte) {
    struct Case {
        const wchar_t* message;
        const wchar_t* shown;
    } const cases[] = {
        {L"abc", L"abc."},         {L"abc.", L"abc."}, {L"abc!", L"abc!"},
        {L"value 0", L"value 0."}, {L"", L""},         {L"整数ではありません", L"整数ではありません."},
        {L"終了。", L"終了。."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::WithClosingFullStop(c.message), c.shown) << c.message;
}

TEST_F(WindowBase, MinimisingTheMainWindowHidesItBehindTheApplicationAndRestoringBringsItBack) {
    ThrowingWindow main;
    auto& app = ui::Application::Instance();
    app.SetMainWindow(main.Handle());
    ShowWindow(main.Handle(), SW_SHOW);
    app.Minimize();
    ui::PumpEvents();
    EXPECT_TRUE(IsIconic(app.OwnerWindow()));
    EXPECT_FALSE(IsWindowVisible(main.Handle()));
    ShowWindow(app.OwnerWindow(), SW_RESTORE);
    ui::PumpEvents();
    EXPECT_FALSE(IsIconic(app.OwnerWindow()));
    EXPECT_TRUE(IsWindowVisible(main.Handle()));
    app.SetMainWindow(nullptr);
}

}  // namespace
}  // namespace tavelin
