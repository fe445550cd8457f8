#pragma once
// A plain visible top-level window to own the dialogs under test.
#include <windows.h>

namespace tavelin::test {

class OwnerWindow {
  public:
    OwnerWindow(int x = 100, int y = 80, int width = 400, int height = 300);
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

}  // namespace tavelin::test
