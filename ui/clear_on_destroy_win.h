#pragma once
// For wrappers of system controls (tree view, edit), which get no WM_NCDESTROY of their own.
#include <windows.h>

namespace tavelin::ui {

// Sets `handle` to nullptr when its window is destroyed, so that an owner whose window went
// with its parent calls nothing on the dead handle. `handle` must outlive the window or be
// the one its owner destroys it through.
void ClearOnDestroy(HWND& handle);

}  // namespace tavelin::ui
