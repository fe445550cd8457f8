#include "ui/grid/string_grid_win.h"

#include <algorithm>
#include <iterator>

#include "base/unique_handle.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_object_win.h"
#include "ui/grid/grid_accessible_win.h"
#include "ui/grid/oleacc_win.h"
#include "ui/scoped_dc_win.h"

namespace tavelin::ui {

namespace {

constexpr wchar_t kClassName[] = L"TavelinStringGrid";

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};

RECT ToRect(const GridRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// Sizes stay aligned only in a fixed-pitch font, so the grid asks for one whatever the face.
HFONT CreateGridFont(const std::wstring& face, int pixelHeight) {
    LOGFONTW lf{};
    lf.lfHeight = -pixelHeight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    face.copy(lf.lfFaceName, std::size(lf.lfFaceName) - 1);
    return CreateFontIndirectW(&lf);
}

int MeasureZeroWidth(HFONT font) {
    WindowDc screen(nullptr);
    SelectedObject selected(screen.Get(), font);
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), L"0", 1, &size);
    return size.cx;
}

}  // namespace

StringGrid::StringGrid(const GridData& data)
    : data_(data), geometry_(data.ColumnCount(), data.RowCount()), font_(CreateGridFont(L"", 13)) {
    zeroWidth_ = MeasureZeroWidth(font_.Get());
}

StringGrid::~StringGrid() {
    DestroyHandle();
}

HWND StringGrid::Create(HWND parent, int id) {
    Register(kClassName, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), nullptr);
    Window::Create(WS_EX_CLIENTEDGE, kClassName, L"",
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, 0, 0, 0, 0, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (Handle())
        OnSize();
    return Handle();
}

void StringGrid::CellChanged(int col, int row) {
    if (!Handle() || wholeInvalid_)
        return;
    const auto rect = geometry_.CellRect(col, row);
    if (rect && rect->top < geometry_.ViewHeight() && rect->left < geometry_.ViewWidth() && rect->right > rect->left) {
        const RECT r = ToRect(*rect);
        InvalidateRect(Handle(), &r, FALSE);
    }
}

void StringGrid::RowCountChanged() {
    geometry_.SetRowCount(data_.RowCount());
    selection_.Clamp(geometry_);
    InvalidateAll();
    ScheduleScrollBarUpdate();
}

void StringGrid::SetColWidth(int col, int width) {
    geometry_.SetColWidth(col, width);
    if (columnResized_)
        columnResized_(col);
    InvalidateAll();
    UpdateScrollBars();
}

int StringGrid::RowHeight(int) const {
    return geometry_.RowHeight();
}

void StringGrid::SetFont(const std::wstring& face, int pixelHeight) {
    font_.Reset(CreateGridFont(face, pixelHeight));
    zeroWidth_ = MeasureZeroWidth(font_.Get());
    InvalidateAll();
}

void StringGrid::SetDpi(int dpi) {
    geometry_.SetSizingZone(ToDpi(GridGeometry::kSizingZoneLeft, dpi), ToDpi(GridGeometry::kSizingZoneRight, dpi));
    textInset_ = ToDpi(kTextInset, dpi);
    InvalidateAll();
}

void StringGrid::SetRowHeight(int height) {
    geometry_.SetRowHeight(height);
    InvalidateAll();
    UpdateScrollBars();
}

