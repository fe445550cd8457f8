// Scan and copy of generated trees against bare enumeration, a bare creation loop and xcopy.
// Usage: tree_bench          10k and 100k folders, with xcopy
//        tree_bench COUNT    COUNT folders alone, without xcopy (1000000 for the million run)
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/form1_win.h"
#include "base/long_path.h"
#include "support/elapsed.h"
#include "support/tree_generator.h"
#include "ui/event_pump.h"

namespace tavelin::bench {
namespace {

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

    // On a shared machine one run can be off by a third; the best of a few rounds of each, taken
    // in turns, compares like with like.
    const int rounds = count <= 10000 ? 3 : 1;
    Figures f{1e9, 1e9, 1e9, 1e9, 0};
    {
        // The program's own window, scanning and copying as its commands do after their dialogs.
        TForm1 form;
        form.Show(SW_SHOWNORMAL);
        ui::PumpEvents();
        form.SearchFolder = src;
        const std::wstring bare = base + L"bare" + std::to_wstring(count) + L"\\";
        const std::wstring copy = base + L"copy" + std::to_wstring(count) + L"\\";
        for (int round = 0; round < rounds; ++round) {
            start = std::chrono::steady_clock::now();
            const std::size_t walked = BareWalk(src);
            f.walk = std::min(f.walk, Seconds(start));

            start = std::chrono::steady_clock::now();
            form.ScanFolderTree();
            f.scan = std::min(f.scan, Seconds(start));
            if (form.Tree().Count() != walked)
                std::printf("MISMATCH: scan found %zu nodes, bare walk %zu\n", form.Tree().Count(), walked);

            CreateDirectoryW(bare.c_str(), nullptr);
            start = std::chrono::steady_clock::now();
            for (const std::wstring& folder : folders)
                CreateDirectoryW(ToExtendedPath(bare + folder).c_str(), nullptr);
            f.bareCopy = std::min(f.bareCopy, Seconds(start));

            CreateDirectoryW(copy.c_str(), nullptr);
            form.TargetFolder = copy;
            start = std::chrono::steady_clock::now();
            form.CopyTree();
            f.copy = std::min(f.copy, Seconds(start));
            const std::size_t copied = BareWalk(copy) - 1;
            if (copied != count)
                std::printf("MISMATCH: copy made %zu of %zu folders\n", copied, count);
            RemoveTree(bare);
            RemoveTree(copy);
        }
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
    std::printf(
        "%8zu folders, best of %d: walk %.3f s, scan %.3f s (%.2fx walk); bare create %.3f s, copy %.3f s (%.2fx bare)",
        count, rounds, f.walk, f.scan, f.scan / f.walk, f.bareCopy, f.copy, f.copy / f.bareCopy);
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
    const std::wstring base = MakeTempFolder(L"tavelin-bench-");
    if (argc > 1) {
        // One size alone, without xcopy, which takes longest of all.
        Measure(base, std::stoul(argv[1]), false);
        PrintMemory();
    } else {
        PumpCost();
        const Figures small = Measure(base, 10000, true);
        const Figures large = Measure(base, 100000, true);
        std::printf("100k/10k: walk %.1f, scan %.1f, bare create %.1f, copy %.1f, xcopy %.1f\n",
                    large.walk / small.walk, large.scan / small.scan, large.bareCopy / small.bareCopy,
                    large.copy / small.copy, large.xcopy / small.xcopy);
        PrintMemory();
    }
    RemoveTree(base);
    return 0;
}
