#include "ui/panel_win.h"

#include "ui/reflected_notify_win.h"

namespace tavelin::ui {

void Panel::Create(HWND parent, int id) {
    Register(L"TavelinPanel", 0, LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    Window::Create(WS_EX_CONTROLPARENT, L"TavelinPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            children_.Apply(Handle());
            if (onResize)
                onResize();
            return 0;
        case WM_NOTIFY:
            return ReflectNotify(lParam);
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return SendMessageW(GetParent(Handle()), message, wParam, lParam);
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace tavelin::ui
