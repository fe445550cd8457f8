// The string grid's column sizing: a press on a header cell's right edge grabs it, a line follows
// the mouse across the rows, and the release gives the column its new width. Esc, a lost capture
// or the grid going hidden cancel it through EndDrags.
#include "ui/grid/string_grid_win.h"

#include <algorithm>

#include "ui/scoped_dc_win.h"

namespace tavelin::ui {

// The sizing cursor shows over every edge that a press would grab, and all along a drag.
bool StringGrid::ShowSizingCursor() const {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(Handle(), &p);
    if (!sizingCol_ && !geometry_.SizingColumnAt(p.x, p.y))
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    return true;
}

// The edge stays where the mouse grabbed it, so the drag does not start with a jump.
bool StringGrid::BeginColumnSizing(int x, int y) {
    const auto col = geometry_.SizingColumnAt(x, y);
    if (!col)
        return false;
    const auto rect = geometry_.CellRect(*col, 0);
    sizingCol_ = col;
    sizingOffset_ = rect->right - x;
    sizingX_ = rect->right;
    SetCapture(Handle());
    DrawSizingLine();
    return true;
}

// A column is never narrower than nothing: the line stops at its left edge.
void StringGrid::TrackColumnSizing(int x) {
    const int left = geometry_.CellRect(*sizingCol_, 0)->left;
    DrawSizingLine();
    sizingX_ = std::max(x + sizingOffset_, left);
    DrawSizingLine();
}

void StringGrid::EndColumnSizing(int x) {
    DrawSizingLine();
    const int col = *sizingCol_;
    const int left = geometry_.CellRect(col, 0)->left;
    sizingCol_.reset();
    ReleaseCapture();
    SetColWidth(col, std::max(x + sizingOffset_, left) - left);
}

// Inverted, so that a second call takes the line away again.
void StringGrid::DrawSizingLine() {
    WindowDc dc(Handle());
    InvertSizingLine(dc.Get());
}

void StringGrid::InvertSizingLine(HDC dc) const {
    PatBlt(dc, sizingX_, 0, 1, geometry_.ViewHeight(), DSTINVERT);
}

}  // namespace tavelin::ui
