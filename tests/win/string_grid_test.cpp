#include "ui/grid/string_grid_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/owner_window.h"
#include "support/real_input.h"
#include "tests/shared/cell_table.h"
#include "ui/event_pump.h"

namespace tavelin::ui {

// Stands in for the application's error box: a handler that throws fails the test.
void ReportHandlerException() noexcept {
    ADD_FAILURE() << "a message handler threw";
}

namespace {

struct Press {
    MouseButton button;
    unsigned shift;
    int x, y;
};

class StringGridTest : public ::testing::Test {
  protected:
    static constexpr int kRowHeight = 24;

    void SetUp() override {
        owner_.emplace(test::ClientSize{500, 400});
        ASSERT_NE(Top(), nullptr);
        Fill(20);
        grid_ = std::make_unique<StringGrid>(data_);
        ASSERT_NE(grid_->Create(Top(), 1), nullptr);
        MoveWindow(Grid(), 0, 0, 400, 300, TRUE);
        grid_->SetDrawCellHook([this](int col, int row, const RECT&, unsigned state) {
            drawn_.push_back({col, row});
            states_.push_back(state);
        });
        grid_->SetMouseDownHook([this](MouseButton button, unsigned shift, int x, int y) {
            presses_.push_back({button, shift, x, y});
            currentAtPress_.push_back(grid_->CurrentCell());
        });
        grid_->SetColumnResizedHook([this](int col) { resized_.push_back({col, grid_->ColWidth(col)}); });
        ShowWindow(Top(), SW_SHOW);
        Repaint();
    }

    void TearDown() override {
        grid_.reset();
        owner_.reset();
        PumpEvents();
    }

    HWND Top() const { return owner_->Handle(); }
    HWND Grid() const { return grid_->Handle(); }

    // Rows including the header, through the same notifications the program's model sends.
    void Fill(int rows) {
        data_.SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 5; ++c)
                data_.SetCell(c, r, std::to_wstring(c) + L":" + std::to_wstring(r));
        if (grid_)
            grid_->RowCountChanged();
    }

    void Repaint() {
        PumpEvents();
        drawn_.clear();
        states_.clear();
        RedrawWindow(Grid(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }

    // Paints only what is invalid, as the message loop would.
    void Update() {
        PumpEvents();
        UpdateWindow(Grid());
    }

    // Where the selected range grows from: the corner of the cells painted as selected that is
    // opposite the current cell.
    GridCell PaintedAnchor() {
        Repaint();
        GridCell low{INT_MAX, INT_MAX}, high{-1, -1};
        for (size_t i = 0; i < drawn_.size(); ++i) {
            if (!(states_[i] & kCellSelected))
                continue;
            low = {std::min(low.col, drawn_[i].col), std::min(low.row, drawn_[i].row)};
            high = {std::max(high.col, drawn_[i].col), std::max(high.row, drawn_[i].row)};
        }
        const GridCell current = grid_->CurrentCell();
        return {current.col == low.col ? high.col : low.col, current.row == low.row ? high.row : low.row};
    }

    bool Drew(int col, int row) const {
        return std::find(drawn_.begin(), drawn_.end(), GridCell{col, row}) != drawn_.end();
    }

    void Send(UINT message, WPARAM wParam, int x, int y) { SendMessageW(Grid(), message, wParam, MAKELPARAM(x, y)); }

    void Drag(int fromX, int toX, int y) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, fromX, y);
        Send(WM_MOUSEMOVE, MK_LBUTTON, (fromX + toX) / 2, y);
        Send(WM_MOUSEMOVE, MK_LBUTTON, toX, y);
        Send(WM_LBUTTONUP, 0, toX, y);
    }

