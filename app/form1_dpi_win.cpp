// Form1 on displays of any resolution: the form resource's 96-dpi lengths scaled to the window's
// display, and the settings file's lengths converted on their way in and out.
#include "app/form1_resource.h"
#include "app/form1_win.h"

#include <algorithm>
#include <initializer_list>

#include "ui/screen_fit_win.h"

namespace tavelin {

namespace {

HFONT CreatePixelFont(const form1::FontDesc& font, int dpi) {
    return CreateFontW(-ui::ToDpi(font.height, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       font.face);
}

}  // namespace

void TForm1::ApplyDpi(int dpi) {
    dpi_ = dpi;
    ui::UniqueFont font(CreatePixelFont(form1::kFormFont, dpi));
    for (HWND control : {Edit1.Handle(), TreeView1.Handle()})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    formFont_ = std::move(font);
    TreeView1.SetDpi(dpi);

    Splitter1.SetDpi(dpi);
    StringGrid1.SetDpi(dpi);
    StringGrid1.SetFont(form1::kGridFont.face, Scaled(form1::kGridFont.height));
    StringGrid1.SetRowHeight(Scaled(form1::kGridRowHeight));
    StatusBar1.SetDpi(dpi);

    Panel1.Children().SetSize(Panel2.Handle(), Scaled(form1::kPanel2Height));
    Panel1.Children().Apply(Panel1.Handle());
    Panel1Resize();
    docked_.SetSize(Splitter1.Handle(), Scaled(form1::kSplitter1Width));
    docked_.SetSize(StatusBar1.Handle(), Scaled(form1::kStatusBar1Height));
    LayOut();
}

// The pane and the columns keep the widths the user gave them at whatever resolution that was; a
// window that had to be made smaller than the file's size stays so in the rectangle suggested.
void TForm1::OnDpiChanged(int dpi, const RECT& suggested) {
    const bool fitted = fitted_ && WindowSize() == fitted_->shown;
    ApplyDpi(dpi);
    ShowColumnWidths();
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (fitted)
        fitted_->shown = WindowSize();
    else
        fitted_.reset();
    FitPane();
}

void TForm1::PlaceAsSaved() {
    const ui::Bounds& saved = *savedBounds_;
    const ui::Size minimum = MinimumSize(ui::kDefaultDpi);
    const ui::Bounds b = ui::PlaceOnDesktop(saved, minimum, ui::HiddenFrameOf(Handle()));
    fitted_.reset();
    // A move onto a display of another resolution takes the rectangle the system suggests for it;
    // the second move, at that resolution already, puts the window where it belongs.
    for (int move = 0; move < 2; ++move)
        SetWindowPos(Handle(), nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    const ui::Size shown = WindowSize();
    if (shown.width < ui::ToDpi(std::max(saved.width, minimum.width), dpi_) ||
        shown.height < ui::ToDpi(std::max(saved.height, minimum.height), dpi_))
        fitted_ = FittedSize{{saved.width, saved.height}, shown};
}

// Before the window is first shown the system may not tell its visible frame yet.
void TForm1::PlaceOnVisibleFrame() {
    if (savedBounds_ && IsWindowVisible(Handle()) && !IsIconic(Handle()) && !IsZoomed(Handle()) &&
        ui::HiddenFrameOf(Handle()).thickness != ui::Edges{})
        PlaceAsSaved();
}

WindowSettings TForm1::GeometryToSave() {
    const ui::Bounds b = ui::BoundsToKeep(Handle());
    WindowSettings s{};
    s[kLeft] = b.left;
    s[kTop] = b.top;
    const bool fitted = fitted_ && !IsZoomed(Handle()) && ui::Size{b.width, b.height} == fitted_->shown;
    s[kWidth] = fitted ? fitted_->saved.width : ui::ScaleLength(b.width, dpi_, ui::kDefaultDpi);
    s[kHeight] = fitted ? fitted_->saved.height : ui::ScaleLength(b.height, dpi_, ui::kDefaultDpi);
    s[kPaneWidth] = paneWidth_.At(ui::kDefaultDpi);
    for (int c = 0; c < form1::kGridColumns; ++c)
        s[kColumn0Width + c] = columnWidths_[c].At(ui::kDefaultDpi);
    return s;
}

ui::Size TForm1::WindowSize() const {
    RECT rc{};
    GetWindowRect(Handle(), &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// Setting the size column's width also re-pads the sizes for the font now in use.
void TForm1::ShowColumnWidths() {
    for (int c = 0; c < form1::kGridColumns; ++c)
        StringGrid1.SetColWidth(c, columnWidths_[c].At(dpi_));
}

}  // namespace tavelin
