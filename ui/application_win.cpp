#include "ui/application_win.h"

#include <commctrl.h>
#include <ole2.h>

#include <string>
#include <utility>

namespace tavelin::ui {

namespace {
constexpr wchar_t kClassName[] = L"TavelinApplication";
constexpr UINT kShowPostedError = WM_APP + 1;

}  // namespace

// Tab and Shift+Tab walk the main window's tab stops (the tree, then the grid), also from the
// window itself, where the keyboard is when no control has it. A drag holding the mouse keeps
// the keyboard where it is, so that Esc still reaches the control that cancels it.
bool Application::MovesFocusByTab(const MSG& msg) const {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !main_ || (msg.hwnd != main_ && !IsChild(main_, msg.hwnd)))
        return false;
    if (GetCapture())
        return true;
    bool back = GetKeyState(VK_SHIFT) < 0;
    if (HWND next = GetNextDlgTabItem(main_, msg.hwnd == main_ ? nullptr : msg.hwnd, back))
        SetFocus(next);
    return true;
}

void Application::Deliver(const MSG& msg) {
    if (MovesFocusByTab(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

Application& Application::Instance() {
    static Application instance;
    return instance;
}

void Application::Initialize(HICON icon) {
    if (Handle())
        return;
    // Screen readers reach the grid's accessible object through COM, which needs this thread in
    // an apartment, and the folder dialogs' drag and drop and clipboard need OLE on it, started
    // before any other call into COM; both stay for the life of the process.
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    Register(kClassName, 0, LoadCursorW(nullptr, IDC_ARROW), nullptr, icon);
    // A zero-sized, visible popup in the middle of the screen: it owns the main window, so the
    // task bar shows its title rather than the main window's caption.
    int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    Create(0, kClassName, L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
           nullptr, nullptr);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void Application::SetTitle(const std::wstring& title) {
    SetWindowTextW(Handle(), title.c_str());
}

std::wstring Application::Title() const {
    std::wstring text(GetWindowTextLengthW(Handle()) + 1, L'\0');
    text.resize(GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size())));
    return text;
}

void Application::Minimize() {
    ShowWindow(Handle(), SW_MINIMIZE);
}

void Application::ShowMainWindow(int showCommand) {
    if (showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED || showCommand == SW_SHOWMINNOACTIVE ||
        showCommand == SW_FORCEMINIMIZE) {
        Minimize();
        return;
    }
    ShowWindow(main_, showCommand);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

int Application::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        Deliver(msg);
    return static_cast<int>(msg.wParam);
}

void Application::ShowErrorBox(const std::wstring& message) {
    HWND owner = main_ && IsWindowEnabled(main_) ? main_ : Handle();
    std::wstring title = Title();
    MessageBoxW(owner, WithClosingFullStop(message).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void Application::PostErrorBox(const std::wstring& message) {
    if (!Handle() || !PostMessageW(Handle(), kShowPostedError, 0, 0)) {
        ShowErrorBox(message);
        return;
    }
    errorsToShow_.push_back(message);
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // One box after the other, in the order of the errors: the box's own loop takes the
        // messages of later ones, which wait for it.
        case kShowPostedError:
            if (showingErrors_)
                return 0;
            showingErrors_ = true;
            {
                const struct Shown {
                    bool& showing;
                    ~Shown() { showing = false; }
                } shown{showingErrors_};
                while (!errorsToShow_.empty()) {
                    const std::wstring error = std::move(errorsToShow_.front());
                    errorsToShow_.pop_front();
                    ShowErrorBox(error);
                }
            }
            return 0;
        case WM_SIZE:
            // Owned windows follow the owner into and out of the task bar.
            if (main_ && wParam == SIZE_MINIMIZED)
                ShowWindow(main_, SW_HIDE);
            else if (main_ && wParam == SIZE_RESTORED && !IsWindowVisible(main_))
                ShowWindow(main_, SW_SHOW);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && main_ && IsWindowVisible(main_))
                SetActiveWindow(main_);
            return 0;
        case WM_CLOSE:
            if (main_)
                PostMessageW(main_, WM_CLOSE, 0, 0);
            return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

std::wstring WithClosingFullStop(const std::wstring& message) {
    if (message.empty())
        return message;
    char bytes[8];
    int n =
        WideCharToMultiByte(CP_ACP, 0, message.data() + message.size() - 1, 1, bytes, sizeof bytes, nullptr, nullptr);
    if (n > 0 && static_cast<unsigned char>(bytes[n - 1]) > static_cast<unsigned char>('.'))
        return message + L".";
    return message;
}

}  // namespace tavelin::ui
