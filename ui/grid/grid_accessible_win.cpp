#include "ui/grid/grid_accessible_win.h"

#include <algorithm>
#include <string>

#include "ui/grid/grid_row_access.h"
#include "ui/grid/oleacc_win.h"
#include "ui/grid/string_grid_win.h"

namespace tavelin::ui {

namespace {

// Spoken for a data row's default action, which selects the row.
constexpr wchar_t kSelectAction[] = L"選択";

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (text.empty())
        return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void Empty(VARIANT* out) {
    VariantInit(out);
}

template <typename T>
void Empty(T* out) {
    *out = T{};
}

void SetChild(VARIANT* out, LONG id) {
    out->vt = VT_I4;
    out->lVal = id;
}

}  // namespace

// Every answer starts alike: a missing out-parameter is an error, the out-parameter is emptied
// before anything can fail, and once the grid has gone the object says it is cut off.
template <typename T>
HRESULT GridAccessible::Begin(T* out) const {
    if (!out)
        return E_POINTER;
    Empty(out);
    return grid_ ? S_OK : RPC_E_DISCONNECTED;
}

GridAccessible::GridAccessible(StringGrid& grid) : grid_(&grid), hwnd_(grid.Handle()) {}

void GridAccessible::Disconnect() {
    grid_ = nullptr;
    CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

HRESULT GridAccessible::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible))) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG GridAccessible::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG GridAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT GridAccessible::GetTypeInfoCount(UINT*) {
    return E_NOTIMPL;
}

HRESULT GridAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT GridAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT GridAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

GridAccessible::Target GridAccessible::Resolve(const VARIANT& child, int* row) const {
    if (child.vt != VT_I4)
        return Target::Invalid;
    if (child.lVal == CHILDID_SELF)
        return Target::Self;
    if (child.lVal < 1 || child.lVal > grid_->RowCount())
        return Target::Invalid;
    *row = child.lVal - 1;
    return Target::Row;
}

bool GridAccessible::HasFocus() const {
    return GetFocus() == hwnd_;
}

bool GridAccessible::CurrentRow(int* row) const {
    *row = grid_->CurrentCell().row;
    return *row >= 1 && *row < grid_->RowCount();
}

// The window object around the grid, as the system's own client objects answer.
HRESULT GridAccessible::get_accParent(IDispatch** parent) {
    if (const HRESULT hr = Begin(parent); hr != S_OK)
        return hr;
    return oleacc::AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                              reinterpret_cast<void**>(parent));
}

HRESULT GridAccessible::get_accChildCount(LONG* count) {
    if (const HRESULT hr = Begin(count); hr != S_OK)
        return hr;
    *count = grid_->RowCount();
    return S_OK;
}

// Rows are simple children: they have no object of their own.
HRESULT GridAccessible::get_accChild(VARIANT child, IDispatch** object) {
    if (const HRESULT hr = Begin(object); hr != S_OK)
        return hr;
    int row = 0;
    return Resolve(child, &row) == Target::Row ? S_FALSE : E_INVALIDARG;
}

// The table takes the name its window carries; rows read as GridRowName describes.
HRESULT GridAccessible::get_accName(VARIANT child, BSTR* name) {
    if (const HRESULT hr = Begin(name); hr != S_OK)
        return hr;
    int row = 0;
    switch (Resolve(child, &row)) {
        case Target::Self: {
            std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
            text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
            return ReturnText(text, name);
        }
        case Target::Row:
            return ReturnText(GridRowName(grid_->Data(), row), name);
        case Target::Invalid:
            break;
    }
    return E_INVALIDARG;
}

// Rows and the table have no value, description, help or shortcut of their own.
HRESULT GridAccessible::NoText(const VARIANT& child, BSTR* out) const {
    if (const HRESULT hr = Begin(out); hr != S_OK)
        return hr;
    int row = 0;
    return Resolve(child, &row) == Target::Invalid ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accValue(VARIANT child, BSTR* value) {
    return NoText(child, value);
}

HRESULT GridAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return NoText(child, description);
}

