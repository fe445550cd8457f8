#pragma once
// The tree view control. Items get their text when they are added: answering the control's text
// requests instead (TVN_GETDISPINFOW) was measured at two and a half times the memory for a
// million items, since the control keeps a buffer for each item it has asked about.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string_view>

namespace tavelin::ui {

class TreeView {
  public:
    TreeView() = default;
    TreeView(const TreeView&) = delete;
    TreeView& operator=(const TreeView&) = delete;
    ~TreeView();
    // `imageResource` is a 16x16 bitmap whose white pixels are transparent.
    void Create(HWND parent, int id, int imageResource);
    HWND Handle() const { return hwnd_; }
    // Scales the picture and the indent to a display of `dpi`.
    void SetDpi(int dpi);

    void Clear();
    // Adds an item under `parent` (nullptr: at the top) right after its sibling `after` (nullptr:
    // as the first), with an expand button when `hasChildren`, whether or not its children are
    // items yet. Naming the sibling spares the control any walk along the siblings.
    HTREEITEM Add(HTREEITEM parent, HTREEITEM after, std::wstring_view text, LPARAM data, bool hasChildren);
    void SetHasChildren(HTREEITEM item, bool hasChildren);
    bool HasChildItems(HTREEITEM item) const;
    // The data of the selected item; nullopt when nothing is selected.
    std::optional<LPARAM> SelectedData() const;
    void SetEnabled(bool enabled);

  private:
    HWND hwnd_ = nullptr;
    HIMAGELIST images_ = nullptr;
    int imageResource_ = 0;
};

}  // namespace tavelin::ui
