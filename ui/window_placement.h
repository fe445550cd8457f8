#pragma once
// Where the main window opens among the monitors there are now. Positions are desktop pixels,
// which belong to whichever monitor they fall on; lengths are kept at 96 dpi and take the
// resolution of the monitor the window lands on. Portable, so that layouts of several monitors,
// which no test machine has, are tried without them.
#include <span>

#include "ui/dpi_scale.h"
#include "ui/screen_fit.h"

namespace tavelin::ui {

struct Monitor {
    Edges area;  // the whole monitor, in desktop pixels
    Edges work;  // the monitor less the task bar and docked bars
    int dpi = kDefaultDpi;
};

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

// The borders that a window's rectangle counts but that are not drawn (Windows 10 and later put
// the resizing border there), as thick as they were measured at `dpi`.
struct HiddenFrame {
    Edges thickness;
    int dpi = kDefaultDpi;
};

// The bounds, in desktop pixels, of a window whose top-left corner was saved at `saved.left`,
// `saved.top` and whose size at 96 dpi, raised to `minimum`, is `saved.width` by `saved.height`.
// It keeps its place on the monitor that holds most of it at that monitor's resolution, or goes
// to the nearest one when it is on none. Larger than that monitor's work area, and not spread
// over the work areas of several, it is made as large as that work area and shown in it whole;
// else it is brought into the work area when no work area holds enough of its top edge to take
// hold of it. Both rules measure what is seen of the window: its bounds less `hidden`.
Bounds PlaceWindow(const Bounds& saved,
                   Size minimum,
                   std::span<const Monitor> monitors,
                   const HiddenFrame& hidden = {});

}  // namespace tavelin::ui
