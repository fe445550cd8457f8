// The main window on a 96-dpi screen and, run again in a prefix whose screen is at 144 dpi
// (TAVELIN_TEST_DPI=144), on a screen at 150 %.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "res/resource.h"
#include "settings/settings_table.h"
#include "support/dialog_watcher.h"
#include "support/form_fixture.h"
#include "support/temp_dir.h"
#include "ui/dpi_scale.h"
#include "ui/scoped_dc_win.h"

namespace tavelin::test {
namespace {

// What the settings place, in the file's order: the window's left, top, width and height, the
// left pane's width and the five column widths.
using Geometry = WindowSettings;

// The form's fixed lengths as the window shows them: Panel2's and Edit1's heights, the splitter's
// width, the status line's and the grid rows' heights, the tree's picture, the character height
// of the folder box's and the tree's font.
using Parts = std::array<int, 7>;

struct Display {
    int dpi;
    Geometry firstStart;  // without a settings file
    Geometry moved;       // what kMovedInFile gives
    Parts parts;
    int sizingZoneLeft, sizingZoneRight;
    int closingWidth, roomRight;  // the splitter's limits
};

// Two files, written on a 96-dpi screen. Their positions are desktop pixels, the same at any
// resolution.
constexpr Geometry kDefaultsInFile{50, 50, 500, 350, 200, 120, 80, 50, 50, 50};
constexpr Geometry kMovedInFile{60, 40, 600, 420, 240, 150, 90, 0, 130, 70};

constexpr Display kDisplays[] = {
    {96, kDefaultsInFile, kMovedInFile, {19, 20, 3, 19, 24, 16, 12}, 3, 4, 30, 33},
    {144,
     {50, 50, 750, 525, 300, 180, 120, 75, 75, 75},
     {60, 40, 900, 630, 360, 225, 135, 0, 195, 105},
     {29, 30, 5, 29, 36, 24, 18},
     5,
     6,
     45,
     50},
};

int ExpectedDpi() {
    wchar_t text[16] = {};
    return GetEnvironmentVariableW(L"TAVELIN_TEST_DPI", text, 16) ? _wtoi(text) : 96;
}

const Display* FindDisplay(int dpi) {
    for (const auto& d : kDisplays)
        if (d.dpi == dpi)
            return &d;
    return nullptr;
}

int WindowWidth(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.right - r.left;
}

int WindowHeight(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

Geometry Measure(const TForm1& form) {
    RECT window;
    GetWindowRect(form.Handle(), &window);
    return {window.left,
            window.top,
            window.right - window.left,
            window.bottom - window.top,
            WindowWidth(form.Panel1.Handle()),
            form.StringGrid1.ColWidth(0),
            form.StringGrid1.ColWidth(1),
            form.StringGrid1.ColWidth(2),
            form.StringGrid1.ColWidth(3),
            form.StringGrid1.ColWidth(4)};
}

Parts MeasureParts(const TForm1& form) {
    int image = 0, unused = 0;
    ImageList_GetIconSize(TreeView_GetImageList(form.TreeView1.Handle(), TVSIL_NORMAL), &image, &unused);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.TreeView1.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    return {WindowHeight(form.Panel2.Handle()),
            WindowHeight(form.Edit1.Handle()),
            WindowWidth(form.Splitter1.Handle()),
            WindowHeight(form.StatusBar1.Handle()),
            form.StringGrid1.RowHeight(0),
            image,
            -font.lfHeight};
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The colours of a picture `size` pixels square, row by row, as `draw` puts it on magenta.
template <typename Draw>
std::vector<COLORREF> Drawn(int size, Draw draw) {
    const ui::WindowDc screen(nullptr);
    HDC dc = CreateCompatibleDC(screen.Get());
    HBITMAP canvas = CreateCompatibleBitmap(screen.Get(), size, size);
    std::vector<COLORREF> pixels;
    {
        const ui::SelectedObject selected(dc, canvas);
        HBRUSH magenta = CreateSolidBrush(kMagenta);
        RECT all{0, 0, size, size};
        FillRect(dc, &all, magenta);
        DeleteObject(magenta);
        draw(dc);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                pixels.push_back(GetPixel(dc, x, y));
    }
    DeleteObject(canvas);
    DeleteDC(dc);
    return pixels;
}

class Form1Dpi : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        display_ = FindDisplay(ExpectedDpi());
        ASSERT_NE(display_, nullptr) << "no expectations for " << ExpectedDpi() << " dpi";
        // A prefix that lost its resolution would pass the 96-dpi expectations twice.
        ASSERT_EQ(form->Dpi(), display_->dpi);
    }

    void CloseForm() {
        HWND hwnd = form->Handle();
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        Pump();
        ASSERT_FALSE(IsWindow(hwnd));
    }

    // Drags the splitter with the mouse by `delta` pixels.
    void DragSplitter(int delta) {
        HWND splitter = form->Splitter1.Handle();
        SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
        SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1 + delta, 10));
        SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(1 + delta, 10));
        Pump();
    }

    // Presses the header at x, drags 10 pixels right and lets go; returns column 0's width after.
    int DragHeaderFrom(int x) {
        HWND grid = form->StringGrid1.Handle();
        SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
        SendMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 10, 5));
        SendMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(x + 10, 5));
        Pump();
        return form->StringGrid1.ColWidth(0);
    }

    static Geometry SavedGeometry() {
        Geometry g{};
        for (std::size_t i = 0; i < g.size(); ++i)
            g[i] = static_cast<int>(
                GetPrivateProfileIntW(kNumericKeys[i].section, kNumericKeys[i].key, -1, IniFile().c_str()));
        return g;
    }

    static void WriteSettings(const Geometry& g) {
        for (std::size_t i = 0; i < g.size(); ++i)
            WritePrivateProfileStringW(kNumericKeys[i].section, kNumericKeys[i].key, std::to_wstring(g[i]).c_str(),
                                       IniFile().c_str());
    }

    int ClientWidth() const {
        RECT r{};
        GetClientRect(form->Handle(), &r);
        return r.right;
    }

    const Display* display_ = nullptr;
};