    test::CellTable data_{5, 1};
    std::optional<test::OwnerWindow> owner_;
    std::unique_ptr<StringGrid> grid_;
    std::vector<GridCell> drawn_;
    std::vector<unsigned> states_;
    std::vector<Press> presses_;
    std::vector<GridCell> currentAtPress_;
    std::vector<std::pair<int, int>> resized_;  // column, and its width when reported
};

TEST_F(StringGridTest, DraggingAHeaderEdgeSizesTheColumnAndReportsItButNoPress) {
    struct Case {
        const char* what;
        int fromX, toX;
        int col, width;
    } cases[] = {
        {"on the edge, wider", 64, 100, 0, 100},
        {"3 px left of the edge keeps the grab offset", 61, 81, 0, 84},
        {"4 px right of the edge, narrower", 68, 60, 0, 56},
        {"second column's edge", 128, 144, 1, 80},
        {"past the column's left edge gives 0", 130, 10, 1, 0},
    };
    for (const auto& c : cases) {
        grid_->SetColWidth(0, 64);
        grid_->SetColWidth(1, 64);
        resized_.clear();
        Drag(c.fromX, c.toX, 10);
        EXPECT_EQ(grid_->ColWidth(c.col), c.width) << c.what;
        EXPECT_EQ(resized_, (std::vector<std::pair<int, int>>{{c.col, c.width}})) << c.what;
        EXPECT_EQ(GetCapture(), nullptr) << c.what;
    }
    EXPECT_TRUE(presses_.empty());
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 1})) << "sizing selects nothing";
}

TEST_F(StringGridTest, HiddenColumnCanBeDraggedOpenFromRightOfItsEdge) {
    grid_->SetColWidth(1, 0);
    Drag(66, 106, 10);
    EXPECT_EQ(grid_->ColWidth(1), 40) << "the grab 2 px right of the edge is kept";
    EXPECT_EQ(grid_->ColWidth(0), 64);
}

TEST_F(StringGridTest, EveryRepaintAfterAWidthChangePaintsTheSizeHeader) {
    for (int width : {90, 40, 120}) {
        drawn_.clear();
        Drag(64 + grid_->ColWidth(1), 64 + width, 10);
        ASSERT_EQ(grid_->ColWidth(1), width);
        Update();
        EXPECT_TRUE(Drew(1, 0)) << "after the drag to " << width;
        drawn_.clear();
        resized_.clear();
        grid_->SetColWidth(1, width + 1);
        EXPECT_EQ(resized_, (std::vector<std::pair<int, int>>{{1, width + 1}}));
        Update();
        EXPECT_TRUE(Drew(1, 0)) << "after setting " << width + 1;
    }
}

TEST_F(StringGridTest, DoubleClickOnAHeaderReachesTheHookTwiceAndNeverSizes) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 30, 10);
    Send(WM_LBUTTONUP, 0, 30, 10);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 30, 10);
    Send(WM_LBUTTONUP, 0, 30, 10);
    ASSERT_EQ(presses_.size(), 2u);
    EXPECT_EQ(presses_[0].shift & kDoubleClick, 0u);
    EXPECT_NE(presses_[1].shift & kDoubleClick, 0u);

    // On an edge the first press sizes (no hook) and the second goes to the hook untouched.
    presses_.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 64, 10);
    Send(WM_LBUTTONUP, 0, 64, 10);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 64, 10);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 90, 10);
    Send(WM_LBUTTONUP, 0, 90, 10);
    ASSERT_EQ(presses_.size(), 1u);
    EXPECT_NE(presses_[0].shift & kDoubleClick, 0u);
    EXPECT_EQ(grid_->ColWidth(0), 64);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 1}));
}

TEST_F(StringGridTest, RealDoubleClickArrivesAsDownAndDoubleClick) {
    POINT p{30, 10};
    ClientToScreen(Grid(), &p);
    SetCursorPos(p.x, p.y);
    std::vector<INPUT> inputs(4);
    const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = flags[i];
    }
    SetForegroundWindow(Top());
    PumpEvents();
    ASSERT_TRUE(test::SendAndWaitUntilQueued(inputs));
    PumpEvents();
    ASSERT_EQ(presses_.size(), 2u);
    EXPECT_EQ(presses_[1].shift & kDoubleClick, kDoubleClick);
    EXPECT_EQ(presses_[1].x, 30);
}

