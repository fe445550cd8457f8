#pragma once
// The window base: one window procedure thunk for every window class of ours.
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
// may throw. Creating passes `this` to WM_NCCREATE; WM_NCDESTROY forgets it and the handle.
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
        if (hwnd_)
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
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

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
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
};

}  // namespace tavelin::ui
