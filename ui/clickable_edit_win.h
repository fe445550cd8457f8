#pragma once
// A single-line, read-only edit box that reports left-button clicks; keys do not count.
#include <windows.h>

#include <functional>
#include <string>

namespace tavelin::ui {

class ClickableEdit {
  public:
    ClickableEdit() = default;
    ClickableEdit(const ClickableEdit&) = delete;
    ClickableEdit& operator=(const ClickableEdit&) = delete;
    ~ClickableEdit();
    void Create(HWND parent, int id);
    HWND Handle() const { return hwnd_; }
    void SetText(const std::wstring& text);

    std::function<void()> onClick;

  private:
    static LRESULT CALLBACK Subclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
    HWND hwnd_ = nullptr;
    bool pressed_ = false;
};

}  // namespace tavelin::ui
