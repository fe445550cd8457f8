#include "ui/file_dialog_layout.h"

namespace tavelin::ui {

std::wstring DialogInitialDir(const std::wstring& folder) {
    std::wstring dir = folder;
    if (dir.size() >= 2 && dir.back() == L'\\' && dir[dir.size() - 2] != L':')
        dir.pop_back();
    if (dir.size() <= kLongestDialogFolder)
        return dir;
    const std::size_t cut = dir.rfind(L'\\', kLongestDialogFolder);
    if (cut == std::wstring::npos)
        return {};
    dir.resize(cut);
    if (!dir.empty() && dir.back() == L':')
        dir += L'\\';
    return dir;
}

// The dialog joins the folder, a separator and the name before it looks at either; a name that
// is a full path of its own needs no more room than that.
int FileNameLimit(const std::wstring& folder) {
    const std::size_t used = folder.size() + (folder.empty() || folder.back() == L'\\' ? 0 : 1);
    return used < kLongestDialogPath ? static_cast<int>(kLongestDialogPath - used) : 1;
}

std::wstring FileNameWithin(std::wstring name, const std::wstring& folder) {
    const auto limit = static_cast<std::size_t>(FileNameLimit(folder));
    if (name.size() > limit) {
        name.resize(limit);
        if (name.back() >= 0xD800 && name.back() <= 0xDBFF)
            name.pop_back();
    }
    return name;
}

// A dialog larger than the work area keeps its top-left corner on it, so the caption stays
// reachable.
ScreenPoint DialogPosition(const ScreenRect& workArea, int width, int height) {
    const int freeWidth = workArea.right - workArea.left - width;
    const int freeHeight = workArea.bottom - workArea.top - height;
    return {workArea.left + (freeWidth > 0 ? freeWidth / 2 : 0), workArea.top + (freeHeight > 0 ? freeHeight / 3 : 0)};
}

}  // namespace tavelin::ui
