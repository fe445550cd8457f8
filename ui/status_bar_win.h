#pragma once
// The status line: one simple text over the window's bottom edge, with a size grip.
//
// Our own control rather than the common one: the copy names every folder it makes here and
// paints it at once, and under some implementations setting the common control's text alone
// costs more than creating the folder. Here setting the text only stores it, and the immediate
// repaint draws straight to the screen.
#include <windows.h>

#include <string>

#include "ui/gdi_object_win.h"
#include "ui/window_win.h"

namespace tavelin::ui {

class StatusBar : public Window<StatusBar> {
  public:
    ~StatusBar();
    void Create(HWND parent, int id);
    // The system's status-bar font as it is on a display of `dpi`.
    void SetDpi(int dpi);
    // Stores the text (through WM_SETTEXT) and lets the next paint show it.
    void SetText(const std::wstring& text);
    // Paints the text before returning, for loops that keep the message queue waiting.
    void RepaintNow();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void Paint(HDC dc);
    RECT GripRect() const;

    std::wstring text_;
    UniqueFont font_;
    int dpi_ = 0;
    bool invalid_ = false;  // a WM_PAINT is already due, so a new text needs no invalidation
};

}  // namespace tavelin::ui
