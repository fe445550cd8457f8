#pragma once
// The application object: the hidden owner window that carries the task-bar title, the
// message loop, and the error box for exceptions that escape a handler.
#include <windows.h>

#include <deque>
#include <string>

#include "ui/window_win.h"

namespace tavelin::ui {

class Application : public Window<Application> {
  public:
    static Application& Instance();

    // Registers the common controls and creates the owner window with `icon`, which the task bar
    // shows. Later calls do nothing.
    void Initialize(HICON icon);
    void SetTitle(const std::wstring& title);
    std::wstring Title() const;
    HWND OwnerWindow() const { return Handle(); }
    // The window whose minimising minimises the application; restoring shows it again.
    void SetMainWindow(HWND main) { main_ = main; }
    void Minimize();
    // Shows the main window in the state its starter asked for. A minimised start minimises the
    // application instead, as its minimise command does, and the main window appears when the
    // application is restored.
    void ShowMainWindow(int showCommand);

    // Runs the message loop until WM_QUIT and returns its exit code.
    int Run();
    // What the loop does with each message: the keys that move the focus, then the window's own.
    void Deliver(const MSG& msg);

    // Shows `message` in the error box: the application title as caption, the error icon, OK.
    void ShowErrorBox(const std::wstring& message);
    // The same, once the message loop takes the next message; at once before Initialize.
    void PostErrorBox(const std::wstring& message);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    Application() = default;
    ~Application() { DestroyHandle(); }
    bool MovesFocusByTab(const MSG& msg) const;
    HWND main_ = nullptr;
    std::deque<std::wstring> errorsToShow_;
    bool showingErrors_ = false;
};

// The error box's text: a message whose last code-page byte sorts after "." gets one appended,
// so a sentence ending in a Japanese character is closed while one ending in "." or "!" is not.
std::wstring WithClosingFullStop(const std::wstring& message);

}  // namespace tavelin::ui
