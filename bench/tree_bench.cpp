// Scan and copy of generated trees against bare enumeration, a bare creation loop and xcopy.
// Usage: tree_bench [million]   (the argument adds a run over 1,000,000 folders)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_system_win.h"
#include "platform/long_path.h"
#include "support/tree_generator.h"
#include "tree/folder_copy.h"
#include "tree/folder_scan.h"
#include "ui/event_pump.h"

namespace tavelin::bench {
namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// A top-level window with a tree view and a status bar, as close to the main window's left pane
// and status line as a benchmark needs.
class BenchWindow final : public ScanObserver, public LoopHost {
  public:
    explicit BenchWindow(const FolderTree& tree) : tree_(tree) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavelinTreeBench";
        RegisterClassW(&wc);
        frame_ = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 500,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        treeView_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                    WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS, 0, 0, 300,
                                    440, frame_, nullptr, wc.hInstance, nullptr);
        status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame_,
                                  nullptr, wc.hInstance, nullptr);
        SendMessageW(status_, SB_SIMPLE, TRUE, 0);
    }
    ~BenchWindow() override { DestroyWindow(frame_); }

    void ClearFileList() override {}
    void SetTreeReady(bool) override {}
    void SetScanAborted(bool) override {}
    void EnableTree(bool enabled) override { EnableWindow(treeView_, enabled); }
    void ClearTree() override {
        TreeView_DeleteAllItems(treeView_);
        items_.clear();
    }
    // The text comes from the model on demand, so the control keeps no second copy of it.
    void NodeAdded(NodeId node, NodeId parent) override {
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent == kNoNode ? TVI_ROOT : items_[parent];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = LPSTR_TEXTCALLBACKW;
        insert.item.lParam = static_cast<LPARAM>(node);
        if (items_.size() <= node)
            items_.resize(node + 1);
        items_[node] = TreeView_InsertItem(treeView_, &insert);
    }

    void SetStatus(const std::wstring& text) override {
        SendMessageW(status_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void RepaintStatus() override { UpdateWindow(status_); }
    bool EscapeDown() override { return ui::EscapeDown(); }
    void PumpEvents() override { ui::PumpEvents(); }
    void Inform(const std::wstring&) override {}
    void ShowError(const std::wstring&) override {}

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<BenchWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_NOTIFY && self && reinterpret_cast<NMHDR*>(lp)->code == TVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTVDISPINFOW*>(lp);
            if (info->item.mask & TVIF_TEXT) {
                std::wstring_view text = self->tree_.Text(static_cast<NodeId>(info->item.lParam));
                const std::size_t n = std::min<std::size_t>(text.size(), info->item.cchTextMax - 1);
                text.copy(info->item.pszText, n);
                info->item.pszText[n] = L'\0';
            }
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    const FolderTree& tree_;
    HWND frame_ = nullptr;
    HWND treeView_ = nullptr;
    HWND status_ = nullptr;
    std::vector<HTREEITEM> items_;
};

std::size_t BareWalk(const std::wstring& folder) {
    std::size_t count = 1;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return count;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(data.cFileName, L".") != 0 &&
            wcscmp(data.cFileName, L"..") != 0)
            count += BareWalk(folder + data.cFileName + L"\\");
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
                RemoveTree(folder + data.cFileName + L"\\");
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

double RunXcopy(const std::wstring& from, const std::wstring& to) {
    std::wstring command =
        L"xcopy.exe \"" + from.substr(0, from.size() - 1) + L"\" \"" + to.substr(0, to.size() - 1) + L"\" /T /E /I /Q";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = Seconds(start);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return seconds;
}

struct Figures {
    double walk = 0, scan = 0, bareCopy = 0, copy = 0, xcopy = 0;
};

Figures Measure(const std::wstring& base, std::size_t count, bool withXcopy) {
    const std::wstring src = base + L"src" + std::to_wstring(count) + L"\\";
    CreateDirectoryW(src.c_str(), nullptr);
    auto start = std::chrono::steady_clock::now();
    const std::vector<std::wstring> folders = GenerateTree(src, count, 7);
    std::printf("%zu folders generated in %.2f s\n", count, Seconds(start));

    Figures f;
    start = std::chrono::steady_clock::now();
    const std::size_t walked = BareWalk(src);
    f.walk = Seconds(start);

    FolderTree tree;
    FileSystemWin fs;
    {
        BenchWindow window(tree);
        start = std::chrono::steady_clock::now();
        ScanFolderTree(src, tree, fs, window, window);
        f.scan = Seconds(start);
        if (tree.Count() != walked)
            std::printf("MISMATCH: scan found %zu nodes, bare walk %zu\n", tree.Count(), walked);

        const std::wstring bare = base + L"bare" + std::to_wstring(count) + L"\\";
        CreateDirectoryW(bare.c_str(), nullptr);
        start = std::chrono::steady_clock::now();
        for (const std::wstring& folder : folders)
            CreateDirectoryW(ToExtendedPath(bare + folder).c_str(), nullptr);
        f.bareCopy = Seconds(start);

        const std::wstring copy = base + L"copy" + std::to_wstring(count) + L"\\";
        CreateDirectoryW(copy.c_str(), nullptr);
        start = std::chrono::steady_clock::now();
        const FolderCopyResult result = CopyFolderNames(tree, copy, fs, window);
        f.copy = Seconds(start);
        if (result.created != static_cast<std::int64_t>(count))
            std::printf("MISMATCH: copy created %lld of %zu\n", static_cast<long long>(result.created), count);
        RemoveTree(bare);
        RemoveTree(copy);
    }
    if (withXcopy) {
        const std::wstring x = base + L"xcopy" + std::to_wstring(count) + L"\\";
        f.xcopy = RunXcopy(src, x);
        const std::size_t copied = BareWalk(x) - 1;
        if (copied != count)
            std::printf("xcopy made %zu of %zu folders\n", copied, count);
        RemoveTree(x);
    }
    RemoveTree(src);
    std::printf("%8zu folders: walk %.3f s, scan %.3f s (%.2fx walk); bare create %.3f s, copy %.3f s (%.2fx bare)",
                count, f.walk, f.scan, f.scan / f.walk, f.bareCopy, f.copy, f.copy / f.bareCopy);
    if (withXcopy)
        std::printf(", xcopy %.3f s (copy %.1fx faster)", f.xcopy, f.xcopy / f.copy);
    std::printf("\n");
    return f;
}

void PumpCost() {
    constexpr int kCalls = 200000;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i)
        ui::PumpEvents();
    const double pump = Seconds(start) / kCalls * 1e6;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i)
        if (HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0)
            ui::PumpEvents();
    const double queued = Seconds(start) / kCalls * 1e6;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i)
        ui::EscapeDown();
    const double escape = Seconds(start) / kCalls * 1e6;
    std::printf("per call, empty queue: PumpEvents %.2f us, GetQueueStatus first %.2f us, EscapeDown %.2f us\n", pump,
                queued, escape);
}

void PrintMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("peak working set %.1f MiB, peak pagefile usage %.1f MiB\n", counters.PeakWorkingSetSize / 1048576.0,
                counters.PagefileUsage ? counters.PeakPagefileUsage / 1048576.0 : 0.0);
}

}  // namespace
}  // namespace tavelin::bench

int main(int argc, char** argv) {
    using namespace tavelin::bench;
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures appear as they are measured
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"tavelin-bench-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(base.c_str(), nullptr);
    PumpCost();
    const Figures small = Measure(base, 10000, true);
    const Figures large = Measure(base, 100000, true);
    std::printf("100k/10k: walk %.1f, scan %.1f, bare create %.1f, copy %.1f, xcopy %.1f\n", large.walk / small.walk,
                large.scan / small.scan, large.bareCopy / small.bareCopy, large.copy / small.copy,
                large.xcopy / small.xcopy);
    PrintMemory();
    if (argc > 1 && std::string(argv[1]) == "million") {
        Measure(base, 1000000, false);
        PrintMemory();
    }
    RemoveTree(base);
    return 0;
}
