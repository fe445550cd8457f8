#include "ui/splitter_win.h"

#include <algorithm>

#include "ui/dpi_scale.h"
#include "ui/scoped_dc_win.h"

namespace tavelin::ui {

namespace {

constexpr wchar_t kClassName[] = L"TavelinSplitter";

HBRUSH CreateHatchBrush() {
    // Alternate pixels, so the line shows on any background and XOR-ing it twice erases it.
    const WORD pattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    const UniqueBitmap bitmap(CreateBitmap(8, 8, 1, 1, pattern));
    return CreatePatternBrush(bitmap.Get());
}

}  // namespace

Splitter::Splitter(Hooks hooks) : hooks_(std::move(hooks)), hatch_(CreateHatchBrush()) {}

Splitter::~Splitter() {
    DestroyHandle();
}

HWND Splitter::Create(HWND parent, int id) {
    Register(kClassName, 0, LoadCursorW(nullptr, IDC_SIZEWE), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return Window::Create(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, kWidth, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Splitter::SetDpi(int dpi) {
    closingWidth_ = ToDpi(kClosingWidth, dpi);
    roomRight_ = ToDpi(kRoomRight, dpi);
}

int Splitter::DragWidth(int proposed, int parentWidth) const {
    return std::clamp(proposed, 0, std::max(parentWidth - roomRight_, 0));
}

int Splitter::DropWidth(int proposed, int parentWidth) const {
    const int width = DragWidth(proposed, parentWidth);
    return width <= closingWidth_ ? 0 : width;
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    switch (message) {
        case WM_LBUTTONDOWN:
            BeginDrag(x);
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_)
                Track(x);
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) {
                Track(x);
                EndDrag(true);
            }
            return 0;
        case WM_KEYDOWN:
            if (dragging_ && wParam == VK_ESCAPE)
                EndDrag(false);
            return 0;
        case WM_CAPTURECHANGED:
            if (dragging_)
                EndDrag(false);
            return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

void Splitter::BeginDrag(int x) {
    const RECT self = RectInParent();
    startWidth_ = hooks_.paneWidth();
    paneLeft_ = self.left - startWidth_;
    downX_ = self.left + x;
    width_ = startWidth_;
    // The keyboard comes here for the drag's length, so that Esc reaches us.
    focusBefore_ = GetFocus();
    SetFocus(Handle());
    dragging_ = true;
    SetCapture(Handle());
    InvertLine();
}

void Splitter::Track(int x) {
    const int mouse = RectInParent().left + x;
    const int width = DragWidth(startWidth_ + mouse - downX_, ParentWidth());
    if (width == width_)
        return;
    InvertLine();
    width_ = width;
    InvertLine();
}

void Splitter::EndDrag(bool apply) {
    InvertLine();
    dragging_ = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
    if (focusBefore_ && IsWindow(focusBefore_))
        SetFocus(focusBefore_);
    focusBefore_ = nullptr;
    if (apply)
        hooks_.setPaneWidth(DropWidth(width_, ParentWidth()));
}

// Drawn on the parent over its other children, where a tracking line has to be seen.
void Splitter::InvertLine() const {
    const HWND parent = GetParent(Handle());
    const RECT self = RectInParent();
    const WindowDc dc(parent, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    const SelectedObject hatch(dc.Get(), hatch_.Get());
    PatBlt(dc.Get(), paneLeft_ + width_, self.top, self.right - self.left, self.bottom - self.top, PATINVERT);
}

RECT Splitter::RectInParent() const {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Splitter::ParentWidth() const {
    RECT client{};
    GetClientRect(GetParent(Handle()), &client);
    return client.right;
}

}  // namespace tavelin::ui