TEST_F(StringGridTest, PressesReachTheHookAfterTheGridsOwnHandling) {
    const int row2 = kRowHeight * 2 + 5;
    struct Case {
        const char* what;
        UINT message;
        WPARAM keys;
        int x, y;
        MouseButton button;
        unsigned shift;
        GridCell currentAfter;
    } cases[] = {
        {"left in a data row selects first", WM_LBUTTONDOWN, MK_LBUTTON, 70, row2, MouseButton::Left, 0, {1, 2}},
        {"left on the header selects nothing", WM_LBUTTONDOWN, MK_LBUTTON, 140, 10, MouseButton::Left, 0, {1, 2}},
        {"right selects nothing", WM_RBUTTONDOWN, MK_RBUTTON, 200, row2 + 24, MouseButton::Right, 0, {1, 2}},
        {"middle on the header", WM_MBUTTONDOWN, MK_MBUTTON, 20, 5, MouseButton::Middle, 0, {1, 2}},
        {"right double-click", WM_RBUTTONDBLCLK, MK_RBUTTON, 20, 5, MouseButton::Right, kDoubleClick, {1, 2}},
        {"middle double-click", WM_MBUTTONDBLCLK, MK_MBUTTON, 20, 5, MouseButton::Middle, kDoubleClick, {1, 2}},
        {"shift+left extends",
         WM_LBUTTONDOWN,
         MK_LBUTTON | MK_SHIFT,
         140,
         row2 + 48,
         MouseButton::Left,
         kShiftKey,
         {2, 4}},
        {"ctrl passes through", WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 5, row2, MouseButton::Left, kCtrlKey, {0, 2}},
        {"left double-click in a data row",
         WM_LBUTTONDBLCLK,
         MK_LBUTTON,
         200,
         row2,
         MouseButton::Left,
         kDoubleClick,
         {3, 2}},
    };
    for (const auto& c : cases) {
        presses_.clear();
        currentAtPress_.clear();
        Send(c.message, c.keys, c.x, c.y);
        Send(WM_LBUTTONUP, 0, c.x, c.y);
        ASSERT_EQ(presses_.size(), 1u) << c.what;
        EXPECT_EQ(presses_[0].button, c.button) << c.what;
        EXPECT_EQ(presses_[0].shift, c.shift) << c.what;
        EXPECT_EQ(presses_[0].x, c.x) << c.what;
        EXPECT_EQ(presses_[0].y, c.y) << c.what;
        EXPECT_EQ(currentAtPress_[0], c.currentAfter) << c.what;
        EXPECT_EQ(GetFocus(), Grid()) << c.what;
        const bool extends = (c.keys & MK_SHIFT) != 0;
        const bool selects = c.button == MouseButton::Left && c.y >= kRowHeight;
        if (selects) {
            const GridCell anchor = extends ? GridCell{1, 2} : c.currentAfter;
            EXPECT_EQ(PaintedAnchor(), anchor) << c.what;
        }
    }
}

TEST_F(StringGridTest, DraggingInTheRowsSelectsARange) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, kRowHeight + 5);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 150, kRowHeight * 3 + 5);
    Send(WM_LBUTTONUP, 0, 150, kRowHeight * 3 + 5);
    EXPECT_EQ(PaintedAnchor(), (GridCell{0, 1}));
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{2, 3}));
    Repaint();
    int selected = 0;
    for (size_t i = 0; i < drawn_.size(); ++i)
        selected += (states_[i] & kCellSelected) != 0;
    EXPECT_EQ(selected, 9);
}

TEST_F(StringGridTest, ZeroWidthColumnsNeverReachTheDrawingHook) {
    grid_->SetColWidth(2, 0);
    grid_->SetColWidth(4, -5);
    Repaint();
    ASSERT_FALSE(drawn_.empty());
    for (const auto& cell : drawn_) {
        EXPECT_NE(cell.col, 2);
        EXPECT_NE(cell.col, 4);
    }
    EXPECT_TRUE(Drew(3, 0));
}

