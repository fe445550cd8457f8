#pragma once
// Where a top-level window with a caption goes, and where it was when it was last neither
// minimised nor maximised.
#include <windows.h>

#include "ui/screen_fit.h"
#include "ui/window_placement.h"

namespace tavelin::ui {

// PlaceWindow on the monitors of this desktop as they are now.
Bounds PlaceOnDesktop(const Bounds& saved, Size minimum);

// The window's normal bounds in screen coordinates, whatever its state: the restored bounds of
// a minimised or maximised window, the last bounds of a hidden one.
Bounds NormalWindowBounds(HWND window);

}  // namespace tavelin::ui
