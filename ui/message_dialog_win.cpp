#include "ui/message_dialog_win.h"

#include <algorithm>
#include <vector>

#include "ui/dpi_scale.h"
#include "ui/gdi_object_win.h"
#include "ui/scoped_dc_win.h"
#include "ui/screen_fit.h"
#include "ui/window_dpi_win.h"

namespace tavelin::ui {

namespace {

struct ButtonDef {
    int id;
    const wchar_t* text;
};

struct FormDef {
    const wchar_t* caption;
    const wchar_t* icon;
    std::vector<ButtonDef> buttons;  // the first is the default
    int escapeResult;                // what Esc answers: the cancel button's result
};

FormDef FormFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return {L"情報", IDI_INFORMATION, {{IDOK, L"OK"}}, IDOK};
        case MessageKind::Error:
            return {L"エラー", IDI_HAND, {{IDOK, L"OK"}}, IDOK};
        case MessageKind::Confirmation:
            break;
    }
    return {L"確認", IDI_QUESTION, {{IDYES, L"はい(&Y)"}, {IDNO, L"いいえ(&N)"}}, IDNO};
}

// Margins and sizes in units of the message font's average character width (x) and height
// (y), so the dialog grows with the system's font settings.
constexpr int kMarginX = 2, kMarginY = 1;  // around everything, in characters / lines
constexpr int kIconGap = 2;                // between the icon and the text, in characters
constexpr int kButtonMinWidth = 12;        // in characters
constexpr int kButtonGap = 1;              // between buttons, in characters
constexpr int kIconSize = 32;              // at 96 dpi

struct DialogState {
    const std::wstring* text;
    FormDef form;
    UniqueFont font;
    HICON icon = nullptr;
};

