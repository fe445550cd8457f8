#include "ui/focus_keeper_win.h"

namespace tavelin::ui {

void FocusKeeper::Deactivated() {
    const HWND focus = GetFocus();
    if (focus && IsChild(window_, focus))
        saved_ = focus;
}

void FocusKeeper::Restore() {
    HWND target = CanTakeFocus(saved_) ? saved_ : GetNextDlgTabItem(window_, nullptr, FALSE);
    if (CanTakeFocus(target) && GetFocus() != target)
        SetFocus(target);
}

void FocusKeeper::Disabling(HWND control) {
    if (GetFocus() == control)
        saved_ = control;
}

void FocusKeeper::Enabled(HWND control) {
    const HWND focus = GetFocus();
    if (control == saved_ && GetActiveWindow() == window_ && (!focus || focus == window_))
        Restore();
}

bool FocusKeeper::CanTakeFocus(HWND control) const {
    return control && IsWindow(control) && IsChild(window_, control) && IsWindowVisible(control) &&
           IsWindowEnabled(control);
}

}  // namespace tavelin::ui
