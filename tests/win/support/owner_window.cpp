#include "support/owner_window.h"

namespace tavelin::test {

namespace {
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}  // namespace

OwnerWindow::OwnerWindow(int x, int y, int width, int height) {
    Create(WS_VISIBLE, x, y, width, height);
}

OwnerWindow::OwnerWindow(ClientSize client) {
    RECT frame{0, 0, client.width, client.height};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    Create(0, 0, 0, frame.right - frame.left, frame.bottom - frame.top);
}

OwnerWindow::~OwnerWindow() {
    DestroyWindow(hwnd_);
}

void OwnerWindow::Create(DWORD visible, int x, int y, int width, int height) {
    static const wchar_t* const kClass = L"TavelinTestOwner";
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, kClass, L"owner", kStyle | visible, x, y, width, height, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

}  // namespace tavelin::test
