#include "ui/screen_fit_win.h"

#include <vector>

#include "ui/window_dpi_win.h"

namespace tavelin::ui {

namespace {

Bounds FromRect(const RECT& rc) {
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

Edges EdgesOfRect(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
            {EdgesOfRect(info.rcMonitor), EdgesOfRect(info.rcWork), MonitorDpi(monitor)});
    return TRUE;
}

}  // namespace

Bounds PlaceOnDesktop(const Bounds& saved, Size minimum) {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return PlaceWindow(saved, minimum, monitors);
}

// A shown or hidden window's own rectangle is exact. The placement's normal rectangle is kept
// for minimised and maximised windows, but in workspace coordinates: relative to the work area,
// which a task bar on the left or at the top moves away from the screen's origin.
Bounds NormalWindowBounds(HWND window) {
    if (!IsIconic(window) && !IsZoomed(window)) {
        RECT rc{};
        GetWindowRect(window, &rc);
        return FromRect(rc);
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    Bounds bounds = FromRect(placement.rcNormalPosition);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
        bounds.left += info.rcWork.left - info.rcMonitor.left;
        bounds.top += info.rcWork.top - info.rcMonitor.top;
    }
    return bounds;
}

}  // namespace tavelin::ui
