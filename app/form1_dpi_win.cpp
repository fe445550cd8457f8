// Form1 on displays of any resolution: the form resource's 96-dpi lengths scaled to the window's
// display, and the settings file's lengths converted on their way in and out.
#include "app/form1_resource.h"
#include "app/form1_win.h"

#include <initializer_list>

namespace tavelin {

namespace {

HFONT CreatePixelFont(const form1::FontDesc& font, int dpi) {
    return CreateFontW(-ui::ToDpi(font.height, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       font.face);
}

// The position is in desktop pixels, which name the same place at any resolution: it is never
// scaled, or a window on a monitor of another resolution would come back on another one.
WindowSettings Rescaled(const WindowSettings& settings, int fromDpi, int toDpi) {
    WindowSettings scaled = settings;
    for (std::size_t i = kWidth; i < settings.size(); ++i)
        scaled[i] = ui::ScaleLength(settings[i], fromDpi, toDpi);
    return scaled;
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

void TForm1::OnDpiChanged(int dpi, const RECT& suggested) {
    const int old = dpi_;
    paneWidth_ = ui::ScaleLength(paneWidth_, old, dpi);
    for (int c = 0; c < form1::kGridColumns; ++c)
        StringGrid1.SetColWidth(c, ui::ScaleLength(StringGrid1.ColWidth(c), old, dpi));
    ApplyDpi(dpi);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitPane();
}

WindowSettings TForm1::SettingsAtWindowDpi(const WindowSettings& settings) const {
    return Rescaled(settings, ui::kDefaultDpi, dpi_);
}

WindowSettings TForm1::SettingsAtFileDpi(const WindowSettings& settings) const {
    return Rescaled(settings, dpi_, ui::kDefaultDpi);
}

}  // namespace tavelin
