#include "ui/clickable_edit_win.h"

namespace tavelin::ui {

void ClickableEdit::Create(HWND parent, int id) {
    CreateControl(WS_EX_CLIENTEDGE, L"EDIT", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, parent, id);
}

void ClickableEdit::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
}

// A click is a press and a release of the left button; the edit captures the mouse between
// them, so the release arrives here even when it happens outside.
LRESULT ClickableEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefaultProc(message, wParam, lParam);
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        pressed_ = true;
    } else if (message == WM_LBUTTONUP && pressed_) {
        pressed_ = false;
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT rc;
        GetClientRect(hwnd_, &rc);
        if (PtInRect(&rc, pt) && onClick)
            onClick();
    }
    return result;
}

}  // namespace tavelin::ui
