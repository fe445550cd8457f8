#include "ui/screen_fit.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tavelin::ui {

namespace {

int ClampToInt(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The position along one axis: no further than the last one that keeps the far edge inside,
// and never before the start, which wins when the window is larger than the area.
int PlaceAlong(int position, int size, int start, int length) {
    const std::int64_t last = std::int64_t{start} + length - size;
    return ClampToInt(std::max<std::int64_t>(std::min<std::int64_t>(position, last), start));
}

}  // namespace

Bounds AtLeastSize(Bounds bounds, int minWidth, int minHeight) {
    bounds.width = std::max(bounds.width, minWidth);
    bounds.height = std::max(bounds.height, minHeight);
    return bounds;
}

Edges EdgesOf(const Bounds& bounds) {
    return {bounds.left, bounds.top, ClampToInt(std::int64_t{bounds.left} + bounds.width),
            ClampToInt(std::int64_t{bounds.top} + bounds.height)};
}

Edges CaptionStrip(const Bounds& bounds, int height) {
    return EdgesOf({bounds.left, bounds.top, bounds.width, height});
}

Bounds MovedInside(Bounds bounds, const Bounds& area) {
    bounds.left = PlaceAlong(bounds.left, bounds.width, area.left, area.width);
    bounds.top = PlaceAlong(bounds.top, bounds.height, area.top, area.height);
    return bounds;
}

Bounds FittedInside(Bounds bounds, int minWidth, int minHeight, const Bounds& area) {
    bounds.width = std::max(std::min(bounds.width, area.width), minWidth);
    bounds.height = std::max(std::min(bounds.height, area.height), minHeight);
    return MovedInside(bounds, area);
}

Bounds CenteredIn(int width, int height, const Bounds& area) {
    return {ClampToInt(area.left + (std::int64_t{area.width} - width) / 2),
            ClampToInt(area.top + (std::int64_t{area.height} - height) / 2), width, height};
}

Edges HiddenBorders(const Edges& window, const Edges& frame) {
    auto hidden = [](std::int64_t inner, std::int64_t outer) {
        return ClampToInt(std::max<std::int64_t>(0, inner - outer));
    };
    return {hidden(frame.left, window.left), hidden(frame.top, window.top), hidden(window.right, frame.right),
            hidden(window.bottom, frame.bottom)};
}

Bounds Inset(const Bounds& bounds, const Edges& thickness) {
    return {ClampToInt(std::int64_t{bounds.left} + thickness.left),
            ClampToInt(std::int64_t{bounds.top} + thickness.top),
            ClampToInt(std::int64_t{bounds.width} - thickness.left - thickness.right),
            ClampToInt(std::int64_t{bounds.height} - thickness.top - thickness.bottom)};
}

Bounds Outset(const Bounds& bounds, const Edges& thickness) {
    return Inset(bounds, {-thickness.left, -thickness.top, -thickness.right, -thickness.bottom});
}

}  // namespace tavelin::ui
