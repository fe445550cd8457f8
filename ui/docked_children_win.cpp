#include "ui/docked_children_win.h"

namespace tavelin::ui {

void DockedChildren::Add(HWND child, Align align, int size) {
    children_.push_back({child, {align, size, {}}});
}

void DockedChildren::SetSize(HWND child, int size) {
    for (auto& c : children_)
        if (c.hwnd == child)
            c.slot.size = size;
}

int DockedChildren::Size(HWND child) const {
    for (const auto& c : children_)
        if (c.hwnd == child)
            return c.slot.size;
    return 0;
}

void DockedChildren::Apply(HWND parent) const {
    RECT rc;
    GetClientRect(parent, &rc);
    std::vector<DockSlot> slots;
    slots.reserve(children_.size());
    for (const auto& c : children_)
        slots.push_back(c.slot);
    LayOutDocked({0, 0, rc.right, rc.bottom}, slots);
    HDWP defer = BeginDeferWindowPos(static_cast<int>(slots.size()));
    for (size_t i = 0; i < slots.size() && defer; ++i) {
        const Bounds& b = slots[i].bounds;
        defer = DeferWindowPos(defer, children_[i].hwnd, nullptr, b.left, b.top, b.width, b.height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer)
        EndDeferWindowPos(defer);
}

}  // namespace tavelin::ui