TEST_F(StringGridTest, SettingACellRepaintsThatCellOnly) {
    Update();
    data_.SetCell(2, 3, L"new");
    grid_->CellChanged(2, 3);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(Grid(), &update, FALSE));
    EXPECT_EQ(update.left, 128);
    EXPECT_EQ(update.top, kRowHeight * 3);
    EXPECT_EQ(update.right, 192);
    EXPECT_EQ(update.bottom, kRowHeight * 4);
    drawn_.clear();
    Update();
    EXPECT_EQ(drawn_, (std::vector<GridCell>{{2, 3}}));
}

TEST_F(StringGridTest, ScrollingDownLeavesTheHeaderUnpainted) {
    Update();
    drawn_.clear();
    SendMessageW(Grid(), WM_VSCROLL, SB_LINEDOWN, 0);
    Update();
    EXPECT_EQ(grid_->TopRow(), 2);
    ASSERT_FALSE(drawn_.empty());
    EXPECT_FALSE(Drew(1, 0));
    EXPECT_TRUE(Drew(0, 2));
}

TEST_F(StringGridTest, ScrollingToTheEndOfAHundredThousandRowsPaintsTheLastRows) {
    Fill(100001);
    SendMessageW(Grid(), WM_VSCROLL, SB_BOTTOM, 0);
    Repaint();
    EXPECT_TRUE(Drew(0, 100000));
    EXPECT_TRUE(Drew(1, 0));
    EXPECT_FALSE(Drew(0, 1));
    EXPECT_LT(drawn_.size(), 100u);

    // The scroll bar holds positions beyond 16 bits.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Grid(), SB_VERT, &info));
    EXPECT_EQ(info.nPos, grid_->TopRow() - 1);
    EXPECT_GT(info.nPos, 65535);
    EXPECT_EQ(info.nMax, 99999);

    SendMessageW(Grid(), WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageW(Grid(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(grid_->TopRow(), 100001 - 2 * static_cast<int>(info.nPage) - 3);
    SendMessageW(Grid(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid_->TopRow(), 1);
}

TEST_F(StringGridTest, ScrollBarsShowOnlyWhenTheContentExceedsTheView) {
    const auto style = [this] { return GetWindowLongW(Grid(), GWL_STYLE); };
    Fill(10);
    PumpEvents();
    EXPECT_FALSE(style() & WS_VSCROLL) << "10 rows fit";
    EXPECT_FALSE(style() & WS_HSCROLL) << "five columns of 64 fit";
    Fill(200);
    PumpEvents();
    EXPECT_TRUE(style() & WS_VSCROLL);
    grid_->SetColWidth(0, 500);
    EXPECT_TRUE(style() & WS_HSCROLL);
    SendMessageW(Grid(), WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(grid_->LeftCol(), 1);
    Repaint();
    EXPECT_FALSE(Drew(0, 0));
    EXPECT_TRUE(Drew(1, 0)) << "the leftmost visible column starts at the left edge";
    Fill(3);
    grid_->SetColWidth(0, 64);
    PumpEvents();
    EXPECT_FALSE(style() & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(grid_->LeftCol(), 0);
    EXPECT_EQ(grid_->TopRow(), 1);
}

TEST_F(StringGridTest, KeysMoveTheCurrentCellAndScrollItIntoView) {
    Fill(101);
    SetFocus(Grid());
    struct Case {
        const char* what;
        WPARAM key;
        bool ctrl, shift;
        GridCell current, anchor;
    } cases[] = {
        {"down", VK_DOWN, false, false, {0, 2}, {0, 2}},
        {"right", VK_RIGHT, false, false, {1, 2}, {1, 2}},
        {"shift+down extends", VK_DOWN, false, true, {1, 3}, {1, 2}},
        {"page down", VK_NEXT, false, false, {1, 3 + 11}, {1, 14}},
        {"end", VK_END, false, false, {4, 14}, {4, 14}},
        {"ctrl+end", VK_END, true, false, {4, 100}, {4, 100}},
        {"up", VK_UP, false, false, {4, 99}, {4, 99}},
        {"ctrl+home", VK_HOME, true, false, {0, 1}, {0, 1}},
    };
    BYTE keys[256]{};
    for (const auto& c : cases) {
        GetKeyboardState(keys);
        keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(Grid(), WM_KEYDOWN, c.key, 0);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(grid_->CurrentCell(), c.current) << c.what;
        EXPECT_EQ(PaintedAnchor(), c.anchor) << c.what;
        const int row = grid_->CurrentCell().row;
        EXPECT_LE(grid_->TopRow(), row) << c.what;
        EXPECT_GT(grid_->TopRow() + 11, row) << c.what << ": 276 px below the header hold 11 whole rows";
    }
    EXPECT_EQ(SendMessageW(Grid(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    EXPECT_TRUE(GetWindowLongW(Grid(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(StringGridTest, KeysAndTheWheelDuringASizingDragLeaveTheSelectionAndTheDrag) {
    Fill(101);
    for (int c = 0; c < 5; ++c)
        grid_->SetColWidth(c, 150);
    SetFocus(Grid());
    struct Case {
        const char* what;
        WPARAM key;
        bool ctrl;
    } cases[] = {
        {"end", VK_END, false},        {"ctrl+end", VK_END, true}, {"right", VK_RIGHT, false},
        {"page down", VK_NEXT, false}, {"down", VK_DOWN, false},
    };
    BYTE keys[256]{};
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 150, 10);
    for (const auto& c : cases) {
        GetKeyboardState(keys);
        keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(Grid(), WM_KEYDOWN, c.key, 0);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 1})) << c.what;
        EXPECT_EQ(grid_->LeftCol(), 0) << c.what;
        EXPECT_EQ(grid_->TopRow(), 1) << c.what;
        EXPECT_EQ(GetCapture(), Grid()) << c.what << ": the drag goes on";
    }
    SendMessageW(Grid(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA * 3)), MAKELPARAM(100, 100));
    EXPECT_EQ(grid_->TopRow(), 1) << "the wheel";
    Send(WM_MOUSEMOVE, MK_LBUTTON, 200, 10);
    Send(WM_LBUTTONUP, 0, 200, 10);
    EXPECT_EQ(grid_->ColWidth(0), 200);

    // Esc still cancels a drag, and the keys work again once it is over.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 200, 10);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 300, 10);
    SendMessageW(Grid(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    Send(WM_LBUTTONUP, 0, 300, 10);
    EXPECT_EQ(grid_->ColWidth(0), 200);
    SendMessageW(Grid(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 2}));
}

TEST_F(StringGridTest, KeysWhileAnotherWindowHoldsTheMouseLeaveTheSelection) {
    SetFocus(Grid());
    SetCapture(Top());
    SendMessageW(Grid(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 1}));
    ReleaseCapture();
    SendMessageW(Grid(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 2}));
}

TEST_F(StringGridTest, TheFocusedCurrentCellIsMarked) {
    SetFocus(Grid());
    Repaint();
    for (size_t i = 0; i < drawn_.size(); ++i)
        EXPECT_EQ((states_[i] & kCellFocused) != 0, (drawn_[i] == GridCell{0, 1}));
    SetFocus(Top());
    Repaint();
    for (unsigned state : states_)
        EXPECT_EQ(state & kCellFocused, 0u);
}

TEST_F(StringGridTest, AHiddenGridLosesTheKeyboardFocus) {
    SetFocus(Grid());
    ASSERT_EQ(GetFocus(), Grid());
    ShowWindow(Grid(), SW_HIDE);
    EXPECT_NE(GetFocus(), Grid());
    ShowWindow(Grid(), SW_SHOW);
    EXPECT_NE(GetFocus(), Grid());
}

TEST_F(StringGridTest, ShrinkingTheRowsKeepsTheCurrentCellInside) {
    Fill(101);
    SendMessageW(Grid(), WM_VSCROLL, SB_BOTTOM, 0);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 100);
    Send(WM_LBUTTONUP, 0, 10, 100);
    Fill(2);
    EXPECT_EQ(grid_->TopRow(), 1);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 1}));
    Repaint();
    EXPECT_TRUE(Drew(4, 1));
    EXPECT_FALSE(Drew(0, 2));
}

}  // namespace
}  // namespace tavelin::ui
