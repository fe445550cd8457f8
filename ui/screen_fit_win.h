#pragma once
// Where a top-level window with a caption goes, and where it was when it was last neither
// minimised nor maximised.
#include <windows.h>

#include "ui/screen_fit.h"

namespace tavelin::ui {

// The requested bounds when any part of the caption would be on a monitor; otherwise moved onto
// the work area of the nearest one. Sizes below the system's minimum get the minimum.
Bounds ReachableWindowBounds(const Bounds& requested);

// The window's normal bounds in screen coordinates, whatever its state: the restored bounds of
// a minimised or maximised window, the last bounds of a hidden one.
Bounds NormalWindowBounds(HWND window);

}  // namespace tavelin::ui
