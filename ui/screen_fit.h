#pragma once
// Keeping a top-level window where the user can reach it. Portable arithmetic; the monitors are
// asked in screen_fit_win.cpp.
#include "ui/dock_layout.h"

namespace tavelin::ui {

// Edges of a rectangle in screen coordinates.
struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Edges&) const = default;
};

// The bounds with the width and height raised to at least the minimum.
Bounds AtLeastSize(Bounds bounds, int minWidth, int minHeight);

// The edges of a rectangle at `bounds`; those beyond the range of int stop at its end.
Edges EdgesOf(const Bounds& bounds);

// The strip along the top of a window at `bounds` that holds its caption, `height` high. Edges
// beyond the range of int stop at its end, so a window far out still gives a strip far out.
Edges CaptionStrip(const Bounds& bounds, int height);

// The bounds moved the least that puts them inside `area`; bounds larger than the area keep
// their top-left corner, and with it the caption, inside it.
Bounds MovedInside(Bounds bounds, const Bounds& area);

// The bounds made no larger than `area`, though never below the minimum, then moved inside it.
Bounds FittedInside(Bounds bounds, int minWidth, int minHeight, const Bounds& area);

// A rectangle of the given size centred in `area`.
Bounds CenteredIn(int width, int height, const Bounds& area);

// How far the visible frame lies inside a window's rectangle on each side; a side where the frame
// reaches past the rectangle has no hidden border.
Edges HiddenBorders(const Edges& window, const Edges& frame);

// The bounds less, or plus, the given thickness on each side.
Bounds Inset(const Bounds& bounds, const Edges& thickness);
Bounds Outset(const Bounds& bounds, const Edges& thickness);

}  // namespace tavelin::ui
