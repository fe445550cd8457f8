#include "ui/file_dialog_layout.h"

namespace tavelin::ui {

namespace {
bool IsDriveRoot(const std::wstring& dir) {
    return dir.size() == 3 && dir[1] == L':' && dir[2] == L'\\';
}
}  // namespace

std::vector<std::wstring> FolderAndAncestors(const std::wstring& folder) {
    std::vector<std::wstring> chain;
    std::wstring dir = folder;
    while (!dir.empty()) {
        if (dir.back() == L'\\' && !IsDriveRoot(dir)) {
            dir.pop_back();
            continue;
        }
        chain.push_back(dir);
        const std::size_t cut = dir.rfind(L'\\');
        if (IsDriveRoot(dir) || cut == std::wstring::npos)
            break;
        dir.resize(cut);
        if (dir.size() == 2 && dir[1] == L':')
            dir += L'\\';
    }
    return chain;
}

FolderChoice NearestAnsweringFolder(const std::vector<FolderAnswer>& answers, bool givenUp) {
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (answers[i] == FolderAnswer::kThere)
            return {true, i};
        if (answers[i] == FolderAnswer::kPending && !givenUp)
            return {};
    }
    return {true, std::nullopt};
}

// A dialog larger than the work area keeps its top-left corner on it, so the caption stays
// reachable.
ScreenPoint DialogPosition(const ScreenRect& workArea, int width, int height) {
    const int freeWidth = workArea.right - workArea.left - width;
    const int freeHeight = workArea.bottom - workArea.top - height;
    return {workArea.left + (freeWidth > 0 ? freeWidth / 2 : 0), workArea.top + (freeHeight > 0 ? freeHeight / 3 : 0)};
}

}  // namespace tavelin::ui
