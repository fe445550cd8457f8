#pragma once
// The window base: one window procedure thunk for every window of ours, both those of our own
// classes and the system controls we wrap.
#include <windows.h>

#include <cassert>

namespace tavelin::ui {

// Called inside a catch block when a message handler threw: the application's error box shows
// once the message loop runs again, after every handler under way has unwound, never inside the
// painting or sizing that failed.
void ReportHandlerException() noexcept;
// Called inside a catch block outside any window procedure: shows the error box at once.
void ShowHandlerException() noexcept;

// T derives from Window<T> and defines `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, which
// may throw and passes what it does not handle to DefaultProc. Creating passes `this` to
// WM_NCCREATE; a system control is hooked once created, and DefaultProc is then its own
// procedure. WM_NCDESTROY forgets `this` and the handle.
// T's destructor calls DestroyHandle() while T can still answer the window's last messages; a
// window destroyed earlier (with its parent) has left no handle behind to destroy again.
template <class T>
class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

  protected:
    // By now T is gone: a window still here must not reach it any more. Only a derived destructor
    // that forgot DestroyHandle() leaves one, which debug builds report.
    ~Window() {
        assert(!hwnd_ && "the derived destructor must call DestroyHandle()");
        if (!hwnd_)
            return;
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        if (controlProc_)
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
    }

    void DestroyHandle() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }

    static void Register(const wchar_t* className,
                         UINT style,
                         HCURSOR cursor,
                         HBRUSH background,
                         HICON icon = nullptr) {
        WNDCLASSEXW wc{};
        if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc))
            return;
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }

    HWND Create(DWORD exStyle,
                const wchar_t* className,
                const wchar_t* title,
                DWORD style,
                int x,
                int y,
                int width,
                int height,
                HWND parent,
                HMENU menuOrId) {
        return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                               GetModuleHandleW(nullptr), static_cast<T*>(this));
    }

    // Creates a system control of `className` whose messages reach HandleMessage first. The
    // hook is the window procedure itself rather than the common controls' subclass, which looks
    // up window properties at every message, painting included: a round trip to another process
    // under some implementations, paid for each item a tree view is given.
    HWND CreateControl(DWORD exStyle, const wchar_t* className, DWORD style, HWND parent, int id) {
        const HWND hwnd =
            CreateWindowExW(exStyle, className, L"", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        if (!hwnd)
            return nullptr;
        hwnd_ = hwnd;
        controlProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<T*>(this)));
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure));
        return hwnd;
    }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
        if (controlProc_)
            return CallWindowProcW(controlProc_, hwnd_, message, wParam, lParam);
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        T* self = nullptr;
        if (message == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result = 0;
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            ReportHandlerException();
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    friend T;
    HWND hwnd_ = nullptr;
    WNDPROC controlProc_ = nullptr;
};

}  // namespace tavelin::ui
