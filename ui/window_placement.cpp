#include "ui/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace tavelin::ui {

namespace {

// Enough of the top edge to take hold of the window by, at 96 dpi: about a caption's height, and
// room beside its buttons.
constexpr Size kGrip{120, 40};

Bounds SizedFor(const Bounds& saved, Size minimum, int dpi) {
    const Bounds size = AtLeastSize(saved, minimum.width, minimum.height);
    return {saved.left, saved.top, ToDpi(size.width, dpi), ToDpi(size.height, dpi)};
}

std::int64_t OverlapAlong(int start, int end, int areaStart, int areaEnd) {
    return std::max<std::int64_t>(0, std::int64_t{std::min(end, areaEnd)} - std::max(start, areaStart));
}

std::int64_t GapAlong(int start, int end, int areaStart, int areaEnd) {
    return std::max<std::int64_t>({0, std::int64_t{areaStart} - end, std::int64_t{start} - areaEnd});
}

std::int64_t OverlapArea(const Edges& a, const Edges& b) {
    return OverlapAlong(a.left, a.right, b.left, b.right) * OverlapAlong(a.top, a.bottom, b.top, b.bottom);
}

std::int64_t Distance(const Edges& a, const Edges& b) {
    return GapAlong(a.left, a.right, b.left, b.right) + GapAlong(a.top, a.bottom, b.top, b.bottom);
}

// The system gives a window the resolution of the monitor that holds most of it, and each
// monitor would hold it at its own resolution.
const Monitor& LandingMonitor(const Bounds& saved, Size minimum, std::span<const Monitor> monitors) {
    auto at = [&](const Monitor& m) { return EdgesOf(SizedFor(saved, minimum, m.dpi)); };
    const Monitor* best = &monitors.front();
    std::int64_t most = 0;
    for (const Monitor& m : monitors) {
        if (const std::int64_t area = OverlapArea(at(m), m.area); area > most) {
            most = area;
            best = &m;
        }
    }
    if (most > 0)
        return *best;
    return *std::min_element(monitors.begin(), monitors.end(), [&](const Monitor& a, const Monitor& b) {
        return Distance(at(a), a.area) < Distance(at(b), b.area);
    });
}

bool CanBeGrabbed(const Bounds& bounds, int dpi, std::span<const Monitor> monitors) {
    const Edges strip = CaptionStrip(bounds, ToDpi(kGrip.height, dpi));
    return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) {
        return OverlapAlong(strip.left, strip.right, m.work.left, m.work.right) >= ToDpi(kGrip.width, dpi) &&
               OverlapAlong(strip.top, strip.bottom, m.work.top, m.work.bottom) >= ToDpi(kGrip.height, dpi);
    });
}

// A window the user spread over two monitors is larger than either, and is left so.
bool WithinWorkAreas(const Bounds& bounds, std::span<const Monitor> monitors) {
    const Edges edges = EdgesOf(bounds);
    std::int64_t covered = 0;
    for (const Monitor& m : monitors)
        covered += OverlapArea(edges, m.work);
    return covered == std::int64_t{bounds.width} * bounds.height;
}

Edges ThicknessAt(const HiddenFrame& hidden, int dpi) {
    const Edges& t = hidden.thickness;
    return {ScaleLength(t.left, hidden.dpi, dpi), ScaleLength(t.top, hidden.dpi, dpi),
            ScaleLength(t.right, hidden.dpi, dpi), ScaleLength(t.bottom, hidden.dpi, dpi)};
}

}  // namespace

Bounds PlaceWindow(const Bounds& saved, Size minimum, std::span<const Monitor> monitors, const HiddenFrame& hidden) {
    if (monitors.empty())
        return SizedFor(saved, minimum, kDefaultDpi);
    const Monitor& landing = LandingMonitor(saved, minimum, monitors);
    const Bounds bounds = SizedFor(saved, minimum, landing.dpi);
    const Edges thickness = ThicknessAt(hidden, landing.dpi);
    const Bounds seen = Inset(bounds, thickness);
    const Edges& w = landing.work;
    const Bounds work{w.left, w.top, w.right - w.left, w.bottom - w.top};
    if ((seen.width > work.width || seen.height > work.height) && !WithinWorkAreas(seen, monitors)) {
        const Bounds least = Inset(SizedFor({}, minimum, landing.dpi), thickness);
        return Outset(FittedInside(seen, least.width, least.height, work), thickness);
    }
    if (CanBeGrabbed(seen, landing.dpi, monitors))
        return bounds;
    return Outset(MovedInside(seen, work), thickness);
}

}  // namespace tavelin::ui
