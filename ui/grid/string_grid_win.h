#pragma once
// A grid of texts with one fixed header row: paints only the visible cells of a GridData, lets the
// user size columns by dragging header edges, selects cells and ranges with the mouse and the
// keys, and scrolls by whole rows and columns. It knows nothing about what the texts mean; the
// owner hears about paints, presses and column widths through hooks.
#include <windows.h>

#include <functional>
#include <optional>

#include "ui/gdi_object_win.h"
#include "ui/grid/grid_data.h"
#include "ui/grid/grid_geometry.h"
#include "ui/grid/string_grid_selection.h"
#include "ui/window_win.h"

namespace tavelin::ui {

class GridAccessible;

enum class MouseButton { Left, Right, Middle };

// Bits of the shift state handed to the mouse-down hook.
enum MouseShift : unsigned {
    kShiftKey = 1,
    kCtrlKey = 2,
    kAltKey = 4,
    kDoubleClick = 8,
};

// Bits of the state handed to the cell-drawing hook.
enum CellState : unsigned {
    kCellFixed = 1,
    kCellSelected = 2,
    kCellFocused = 4,
};

class StringGrid : public Window<StringGrid> {
  public:
    // Called for every cell painted, header cells included, after the grid drew its text.
    using DrawCellHook = std::function<void(int col, int row, const RECT& rect, unsigned state)>;
    // Called for every mouse button press and double-click, after the grid's own handling,
    // except for a press that starts sizing a column.
    using MouseDownHook = std::function<void(MouseButton button, unsigned shift, int x, int y)>;
    // Called after a column's width is set, by the user's drag of its edge or by SetColWidth, once
    // the grid has taken the width and before it repaints.
    using ColumnResizedHook = std::function<void(int col)>;

    // `data` must outlive the grid.
    explicit StringGrid(const GridData& data);
    ~StringGrid();

    // A visible child window, tab stop, placed later by the owner's layout.
    HWND Create(HWND parent, int id);

    void SetDrawCellHook(DrawCellHook hook) { drawCell_ = std::move(hook); }
    void SetMouseDownHook(MouseDownHook hook) { mouseDown_ = std::move(hook); }
    void SetColumnResizedHook(ColumnResizedHook hook) { columnResized_ = std::move(hook); }

    // The data's owner reports its changes here. A cell change repaints that cell alone; a row
    // count change re-lays out the grid and repaints it, in constant time.
    void CellChanged(int col, int row);
    void RowCountChanged();

    int ColCount() const { return geometry_.ColCount(); }
    int RowCount() const { return geometry_.RowCount(); }
    int ColWidth(int col) const { return geometry_.ColWidth(col); }
    // Repaints the whole grid, as a width change by the user does.
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int height);
    // A fixed-pitch font of the given face and character height in pixels.
    void SetFont(const std::wstring& face, int pixelHeight);
    // Scales the grid's own distances (the column-sizing zone, the text's inset) to a display of
    // `dpi`; the owner sets the font and the row height.
    void SetDpi(int dpi);
    static constexpr int GridLineWidth() { return GridGeometry::GridLineWidth(); }
    int LeftCol() const { return geometry_.LeftCol(); }
    int TopRow() const { return geometry_.TopRow(); }
    // Pixel width of "0" in the grid's font.
    int ZeroCharWidth() const { return zeroWidth_; }
    // Pixels between a cell's left edge and its text.
    int TextInset() const { return textInset_; }
    GridCell CurrentCell() const { return selection_.Current(); }
    GridCell SelectionAnchor() const { return selection_.Anchor(); }
    // Makes `cell` current, as a press on it does; with `extend` the range grows from the anchor.
    void SelectCell(GridCell cell, bool extend);

    // For the accessible object, which reads what the grid shows and where.
    const GridData& Data() const { return data_; }
    const GridGeometry& Geometry() const { return geometry_; }

  private:
    friend class Window<StringGrid>;
    // Between a cell's top-left corner and its text, at 96 dpi.
    static constexpr int kTextInset = 2;

    // Posted once however many row count changes arrive before the queue runs again, so that
    // filling a grid row by row does not pay for a scroll bar update per row.
    static constexpr UINT kUpdateScrollBars = WM_USER + 1;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Paint();
    void PaintCell(HDC dc, int col, int row, const GridRect& rect);
    void OnButtonDown(MouseButton button, bool doubleClick, WPARAM keys, int x, int y);
    void OnMouseMove(int x, int y);
    void OnLeftButtonUp(int x);
    bool DragUnderWay() const;
    void OnKeyDown(WPARAM key);
    void CurrentMoved(int fromRow);
    void ReportCurrentRow();
    LRESULT AnswerGetObject(WPARAM wParam, LPARAM lParam);
    void RevealCurrent();
    void InvalidateAll();
    void InvalidateData();
    void EndDrags();

    // The view and its scroll bars.
    void OnSize();
    void UpdateScrollBars();
    void ScheduleScrollBarUpdate();
    void OnScroll(int bar, int request);
    void ScrollTo(std::optional<int> leftCol, std::optional<int> topRow);
    void OnWheel(int delta);

    // The column-sizing drag.
    bool ShowSizingCursor() const;
    bool BeginColumnSizing(int x, int y);
    void TrackColumnSizing(int x);
    void EndColumnSizing(int x);
    void DrawSizingLine();
    void InvertSizingLine(HDC dc) const;

    const GridData& data_;
    GridGeometry geometry_;
    GridSelection selection_;
    DrawCellHook drawCell_;
    MouseDownHook mouseDown_;
    ColumnResizedHook columnResized_;
    // Made at the first request for it and cut off when the window goes.
    GridAccessible* accessible_ = nullptr;
    UniqueFont font_;
    int zeroWidth_ = 0;
    int textInset_ = kTextInset;
    int wheelRemainder_ = 0;
    bool updatingScrollBars_ = false;
    bool scrollBarUpdatePending_ = false;
    // Set while the whole window waits for WM_PAINT, so further invalidations cost nothing.
    bool wholeInvalid_ = false;
    bool selecting_ = false;
    // Column being sized, the x of the line that follows the mouse, and the distance from the
    // mouse to the edge it grabbed.
    std::optional<int> sizingCol_;
    int sizingX_ = 0;
    int sizingOffset_ = 0;
};

}  // namespace tavelin::ui
