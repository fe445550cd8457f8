// Listing and header-sort benchmark: the listing of a folder of 10k and of 100k files against a
// bare enumeration of the same folder, and the header sort against std::sort of the same keys.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/long_path.h"
#include "listing/header_sort.h"
#include "listing/list_files.h"
#include "platform/file_system_win.h"
#include "platform/text_services_win.h"
#include "platform/tick_clock_win.h"
#include "support/quiet_window.h"
#include "support/tree_generator.h"
#include "ui/event_pump.h"

namespace tavelin {
namespace {

// The window as the listing sees it: it reads the real Escape key, and does nothing else.
class NoOpHost final : public bench::QuietWindow {
  public:
    bool EscapeDown() override { return ui::EscapeDown(); }
    std::chrono::steady_clock::time_point Now() override { return TickClockNow(); }
};

// The best of a few runs, in milliseconds: the machine is shared, and the minimum is the figure
// least disturbed by others.
double BestMs(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// The best of each of two pieces of work run in turns, in milliseconds: load that comes and goes
// on the shared machine then falls on both alike, and their ratio stays meaningful.
std::pair<double, double> BestMsInTurns(int runs,
                                        const std::function<void()>& first,
                                        const std::function<void()>& second) {
    double bestFirst = 1e300;
    double bestSecond = 1e300;
    for (int i = 0; i < runs; ++i) {
        bestFirst = std::min(bestFirst, BestMs(1, first));
        bestSecond = std::min(bestSecond, BestMs(1, second));
    }
    return {bestFirst, bestSecond};
}

std::wstring FileName(int index) {
    return L"file-" + std::to_wstring(index) + (index % 3 ? L".txt" : L".Dat");
}

// Under Wine every new name costs a scan of the whole folder for a name that differs only in
// case, so filling a folder of 100k files one CreateFileW at a time takes hours. There the host
// shell creates them in one go; Wine runs Unix programs through CreateProcessW.
using UnixFileName = char*(__cdecl*)(const wchar_t*);

UnixFileName WineUnixFileName() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<UnixFileName>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")))
                  : nullptr;
}

std::string UnixPathOf(const std::wstring& path);

// Runs the script and waits until it has finished. The process handle of a Unix program is
// signalled when Wine hands it over, not when it ends, so the script leaves a marker file.
bool RunUnixShell(const std::string& script) {
    const std::wstring marker = bench::MakeTempFolder(L"tavelin-bench-marker-") + L"done";
    const std::string unixMarker = UnixPathOf(marker.substr(0, marker.size() - 4)) + "/done";
    std::wstring command = L"/bin/sh -c \"";
    const std::string full = script + "; touch '" + unixMarker + "'";
    command.append(full.begin(), full.end());
    command += L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    bool done = false;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        for (int waited = 0; waited < 600000 && !done; waited += 10) {
            done = GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
            if (!done)
                Sleep(10);
        }
    }
    DeleteFileW(marker.c_str());
    RemoveDirectoryW(marker.substr(0, marker.size() - 4).c_str());
    return done;
}

std::string UnixPathOf(const std::wstring& folder) {
    const UnixFileName convert = WineUnixFileName();
    if (!convert)
        return {};
    char* unixPath = convert(folder.c_str());
    if (!unixPath)
        return {};
    std::string path = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return path;
}

void CreateFiles(const std::wstring& folder, int count) {
    const std::string unixFolder = UnixPathOf(folder);
    if (!unixFolder.empty()) {
        // Every third file gets ".Dat", the others ".txt", as below.
        const std::string last = std::to_string(count - 1);
        RunUnixShell("cd '" + unixFolder + "' && { seq -f 'file-%.0f.Dat' 0 3 " + last +
                     "; seq -f 'file-%.0f.txt' 1 3 " + last + "; seq -f 'file-%.0f.txt' 2 3 " + last +
                     "; } | xargs touch");
        return;
    }
    for (int i = 0; i < count; ++i) {
        const std::wstring path = folder + FileName(i);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot create %ls\n", path.c_str());
            std::exit(1);
        }
        CloseHandle(file);
    }
}

void RemoveFolder(const std::wstring& folder, int count) {
    const std::string unixFolder = UnixPathOf(folder);
    if (!unixFolder.empty() && RunUnixShell("rm -rf '" + unixFolder + "'"))
        return;
    for (int i = 0; i < count; ++i)
        DeleteFileW((folder + FileName(i)).c_str());
    RemoveDirectoryW(folder.c_str());
}

