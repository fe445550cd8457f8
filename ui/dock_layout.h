#pragma once
// Docking of child controls to the edges of their parent, the way the form's control tree
// describes them: top and bottom bands first, then left columns, and the client control
// takes what remains. Portable, so the arithmetic is tested without a window.
#include <span>

namespace tavelin::ui {

enum class Align { Left, Top, Bottom, Client };

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Bounds&) const = default;
};

struct DockSlot {
    Align align = Align::Client;
    int size = 0;   // width of a Left slot, height of a Top or Bottom slot; ignored for Client
    Bounds bounds;  // the result
};

// Places every slot inside `client`, in slot order within each alignment; a slot that no
// longer fits is squeezed to zero rather than given a negative size, and a negative size counts
// as zero, so nothing after it is pushed off the left or top edge.
void LayOutDocked(const Bounds& client, std::span<DockSlot> slots);

}  // namespace tavelin::ui
