#include "support/bench_frame.h"

namespace tavelin::bench {

HWND CreateBenchFrame(const wchar_t* className, WNDPROC proc, void* param) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 500, nullptr, nullptr,
                           wc.hInstance, param);
}

void FillBenchFrame(HWND control) {
    MoveWindow(control, 0, 0, 380, 460, TRUE);
}

}  // namespace tavelin::bench
