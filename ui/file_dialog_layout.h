#pragma once
// The rules of the file dialogs that need no window: the folder they open at and where they go on
// the owner's monitor.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavelin::ui {

// `folder` without its trailing "\" (kept after a drive: "C:\"), then each of its ancestors,
// deepest first. The dialog opens at the first of them that still exists, so that a folder
// removed since it was saved opens beside where it was, never at a folder of Windows' choice.
std::vector<std::wstring> FolderAndAncestors(const std::wstring& folder);

// What is known of one of those folders while the dialog waits to open.
enum class FolderAnswer { kPending, kThere, kMissing };

// Which of the folders (deepest first) the dialog opens at: the first that is there, passing over
// those that are missing and, once `givenUp` (the dialog has waited long enough), those that have
// not answered. `decided` is false while a deeper folder may still answer; `index` is empty when
// none is there, and the dialog opens where Windows chooses.
struct FolderChoice {
    bool decided = false;
    std::optional<std::size_t> index;
};
FolderChoice NearestAnsweringFolder(const std::vector<FolderAnswer>& answers, bool givenUp);

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
