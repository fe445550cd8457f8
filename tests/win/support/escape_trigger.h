#pragma once
// Presses Escape (and holds it until destroyed) when a window has received a given message a
// given number of times: a long loop can then be stopped at a known point.
#include <windows.h>

#include <memory>

#include "escape_key.h"

namespace tavelin::test {

class EscapeTrigger {
  public:
    EscapeTrigger(HWND window, UINT message, int count);
    ~EscapeTrigger();
    EscapeTrigger(const EscapeTrigger&) = delete;
    EscapeTrigger& operator=(const EscapeTrigger&) = delete;

    bool Pressed() const { return held_ != nullptr; }

  private:
    static LRESULT CALLBACK Subclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
    HWND window_;
    UINT message_;
    int remaining_;
    std::unique_ptr<EscapeHeld> held_;
};

}  // namespace tavelin::test
