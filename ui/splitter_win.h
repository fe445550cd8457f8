#pragma once
// A vertical bar right of a pane that the user drags to resize the pane. While dragging, a hatched
// line on the parent follows the mouse; the release sets the width, Esc cancels. A drop that
// leaves the pane too narrow closes it; dragging from width 0 opens it again. The splitter does
// not lay anything out: the owner reads and sets the pane width through two hooks and re-runs
// its layout when the width is set.
#include <windows.h>

#include <functional>

#include "ui/gdi_object_win.h"
#include "ui/window_win.h"

namespace tavelin::ui {

class Splitter : public Window<Splitter> {
  public:
    // Lengths at 96 dpi; SetDpi scales the two limits for other displays.
    static constexpr int kWidth = 3;
    // A drop at this width or less closes the pane.
    static constexpr int kClosingWidth = 30;
    // The pane never takes more than the parent's client width less this.
    static constexpr int kRoomRight = 33;

    struct Hooks {
        std::function<int()> paneWidth;
        std::function<void(int)> setPaneWidth;
    };

    explicit Splitter(Hooks hooks);
    ~Splitter();

    // A visible child window; the owner's layout places it right of the pane, kWidth wide.
    HWND Create(HWND parent, int id);
    void SetDpi(int dpi);

    // The pane width that a drag to `proposed` gives when the parent is `parentWidth` wide.
    int DragWidth(int proposed, int parentWidth) const;
    int DropWidth(int proposed, int parentWidth) const;

  private:
    friend class Window<Splitter>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void BeginDrag(int x);
    void Track(int x);
    void EndDrag(bool apply);
    void InvertLine() const;
    RECT RectInParent() const;
    int ParentWidth() const;

    Hooks hooks_;
    UniqueBrush hatch_;
    bool dragging_ = false;
    HWND focusBefore_ = nullptr;
    // Mouse x at the press, in parent coordinates, the pane's width then, and its left edge.
    int downX_ = 0;
    int startWidth_ = 0;
    int paneLeft_ = 0;
    int width_ = 0;
    int closingWidth_ = kClosingWidth;
    int roomRight_ = kRoomRight;
};

}  // namespace tavelin::ui
