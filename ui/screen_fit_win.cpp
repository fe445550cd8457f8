#include "ui/screen_fit_win.h"

#include <dwmapi.h>

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

// The window's visible frame as the desktop window manager draws it. Its library is not one that
// the system always takes from its own folder, so it is loaded from there by name, and only once
// it is needed.
bool VisibleFrame(HWND window, RECT& frame) {
    using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    static const auto getAttribute = []() -> DwmGetWindowAttributeFn {
        const HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return dwm ? reinterpret_cast<DwmGetWindowAttributeFn>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    return getAttribute && SUCCEEDED(getAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame));
}

}  // namespace

Bounds PlaceOnDesktop(const Bounds& saved, Size minimum, const HiddenFrame& hidden) {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return PlaceWindow(saved, minimum, monitors, hidden);
}

// The program is aware of each monitor's resolution, so the frame's physical pixels and the
// window's rectangle are in the same coordinates.
HiddenFrame HiddenFrameOf(HWND window) {
    HiddenFrame hidden{{}, WindowDpi(window)};
    RECT rc{}, frame{};
    if (GetWindowRect(window, &rc) && VisibleFrame(window, frame))
        hidden.thickness = HiddenBorders(EdgesOfRect(rc), EdgesOfRect(frame));
    return hidden;
}

// A shown, hidden or maximised window's own rectangle is exact. The placement's normal rectangle
// of a minimised one is in workspace coordinates: relative to the work area, which a task bar on
// the left or at the top moves away from the screen's origin.
Bounds BoundsToKeep(HWND window) {
    if (!IsIconic(window)) {
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
