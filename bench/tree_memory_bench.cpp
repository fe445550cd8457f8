// Memory and time of a million-folder tree without the disk: the scan's own code over an
// in-memory file system, shown in a real tree view control by the main window's own mirror, then
// a click on the deepest last folder after opening the way down to it. Wine's file system makes a
// real million-folder run take hours; this shows what the tree itself costs.
// Usage: tree_memory_bench [fan-out] [depth]   (default 10 and 6: 1,111,111 folders)
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/folder_tree_view_win.h"
#include "listing/file_grid.h"
#include "listing/list_files.h"
#include "platform/text_services_win.h"
#include "platform/tick_clock_win.h"
#include "services/file_system.h"
#include "support/bench_frame.h"
#include "support/elapsed.h"
#include "support/generated_folders.h"
#include "support/quiet_window.h"
#include "tree/folder_scan.h"
#include "tree/node_path.h"
#include "ui/event_pump.h"
#include "ui/reflected_notify_win.h"
#include "ui/tree_view_win.h"

namespace tavelin::bench {
namespace {

// A top-level window holding the tree view, mirroring the scan and listing a clicked folder as
// the main window does.
class TreeWindow final : public QuietWindow {
  public:
    TreeWindow(const FolderTree& tree, FileSystem& files) : tree_(tree), files_(files) {
        frame_ = CreateBenchFrame(L"TavelinTreeMemoryBench", &TreeWindow::Proc, this);
        treeView_.Create(frame_, 1, {});
        treeView_.onClick = [this] { PostMessageW(frame_, kClicked, 0, 0); };
        FillBenchFrame(treeView_.Handle());
    }
    ~TreeWindow() override { DestroyWindow(frame_); }

    HWND Tree() const { return treeView_.Handle(); }
    const std::wstring& Status() const { return status_; }

    void EnableTree(bool enabled) override { treeView_.SetEnabled(enabled); }
    void ClearTree() override { view_.Clear(); }
    void NodeAdded(NodeId node, NodeId parent) override { view_.NodeAdded(node, parent); }

    void SetStatus(const std::wstring& text) override { status_ = text; }
    std::chrono::steady_clock::time_point Now() override { return TickClockNow(); }

  private:
    static constexpr UINT kClicked = WM_APP + 1;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<TreeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_NOTIFY)
            return ui::ReflectNotify(lParam);
        if (self && message == kClicked) {
            if (auto node = self->view_.SelectedNode())
                ListFolderFiles(NodePathAt(self->tree_, self->tree_.IndexOf(*node)), [] { return 10; }, self->grid_,
                                {self->reader_, self->text_, *self});
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    const FolderTree& tree_;
    FileSystem& files_;
    // The benchmark's file system outlives the window, and its reader's thread never waits on it.
    FolderFileReader reader_{std::shared_ptr<FileSystem>(&files_, [](FileSystem*) {})};
    HWND frame_ = nullptr;
    ui::TreeView treeView_;
    FolderTreeView view_{tree_, treeView_};
    FileGrid grid_;
    TextServicesWin text_;
    std::wstring status_;
};

// Opens the way down to the last folder in pre-order and clicks its label, as a user would;
// returns the seconds from the click to the listing's status line.
double ClickLastFolder(const FolderTree& tree, TreeWindow& window) {
    HWND control = window.Tree();
    HTREEITEM item = TreeView_GetRoot(control);
    for (NodeId node = tree.NodeAt(0); tree.FirstChild(node) != kNoNode;) {
        TreeView_Expand(control, item, TVE_EXPAND);
        item = TreeView_GetChild(control, item);
        for (HTREEITEM next; (next = TreeView_GetNextSibling(control, item));)
            item = next;
        TVITEMW tv{};
        tv.mask = TVIF_PARAM;
        tv.hItem = item;
        TreeView_GetItem(control, &tv);
        node = static_cast<NodeId>(tv.lParam);
    }
    TreeView_EnsureVisible(control, item);
    ui::PumpEvents();
    RECT rc;
    TreeView_GetItemRect(control, item, &rc, TRUE);
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    const auto start = std::chrono::steady_clock::now();
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    while (window.Status().empty())
        ui::PumpEvents();
    return Seconds(start);
}

}  // namespace
}  // namespace tavelin::bench

int main(int argc, char** argv) {
    using namespace tavelin;
    const int fanOut = argc > 1 ? std::atoi(argv[1]) : 10;
    const int depth = argc > 2 ? std::atoi(argv[2]) : 6;
    const std::wstring root = L"C:\\bench\\";
    FolderTree tree;
    bench::GeneratedFolders folders(fanOut, depth, 2);
    bench::TreeWindow window(tree, folders);
    const auto start = std::chrono::steady_clock::now();
    ScanFolders(root, tree, folders, window, window);
    const double seconds = bench::Seconds(start);
    window.SetStatus(L"");
    const double click = bench::ClickLastFolder(tree, window);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("%zu folders scanned into the model and the tree view in %.2f s; peak working set %.1f MiB\n",
                tree.Count() - 1, seconds, counters.PeakWorkingSetSize / 1048576.0);
    const std::string status(window.Status().begin(), window.Status().end());  // "N Files": ASCII
    std::printf("a click on the last folder listed it in %.1f ms (status \"%s\")\n", click * 1e3, status.c_str());
    return 0;
}
