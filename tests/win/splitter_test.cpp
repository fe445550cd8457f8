#include "ui/event_pump.h"
#include "ui/splitter_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "support/owner_window.h"

namespace tavelin::ui {

// Stands in for the application's error box: a handler that throws fails the test.
void ReportHandlerException() noexcept {
    ADD_FAILURE() << "a message handler threw";
}

namespace {

// A left pane, the splitter and a client window filling the rest, laid out as the main window does.
class SplitterTest : public ::testing::Test {
  protected:
    static constexpr int kClientWidth = 600;
    static constexpr int kClientHeight = 300;

    void SetUp() override {
        owner_.emplace(test::ClientSize{kClientWidth, kClientHeight});
        ASSERT_NE(Top(), nullptr);
        pane_ =
            CreateWindowExW(0, L"EDIT", L"pane", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Top(), nullptr, nullptr, nullptr);
        client_ =
            CreateWindowExW(0, L"EDIT", L"client", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Top(), nullptr, nullptr, nullptr);
        splitter_ = std::make_unique<Splitter>(Splitter::Hooks{[this] { return paneWidth_; },
                                                               [this](int width) {
                                                                   setCalls_++;
                                                                   paneWidth_ = width;
                                                                   Layout();
                                                               }});
        ASSERT_NE(splitter_->Create(Top(), 2), nullptr);
        Layout();
        ShowWindow(Top(), SW_SHOW);
        UpdateWindow(Top());
        PumpEvents();
    }

    void TearDown() override {
        splitter_.reset();
        owner_.reset();
        PumpEvents();
    }

    void Layout() {
        MoveWindow(pane_, 0, 0, paneWidth_, kClientHeight, TRUE);
        MoveWindow(splitter_->Handle(), paneWidth_, 0, Splitter::kWidth, kClientHeight, TRUE);
        MoveWindow(client_, paneWidth_ + Splitter::kWidth, 0, kClientWidth - paneWidth_ - Splitter::kWidth,
                   kClientHeight, TRUE);
        UpdateWindow(Top());
    }

    HWND Top() const { return owner_->Handle(); }
    HWND Bar() const { return splitter_->Handle(); }
    // The drag holds the mouse from the press to the drop or the cancel.
    bool Dragging() const { return GetCapture() == Bar(); }
    void Send(UINT message, WPARAM wParam, int x) { SendMessageW(Bar(), message, wParam, MAKELPARAM(x, 50)); }

    // The bar's x position as the parent sees it, after the drag.
    int BarLeft() const {
        RECT r{};
        GetWindowRect(Bar(), &r);
        MapWindowPoints(nullptr, Top(), reinterpret_cast<POINT*>(&r), 2);
        return r.left;
    }

    COLORREF ParentPixel(int x, int y) const {
        // Without clipping the children, as the tracking line is drawn.
        const HDC dc = GetDCEx(Top(), nullptr, DCX_CACHE);
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(Top(), dc);
        return color;
    }

    std::optional<test::OwnerWindow> owner_;
    HWND pane_ = nullptr;
    HWND client_ = nullptr;
    std::unique_ptr<Splitter> splitter_;
    int paneWidth_ = 200;
    int setCalls_ = 0;
};

TEST_F(SplitterTest, DropsSetThePaneWidthWithinItsLimits) {
    struct Case {
        const char* what;
        int startWidth;
        int delta;
        int expected;
    } cases[] = {
        {"wider", 200, 50, 250},
        {"narrower", 200, -120, 80},
        {"31 px stays open", 200, -169, 31},
        {"30 px closes", 200, -170, 0},
        {"far left closes", 200, -500, 0},
        {"as wide as the parent allows", 200, 2000, kClientWidth - 33},
        {"reopens from 0", 0, 100, 100},
        {"from 0 to a narrow width stays closed", 0, 20, 0},
        {"a press without a move changes nothing", 150, 0, 150},
    };
    for (const auto& c : cases) {
        paneWidth_ = c.startWidth;
        Layout();
        setCalls_ = 0;
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 1);
        EXPECT_TRUE(Dragging()) << c.what;
        Send(WM_MOUSEMOVE, MK_LBUTTON, 1 + c.delta / 2);
        Send(WM_MOUSEMOVE, MK_LBUTTON, 1 + c.delta);
        Send(WM_LBUTTONUP, 0, 1 + c.delta);
        EXPECT_FALSE(Dragging()) << c.what;
        EXPECT_EQ(setCalls_, 1) << c.what;
        EXPECT_EQ(paneWidth_, c.expected) << c.what;
        EXPECT_EQ(BarLeft(), c.expected) << c.what;
        EXPECT_EQ(GetCapture(), nullptr) << c.what;
    }
}

TEST_F(SplitterTest, AHatchedLineFollowsTheMouseAndEscCancelsTheDrag) {
    SetFocus(pane_);
    const int lineX = 261;  // inside the client window, where the line will be
    const COLORREF before = ParentPixel(lineX, 40);
    const COLORREF beforeNext = ParentPixel(lineX, 41);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 1);
    EXPECT_EQ(GetFocus(), Bar()) << "Esc has to reach the splitter";
    Send(WM_MOUSEMOVE, MK_LBUTTON, 61);
    // Alternate pixels are inverted, so one of two neighbours changed.
    EXPECT_TRUE(ParentPixel(lineX, 40) != before || ParentPixel(lineX, 41) != beforeNext);

    SendMessageW(Bar(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(Dragging());
    EXPECT_EQ(ParentPixel(lineX, 40), before);
    EXPECT_EQ(ParentPixel(lineX, 41), beforeNext);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetFocus(), pane_) << "the focus goes back where it was";

    // The release after Esc changes nothing either.
    Send(WM_LBUTTONUP, 0, 61);
    EXPECT_EQ(setCalls_, 0);
    EXPECT_EQ(paneWidth_, 200);
}

TEST_F(SplitterTest, LosingTheMouseCancelsTheDrag) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 1);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 80);
    SetCapture(client_);
    ReleaseCapture();
    EXPECT_FALSE(Dragging());
    Send(WM_LBUTTONUP, 0, 80);
    EXPECT_EQ(setCalls_, 0);
}

}  // namespace
}  // namespace tavelin::ui
