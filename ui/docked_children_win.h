#pragma once
// Keeps a parent's docked child windows in place whenever the parent's client area changes.
#include <windows.h>

#include <vector>

#include "ui/dock_layout.h"

namespace tavelin::ui {

class DockedChildren {
  public:
    void Add(HWND child, Align align, int size);
    // The width of a Left slot or the height of a Top or Bottom slot.
    void SetSize(HWND child, int size);
    int Size(HWND child) const;
    // Moves every child to its place inside `parent`'s client area.
    void Apply(HWND parent) const;

  private:
    struct Child {
        HWND hwnd;
        DockSlot slot;
    };
    std::vector<Child> children_;
};

}  // namespace tavelin::ui
