#pragma once
// A plain container in the button-face colour whose docked children follow its size. It hands
// its children's commands and notifications on to its own parent, so the form handles them.
#include <windows.h>

#include <functional>

#include "ui/docked_children_win.h"
#include "ui/window_win.h"

namespace tavelin::ui {

class Panel : public Window<Panel> {
  public:
    ~Panel() { DestroyHandle(); }
    void Create(HWND parent, int id);
    DockedChildren& Children() { return children_; }
    // Runs after every size change, once the children are in place.
    std::function<void()> onResize;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    DockedChildren children_;
};

}  // namespace tavelin::ui
