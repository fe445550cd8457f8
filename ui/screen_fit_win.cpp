#include "ui/screen_fit_win.h"

namespace tavelin::ui {

namespace {

Bounds FromRect(const RECT& rc) {
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

int CaptionHeight() {
    return GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER) + GetSystemMetrics(SM_CYCAPTION);
}

}  // namespace

Bounds ReachableWindowBounds(const Bounds& requested) {
    const Bounds bounds = AtLeastSize(requested, GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK));
    const Edges strip = CaptionStrip(bounds, CaptionHeight());
    const RECT caption{strip.left, strip.top, strip.right, strip.bottom};
    if (MonitorFromRect(&caption, MONITOR_DEFAULTTONULL))
        return bounds;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&caption, MONITOR_DEFAULTTONEAREST), &info))
        return bounds;
    return MovedInside(bounds, FromRect(info.rcWork));
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
