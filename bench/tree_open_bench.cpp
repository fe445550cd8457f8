// Opening big folders in the tree view the way the main window mirrors its model: a folder of
// 100,000 sub-folders opened by a click on its button and by the keyboard, then every level of a
// chain 1,000 deep opened by the keyboard (Right opens, Right again steps to the child). Each
// figure runs from the input to the moment the window has nothing left to do: every message
// handled and everything painted. For where the chain's time goes it also prints the levels opened
// before the view needed a scroll bar apart, and what one unchanged scroll bar set costs.
// Usage: tree_open_bench [children] [depth]   (default 100000 and 1000)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/folder_tree_view_win.h"
#include "app/form1_resource.h"
#include "res/resource.h"
#include "support/bench_frame.h"
#include "support/elapsed.h"
#include "tree/folder_tree.h"
#include "ui/event_pump.h"
#include "ui/gdi_object_win.h"
#include "ui/reflected_notify_win.h"
#include "ui/tree_view_win.h"

namespace tavelin::bench {
namespace {

// The processor time of this process so far. The chain's time goes to painting, most of it waiting
// on other processes, so this tells how much of the wall-clock figure a busy machine added.
double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// A top-level window holding nothing but the tree view, which answers the opening of an item as
// the main window does.
class TreeWindow {
  public:
    explicit TreeWindow(const FolderTree& tree) : view_(tree, control_) {
        frame_ = CreateBenchFrame(L"TavelinTreeOpenBench", &TreeWindow::Proc, nullptr);
        control_.Create(frame_, 1, {{16, IDB_FOLDER}});
        font_.Reset(CreateFontW(-form1::kFormFont.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                form1::kFormFont.face));
        SendMessageW(control_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
        FillBenchFrame(control_.Handle());
        // The model is complete before the first item exists, as after a scan.
        for (std::size_t index = 0; index < tree.Count(); ++index) {
            const NodeId node = tree.NodeAt(index);
            view_.NodeAdded(node, tree.Parent(node));
        }
        SetFocus(control_.Handle());
        TreeView_SelectItem(control_.Handle(), TreeView_GetRoot(control_.Handle()));
        ui::PumpEvents();
    }
    ~TreeWindow() { DestroyWindow(frame_); }

    HWND Control() const { return control_.Handle(); }
    std::optional<NodeId> Selected() const { return view_.SelectedNode(); }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NOTIFY)
            return ui::ReflectNotify(lParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND frame_ = nullptr;
    ui::UniqueFont font_;
    ui::TreeView control_;
    FolderTreeView view_;
};

// Posts the input and returns the seconds until every message it caused has run.
template <typename Input>
double Timed(Input input) {
    const auto start = std::chrono::steady_clock::now();
    input();
    ui::PumpEvents();
    return Seconds(start);
}

void PressRight(HWND control) {
    PostMessageW(control, WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageW(control, WM_KEYUP, VK_RIGHT, 0xC0000001);
}

// Finds the expand button of the root item by the control's own hit test and clicks it.
void ClickRootButton(HWND control) {
    HTREEITEM root = TreeView_GetRoot(control);
    RECT rc;
    TreeView_GetItemRect(control, root, &rc, TRUE);
    TVHITTESTINFO hit{};
    hit.pt.y = (rc.top + rc.bottom) / 2;
    for (hit.pt.x = 0; hit.pt.x < rc.left; ++hit.pt.x) {
        TreeView_HitTest(control, &hit);
        if (hit.flags & TVHT_ONITEMBUTTON)
            break;
    }
    const LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

bool HasScrollBar(HWND control) {
    return (GetWindowLongPtrW(control, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

// The tree view hands both its scroll bars their values again on every paint; what that costs
// where redrawing a bar is slow, as under some implementations, is paid on every keypress.
double UnchangedScrollBarSet(HWND control) {
    constexpr int kRounds = 50;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(control, SB_VERT, &info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i)
        SetScrollInfo(control, SB_VERT, &info, TRUE);
    return Seconds(start) / kRounds;
}

FolderTree Wide(int children) {
    FolderTree tree;
    const NodeId root = tree.AddRoot(L"C:\\bench\\");
    for (int i = 0; i < children; ++i)
        tree.AddChild(root, L"フォルダ" + std::to_wstring(i));
    return tree;
}

FolderTree Chain(int depth) {
    FolderTree tree;
    NodeId node = tree.AddRoot(L"C:\\bench\\");
    for (int i = 0; i < depth; ++i)
        node = tree.AddChild(node, L"フォルダ" + std::to_wstring(i));
    return tree;
}

}  // namespace
}  // namespace tavelin::bench

int main(int argc, char** argv) {
    using namespace tavelin;
    using namespace tavelin::bench;
    const int children = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int depth = argc > 2 ? std::atoi(argv[2]) : 1000;
    InitCommonControls();

    const FolderTree wide = Wide(children);
    double click = 0, keys = 0, clear = 0;
    unsigned clickItems = 0, keyItems = 0;
    {
        TreeWindow window(wide);
        click = Timed([&] { ClickRootButton(window.Control()); });
        clickItems = TreeView_GetCount(window.Control());
    }
    {
        TreeWindow window(wide);
        keys = Timed([&] { PressRight(window.Control()); });
        keyItems = TreeView_GetCount(window.Control());
        // What a new scan pays for the opened folder.
        clear = Timed([&] { TreeView_DeleteAllItems(window.Control()); });
    }
    std::printf(
        "a folder of %d sub-folders opened by a click in %.3f s (%u items), by the keyboard in %.3f s (%u items); "
        "emptied in %.3f s\n",
        children, click, clickItems, keys, keyItems, clear);

    const FolderTree chain = Chain(depth);
    TreeWindow window(chain);
    double slowest = 0, opens = 0, steps = 0;
    // Levels opened while the view needed no scroll bar, and their time.
    int bare = 0;
    double bareTime = 0;
    const double cpuBefore = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (int level = 0; level < depth; ++level) {
        const double open = Timed([&] { PressRight(window.Control()); });
        const double step = Timed([&] { PressRight(window.Control()); });
        opens += open;
        steps += step;
        slowest = std::max(slowest, open + step);
        if (!HasScrollBar(window.Control())) {
            ++bare;
            bareTime += open + step;
        }
    }
    const double all = Seconds(start);
    const double cpu = ProcessorSeconds() - cpuBefore;
    const auto reached = window.Selected();
    const bool deepest = reached && *reached == chain.NodeAt(chain.Count() - 1);
    std::printf(
        "every level of a chain %d deep opened in %.3f s (%.2f ms a level: opening %.2f, stepping down %.2f; "
        "slowest %.2f ms; %.3f s of processor time); %s\n",
        depth, all, all / depth * 1e3, opens / depth * 1e3, steps / depth * 1e3, slowest * 1e3, cpu,
        deepest ? "the deepest folder is selected" : "the deepest folder was NOT reached");
    if (bare > 0 && bare < depth)
        std::printf("  %.2f ms a level while no scroll bar showed (%d levels), %.2f ms a level after\n",
                    bareTime / bare * 1e3, bare, (all - bareTime) / (depth - bare) * 1e3);
    std::printf("  a scroll bar of the tree view set to the values it holds redraws in %.2f ms\n",
                UnchangedScrollBarSet(window.Control()) * 1e3);
    return deepest && clickItems == static_cast<unsigned>(children) + 1 && keyItems == clickItems ? 0 : 1;
}
