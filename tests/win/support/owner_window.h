#pragma once
// A plain top-level window to own the dialogs and hold the controls under test. It paints its
// background and nothing else, clips its children, and goes when the object does.
#include <windows.h>

namespace tavelin::test {

struct ClientSize {
    int width = 0;
    int height = 0;
};

class OwnerWindow {
  public:
    // Visible at once, the frame included in the size: an owner for dialogs.
    OwnerWindow(int x = 100, int y = 80, int width = 400, int height = 300);
    // Hidden at the screen's corner with a client area of exactly this size, so that a control's
    // test lays its children out in known coordinates and shows the window once they are there.
    explicit OwnerWindow(ClientSize client);
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return hwnd_; }

  private:
    void Create(DWORD visible, int x, int y, int width, int height);

    HWND hwnd_ = nullptr;
};

}  // namespace tavelin::test
