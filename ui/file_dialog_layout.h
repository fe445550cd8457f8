#pragma once
// The two rules of the file dialogs that need no window: the initial folder handed over and
// where the dialog goes on the owner's monitor.
#include <string>

namespace tavelin::ui {

// A trailing "\" is dropped unless it follows ":" ("C:\Data\" -> "C:\Data", "C:\" stays).
std::wstring DialogInitialDir(const std::wstring& folder);

struct ScreenRect {
    int left, top, right, bottom;
};

struct ScreenPoint {
    int x, y;
};

// The top-left corner that centres a dialog of `width` by `height` horizontally in `workArea`
// and puts its top at one third of the height left free.
ScreenPoint DialogPosition(const ScreenRect& workArea, int width, int height);

}  // namespace tavelin::ui
