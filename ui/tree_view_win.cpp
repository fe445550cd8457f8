#include "ui/tree_view_win.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "ui/dpi_scale.h"
#include "ui/reflected_notify_win.h"

namespace tavelin::ui {

void TreeView::Create(HWND parent, int id, std::vector<TreePicture> pictures) {
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_DISABLEDRAGDROP;
    CreateControl(WS_EX_CLIENTEDGE, WC_TREEVIEWW, style, parent, id);
    pictures_ = std::move(pictures);
    SetDpi(kDefaultDpi);
}

// The drawing made for the size when there is one; otherwise the nearest is stretched, and
// stretched the picture repeats or drops its pixels rather than blending them, so its white
// background stays exactly the colour that the mask takes out.
void TreeView::SetDpi(int dpi) {
    constexpr int kImageSize = 16;
    constexpr int kIndent = 19;
    const int size = ToDpi(kImageSize, dpi);
    UniqueImageList images(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 1, 0));
    const auto nearest = std::min_element(pictures_.begin(), pictures_.end(), [size](const auto& a, const auto& b) {
        const int da = std::abs(a.size - size), db = std::abs(b.size - size);
        return da != db ? da < db : a.size > b.size;
    });
    if (nearest != pictures_.end()) {
        const UniqueBitmap bitmap(static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nearest->resource), IMAGE_BITMAP, size, size, 0)));
        if (bitmap)
            ImageList_AddMasked(images.Get(), bitmap.Get(), RGB(255, 255, 255));
    }
    TreeView_SetImageList(hwnd_, images.Get(), TVSIL_NORMAL);
    images_ = std::move(images);
    TreeView_SetIndent(hwnd_, ToDpi(kIndent, dpi));
}

void TreeView::Clear() {
    TreeView_DeleteAllItems(hwnd_);
}

HTREEITEM TreeView::Add(HTREEITEM parent, HTREEITEM after, std::wstring_view text, LPARAM data, bool hasChildren) {
    std::wstring name(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after ? after : TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = name.data();
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 0;
    insert.item.lParam = data;
    insert.item.cChildren = hasChildren ? 1 : 0;
    return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TreeView::SetHasChildren(HTREEITEM item, bool hasChildren) {
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_CHILDREN;
    tv.hItem = item;
    tv.cChildren = hasChildren ? 1 : 0;
    TreeView_SetItem(hwnd_, &tv);
}

bool TreeView::HasChildItems(HTREEITEM item) const {
    return TreeView_GetChild(hwnd_, item) != nullptr;
}

std::optional<LPARAM> TreeView::SelectedData() const {
    HTREEITEM selected = TreeView_GetSelection(hwnd_);
    if (!selected)
        return std::nullopt;
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    if (!TreeView_GetItem(hwnd_, &item))
        return std::nullopt;
    return item.lParam;
}

void TreeView::SetEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled);
}

// Notifications the parent hands back are answered here; everything else is the control's.
LRESULT TreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReflectedNotify)
        return Notified(*reinterpret_cast<const NMHDR*>(lParam));
    return DefaultProc(message, wParam, lParam);
}

LRESULT TreeView::Notified(const NMHDR& header) {
    switch (header.code) {
        case NM_CLICK:
        case NM_RETURN:
            if (onClick)
                onClick();
            return 0;
        case TVN_ITEMEXPANDINGW:
            return onExpanding && onExpanding(reinterpret_cast<const NMTREEVIEWW&>(header)) ? TRUE : FALSE;
    }
    return 0;
}

}  // namespace tavelin::ui
