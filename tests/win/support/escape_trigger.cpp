#include "escape_trigger.h"

#include <commctrl.h>

namespace tavelin::test {

EscapeTrigger::EscapeTrigger(HWND window, UINT message, int count)
    : window_(window), message_(message), remaining_(count) {
    SetWindowSubclass(window_, &EscapeTrigger::Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
}

EscapeTrigger::~EscapeTrigger() {
    if (IsWindow(window_))
        RemoveWindowSubclass(window_, &EscapeTrigger::Subclass, 0);
}

LRESULT CALLBACK
EscapeTrigger::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<EscapeTrigger*>(data);
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == self->message_ && self->remaining_ > 0 && --self->remaining_ == 0)
        self->held_ = std::make_unique<EscapeHeld>();
    return result;
}

}  // namespace tavelin::test
