#include "ui/clear_on_destroy_win.h"

#include <commctrl.h>

namespace tavelin::ui {

namespace {

LRESULT CALLBACK
ClearingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &ClearingProc, 0);
        *reinterpret_cast<HWND*>(data) = nullptr;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void ClearOnDestroy(HWND& handle) {
    SetWindowSubclass(handle, &ClearingProc, 0, reinterpret_cast<DWORD_PTR>(&handle));
}

}  // namespace tavelin::ui
