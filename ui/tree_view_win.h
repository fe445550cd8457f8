#pragma once
// The tree view control. Items get their text when they are added: answering the control's text
// requests instead (TVN_GETDISPINFOW) takes more memory, since the control keeps a buffer for
// each item it has asked about.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/gdi_object_win.h"
#include "ui/window_win.h"

namespace tavelin::ui {

// One drawing of the tree's picture: a bitmap `size` pixels square whose white pixels are
// transparent.
struct TreePicture {
    int size;
    int resource;
};

class TreeView : public Window<TreeView> {
  public:
    TreeView() = default;
    ~TreeView() { DestroyHandle(); }
    // `pictures` are drawings of the one picture the items show, 16 pixels square at 96 dpi.
    void Create(HWND parent, int id, std::vector<TreePicture> pictures);
    // Sizes the picture and the indent for a display of `dpi`.
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

    // What the control's notifications do. onExpanding answers TVN_ITEMEXPANDINGW (true keeps
    // the item closed); onClick runs on a click and on Enter, before a click moves the selection.
    std::function<bool(const NMTREEVIEWW&)> onExpanding;
    std::function<void()> onClick;

  private:
    friend class Window<TreeView>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Notified(const NMHDR& header);

    UniqueImageList images_;
    std::vector<TreePicture> pictures_;
};

}  // namespace tavelin::ui
