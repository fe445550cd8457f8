#include "ui/grid/grid_accessible_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/shared/cell_table.h"
#include "ui/event_pump.h"
#include "ui/grid/string_grid_win.h"

namespace tavelin::ui {

// Stands in for the application's error box: a handler that throws fails the test.
void ReportHandlerException() noexcept {
    ADD_FAILURE() << "a message handler threw";
}

namespace {

VARIANT Child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// Focus events raised on this thread, as a screen reader's hook receives them.
std::vector<LONG> focusedChildren;
HWND watchedWindow = nullptr;

void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd == watchedWindow && object == OBJID_CLIENT)
        focusedChildren.push_back(child);
}

class GridAccessibleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        top_ = CreateWindowExW(0, L"STATIC", L"grid", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                               nullptr, nullptr, nullptr);
        data_.SetRowCount(20);
        for (int r = 0; r < 20; ++r)
            for (int c = 0; c < 5; ++c)
                data_.SetCell(c, r,
                              r == 0 ? L"h" + std::to_wstring(c) : std::to_wstring(c) + L":" + std::to_wstring(r));
        grid_ = std::make_unique<StringGrid>(data_);
        ASSERT_NE(grid_->Create(top_, 1), nullptr);
        MoveWindow(grid_->Handle(), 0, 0, 400, 300, TRUE);
        PumpEvents();
        ASSERT_EQ(AccessibleObjectFromWindow(grid_->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&acc_)),
                  S_OK);
        watchedWindow = grid_->Handle();
        focusedChildren.clear();
        hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocusEvent, GetCurrentProcessId(),
                                GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    }

    void TearDown() override {
        UnhookWinEvent(hook_);
        if (acc_)
            acc_->Release();
        grid_.reset();
        DestroyWindow(top_);
        PumpEvents();
        CoUninitialize();
    }

    std::wstring Name(LONG id) {
        BSTR name = nullptr;
        EXPECT_TRUE(SUCCEEDED(acc_->get_accName(Child(id), &name)));
        std::wstring text = name ? name : L"";
        SysFreeString(name);
        return text;
    }
    LONG State(LONG id) {
        VARIANT state;
        EXPECT_EQ(acc_->get_accState(Child(id), &state), S_OK);
        return state.lVal;
    }
    void Key(WPARAM key) {
        SendMessageW(grid_->Handle(), WM_KEYDOWN, key, 0);
        PumpEvents();
    }

    test::CellTable data_{5, 1};
    HWND top_ = nullptr;
    std::unique_ptr<StringGrid> grid_;
    IAccessible* acc_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
};

TEST_F(GridAccessibleTest, ATableOfRowsWithTheHeaderRowFirst) {
    LONG count = 0;
    ASSERT_EQ(acc_->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 20);
    VARIANT role;
    acc_->get_accRole(Child(CHILDID_SELF), &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TABLE);
    acc_->get_accRole(Child(1), &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_COLUMNHEADER);
    acc_->get_accRole(Child(20), &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_ROW);
    EXPECT_EQ(Name(1), L"h0, h1, h2, h3, h4");
    EXPECT_EQ(Name(20), L"h0: 0:19, h1: 1:19, h2: 2:19, h3: 3:19, h4: 4:19");

    IDispatch* child = nullptr;
    EXPECT_EQ(acc_->get_accChild(Child(20), &child), S_FALSE);
    EXPECT_EQ(child, nullptr);
    BSTR name = nullptr;
    EXPECT_EQ(acc_->get_accChild(Child(21), &child), E_INVALIDARG);
    EXPECT_EQ(acc_->get_accName(Child(21), &name), E_INVALIDARG);

    // The count and the names follow the data; nothing is kept from before.
    data_.SetRowCount(3);
    data_.SetCell(0, 2, L"   padded   ");
    grid_->RowCountChanged();
    ASSERT_EQ(acc_->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Name(3), L"h0: padded, h1: 1:2, h2: 2:2, h3: 3:2, h4: 4:2");
}

TEST_F(GridAccessibleTest, NavigationStepsThroughTheRows) {
    struct Case {
        LONG from, direction;
        HRESULT result;
        LONG to;
    } cases[] = {
        {CHILDID_SELF, NAVDIR_FIRSTCHILD, S_OK, 1},
        {CHILDID_SELF, NAVDIR_LASTCHILD, S_OK, 20},
        {1, NAVDIR_NEXT, S_OK, 2},
        {7, NAVDIR_DOWN, S_OK, 8},
        {2, NAVDIR_PREVIOUS, S_OK, 1},
        {7, NAVDIR_UP, S_OK, 6},
        {1, NAVDIR_PREVIOUS, S_FALSE, 0},
        {20, NAVDIR_NEXT, S_FALSE, 0},
        {5, NAVDIR_LEFT, S_FALSE, 0},
        {5, NAVDIR_FIRSTCHILD, E_INVALIDARG, 0},
        {21, NAVDIR_NEXT, E_INVALIDARG, 0},
    };
    for (const auto& c : cases) {
        VARIANT end;
        EXPECT_EQ(acc_->accNavigate(c.direction, Child(c.from), &end), c.result) << c.from << " " << c.direction;
        EXPECT_EQ(end.vt, c.result == S_OK ? VT_I4 : VT_EMPTY) << c.from << " " << c.direction;
        if (c.result == S_OK) {
            EXPECT_EQ(end.lVal, c.to) << c.from << " " << c.direction;
        }
    }
}

