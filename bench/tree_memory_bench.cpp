// Memory and time of a million-folder tree without the disk: the scan's own code over an
// in-memory file system, mirrored into a real tree view control the way the main window does it. Wine's file system
// makes a real million-folder run take hours; this shows what the tree itself costs. Usage: tree_memory_bench [fan-out]
// [depth]   (default 10 and 6: 1,111,111 folders)
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/loop_host.h"
#include "tree/folder_scan.h"
#include "tree/scan_observer.h"
#include "ui/tree_view_win.h"

namespace tavelin::bench {
namespace {

// Every folder above `depth` levels below the root holds `fanOut` sub-folders.
class GeneratedFolders final : public FileSystem {
  public:
    GeneratedFolders(int fanOut, int depth, int rootDepth) : fanOut_(fanOut), maxDepth_(rootDepth + depth) {}

    std::unique_ptr<DirectorySearch> Search(const std::wstring& folder) override {
        int depth = 0;
        for (wchar_t c : folder)
            depth += c == L'\\';
        return std::make_unique<Listing>(depth < maxDepth_ ? fanOut_ : 0);
    }
    bool IsDirectory(const std::wstring&) override { return true; }
    bool MakeDirectory(const std::wstring&) override { return true; }
    std::optional<FolderIdentity> Identity(const std::wstring&) override { return std::nullopt; }

  private:
    class Listing final : public DirectorySearch {
      public:
        explicit Listing(int children) : children_(children) {}
        bool Next(DirEntry& entry) override {
            entry.attributes = kAttrDirectory;
            if (next_ < 2)
                entry.name = next_ == 0 ? L"." : L"..";
            else if (next_ - 2 < children_)
                entry.name = L"フォルダ" + std::to_wstring(next_ - 2);
            else
                return false;
            ++next_;
            return true;
        }

      private:
        int children_;
        int next_ = 0;
    };

    int fanOut_;
    int maxDepth_;
};

// A top-level window holding the tree view, mirroring the scan as the main window does.
class TreeWindow final : public ScanObserver, public LoopHost {
  public:
    explicit TreeWindow(const FolderTree& tree) : tree_(tree) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavelinTreeMemoryBench";
        RegisterClassW(&wc);
        frame_ = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 500,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        treeView_.Create(frame_, 1, 0);
        MoveWindow(treeView_.Handle(), 0, 0, 380, 460, TRUE);
    }
    ~TreeWindow() override { DestroyWindow(frame_); }

    void ClearFileList() override {}
    void SetTreeReady(bool) override {}
    void SetScanAborted(bool) override {}
    void EnableTree(bool enabled) override { treeView_.SetEnabled(enabled); }
    void ClearTree() override {
        treeView_.Clear();
        items_.clear();
    }
    void NodeAdded(NodeId node, NodeId parent) override {
        if (items_.size() <= node)
            items_.resize(node + 1);
        items_[node] =
            treeView_.Add(parent == kNoNode ? nullptr : items_[parent], tree_.Text(node), static_cast<LPARAM>(node));
    }

    void SetStatus(const std::wstring&) override {}
    void RepaintStatus() override {}
    bool EscapeDown() override { return false; }
    void PumpEvents() override {}
    void Inform(const std::wstring&) override {}
    void ShowError(const std::wstring&) override {}

  private:
    const FolderTree& tree_;
    HWND frame_ = nullptr;
    ui::TreeView treeView_;
    std::vector<HTREEITEM> items_;
};

}  // namespace
}  // namespace tavelin::bench

int main(int argc, char** argv) {
    using namespace tavelin;
    const int fanOut = argc > 1 ? std::atoi(argv[1]) : 10;
    const int depth = argc > 2 ? std::atoi(argv[2]) : 6;
    const std::wstring root = L"C:\\bench\\";
    FolderTree tree;
    bench::GeneratedFolders folders(fanOut, depth, 2);
    bench::TreeWindow window(tree);
    const auto start = std::chrono::steady_clock::now();
    ScanFolderTree(root, tree, folders, window, window);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("%zu folders scanned into the model and the tree view in %.1f s; peak working set %.1f MiB\n",
                tree.Count() - 1, seconds, counters.PeakWorkingSetSize / 1048576.0);
    return 0;
}
