#pragma once
// Where a top-level window with a caption goes, what of it is seen, and which bounds it leaves
// behind when it closes.
#include <windows.h>

#include "ui/screen_fit.h"
#include "ui/window_placement.h"

namespace tavelin::ui {

// PlaceWindow on the monitors of this desktop as they are now.
Bounds PlaceOnDesktop(const Bounds& saved, Size minimum, const HiddenFrame& hidden);

// The borders of the window's rectangle that are not drawn, at the window's resolution; none where
// the system does not tell the visible frame (before Windows Vista, or before the window shows).
HiddenFrame HiddenFrameOf(HWND window);

// The window's bounds in screen coordinates as they are, maximised or not; for a minimised window,
// whose own rectangle is off every screen, the bounds it is restored to.
Bounds BoundsToKeep(HWND window);

}  // namespace tavelin::ui