TEST_F(Form1Dpi, TheFirstStartShowsTheDefaultsAndTheFormsPartsAtTheScreensResolution) {
    EXPECT_EQ(Measure(*form), display_->firstStart);
    EXPECT_EQ(MeasureParts(*form), display_->parts);
}

TEST_F(Form1Dpi, TheSettingsFileHoldsWhatA96DpiScreenWritesAndReadsBackTheSame) {
    CloseForm();
    EXPECT_EQ(SavedGeometry(), kDefaultsInFile);

    WriteSettings(kMovedInFile);
    OpenForm();
    EXPECT_EQ(Measure(*form), display_->moved);
    CloseForm();
    EXPECT_EQ(SavedGeometry(), kMovedInFile);
}

TEST_F(Form1Dpi, TheColumnSizingZoneReachesItsScaledDistanceFromTheEdge) {
    const int edge = form->StringGrid1.ColWidth(0);
    struct Case {
        const char* what;
        int x;
        bool sizes;
    } const cases[] = {
        {"farthest left that still grabs", edge - display_->sizingZoneLeft, true},
        {"one pixel further left", edge - display_->sizingZoneLeft - 1, false},
        {"farthest right that still grabs", edge + display_->sizingZoneRight, true},
        {"one pixel further right", edge + display_->sizingZoneRight + 1, false},
    };
    for (const auto& c : cases) {
        form->StringGrid1.SetColWidth(0, edge);
        EXPECT_EQ(DragHeaderFrom(c.x), c.sizes ? edge + 10 : edge) << c.what;
    }
}

TEST_F(Form1Dpi, TheSplittersLimitsAreAtTheirScaledWidths) {
    const int pane = display_->firstStart[kPaneWidth];
    struct Case {
        const char* what;
        int delta;
        int expected;
    } const cases[] = {
        {"one pixel wider than the closing width stays open", display_->closingWidth + 1 - pane,
         display_->closingWidth + 1},
        {"the closing width closes", display_->closingWidth - pane, 0},
        {"as wide as the window lets it", 5000, ClientWidth() - display_->roomRight},
    };
    for (const auto& c : cases) {
        DragSplitter(pane - WindowWidth(form->Panel1.Handle()));
        ASSERT_EQ(WindowWidth(form->Panel1.Handle()), pane) << c.what;
        DragSplitter(c.delta);
        EXPECT_EQ(WindowWidth(form->Panel1.Handle()), c.expected) << c.what;
    }
}

