#pragma once
// The status bar with its one simple text, the program's status line.
#include <windows.h>

#include <string>

namespace tavelin::ui {

class StatusBar {
  public:
    void Create(HWND parent, int id);
    HWND Handle() const { return hwnd_; }
    void SetText(const std::wstring& text);
    std::wstring Text() const;
    // Paints the bar before returning, for loops that keep the message queue waiting.
    void RepaintNow();

  private:
    HWND hwnd_ = nullptr;
};

}  // namespace tavelin::ui
