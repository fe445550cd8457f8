#include "ui/tree_view_win.h"

#include <string>

#include "ui/clear_on_destroy_win.h"

namespace tavelin::ui {

TreeView::~TreeView() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (images_)
        ImageList_Destroy(images_);
}

void TreeView::Create(HWND parent, int id, int imageResource) {
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_DISABLEDRAGDROP;
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    ClearOnDestroy(hwnd_);
    images_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(imageResource))) {
        ImageList_AddMasked(images_, bitmap, RGB(255, 255, 255));
        DeleteObject(bitmap);
    }
    TreeView_SetImageList(hwnd_, images_, TVSIL_NORMAL);
    TreeView_SetIndent(hwnd_, 19);
}

void TreeView::Clear() {
    TreeView_DeleteAllItems(hwnd_);
}

HTREEITEM TreeView::Add(HTREEITEM parent, std::wstring_view text, LPARAM data) {
    std::wstring name(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = name.data();
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 0;
    insert.item.lParam = data;
    return TreeView_InsertItem(hwnd_, &insert);
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

}  // namespace tavelin::ui
