// How quickly the window answers what another program sends it while the copy and the listing
// run: a second thread sends WM_NULL every 20 ms with a 1 s timeout, as the system's hung-window
// check and other programs' SendMessage calls do.
// Usage: responsive_bench [FOLDERS [FILES]]   default 20000 folders to copy, 20000 files to list
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/form1_win.h"
#include "support/tree_generator.h"
#include "ui/event_pump.h"

namespace tavelin::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Runs `work` on this thread while another sends WM_NULL to `window`; prints how the sends that
// started during the work fared. The window keeps answering until the sender has stopped.
template <typename Work>
void WhileSending(const char* what, HWND window, Work work) {
    std::atomic<bool> done{false}, stopped{false};
    std::vector<std::pair<Clock::time_point, double>> sends;  // start, wait in ms
    std::thread sender([&] {
        while (!done) {
            DWORD_PTR result = 0;
            const auto start = Clock::now();
            const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
            sends.emplace_back(start, answered ? Ms(Clock::now() - start) : 1e9);
            Sleep(20);
        }
        stopped = true;
    });
    const auto start = Clock::now();
    work();
    const auto end = Clock::now();
    done = true;
    while (!stopped)
        ui::PumpEvents();
    sender.join();
    std::vector<double> waits;
    for (const auto& [at, wait] : sends)
        if (at < end)
            waits.push_back(wait);
    std::sort(waits.begin(), waits.end());
    const auto unanswered = std::count(waits.begin(), waits.end(), 1e9);
    std::printf("%s: %.0f ms; %zu sends, %td unanswered after 1 s; answer median %.1f ms, longest answered %.1f ms\n",
                what, Ms(end - start), waits.size(), unanswered, waits.empty() ? 0.0 : waits[waits.size() / 2],
                waits.size() > static_cast<std::size_t>(unanswered) ? waits[waits.size() - unanswered - 1] : 0.0);
}

void LookCost() {
    constexpr int kCalls = 200000;
    const auto start = Clock::now();
    for (int i = 0; i < kCalls; ++i)
        ui::AnswerQueueDroppingInput();
    std::printf("AnswerQueueDroppingInput, empty queue: %.2f us per call\n", Ms(Clock::now() - start) * 1000 / kCalls);
}

}  // namespace
}  // namespace tavelin::bench

int main(int argc, char** argv) {
    using namespace tavelin;
    using namespace tavelin::bench;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::size_t folders = argc > 1 ? std::stoul(argv[1]) : 20000;
    const int files = argc > 2 ? std::stoi(argv[2]) : 20000;
    const std::wstring base = MakeTempFolder(L"tavelin-responsive-");
    const std::wstring src = base + L"src\\", flat = base + L"flat\\";
    for (const std::wstring& dir : {src, flat})
        CreateDirectoryW(dir.c_str(), nullptr);
    GenerateTree(src, folders, 7);
    for (int i = 0; i < files; ++i)
        CloseHandle(CreateFileW((flat + std::to_wstring(i) + L".txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_ARCHIVE, nullptr));
    LookCost();

    TForm1 form;
    form.Show(SW_SHOWNORMAL);
    ui::PumpEvents();
    form.SearchFolder = src;
    form.ScanFolderTree();
    form.TargetFolder = base + L"copy\\";
    CreateDirectoryW(form.TargetFolder.c_str(), nullptr);
    WhileSending(("copy of " + std::to_string(folders) + " folders").c_str(), form.Handle(), [&] { form.CopyTree(); });
    WhileSending(("listing of " + std::to_string(files) + " files").c_str(), form.Handle(),
                 [&] { form.ListFiles(flat); });
    RemoveTree(base);
    return 0;
}