LRESULT StringGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            OnSize();
            return 0;
        case kUpdateScrollBars:
            if (scrollBarUpdatePending_)
                UpdateScrollBars();
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            if (!DragUnderWay())
                OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(MouseButton::Left, message == WM_LBUTTONDBLCLK, wParam, x, y);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            OnButtonDown(MouseButton::Right, message == WM_RBUTTONDBLCLK, wParam, x, y);
            return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            OnButtonDown(MouseButton::Middle, message == WM_MBUTTONDBLCLK, wParam, x, y);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(x, y);
            return 0;
        case WM_LBUTTONUP:
            OnLeftButtonUp(x);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != Handle())
                EndDrags();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && ShowSizingCursor())
                return TRUE;
            break;
        case WM_KEYDOWN:
            OnKeyDown(wParam);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            CellChanged(selection_.Current().col, selection_.Current().row);
            if (message == WM_SETFOCUS)
                ReportCurrentRow();
            return 0;
        case WM_GETOBJECT:
            return AnswerGetObject(wParam, lParam);
        case WM_NCDESTROY:
            if (accessible_) {
                accessible_->Disconnect();
                accessible_->Release();
                accessible_ = nullptr;
            }
            break;
        case WM_SHOWWINDOW:
            // A hidden grid must not keep the keyboard, or keys would go nowhere visible.
            if (!wParam) {
                EndDrags();
                if (GetFocus() == Handle())
                    SetFocus(GetParent(Handle()));
            }
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void StringGrid::Paint() {
    PaintDc paint(Handle());
    wholeInvalid_ = false;
    const RECT& area = paint.Area();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;

    // Cells are drawn off screen and copied at once, so scrolling does not flicker. The bitmap
    // outlives the memory DC, and both selections end before the DC is deleted.
    UniqueBitmap bitmap(CreateCompatibleBitmap(paint.Get(), width, height));
    Unique<MemoryDcTraits> memory(CreateCompatibleDC(paint.Get()));
    SelectedObject selectedBitmap(memory.Get(), bitmap.Get());
    SelectedObject selectedFont(memory.Get(), font_.Get());
    SetViewportOrgEx(memory.Get(), -area.left, -area.top, nullptr);
    FillRect(memory.Get(), &area, GetSysColorBrush(COLOR_WINDOW));

    const GridVisibleRange range = geometry_.VisibleRange();
    auto paintRow = [&](int row) {
        for (int col = range.firstCol; col <= range.lastCol && col < geometry_.ColCount(); ++col) {
            const auto rect = geometry_.CellRect(col, row);
            if (!rect || rect->right <= rect->left || rect->right <= area.left || rect->left >= area.right ||
                rect->bottom <= area.top || rect->top >= area.bottom)
                continue;
            PaintCell(memory.Get(), col, row, *rect);
        }
    };
    if (geometry_.RowCount() > 0)
        paintRow(0);
    // The drawing hook may change the data, so the row count is read again for every row.
    for (int row = range.firstRow; row <= range.lastRow && row < geometry_.RowCount(); ++row)
        paintRow(row);

    BitBlt(paint.Get(), area.left, area.top, width, height, memory.Get(), area.left, area.top, SRCCOPY);
    // The copy covered the sizing line where it crossed the painted area; put it back there.
    if (sizingCol_)
        InvertSizingLine(paint.Get());
}

void StringGrid::PaintCell(HDC dc, int col, int row, const GridRect& rect) {
    unsigned state = 0;
    int background = COLOR_WINDOW;
    int foreground = COLOR_WINDOWTEXT;
    if (row == 0) {
        state |= kCellFixed;
        background = COLOR_BTNFACE;
        foreground = COLOR_BTNTEXT;
    } else if (selection_.Contains(col, row)) {
        state |= kCellSelected;
        background = COLOR_HIGHLIGHT;
        foreground = COLOR_HIGHLIGHTTEXT;
    }
    const bool current = row > 0 && selection_.Current() == GridCell{col, row};
    if (current && GetFocus() == Handle())
        state |= kCellFocused;

    std::wstring_view text;
    if (col < data_.ColumnCount() && row < data_.RowCount())
        text = data_.CellText(col, row);
    const RECT r = ToRect(rect);
    SetBkColor(dc, GetSysColor(background));
    SetTextColor(dc, GetSysColor(foreground));
    ExtTextOutW(dc, r.left + textInset_, r.top + textInset_, ETO_OPAQUE | ETO_CLIPPED, &r, text.data(),
                static_cast<UINT>(text.size()), nullptr);
    if (state & kCellFocused)
        DrawFocusRect(dc, &r);
    if (drawCell_)
        drawCell_(col, row, r, state);
}

void StringGrid::OnButtonDown(MouseButton button, bool doubleClick, WPARAM keys, int x, int y) {
    if (GetFocus() != Handle())
        SetFocus(Handle());
    unsigned shift = doubleClick ? static_cast<unsigned>(kDoubleClick) : 0u;
    if (keys & MK_SHIFT)
        shift |= kShiftKey;
    if (keys & MK_CONTROL)
        shift |= kCtrlKey;
    if (GetKeyState(VK_MENU) < 0)
        shift |= kAltKey;

    if (button == MouseButton::Left) {
        // The second press of a double-click is never taken for sizing: it belongs to the owner.
        if (!doubleClick && BeginColumnSizing(x, y))
            return;
        const auto cell = geometry_.CellAt(x, y);
        if (cell && cell->row > 0) {
            SelectCell(*cell, (keys & MK_SHIFT) != 0);
            selecting_ = true;
            SetCapture(Handle());
        }
    }
    if (mouseDown_)
        mouseDown_(button, shift, x, y);
}