// Dragged to a screen of twice the resolution, the window takes the rectangle the system
// suggests and every length doubles; the file written afterwards is the one written before.
TEST_F(Form1Dpi, AMoveToAScreenOfTwiceTheResolutionDoublesEveryLengthAndChangesNothingInTheFile) {
    // Small enough to fit the virtual screen when doubled.
    SetWindowPos(form->Handle(), nullptr, 20, 10, 480, 360, SWP_NOZORDER);
    CloseForm();
    const Geometry savedBefore = SavedGeometry();
    OpenForm();

    const Geometry before = Measure(*form);
    ASSERT_EQ(before[kWidth], 480);
    const Parts partsBefore = MeasureParts(*form);
    const int zeroBefore = form->StringGrid1.ZeroCharWidth();
    RECT suggested{40, 30, 40 + 2 * before[kWidth], 30 + 2 * before[kHeight]};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(2 * display_->dpi, 2 * display_->dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump();

    EXPECT_EQ(form->Dpi(), 2 * display_->dpi);
    Geometry doubled{40, 30};
    for (std::size_t i = kWidth; i < doubled.size(); ++i)
        doubled[i] = 2 * before[i];
    EXPECT_EQ(Measure(*form), doubled);
    const Parts parts = MeasureParts(*form);
    EXPECT_EQ(parts[4], 2 * partsBefore[4]) << "the grid's rows";
    EXPECT_EQ(parts[5], 2 * partsBefore[5]) << "the tree's picture";
    EXPECT_EQ(parts[6], 2 * partsBefore[6]) << "the tree's font";
    // The grid's font doubles with the rest.
    EXPECT_GE(form->StringGrid1.ZeroCharWidth(), 2 * zeroBefore - 1);

    CloseForm();
    Geometry savedAfter = SavedGeometry();
    savedAfter[kLeft] = savedBefore[kLeft];  // the suggested rectangle placed it elsewhere
    savedAfter[kTop] = savedBefore[kTop];
    EXPECT_EQ(savedAfter, savedBefore);
}

// The listing pads the sizes for the grid's font at the screen's resolution, and a move to
// another resolution pads them again for the font used there.
TEST_F(Form1Dpi, SizesEndAtTheSizeColumnsRightEdgeAtEveryResolution) {
    TempDir dir;
    dir.MakeFile(L"a", 1234);
    dir.MakeFile(L"b", 5);
    form->ListFiles(dir.Path());
    ASSERT_EQ(form->Grid().RowCount(), 3) << Status();
    ExpectSizesEndAtTheRightEdge("listed");
    for (int percent : {125, 200, 100}) {
        RECT bounds{};
        GetWindowRect(form->Handle(), &bounds);
        const int dpi = display_->dpi * percent / 100;
        SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&bounds));
        ExpectSizesEndAtTheRightEdge("moved to " + std::to_string(dpi) + " dpi");
    }
}

// Back on the display it left, every width the user chose is what it was, and so is the file.
TEST_F(Form1Dpi, WidthsComeBackToThePixelAfterATourOfResolutions) {
    form->StringGrid1.SetColWidth(0, 201);  // as a drag of the column's edge leaves it
    const int paneBefore = WindowWidth(form->Panel1.Handle());
    DragSplitter(201 - paneBefore);
    ASSERT_EQ(WindowWidth(form->Panel1.Handle()), 201);
    const Geometry before = Measure(*form);
    for (int percent : {150, 125, 100, 175, 100}) {
        const int dpi = display_->dpi * percent / 100;
        RECT bounds{};
        GetWindowRect(form->Handle(), &bounds);
        SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&bounds));
        Pump();
    }
    const Geometry after = Measure(*form);
    for (std::size_t i = kPaneWidth; i < after.size(); ++i)
        EXPECT_EQ(after[i], before[i]) << i;
    CloseForm();
    const Geometry saved = SavedGeometry();
    EXPECT_EQ(saved[kPaneWidth], ui::ScaleLength(201, display_->dpi, 96));
    EXPECT_EQ(saved[kColumn0Width], ui::ScaleLength(201, display_->dpi, 96));
}

