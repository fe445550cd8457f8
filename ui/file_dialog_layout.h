#pragma once
// The two rules of the file dialogs that need no window: the initial folder handed over and
// where the dialog goes on the owner's monitor.
#include <cstddef>
#include <string>

namespace tavelin::ui {

// The longest folder the dialog opens at, and the longest path it builds from its folder and the
// name in its file-name box: it keeps both in buffers of 260 characters, and more overruns them.
constexpr std::size_t kLongestDialogFolder = 257;
constexpr std::size_t kLongestDialogPath = 259;

// A trailing "\" is dropped unless it follows ":" ("C:\Data\" -> "C:\Data", "C:\" stays). A
// folder longer than the dialog takes gives its deepest ancestor that fits, or the drive root.
std::wstring DialogInitialDir(const std::wstring& folder);

// How many characters the file-name box may hold while the dialog shows `folder`.
int FileNameLimit(const std::wstring& folder);

// `name` cut to what the file-name box may hold while the dialog shows `folder`, never between
// the two halves of a surrogate pair.
std::wstring FileNameWithin(std::wstring name, const std::wstring& folder);

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
