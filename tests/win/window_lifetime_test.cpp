#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/import_hook.h"
#include "tests/shared/cell_table.h"
#include "ui/clickable_edit_win.h"
#include "ui/event_pump.h"
#include "ui/grid/string_grid_win.h"
#include "ui/panel_win.h"
#include "ui/splitter_win.h"
#include "ui/status_bar_win.h"
#include "ui/tree_view_win.h"

namespace tavelin::ui {

// Stands in for the application's error box: a handler that throws fails the test.
void ReportHandlerException() noexcept {
    ADD_FAILURE() << "a message handler threw";
}

namespace {

// One of each of our window wrappers, children of one top-level window.
struct Wrappers {
    explicit Wrappers(HWND parent) {
        panel.Create(parent, 1);
        status.Create(parent, 2);
        splitter.Create(parent, 3);
        grid.Create(parent, 4);
        tree.Create(parent, 5, {{16, IDB_FOLDER}});
        edit.Create(parent, 6);
    }
    std::vector<HWND> Handles() const {
        return {panel.Handle(), status.Handle(), splitter.Handle(), grid.Handle(), tree.Handle(), edit.Handle()};
    }

    test::CellTable data{2, 1};
    Panel panel;
    StatusBar status;
    Splitter splitter{Splitter::Hooks{[] { return 100; }, [](int) {}}};
    StringGrid grid{data};
    TreeView tree;
    ClickableEdit edit;
};

const wchar_t* const kNames[] = {L"Panel", L"StatusBar", L"Splitter", L"StringGrid", L"TreeView", L"ClickableEdit"};

// Counts the calls that name a window which no longer exists, made through this executable's
// import of the function a wrapper ends its window with.
int deadHandleCalls = 0;
test::ImportHook* destroyHook = nullptr;

BOOL WINAPI CountingDestroyWindow(HWND hwnd) {
    if (!IsWindow(hwnd))
        ++deadHandleCalls;
    return destroyHook->Original<decltype(&DestroyWindow)>()(hwnd);
}

class WindowLifetime : public ::testing::Test {
  protected:
    WindowLifetime() : destroy_("user32.dll", "DestroyWindow", reinterpret_cast<void*>(&CountingDestroyWindow)) {
        destroyHook = &destroy_;
        deadHandleCalls = 0;
    }

    void SetUp() override {
        parent_ = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        wrappers_ = std::make_unique<Wrappers>(parent_);
        for (HWND hwnd : wrappers_->Handles())
            ASSERT_TRUE(IsWindow(hwnd));
        PumpEvents();
    }
    void TearDown() override {
        wrappers_.reset();
        if (IsWindow(parent_))
            DestroyWindow(parent_);
    }

    test::ImportHook destroy_;
    HWND parent_ = nullptr;
    std::unique_ptr<Wrappers> wrappers_;
};

TEST_F(WindowLifetime, ParentDestroyedFirstLeavesNoWrapperHoldingADeadHandle) {
    DestroyWindow(parent_);
    const std::vector<HWND> left = wrappers_->Handles();
    for (size_t i = 0; i < left.size(); ++i)
        EXPECT_EQ(left[i], nullptr) << testing::PrintToString(std::wstring(kNames[i]));
    wrappers_.reset();
    EXPECT_EQ(deadHandleCalls, 0);
}

TEST_F(WindowLifetime, WrappersDestroyedFirstTakeTheirWindowsAndLeaveTheParent) {
    const std::vector<HWND> windows = wrappers_->Handles();
    wrappers_.reset();
    EXPECT_EQ(deadHandleCalls, 0);
    for (size_t i = 0; i < windows.size(); ++i)
        EXPECT_FALSE(IsWindow(windows[i])) << testing::PrintToString(std::wstring(kNames[i]));
    EXPECT_TRUE(IsWindow(parent_));
}

}  // namespace
}  // namespace tavelin::ui