HWND AddControl(HWND dialog, const wchar_t* cls, const wchar_t* text, DWORD style, int id, RECT r, HFONT font) {
    HWND control =
        CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// What the message font makes of the dialog's units, its text and its widest button.
struct Measures {
    int unitX = 1;
    int unitY = 1;
    RECT textRect{};
    int buttonWidth = 0;
};

Measures Measure(HWND dialog, const DialogState& state, int wrapWidth) {
    WindowDc dc(dialog);
    SelectedObject font(dc.Get(), state.font.Get());
    Measures m;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    SIZE alphabet{};
    GetTextExtentPoint32W(dc.Get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    m.unitX = std::max(1, static_cast<int>((alphabet.cx / 26 + 1) / 2));
    m.unitY = std::max(1, static_cast<int>(tm.tmHeight));

    m.textRect = RECT{0, 0, wrapWidth, 0};
    DrawTextW(dc.Get(), state.text->c_str(), static_cast<int>(state.text->size()), &m.textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    m.buttonWidth = kButtonMinWidth * m.unitX;
    for (const ButtonDef& b : state.form.buttons) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc.Get(), b.text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
        m.buttonWidth = std::max(m.buttonWidth, static_cast<int>(r.right) + 4 * m.unitX);
    }
    return m;
}

// The work area of the monitor that shows most of the dialog's owner, where the dialog goes.
Bounds OwnersWorkArea(HWND dialog, HMONITOR& monitor) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    monitor = MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& w = info.rcWork;
    return {w.left, w.top, w.right - w.left, w.bottom - w.top};
}

// Measures the text and the buttons in the message font, creates the controls and sizes the
// dialog around them, centred on its owner's monitor. Everything is measured at that monitor's
// resolution, the dialog's own once it is there: the system's metrics of another display would
// make its font and frame too small or too large.
void Layout(HWND dialog, DialogState& state) {
    HMONITOR monitor = nullptr;
    const Bounds work = OwnersWorkArea(dialog, monitor);
    const int dpi = MonitorDpi(monitor);
    const NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(dpi);
    state.font.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
    // A shared icon would keep whichever size was loaded first, so this one is the dialog's own.
    const int iconSize = ToDpi(kIconSize, dpi);
    state.icon =
        static_cast<HICON>(LoadImageW(nullptr, state.form.icon, IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR));

    const Measures measures = Measure(dialog, state, work.width / 2);
    const int unitX = measures.unitX;
    const int unitY = measures.unitY;
    const RECT textRect = measures.textRect;
    const int buttonWidth = measures.buttonWidth;

    const int buttonHeight = unitY * 7 / 4 + 4;
    const int buttonCount = static_cast<int>(state.form.buttons.size());
    const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * kButtonGap * unitX;
    const int textLeft = kMarginX * unitX + iconSize + kIconGap * unitX;
    const int textWidth = textRect.right - textRect.left;
    const int textHeight = textRect.bottom - textRect.top;
    const int clientWidth = std::max(textLeft + textWidth, buttonsWidth) + kMarginX * unitX;
    const int bodyHeight = std::max(iconSize, textHeight);
    const int buttonTop = kMarginY * unitY + bodyHeight + unitY;
    const int clientHeight = buttonTop + buttonHeight + kMarginY * unitY;

    const int top = kMarginY * unitY;
    HWND iconControl =
        AddControl(dialog, L"STATIC", nullptr, SS_ICON, -1,
                   {kMarginX * unitX, top, kMarginX * unitX + iconSize, top + iconSize}, state.font.Get());
    SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(state.icon), 0);
    const int textTop = top + (textHeight < iconSize ? (iconSize - textHeight) / 2 : 0);
    AddControl(dialog, L"STATIC", state.text->c_str(), SS_LEFT | SS_NOPREFIX, -1,
               {textLeft, textTop, textLeft + textWidth, textTop + textHeight}, state.font.Get());

    int left = (clientWidth - buttonsWidth) / 2;
    for (int i = 0; i < buttonCount; ++i) {
        const ButtonDef& b = state.form.buttons[static_cast<std::size_t>(i)];
        HWND button =
            AddControl(dialog, L"BUTTON", b.text,
                       WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (i == 0 ? WS_GROUP : 0), b.id,
                       {left, buttonTop, left + buttonWidth, buttonTop + buttonHeight}, state.font.Get());
        if (i == 0)
            SetFocus(button);
        left += buttonWidth + kButtonGap * unitX;
    }
    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(state.form.buttons.front().id), 0);

    const SIZE frame = WindowSizeForClient(dialog, clientWidth, clientHeight, dpi);
    const Bounds b = CenteredIn(frame.cx, frame.cy, work);
    SetWindowPos(dialog, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            state = reinterpret_cast<DialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->form.caption);
            Layout(dialog, *state);
            return FALSE;  // the focus is already on the default button
        case WM_COMMAND:
            if (!state)
                return FALSE;
            // The dialog manager turns Esc into IDCANCEL; it answers as the cancel button would.
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, state->form.escapeResult);
                return TRUE;
            }
            for (const ButtonDef& b : state->form.buttons) {
                if (b.id == LOWORD(wParam)) {
                    EndDialog(dialog, b.id);
                    return TRUE;
                }
            }
            return FALSE;
        case WM_CLOSE:
            // Left alone, the close box would arrive as IDCANCEL and look like Esc.
            EndDialog(dialog, IDCANCEL);
            return TRUE;
    }
    return FALSE;
}

// An empty in-memory template: the controls are made at run time, measured in pixels.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WORD title;
};

}  // namespace

int MessageDlg(HWND owner, const std::wstring& text, MessageKind kind) {
    EmptyTemplate tmpl{};
    tmpl.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    tmpl.header.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    DialogState state{&text, FormFor(kind), UniqueFont(), nullptr};
    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &tmpl.header, owner, &DialogProc,
                                             reinterpret_cast<LPARAM>(&state));
    if (state.icon)
        DestroyIcon(state.icon);
    return static_cast<int>(result);
}

}  // namespace tavelin::ui
