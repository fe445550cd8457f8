#include "ui/file_dialog_layout.h"

namespace tavelin::ui {

std::wstring DialogInitialDir(const std::wstring& folder) {
    if (folder.size() >= 2 && folder.back() == L'\\' && folder[folder.size() - 2] != L':')
        return folder.substr(0, folder.size() - 1);
    return folder;
}

// A dialog larger than the work area keeps its top-left corner on it, so the caption stays
// reachable.
ScreenPoint DialogPosition(const ScreenRect& workArea, int width, int height) {
    const int freeWidth = workArea.right - workArea.left - width;
    const int freeHeight = workArea.bottom - workArea.top - height;
    return {workArea.left + (freeWidth > 0 ? freeWidth / 2 : 0), workArea.top + (freeHeight > 0 ? freeHeight / 3 : 0)};
}

}  // namespace tavelin::ui
