#pragma once
// The resolution of the display a window is on.
#include <windows.h>

namespace tavelin::ui {

// The window's own resolution where the system tells it per window (Windows 10 1607 and later),
// else the screen's.
int WindowDpi(HWND hwnd);

// The resolution of a monitor: its own where the system tells it (Windows 8.1 and later), else
// the screen's.
int MonitorDpi(HMONITOR monitor);

// The size of `window` (its styles and menu bar) around a client area of `clientWidth` by
// `clientHeight` at `dpi`.
SIZE WindowSizeForClient(HWND window, int clientWidth, int clientHeight, int dpi);

// The resolution that the system's metrics (GetSystemMetrics) are given at.
int ScreenDpi();

// The system's non-client metrics (fonts of menus, status bars, message boxes) at `dpi`.
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi);

}  // namespace tavelin::ui
