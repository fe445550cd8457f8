#include "ui/status_bar_win.h"

#include "ui/dpi_scale.h"
#include "ui/scoped_dc_win.h"
#include "ui/window_dpi_win.h"

namespace tavelin::ui {

namespace {
constexpr wchar_t kClassName[] = L"TavelinStatusBar";
}  // namespace

StatusBar::~StatusBar() {
    DestroyHandle();
}

void StatusBar::Create(HWND parent, int id) {
    Register(kClassName, CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    Window::Create(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    SetDpi(WindowDpi(parent));
}

void StatusBar::SetDpi(int dpi) {
    const NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(dpi);
    font_.Reset(CreateFontIndirectW(&metrics.lfStatusFont));
    dpi_ = dpi;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void StatusBar::SetText(const std::wstring& text) {
    SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::RepaintNow() {
    if (!IsWindowVisible(Handle()))
        return;
    WindowDc dc(Handle());
    Paint(dc.Get());
}

RECT StatusBar::GripRect() const {
    RECT rc;
    GetClientRect(Handle(), &rc);
    // The system's metric is at the screen's resolution, which may not be this window's.
    int size = ScaleLength(GetSystemMetrics(SM_CXVSCROLL), ScreenDpi(), dpi_);
    return {rc.right - size, rc.bottom - size, rc.right, rc.bottom};
}

void StatusBar::Paint(HDC dc) {
    RECT rc;
    GetClientRect(Handle(), &rc);
    bool grip = !IsZoomed(GetAncestor(Handle(), GA_ROOT));
    RECT gripRect = GripRect();
    {
        SelectedObject font(dc, font_.Get());
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT textRect = rc;
        if (grip)
            textRect.right = gripRect.left;
        // One call fills the background and draws the text, clipped before the grip.
        ExtTextOutW(dc, textRect.left + 3, (rc.bottom - tm.tmHeight) / 2, ETO_OPAQUE | ETO_CLIPPED, &textRect,
                    text_.c_str(), static_cast<UINT>(text_.size()), nullptr);
    }
    if (grip) {
        // The grip is square and the bar may be taller: the strip above it is ours to fill.
        RECT column{gripRect.left, rc.top, rc.right, gripRect.top};
        FillRect(dc, &column, GetSysColorBrush(COLOR_BTNFACE));
        DrawFrameControl(dc, &gripRect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

LRESULT StatusBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            text_ = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            if (!invalid_) {
                invalid_ = true;
                InvalidateRect(Handle(), nullptr, FALSE);
            }
            return TRUE;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(text_.size());
        case WM_GETTEXT: {
            if (wParam == 0)
                return 0;
            size_t n = std::min<size_t>(text_.size(), wParam - 1);
            auto* out = reinterpret_cast<wchar_t*>(lParam);
            text_.copy(out, n);
            out[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
        case WM_PAINT: {
            invalid_ = false;
            PaintDc dc(Handle());
            Paint(dc.Get());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST: {
            POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ScreenToClient(Handle(), &pt);
            RECT grip = GripRect();
            if (PtInRect(&grip, pt) && !IsZoomed(GetAncestor(Handle(), GA_ROOT)))
                return HTBOTTOMRIGHT;
            return HTCLIENT;
        }
        case WM_NCLBUTTONDOWN:
            // The grip sizes the top-level window, as its own corner would.
            if (wParam == HTBOTTOMRIGHT) {
                SendMessageW(GetAncestor(Handle(), GA_ROOT), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, lParam);
                return 0;
            }
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace tavelin::ui
