#pragma once
// Fonts, brushes, bitmaps and image lists owned by the object that made them: deleted when it
// goes or when a new one takes their place, never by hand.
#include <windows.h>

#include <commctrl.h>

#include "base/unique_handle.h"

namespace tavelin::ui {

template <class H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};
using UniqueFont = Unique<GdiObjectTraits<HFONT>>;
using UniqueBrush = Unique<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = Unique<GdiObjectTraits<HBITMAP>>;

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ImageList_Destroy(h); }
};
using UniqueImageList = Unique<ImageListTraits>;

}  // namespace tavelin::ui