TEST_F(GridAccessibleTest, SelectingRowsMovesTheCurrentCellAndReportsTheFocusedRow) {
    SetFocus(grid_->Handle());
    Key(VK_RIGHT);
    focusedChildren.clear();

    EXPECT_EQ(acc_->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(6)), S_OK);
    EXPECT_EQ(acc_->accSelect(SELFLAG_EXTENDSELECTION, Child(8)), S_OK);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{1, 7}));
    EXPECT_EQ(grid_->SelectionAnchor(), (GridCell{1, 5}));
    const LONG row = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    EXPECT_EQ(State(5), row);
    EXPECT_EQ(State(6), row | STATE_SYSTEM_SELECTED);
    EXPECT_EQ(State(8), row | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(State(9), row);
    VARIANT focus;
    EXPECT_EQ(acc_->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 8);

    // The header row, and adding single rows to the one range, are refused and change nothing.
    EXPECT_EQ(acc_->accSelect(SELFLAG_TAKESELECTION, Child(1)), E_INVALIDARG);
    EXPECT_EQ(acc_->accSelect(SELFLAG_ADDSELECTION, Child(3)), E_INVALIDARG);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{1, 7}));

    EXPECT_EQ(acc_->accDoDefaultAction(Child(3)), S_OK);
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{1, 2}));
    EXPECT_EQ(grid_->SelectionAnchor(), (GridCell{1, 2}));
    Key(VK_DOWN);
    Key(VK_LEFT);  // same row: nothing new to report
    PumpEvents();
    EXPECT_EQ(focusedChildren, (std::vector<LONG>{6, 8, 3, 4}));

    // Without the keyboard the grid reports no focus, though the selection still moves.
    SetFocus(top_);
    focusedChildren.clear();
    EXPECT_EQ(acc_->accSelect(SELFLAG_TAKESELECTION, Child(10)), S_OK);
    PumpEvents();
    EXPECT_EQ(grid_->CurrentCell(), (GridCell{0, 9}));
    EXPECT_TRUE(focusedChildren.empty());
    EXPECT_EQ(acc_->get_accFocus(&focus), S_FALSE);
    EXPECT_EQ(State(10), row | STATE_SYSTEM_SELECTED);
}

TEST_F(GridAccessibleTest, RowsAreLocatedAndHitOnScreenAlsoWhenScrolledOut) {
    POINT origin{0, 0};
    ClientToScreen(grid_->Handle(), &origin);
    for (int i = 0; i < 3; ++i)
        SendMessageW(grid_->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_EQ(grid_->TopRow(), 4);
    struct Case {
        LONG child, top;
        bool offscreen;
    } cases[] = {{1, 0, false}, {2, -48, true}, {5, 24, false}, {20, 24 * 16, true}};
    for (const auto& c : cases) {
        LONG left, top, width, height;
        ASSERT_EQ(acc_->accLocation(&left, &top, &width, &height, Child(c.child)), S_OK);
        EXPECT_EQ(left, origin.x) << c.child;
        EXPECT_EQ(top, origin.y + c.top) << c.child;
        EXPECT_EQ(width, 320) << c.child;
        EXPECT_EQ(height, 24) << c.child;
        EXPECT_EQ((State(c.child) & STATE_SYSTEM_OFFSCREEN) != 0, c.offscreen) << c.child;
    }

    struct Hit {
        int x, y;
        VARTYPE type;
        LONG child;
    } hits[] = {{10, 5, VT_I4, 1}, {10, 24 + 30, VT_I4, 6}, {350, 30, VT_I4, CHILDID_SELF}, {-5, 30, VT_EMPTY, 0}};
    for (const auto& h : hits) {
        VARIANT hit;
        acc_->accHitTest(origin.x + h.x, origin.y + h.y, &hit);
        EXPECT_EQ(hit.vt, h.type) << h.x << "," << h.y;
        if (h.type == VT_I4) {
            EXPECT_EQ(hit.lVal, h.child) << h.x << "," << h.y;
        }
    }
}

TEST_F(GridAccessibleTest, ClientsHoldingTheObjectAfterTheGridIsGoneAreToldItIsDisconnected) {
    grid_.reset();
    LONG count = 0;
    BSTR name = nullptr;
    EXPECT_EQ(acc_->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(acc_->get_accName(Child(1), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(acc_->accSelect(SELFLAG_TAKESELECTION, Child(2)), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
}

TEST(GridAccessibleOutsideComTest, TheSystemsPlainObjectAnswersInsteadOfAnError) {
    test::CellTable data(5, 3);
    HWND top =
        CreateWindowExW(0, L"STATIC", L"grid", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    auto grid = std::make_unique<StringGrid>(data);
    ASSERT_NE(grid->Create(top, 1), nullptr);
    IAccessible* acc = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(grid->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&acc)),
              S_OK);
    VARIANT role;
    EXPECT_EQ(acc->get_accRole(Child(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLIENT);
    acc->Release();
    grid.reset();
    DestroyWindow(top);
}

}  // namespace
}  // namespace tavelin::ui
