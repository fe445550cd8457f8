#include "ui/tree_view_win.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "ui/dpi_scale.h"
#include "ui/reflected_notify_win.h"
#include "ui/window_win.h"

namespace tavelin::ui {

TreeView::~TreeView() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void TreeView::Create(HWND parent, int id, std::vector<TreePicture> pictures) {
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_DISABLEDRAGDROP;
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    controlProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd_, GCLP_WNDPROC));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeView::Procedure));
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
    // Straight to the control's own procedure: the subclass that clears the handle looks up a
    // window property on every message, and under some implementations each lookup is a round
    // trip to another process, which an opened folder of many children pays for every child.
    return reinterpret_cast<HTREEITEM>(
        CallWindowProcW(controlProc_, hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
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

// A subclass of our own rather than the common controls' one, which looks up the window's
// properties at every message, painting included, a round trip to another process under some
// implementations. It takes the notifications the parent hands back and forgets the handle when
// the window goes with its parent.
LRESULT CALLBACK TreeView::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<TreeView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const WNDPROC control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    if (!self)
        return CallWindowProcW(control, hwnd, message, wParam, lParam);
    if (message == kReflectedNotify) {
        try {
            return self->Notified(*reinterpret_cast<const NMHDR*>(lParam));
        } catch (...) {
            ReportHandlerException();
            return 0;
        }
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return CallWindowProcW(control, hwnd, message, wParam, lParam);
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
