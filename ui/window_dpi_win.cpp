#include "ui/window_dpi_win.h"

#include <initializer_list>

#include "ui/dpi_scale.h"
#include "ui/scoped_dc_win.h"

namespace tavelin::ui {

namespace {

// Looked up at run time: Windows 7 and older Wine have neither function, and the program must
// still start there.
template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    // From the system folder only: a library of that name beside the program must not be loaded.
    static const auto getDpiForMonitor = []() -> GetDpiForMonitorFn {
        const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    constexpr int kEffectiveDpi = 0;
    UINT x = 0, y = 0;
    if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return ScreenDpi();
}

// Without the per-resolution form the frame is the one of the screen's resolution, which on a
// system that old is the only one.
SIZE WindowSizeForClient(HWND window, int clientWidth, int clientHeight, int dpi) {
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    const BOOL menu = GetMenu(window) != nullptr;
    RECT rc{0, 0, clientWidth, clientHeight};
    if (!adjustForDpi || !adjustForDpi(&rc, style, menu, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rc, style, menu, exStyle);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

int ScreenDpi() {
    const WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    // 0 for a window handle that is no longer valid.
    if (const UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0)
        return static_cast<int>(dpi);
    return ScreenDpi();
}

// Without the per-resolution query the system's metrics are at the screen's resolution, and
// their fonts are scaled from there.
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi) {
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics;
    metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const int screen = ScreenDpi();
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont, &metrics.lfStatusFont,
                           &metrics.lfMessageFont})
        font->lfHeight = ScaleLength(font->lfHeight, screen, dpi);
    return metrics;
}

}  // namespace tavelin::ui
