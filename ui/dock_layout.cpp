#include "ui/dock_layout.h"

#include <algorithm>

namespace tavelin::ui {

void LayOutDocked(const Bounds& client, std::span<DockSlot> slots) {
    int left = client.left;
    int top = client.top;
    int right = client.left + client.width;
    int bottom = client.top + client.height;
    auto place = [](DockSlot& slot, int x, int y, int w, int h) {
        slot.bounds = {x, y, std::max(w, 0), std::max(h, 0)};
    };
    for (auto& s : slots) {
        if (s.align == Align::Top) {
            int h = std::clamp(s.size, 0, std::max(bottom - top, 0));
            place(s, left, top, right - left, h);
            top += h;
        }
    }
    for (auto& s : slots) {
        if (s.align == Align::Bottom) {
            int h = std::clamp(s.size, 0, std::max(bottom - top, 0));
            bottom -= h;
            place(s, left, bottom, right - left, h);
        }
    }
    for (auto& s : slots) {
        if (s.align == Align::Left) {
            int w = std::clamp(s.size, 0, std::max(right - left, 0));
            place(s, left, top, w, bottom - top);
            left += w;
        }
    }
    for (auto& s : slots) {
        if (s.align == Align::Client)
            place(s, left, top, right - left, bottom - top);
    }
}

}  // namespace tavelin::ui
