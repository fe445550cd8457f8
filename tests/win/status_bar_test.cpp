#include <windows.h>

#include <gtest/gtest.h>

#include "support/owner_window.h"
#include "ui/status_bar_win.h"

namespace tavelin::ui {
namespace {

// Pixels of the whole bar in `colour`.
int PixelsOf(HWND bar, COLORREF colour) {
    RECT rc;
    GetClientRect(bar, &rc);
    HDC dc = GetDC(bar);
    int count = 0;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x)
            count += GetPixel(dc, x, y) == colour;
    ReleaseDC(bar, dc);
    return count;
}

// Pixels of the status line's text area that differ from its background.
int InkedPixels(HWND bar) {
    RECT rc;
    GetClientRect(bar, &rc);
    HDC dc = GetDC(bar);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    int inked = 0;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right / 2; ++x)
            inked += GetPixel(dc, x, y) != face;
    ReleaseDC(bar, dc);
    return inked;
}

TEST(StatusBar, TextIsTheWindowTextAndRepaintNowShowsItBeforeReturning) {
    test::OwnerWindow owner(50, 50, 400, 200);
    StatusBar bar;
    bar.Create(owner.Handle(), 1);
    RECT client;
    GetClientRect(owner.Handle(), &client);
    MoveWindow(bar.Handle(), 0, client.bottom - 19, client.right, 19, TRUE);
    bar.RepaintNow();
    EXPECT_EQ(InkedPixels(bar.Handle()), 0);
    // Taller than the grip: every pixel is painted, none left as it was (black here).
    EXPECT_EQ(PixelsOf(bar.Handle(), RGB(0, 0, 0)), 0);

    bar.SetText(L"フォルダ［写真］を作成しています。");
    wchar_t text[64] = {};
    GetWindowTextW(bar.Handle(), text, 64);
    EXPECT_STREQ(text, L"フォルダ［写真］を作成しています。");
    // No message runs between the two calls, as in the copy's loop.
    bar.RepaintNow();
    EXPECT_GT(InkedPixels(bar.Handle()), 20);

    bar.SetText(L"");
    bar.RepaintNow();
    EXPECT_EQ(InkedPixels(bar.Handle()), 0);
    EXPECT_EQ(GetWindowTextLengthW(bar.Handle()), 0);
}

TEST(StatusBar, GripSizesTheTopLevelWindowUnlessItIsMaximised) {
    test::OwnerWindow owner(50, 50, 400, 200);
    StatusBar bar;
    bar.Create(owner.Handle(), 1);
    MoveWindow(bar.Handle(), 0, 150, 400, 19, TRUE);
    RECT rc;
    GetWindowRect(bar.Handle(), &rc);
    LPARAM corner = MAKELPARAM(rc.right - 2, rc.bottom - 2);
    LPARAM middle = MAKELPARAM(rc.left + 50, rc.bottom - 2);
    EXPECT_EQ(SendMessageW(bar.Handle(), WM_NCHITTEST, 0, corner), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessageW(bar.Handle(), WM_NCHITTEST, 0, middle), HTCLIENT);
    ShowWindow(owner.Handle(), SW_MAXIMIZE);
    GetWindowRect(bar.Handle(), &rc);
    EXPECT_EQ(SendMessageW(bar.Handle(), WM_NCHITTEST, 0, MAKELPARAM(rc.right - 2, rc.bottom - 2)), HTCLIENT);
}

}  // namespace
}  // namespace tavelin::ui