// The header row is a row of column titles, so it says so rather than passing for data.
HRESULT GridAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (const HRESULT hr = Begin(role); hr != S_OK)
        return hr;
    int row = 0;
    switch (Resolve(child, &row)) {
        case Target::Self:
            SetChild(role, ROLE_SYSTEM_TABLE);
            return S_OK;
        case Target::Row:
            SetChild(role, row == 0 ? ROLE_SYSTEM_COLUMNHEADER : ROLE_SYSTEM_ROW);
            return S_OK;
        case Target::Invalid:
            break;
    }
    return E_INVALIDARG;
}

// A data row is selected when the selected range covers it; it is focused when it holds the
// current cell and the grid has the keyboard. Rows scrolled out of the view are off screen but
// not invisible: readers that skip invisible objects still read the whole table.
HRESULT GridAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (const HRESULT hr = Begin(state); hr != S_OK)
        return hr;
    int row = 0;
    const Target target = Resolve(child, &row);
    if (target == Target::Invalid)
        return E_INVALIDARG;
    LONG bits = 0;
    if (!IsWindowVisible(hwnd_))
        bits |= STATE_SYSTEM_INVISIBLE;
    if (target == Target::Self) {
        bits |= IsWindowEnabled(hwnd_) ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
        if (HasFocus())
            bits |= STATE_SYSTEM_FOCUSED;
    } else {
        if (!GridRowInView(grid_->Geometry(), row))
            bits |= STATE_SYSTEM_OFFSCREEN;
        if (row > 0) {
            const GridCell current = grid_->CurrentCell();
            const GridCell anchor = grid_->SelectionAnchor();
            bits |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (row >= std::min(current.row, anchor.row) && row <= std::max(current.row, anchor.row))
                bits |= STATE_SYSTEM_SELECTED;
            if (row == current.row && HasFocus())
                bits |= STATE_SYSTEM_FOCUSED;
        }
    }
    SetChild(state, bits);
    return S_OK;
}

HRESULT GridAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return NoText(child, help);
}

HRESULT GridAccessible::get_accHelpTopic(BSTR* helpFile, VARIANT child, LONG* topic) {
    if (!topic)
        return E_POINTER;
    *topic = 0;
    return NoText(child, helpFile);
}

HRESULT GridAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return NoText(child, shortcut);
}

HRESULT GridAccessible::get_accFocus(VARIANT* child) {
    if (const HRESULT hr = Begin(child); hr != S_OK)
        return hr;
    if (!HasFocus())
        return S_FALSE;
    int row = 0;
    SetChild(child, CurrentRow(&row) ? ChildId(row) : CHILDID_SELF);
    return S_OK;
}

// The grid selects one range of cells, whose rows are listed as selected in their states; the
// selection as a whole is reported by the row that holds the current cell, where keys act.
HRESULT GridAccessible::get_accSelection(VARIANT* children) {
    if (const HRESULT hr = Begin(children); hr != S_OK)
        return hr;
    int row = 0;
    if (!CurrentRow(&row))
        return S_FALSE;
    SetChild(children, ChildId(row));
    return S_OK;
}

HRESULT GridAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (const HRESULT hr = Begin(action); hr != S_OK)
        return hr;
    int row = 0;
    const Target target = Resolve(child, &row);
    if (target == Target::Invalid)
        return E_INVALIDARG;
    if (target == Target::Self || row == 0)
        return DISP_E_MEMBERNOTFOUND;
    return ReturnText(kSelectAction, action);
}

