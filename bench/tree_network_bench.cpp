// The scan and the copy of a generated tree on a simulated file server: every call to the file
// system first waits a given time, as a network round trip does. Each is compared with a
// sequential walk or creation loop through the same slow file system in the same run, for the
// tree in memory and on the disk.
// Usage: tree_network_bench [COUNT [MICROSECONDS]]   default 10000 folders, 1000 us per call
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/long_path.h"
#include "platform/file_system_win.h"
#include "platform/tick_clock_win.h"
#include "services/attribute_filter.h"
#include "support/delayed_file_system.h"
#include "support/elapsed.h"
#include "support/memory_file_system.h"
#include "support/quiet_window.h"
#include "support/tree_generator.h"
#include "tree/folder_copy.h"
#include "tree/folder_scan.h"
#include "tree/node_path.h"
#include "ui/event_pump.h"

namespace tavelin::bench {
namespace {

// The window's part of the loops at its real cost (the queue and the key are looked at), without
// the controls.
class Window final : public QuietWindow {
  public:
    bool EscapeDown() override { return ui::EscapeDown(); }
    void PumpEvents() override { ui::PumpEvents(); }
    std::chrono::steady_clock::time_point Now() override { return TickClockNow(); }
};

// One folder after the other, depth first, keeping what the scan keeps.
void Walk(FileSystem& fs, const std::wstring& folder, std::vector<std::wstring>& out) {
    out.push_back(folder);
    std::vector<std::wstring> children;
    if (auto search = fs.Search(folder)) {
        DirEntry entry;
        while (search->Next(entry))
            if (MatchesAttributeSet(entry.attributes, kFolderScanAttributeSet) && (entry.attributes & kAttrDirectory) &&
                entry.name != L"." && entry.name != L"..")
                children.push_back(folder + entry.name + L"\\");
    }
    for (const std::wstring& child : children)
        Walk(fs, child, out);
}

}  // namespace
}  // namespace tavelin::bench

int main(int argc, char** argv) {
    using namespace tavelin;
    using namespace tavelin::bench;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 10000;
    const std::chrono::microseconds delay(argc > 2 ? std::stol(argv[2]) : 1000);
    const std::wstring base = MakeTempFolder(L"tavelin-net-");
    const std::wstring src = base + L"src\\";
    CreateDirectoryW(src.c_str(), nullptr);
    auto start = std::chrono::steady_clock::now();
    const std::vector<std::wstring> folders = GenerateTree(src, count, 7);
    std::printf("%zu folders generated in %.2f s; %lld us per file-system call\n", count, Seconds(start),
                static_cast<long long>(delay.count()));

    // The disk under Wine opens one folder at a time, which caps what any number of threads can
    // gain there; the folders in memory show what the scan and the copy themselves make of the wait.
    FileSystemWin disk;
    std::vector<std::wstring> inBase{L"src"};
    for (const std::wstring& folder : folders)
        inBase.push_back(L"src\\" + folder);
    MemoryFileSystem memory(base, inBase);
    const struct {
        const char* name;
        FileSystem& fs;
        std::wstring target;
    } bases[] = {{"in memory", memory, base}, {"on the disk", disk, base}};
    for (const auto& b : bases) {
        DelayedFileSystem server(b.fs, delay);
        start = std::chrono::steady_clock::now();
        std::vector<std::wstring> walked;
        Walk(server, src, walked);
        const double walk = Seconds(start);

        FolderTree tree;
        Window window;
        start = std::chrono::steady_clock::now();
        ScanFolders(src, tree, server, window, window);
        const double scan = Seconds(start);
        std::vector<std::wstring> scanned;
        for (std::size_t i = 0; i < tree.Count(); ++i)
            scanned.push_back(NodePathAt(tree, i));
        std::printf("%s: sequential walk %.3f s (%.2f ms a folder), the scan %.3f s: %.1fx faster, %s\n", b.name, walk,
                    walk * 1e3 / walked.size(), scan, walk / scan,
                    scanned == walked ? "the same tree in the same order" : "MISMATCH: another tree");

        const std::wstring bare = b.target + L"bare\\";
        const std::wstring copy = b.target + L"copy\\";
        b.fs.MakeDirectory(bare);
        b.fs.MakeDirectory(copy);
        start = std::chrono::steady_clock::now();
        for (std::size_t i = 1; i < tree.Count(); ++i)
            server.MakeDirectory(bare + RelativeNodePath(tree, tree.NodeAt(i)));
        const double bareCopy = Seconds(start);
        start = std::chrono::steady_clock::now();
        const FolderCopyResult copied = CopyFolderNames(tree, copy, server, window);
        const double copyTime = Seconds(start);
        std::vector<std::wstring> made;
        Walk(b.fs, copy, made);
        std::printf("%s: sequential creation %.3f s, the copy %.3f s: %.1fx faster, %lld created, %lld not, %s\n",
                    b.name, bareCopy, copyTime, bareCopy / copyTime, static_cast<long long>(copied.created),
                    static_cast<long long>(copied.notCreated),
                    made.size() == tree.Count() ? "every folder there" : "MISMATCH: folders missing");
    }
    RemoveTree(base);
    return 0;
}
