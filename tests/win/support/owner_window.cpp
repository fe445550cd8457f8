#include "support/owner_window.h"

namespace tavelin::test {

OwnerWindow::OwnerWindow(int x, int y, int width, int height) {
    static const wchar_t* const kClass = L"TavelinTestOwner";
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, kClass, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow() {
    DestroyWindow(hwnd_);
}

}  // namespace tavelin::test
