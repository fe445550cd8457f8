#pragma once
// Lengths in this program are given for a 96-dpi display, as the form resource and the settings
// file hold them; a window on a display of another resolution draws them scaled. Portable, so
// the rounding is tested without a window.

namespace tavelin::ui {

inline constexpr int kDefaultDpi = 96;

// `length` measured at `fromDpi`, expressed at `toDpi`: rounded to the nearest pixel, halves away
// from zero, and held within the range of int. A resolution of 0 or less is taken as 96.
int ScaleLength(int length, int fromDpi, int toDpi);

// A 96-dpi length on a display of `dpi`.
inline int ToDpi(int length96, int dpi) {
    return ScaleLength(length96, kDefaultDpi, dpi);
}

// A length the user chose (a pane's or a column's width), kept at the resolution it was chosen
// at. Every display shows it scaled from there, never from the pixels another display showed, so
// that moving the window between displays never changes it by a rounding.
struct UserLength {
    int length = 0;
    int dpi = kDefaultDpi;

    int At(int toDpi) const { return ScaleLength(length, dpi, toDpi); }
};

}  // namespace tavelin::ui
