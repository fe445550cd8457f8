#pragma once
// The resolution of the display a window is on.
#include <windows.h>

namespace tavelin::ui {

// The window's own resolution where the system tells it per window (Windows 10 1607 and later),
// else the screen's.
int WindowDpi(HWND hwnd);

// The resolution that the system's metrics (GetSystemMetrics) are given at.
int ScreenDpi();

// The system's non-client metrics (fonts of menus, status bars, message boxes) at `dpi`.
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi);

}  // namespace tavelin::ui