// The same enumeration the listing's file system runs, with nothing done per entry but
// counting plain files.
int BareEnumeration(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(ToExtendedPath(folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    int count = 0;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

// The processor time of the process, every thread's, in milliseconds, in steps of the system's
// tick: the listing reads on a thread of its own.
double ProcessorMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e4;
}

// The processor time of `runs` runs of the work in a row, in milliseconds a run: waiting for the
// processor while other programs run is left out, which the wall clock's best of seven cannot do
// on a loaded machine. Enough runs make the system's tick (10 ms) small against the sum.
double ProcessorMsPerRun(int runs, const std::function<void()>& work) {
    const double start = ProcessorMs();
    for (int i = 0; i < runs; ++i)
        work();
    return (ProcessorMs() - start) / runs;
}

struct ListingFigures {
    double bareMs;
    double listingMs;
};

ListingFigures MeasureListing(int count) {
    const std::wstring folder = bench::MakeTempFolder(L"tavelin-bench-" + std::to_wstring(count) + L"-");
    const double createMs = BestMs(1, [&] { CreateFiles(folder, count); });
    // One reader for every run, as the window keeps one for every listing.
    FolderFileReader reader(std::make_shared<FileSystemWin>());
    TextServicesWin text;
    NoOpHost host;
    int bareCount = 0;
    int listed = 0;
    const auto bare = [&] { bareCount = BareEnumeration(folder); };
    const auto list = [&] {
        FileGrid grid;
        listed = ListFolderFiles(folder, [] { return 10; }, grid, {reader, text, host});
    };
    BareEnumeration(folder);  // warm the directory cache for both
    const auto [bareMs, listingMs] = BestMsInTurns(7, bare, list);
    // In turns, as above, so that a change of the machine's state falls on both.
    const int runs = count >= 100000 ? 7 : 40;
    double bareCpu = 0;
    double listingCpu = 0;
    for (int turn = 0; turn < 2; ++turn) {
        bareCpu += ProcessorMsPerRun(runs, bare) / 2;
        listingCpu += ProcessorMsPerRun(runs, list) / 2;
    }
    RemoveFolder(folder, count);
    if (bareCount != count || listed != count) {
        std::fprintf(stderr, "expected %d files, enumerated %d, listed %d\n", count, bareCount, listed);
        std::exit(1);
    }
    std::printf("listing %6d files: created in %8.1f ms, bare enumeration %8.2f ms, ListFiles %8.2f ms, ratio %.2f\n",
                count, createMs, bareMs, listingMs, listingMs / bareMs);
    std::printf(
        "        processor time a run (%d runs twice): bare enumeration %8.2f ms, ListFiles %8.2f ms, ratio %.2f\n",
        runs, bareCpu, listingCpu, listingCpu / bareCpu);
    return {bareMs, listingMs};
}

// Names with many repeats, upper- and lower-case, ASCII and Japanese, so that ties and the
// case-blind keys both matter.
FileGrid MakeGrid(int rows) {
    static const wchar_t* const stems[] = {L"report", L"Report", L"データ", L"ｄａｔａ", L"image", L"備考"};
    std::mt19937 random(12345);
    FileGrid grid;
    grid.SetRowCount(rows + 1);
    for (int row = 1; row <= rows; ++row) {
        grid.SetCell(0, row, std::wstring(stems[random() % 6]) + std::to_wstring(random() % (rows / 4 + 1)) + L".txt");
        grid.SetCell(1, row, std::to_wstring(random() % 100000));
    }
    return grid;
}

struct SortFigures {
    double headerSortMs;
    double orderOnlyMs;
    double stdSortMs;
};

SortFigures MeasureSort(int rows) {
    TextServicesWin text;
    const SortKeyFunction key = HeaderSortKey(text);
    const FileGrid original = MakeGrid(rows);
    std::vector<std::string> keys;
    for (int row = 1; row <= rows; ++row)
        keys.push_back(key(std::wstring(original.Cell(0, row))));

    // The copies are made outside the timing: only the sorts are measured.
    constexpr int kRuns = 7;
    std::vector<std::vector<std::string>> sortCopies(kRuns, keys);
    std::vector<FileGrid> grids;
    for (int i = 0; i < kRuns; ++i)
        grids.push_back(MakeGrid(rows));
    size_t nextSort = 0;
    size_t next = 0;
    const auto [stdSortMs, headerSortMs] = BestMsInTurns(
        kRuns,
        [&] {
            std::vector<std::string>& copy = sortCopies.at(nextSort++);
            std::sort(copy.begin(), copy.end());
        },
        [&] { SortRows(grids.at(next++), 0, SortDirection::kAscending, key); });
    const double orderOnlyMs = BestMs(5, [&] { SelectionSortOrder(keys, SortDirection::kAscending); });
    std::printf(
        "sort    %6d rows: std::sort of keys %8.2f ms, order from keys %8.2f ms (ratio %.2f), "
        "SortRows with keys and rows %8.2f ms (ratio %.2f)\n",
        rows, stdSortMs, orderOnlyMs, orderOnlyMs / stdSortMs, headerSortMs, headerSortMs / stdSortMs);
    return {headerSortMs, orderOnlyMs, stdSortMs};
}

}  // namespace
}  // namespace tavelin

int main() {
    using namespace tavelin;
    const ListingFigures small = MeasureListing(10000);
    const ListingFigures large = MeasureListing(100000);
    std::printf("listing 100k/10k: bare %.2f, ListFiles %.2f\n", large.bareMs / small.bareMs,
                large.listingMs / small.listingMs);
    const SortFigures smallSort = MeasureSort(10000);
    const SortFigures largeSort = MeasureSort(100000);
    std::printf("sort 100k/10k: std::sort %.2f, order %.2f, SortRows %.2f\n", largeSort.stdSortMs / smallSort.stdSortMs,
                largeSort.orderOnlyMs / smallSort.orderOnlyMs, largeSort.headerSortMs / smallSort.headerSortMs);
    return 0;
}