// The grid keeps one contiguous range, so rows can be taken or extended to, but not added or
// removed one by one. Taking a row moves the current cell to it in the current column, as a
// press on that cell would.
HRESULT GridAccessible::accSelect(LONG flags, VARIANT child) {
    if (!grid_)
        return RPC_E_DISCONNECTED;
    int row = 0;
    const Target target = Resolve(child, &row);
    constexpr LONG kSupported = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION | SELFLAG_EXTENDSELECTION;
    if (target == Target::Invalid || flags == SELFLAG_NONE || (flags & ~kSupported) != 0)
        return E_INVALIDARG;
    if (target == Target::Self) {
        if (flags != SELFLAG_TAKEFOCUS)
            return E_INVALIDARG;
        SetFocus(hwnd_);
        return S_OK;
    }
    if (row == 0)
        return E_INVALIDARG;
    // Focus first, so that the row's focus event goes out while the grid has the keyboard.
    if ((flags & SELFLAG_TAKEFOCUS) && !HasFocus())
        SetFocus(hwnd_);
    if (!grid_)
        return RPC_E_DISCONNECTED;
    grid_->SelectCell({grid_->CurrentCell().col, row}, (flags & SELFLAG_EXTENDSELECTION) != 0);
    return S_OK;
}

HRESULT GridAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    if (!grid_)
        return RPC_E_DISCONNECTED;
    int row = 0;
    RECT rect{};
    switch (Resolve(child, &row)) {
        case Target::Self:
            GetClientRect(hwnd_, &rect);
            break;
        case Target::Row: {
            const GridRect r = GridRowRect(grid_->Geometry(), row);
            rect = {r.left, r.top, r.right, r.bottom};
            break;
        }
        case Target::Invalid:
            return E_INVALIDARG;
    }
    POINT origin{rect.left, rect.top};
    ClientToScreen(hwnd_, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

// Rows follow one another from the header down. Moving from the table itself to its siblings
// is the system's business: its own object for the window's client area knows them.
HRESULT GridAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    if (const HRESULT hr = Begin(end); hr != S_OK)
        return hr;
    int row = 0;
    const Target target = Resolve(start, &row);
    if (target == Target::Invalid)
        return E_INVALIDARG;
    const int count = grid_->RowCount();
    if (target == Target::Self) {
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            if (count == 0)
                return S_FALSE;
            SetChild(end, direction == NAVDIR_FIRSTCHILD ? ChildId(0) : ChildId(count - 1));
            return S_OK;
        }
        IAccessible* standard = nullptr;
        HRESULT hr = oleacc::CreateStdAccessibleObject(hwnd_, OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&standard));
        if (FAILED(hr))
            return hr;
        hr = standard->accNavigate(direction, start, end);
        standard->Release();
        return hr;
    }
    switch (direction) {
        case NAVDIR_NEXT:
        case NAVDIR_DOWN:
            ++row;
            break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_UP:
            --row;
            break;
        case NAVDIR_LEFT:
        case NAVDIR_RIGHT:
            return S_FALSE;
        default:
            return E_INVALIDARG;
    }
    if (row < 0 || row >= count)
        return S_FALSE;
    SetChild(end, ChildId(row));
    return S_OK;
}

HRESULT GridAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
    if (const HRESULT hr = Begin(child); hr != S_OK)
        return hr;
    POINT point{x, y};
    ScreenToClient(hwnd_, &point);
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (!PtInRect(&client, point))
        return S_FALSE;
    const auto cell = grid_->Geometry().CellAt(point.x, point.y);
    SetChild(child, cell ? ChildId(cell->row) : CHILDID_SELF);
    return S_OK;
}

HRESULT GridAccessible::accDoDefaultAction(VARIANT child) {
    if (!grid_)
        return RPC_E_DISCONNECTED;
    int row = 0;
    const Target target = Resolve(child, &row);
    if (target == Target::Invalid)
        return E_INVALIDARG;
    if (target == Target::Self || row == 0)
        return DISP_E_MEMBERNOTFOUND;
    return accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, child);
}

HRESULT GridAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT GridAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

}  // namespace tavelin::ui