// Written on a 100 % screen, which it fits; at 150 % it would be larger than the screen. Shown
// there whole, over the work area, it leaves the file its size until the user resizes it.
TEST_F(Form1Dpi, AWindowTooLargeForTheScreenIsShownWholeAndTheFileKeepsItsSize) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    constexpr Geometry kLarge{20, 30, 800, 600, 200, 120, 80, 50, 50, 50};
    WriteSettings(kLarge);
    OpenForm();
    Geometry shown = kLarge;
    shown[kWidth] = ui::ToDpi(kLarge[kWidth], display_->dpi);
    shown[kHeight] = ui::ToDpi(kLarge[kHeight], display_->dpi);
    const bool fits = shown[kWidth] <= work.right - work.left && shown[kHeight] <= work.bottom - work.top;
    ASSERT_EQ(fits, display_->dpi == 96) << "a screen of another size than the test's";
    if (!fits)
        shown = {work.left, work.top, work.right - work.left, work.bottom - work.top};
    const Geometry measured = Measure(*form);
    EXPECT_EQ(Geometry({measured[kLeft], measured[kTop], measured[kWidth], measured[kHeight]}),
              Geometry({shown[kLeft], shown[kTop], shown[kWidth], shown[kHeight]}));
    RECT status{};
    GetWindowRect(form->StatusBar1.Handle(), &status);
    EXPECT_LE(status.bottom, work.bottom);
    CloseForm();
    Geometry saved = kLarge;
    saved[kLeft] = shown[kLeft];
    saved[kTop] = shown[kTop];
    EXPECT_EQ(SavedGeometry(), saved);

    if (!fits) {
        // Taken to a screen at 100 %, in the rectangle the system suggests, it is still as the
        // program made it.
        OpenForm();
        RECT suggested{0, 0, ui::ScaleLength(shown[kWidth], display_->dpi, 96),
                       ui::ScaleLength(shown[kHeight], display_->dpi, 96)};
        SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
        CloseForm();
        EXPECT_EQ(SavedGeometry(), saved);
    }

    OpenForm();
    SetWindowPos(form->Handle(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    CloseForm();
    const Geometry resized = SavedGeometry();
    EXPECT_EQ(resized[kWidth], ui::ScaleLength(700, display_->dpi, 96));
    EXPECT_EQ(resized[kHeight], ui::ScaleLength(500, display_->dpi, 96));
}

// At 125 %, 150 % and 200 % the tree shows the folder drawn for that size, pixel for pixel,
// rather than the 16-pixel one stretched.
TEST_F(Form1Dpi, TheTreesPictureIsTheOneDrawnForItsSize) {
    const struct {
        int dpi;
        int resource;
    } drawn[] = {{96, IDB_FOLDER}, {120, IDB_FOLDER_20}, {144, IDB_FOLDER_24}, {192, IDB_FOLDER_32}};
    for (const auto& d : drawn) {
        RECT bounds{};
        GetWindowRect(form->Handle(), &bounds);
        SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(d.dpi, d.dpi), reinterpret_cast<LPARAM>(&bounds));
        Pump();
        HIMAGELIST images = TreeView_GetImageList(form->TreeView1.Handle(), TVSIL_NORMAL);
        int shownSize = 0, unused = 0;
        ImageList_GetIconSize(images, &shownSize, &unused);
        auto picture = static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(d.resource), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(picture, nullptr) << d.dpi;
        BITMAP bitmap{};
        GetObjectW(picture, sizeof bitmap, &bitmap);
        ASSERT_EQ(shownSize, bitmap.bmWidth) << d.dpi;
        const std::vector<COLORREF> shown =
            Drawn(shownSize, [&](HDC dc) { ImageList_Draw(images, 0, dc, 0, 0, ILD_NORMAL); });
        std::vector<COLORREF> expected = Drawn(shownSize, [&](HDC dc) {
            HDC source = CreateCompatibleDC(dc);
            {
                const ui::SelectedObject selected(source, picture);
                BitBlt(dc, 0, 0, shownSize, shownSize, source, 0, 0, SRCCOPY);
            }
            DeleteDC(source);
        });
        DeleteObject(picture);
        // White is the picture's transparent colour.
        for (COLORREF& colour : expected)
            if (colour == RGB(255, 255, 255))
                colour = kMagenta;
        int different = 0;
        for (std::size_t i = 0; i < expected.size(); ++i)
            different += shown[i] != expected[i];
        EXPECT_EQ(different, 0) << d.dpi << " dpi";
    }
}

// The message box's icon grows with its font; at 150 % a 32-pixel icon stood beside text half as
// large again.
TEST_F(Form1Dpi, TheMessageBoxsIconIsAtTheScreensResolution) {
    DialogWatcher watcher({Answer::Button(IDNO)});
    Command(IDM_EXIT);
    ASSERT_EQ(watcher.Count(), 1u);
    EXPECT_EQ(watcher.Seen(0).iconWidth, 32 * display_->dpi / 96);
}

}  // namespace
}  // namespace tavelin::test
