#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/wide_error.h"
#include "support/dialog_watcher.h"
#include "ui/application_win.h"
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
