// Fills a string grid one row at a time through the file grid model, as a listing does, and paints a screenful at the
// bottom, for 10k and 100k rows. Filling must grow linearly (ratio about 10) and painting must not grow.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "app/file_grid_view.h"
#include "listing/file_grid.h"
#include "ui/grid/string_grid_win.h"

namespace tavelin::ui {

void ReportHandlerException() noexcept {
    std::fputs("a message handler threw\n", stderr);
    std::terminate();
}

}  // namespace tavelin::ui

namespace {

using Clock = std::chrono::steady_clock;
using tavelin::FileGrid;
using tavelin::FileGridView;
using tavelin::ui::StringGrid;

constexpr int kPaints = 200;

LRESULT CALLBACK TopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

struct Figures {
    double fillSeconds;
    double paintSeconds;
};

// The cells look like a listing's: a name, a padded size, a kind, a time stamp and attributes.
Figures Measure(HWND top, int rows) {
    FileGrid model;
    const wchar_t* const header[] = {L"ファイル名", L"Bytes", L"種類", L"更新日時", L"属性"};
    for (int c = 0; c < 5; ++c)
        model.SetCell(c, 0, header[c]);
    FileGridView data(model);
    StringGrid grid(data);
    grid.Create(top, 1);
    data.Attach(&grid);
    MoveWindow(grid.Handle(), 0, 0, 600, 500, TRUE);
    long long hookCalls = 0;
    grid.SetDrawCellHook([&hookCalls](int, int, const RECT&, unsigned) { ++hookCalls; });
    Pump();
    UpdateWindow(grid.Handle());

    const auto fillStart = Clock::now();
    for (int i = 1; i <= rows; ++i) {
        model.SetRowCount(i + 1);
        const std::wstring number = std::to_wstring(i);
        const std::wstring cells[] = {L"ファイル" + number + L".txt", std::wstring(10 - number.size(), L' ') + number,
                                      L" .TXT", L"2024/05/06 12:34:56", L"A "};
        for (int c = 0; c < 5; ++c)
            model.SetCell(c, i, cells[c]);
    }
    Pump();
    const double fill = Seconds(fillStart);

    SendMessageW(grid.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    Pump();
    UpdateWindow(grid.Handle());
    hookCalls = 0;
    const auto paintStart = Clock::now();
    for (int i = 0; i < kPaints; ++i)
        RedrawWindow(grid.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const double paint = Seconds(paintStart) / kPaints;
    std::printf("%7d rows: fill %8.1f ms, paint at the bottom %6.3f ms (%lld cells per paint, top row %d)\n", rows,
                fill * 1000, paint * 1000, hookCalls / kPaints, grid.TopRow());
    return {fill, paint};
}

}  // namespace

int main() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TopProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"GridBenchTop";
    RegisterClassExW(&wc);
    const HWND top = CreateWindowExW(0, wc.lpszClassName, L"grid bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                     640, 560, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(top, SW_SHOW);
    Pump();

    const Figures small = Measure(top, 10000);
    const Figures large = Measure(top, 100000);
    std::printf("fill ratio 100k/10k:  %.2f (target <= 12)\n", large.fillSeconds / small.fillSeconds);
    std::printf("paint ratio 100k/10k: %.2f (target <= 2)\n", large.paintSeconds / small.paintSeconds);
    DestroyWindow(top);
    return 0;
}