void StringGrid::OnMouseMove(int x, int y) {
    if (sizingCol_) {
        TrackColumnSizing(x);
        return;
    }
    if (!selecting_)
        return;
    // Dragging past the top or bottom of the rows scrolls one row per move.
    const int header = geometry_.RowHeight();
    if (y < header)
        ScrollTo(std::nullopt, geometry_.TopRow() - 1);
    else if (y >= geometry_.ViewHeight())
        ScrollTo(std::nullopt, geometry_.TopRow() + 1);
    const int cx = std::clamp(x, 0, std::max(geometry_.ViewWidth() - 1, 0));
    const int cy = std::clamp(y, header, std::max(geometry_.ViewHeight() - 1, header));
    const auto cell = geometry_.CellAt(cx, cy);
    if (cell && cell->row > 0 && *cell != selection_.Current())
        SelectCell(*cell, true);
}

void StringGrid::OnLeftButtonUp(int x) {
    if (sizingCol_) {
        EndColumnSizing(x);
        return;
    }
    if (selecting_) {
        selecting_ = false;
        ReleaseCapture();
    }
}

// A drag owns the mouse until it ends, and it reads the edge of the column it sizes: a key or a
// wheel turn that scrolled that column away would leave it without one. Only Esc gets through.
bool StringGrid::DragUnderWay() const {
    const HWND capture = GetCapture();
    return sizingCol_ || (capture && capture != Handle());
}

void StringGrid::OnKeyDown(WPARAM key) {
    if (DragUnderWay()) {
        if (key == VK_ESCAPE)
            EndDrags();
        return;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    GridMove move;
    switch (key) {
        case VK_LEFT:
            move = GridMove::Left;
            break;
        case VK_RIGHT:
            move = GridMove::Right;
            break;
        case VK_UP:
            move = GridMove::Up;
            break;
        case VK_DOWN:
            move = GridMove::Down;
            break;
        case VK_PRIOR:
            move = GridMove::PageUp;
            break;
        case VK_NEXT:
            move = GridMove::PageDown;
            break;
        case VK_HOME:
            move = ctrl ? GridMove::First : GridMove::Home;
            break;
        case VK_END:
            move = ctrl ? GridMove::Last : GridMove::End;
            break;
        case VK_ESCAPE:
            EndDrags();
            return;
        default:
            return;
    }
    const int fromRow = selection_.Current().row;
    if (selection_.Move(move, shift, geometry_))
        CurrentMoved(fromRow);
}

void StringGrid::SelectCell(GridCell cell, bool extend) {
    const int fromRow = selection_.Current().row;
    selection_.Select(cell, extend);
    CurrentMoved(fromRow);
}

void StringGrid::CurrentMoved(int fromRow) {
    InvalidateData();
    RevealCurrent();
    if (selection_.Current().row != fromRow)
        ReportCurrentRow();
}

// Screen readers follow the keyboard: while the grid has it, the row of the current cell is the
// focused child of its accessible object.
void StringGrid::ReportCurrentRow() {
    const int row = selection_.Current().row;
    if (GetFocus() == Handle() && row < geometry_.RowCount())
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, GridAccessible::ChildId(row));
}

// Only the client area is ours to describe; the system answers for the frame and scroll bars,
// and for the client area too when COM cannot hand our object out (a thread outside any
// apartment), so that a reader gets at least the plain window rather than an error.
LRESULT StringGrid::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT))
        return DefaultProc(WM_GETOBJECT, wParam, lParam);
    if (!accessible_)
        accessible_ = new GridAccessible(*this);
    const LRESULT result = oleacc::LresultFromObject(__uuidof(IAccessible), wParam, accessible_);
    return FAILED(static_cast<HRESULT>(result)) ? DefaultProc(WM_GETOBJECT, wParam, lParam) : result;
}

void StringGrid::RevealCurrent() {
    const int left = geometry_.LeftCol();
    const int top = geometry_.TopRow();
    GridGeometry target = geometry_;
    target.ScrollIntoView(selection_.Current());
    if (target.LeftCol() != left || target.TopRow() != top)
        ScrollTo(target.LeftCol(), target.TopRow());
}

void StringGrid::InvalidateAll() {
    if (!Handle() || wholeInvalid_)
        return;
    wholeInvalid_ = true;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void StringGrid::InvalidateData() {
    if (!Handle() || wholeInvalid_)
        return;
    const RECT data{0, geometry_.RowHeight(), geometry_.ViewWidth(), geometry_.ViewHeight()};
    InvalidateRect(Handle(), &data, FALSE);
}

void StringGrid::EndDrags() {
    selecting_ = false;
    if (sizingCol_) {
        DrawSizingLine();
        sizingCol_.reset();
    }
    if (GetCapture() == Handle())
        ReleaseCapture();
}

}  // namespace tavelin::ui
