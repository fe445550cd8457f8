#pragma once
// A single-line, read-only edit box that reports left-button clicks; keys do not count.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/window_win.h"

namespace tavelin::ui {

class ClickableEdit : public Window<ClickableEdit> {
  public:
    ClickableEdit() = default;
    ~ClickableEdit() { DestroyHandle(); }
    void Create(HWND parent, int id);
    void SetText(const std::wstring& text);

    std::function<void()> onClick;

  private:
    friend class Window<ClickableEdit>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool pressed_ = false;
};

}  // namespace tavelin::ui
