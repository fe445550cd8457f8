#include "ui/clickable_edit_win.h"

#include <commctrl.h>

#include "ui/clear_on_destroy_win.h"
#include "ui/window_win.h"

namespace tavelin::ui {

ClickableEdit::~ClickableEdit() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void ClickableEdit::Create(HWND parent, int id) {
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 0, 0,
                            0, 20, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                            nullptr);
    SetWindowSubclass(hwnd_, &ClickableEdit::Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
    ClearOnDestroy(hwnd_);
}

void ClickableEdit::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
}

// A click is a press and a release of the left button; the edit captures the mouse between
// them, so the release arrives here even when it happens outside.
LRESULT CALLBACK
ClickableEdit::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<ClickableEdit*>(data);
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    try {
        if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(hwnd, &ClickableEdit::Subclass, 0);
        } else if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
            self->pressed_ = true;
        } else if (message == WM_LBUTTONUP && self->pressed_) {
            self->pressed_ = false;
            POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT rc;
            GetClientRect(hwnd, &rc);
            if (PtInRect(&rc, pt) && self->onClick)
                self->onClick();
        }
    } catch (...) {
        ReportHandlerException();
    }
    return result;
}

}  // namespace tavelin::ui
