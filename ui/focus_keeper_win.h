#pragma once
// Keeps the keyboard on one of a top-level window's controls, as the dialog manager does for
// dialogs: the focused control is remembered when the window is deactivated or the control is
// disabled, and given back when the window is activated or focused again, or the control enabled.
#include <windows.h>

namespace tavelin::ui {

class FocusKeeper {
  public:
    void Attach(HWND window) { window_ = window; }

    // WM_ACTIVATE with WA_INACTIVE: the focus is still on the control that had it.
    void Deactivated();
    // WM_ACTIVATE (active, not minimised) and WM_SETFOCUS of the window itself: the remembered
    // control, or the first tab stop when that one cannot take the keyboard.
    void Restore();
    // Before `control` is disabled: a disabled window loses the keyboard to no one.
    void Disabling(HWND control);
    // After `control` is enabled: it gets the keyboard back unless the user gave it to another.
    void Enabled(HWND control);

  private:
    bool CanTakeFocus(HWND control) const;

    HWND window_ = nullptr;
    HWND saved_ = nullptr;
};

}  // namespace tavelin::ui
