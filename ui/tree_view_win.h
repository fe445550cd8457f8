#pragma once
// The tree view control. Item texts are not copied into the control: it asks its parent for
// them (TVN_GETDISPINFOW), so a tree of a million folders keeps each name once, in the model.
#include <windows.h>

#include <commctrl.h>

#include <optional>

namespace tavelin::ui {

class TreeView {
  public:
    ~TreeView();
    // `imageResource` is a 16x16 bitmap whose white pixels are transparent.
    void Create(HWND parent, int id, int imageResource);
    HWND Handle() const { return hwnd_; }

    void Clear();
    // Appends an item as the last child of `parent` (nullptr: a top-level item).
    HTREEITEM Add(HTREEITEM parent, LPARAM data);
    // The data of the selected item; nullopt when nothing is selected.
    std::optional<LPARAM> SelectedData() const;
    void SetEnabled(bool enabled);

  private:
    HWND hwnd_ = nullptr;
    HIMAGELIST images_ = nullptr;
};

}  // namespace tavelin::ui
