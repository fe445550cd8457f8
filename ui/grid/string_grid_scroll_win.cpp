// The string grid's view of its rows and columns: the size of the view, the two scroll bars and
// their requests, the wheel, and ScrollTo, through which every move of the view goes. The view
// moves by whole rows and columns.
#include "ui/grid/string_grid_win.h"

#include <algorithm>

namespace tavelin::ui {

namespace {

int WheelLines() {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return static_cast<int>(lines);
}

}  // namespace

void StringGrid::OnSize() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int left = geometry_.LeftCol();
    const int top = geometry_.TopRow();
    geometry_.SetViewSize(client.right, client.bottom);
    if (left != geometry_.LeftCol() || top != geometry_.TopRow())
        InvalidateAll();
    if (!updatingScrollBars_)
        UpdateScrollBars();
}

void StringGrid::ScheduleScrollBarUpdate() {
    if (!Handle() || scrollBarUpdatePending_)
        return;
    scrollBarUpdatePending_ = true;
    PostMessageW(Handle(), kUpdateScrollBars, 0, 0);
}

// Showing or hiding one bar changes the room for the other; the nested WM_SIZE updates the
// view, and a few passes settle it.
void StringGrid::UpdateScrollBars() {
    if (!Handle())
        return;
    scrollBarUpdatePending_ = false;
    updatingScrollBars_ = true;
    for (int pass = 0; pass < 3; ++pass) {
        const int viewWidth = geometry_.ViewWidth();
        const int viewHeight = geometry_.ViewHeight();

        SCROLLINFO vertical{};
        vertical.cbSize = sizeof vertical;
        vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        vertical.nMax = std::max(geometry_.RowCount() - 2, 0);
        vertical.nPage = static_cast<UINT>(geometry_.PageRows());
        vertical.nPos = geometry_.TopRow() - 1;
        SetScrollInfo(Handle(), SB_VERT, &vertical, TRUE);

        SCROLLINFO horizontal{};
        horizontal.cbSize = sizeof horizontal;
        horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        horizontal.nMax = std::max(geometry_.ColCount() - 1, 0);
        horizontal.nPage = static_cast<UINT>(std::max(geometry_.ColCount() - geometry_.MaxLeftCol(), 1));
        horizontal.nPos = geometry_.LeftCol();
        SetScrollInfo(Handle(), SB_HORZ, &horizontal, TRUE);

        if (viewWidth == geometry_.ViewWidth() && viewHeight == geometry_.ViewHeight())
            break;
    }
    updatingScrollBars_ = false;
}

void StringGrid::OnScroll(int bar, int request) {
    if (scrollBarUpdatePending_)
        UpdateScrollBars();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(Handle(), bar, &info);
    if (bar == SB_VERT) {
        const int top = geometry_.TopRow();
        switch (request) {
            case SB_LINEUP:
                return ScrollTo(std::nullopt, top - 1);
            case SB_LINEDOWN:
                return ScrollTo(std::nullopt, top + 1);
            case SB_PAGEUP:
                return ScrollTo(std::nullopt, top - geometry_.PageRows());
            case SB_PAGEDOWN:
                return ScrollTo(std::nullopt, top + geometry_.PageRows());
            case SB_TOP:
                return ScrollTo(std::nullopt, 1);
            case SB_BOTTOM:
                return ScrollTo(std::nullopt, geometry_.MaxTopRow());
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION:
                return ScrollTo(std::nullopt, info.nTrackPos + 1);
        }
        return;
    }
    const int left = geometry_.LeftCol();
    switch (request) {
        case SB_LINELEFT: {
            int col = left - 1;
            while (col > 0 && !geometry_.ColVisible(col))
                --col;
            return ScrollTo(col, std::nullopt);
        }
        case SB_LINERIGHT: {
            int col = left + 1;
            while (col < geometry_.MaxLeftCol() && !geometry_.ColVisible(col))
                ++col;
            return ScrollTo(col, std::nullopt);
        }
        case SB_PAGELEFT:
            return ScrollTo(left - geometry_.PageCols(), std::nullopt);
        case SB_PAGERIGHT:
            return ScrollTo(left + geometry_.PageCols(), std::nullopt);
        case SB_LEFT:
            return ScrollTo(0, std::nullopt);
        case SB_RIGHT:
            return ScrollTo(geometry_.MaxLeftCol(), std::nullopt);
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            return ScrollTo(info.nTrackPos, std::nullopt);
    }
}

// A vertical scroll leaves the header row alone: the owner's drawing hook may do real work
// whenever a header cell is painted.
void StringGrid::ScrollTo(std::optional<int> leftCol, std::optional<int> topRow) {
    const bool movedLeft = leftCol && geometry_.SetLeftCol(*leftCol);
    const bool movedTop = topRow && geometry_.SetTopRow(*topRow);
    if (movedLeft)
        InvalidateAll();
    else if (movedTop)
        InvalidateData();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    if (movedTop) {
        info.nPos = geometry_.TopRow() - 1;
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    }
    if (movedLeft) {
        info.nPos = geometry_.LeftCol();
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    }
}

void StringGrid::OnWheel(int delta) {
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ -= notches * WHEEL_DELTA;
    if (notches == 0)
        return;
    const int lines = WheelLines();
    const int step = lines == static_cast<int>(WHEEL_PAGESCROLL) ? geometry_.PageRows() : lines;
    ScrollTo(std::nullopt, geometry_.TopRow() - notches * step);
}

}  // namespace tavelin::ui
