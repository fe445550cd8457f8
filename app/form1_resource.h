#pragma once
// The main window's form resource: its controls, their alignment, sizes and fonts, and the texts
// the window starts with. Code sets contents; this table sets the layout. Every length here is
// for a 96-dpi display: the window scales them to its own.
#include "ui/dock_layout.h"

namespace tavelin::form1 {

struct FontDesc {
    const wchar_t* face;
    int height;  // character height in pixels
};

inline constexpr const wchar_t* kCaption = L"Tavelin Ver.1.00";
inline constexpr const wchar_t* kApplicationTitle = L"Pellarix Ver.1.00";
inline constexpr FontDesc kFormFont{L"ＭＳ Ｐゴシック", 12};
inline constexpr FontDesc kGridFont{L"ＭＳ ゴシック", 13};
inline constexpr ui::Bounds kBounds{194, 103, 580, 468};
// The smallest client area in which the folder box, the tree, the grid's header and two of its
// rows, and the status line all still show; the menu bar is outside it.
inline constexpr int kMinClientWidth = 280;
inline constexpr int kMinClientHeight = 120;

// Control ids, also their order in the form's control tree.
enum ControlId : int {
    kPanel1 = 10,
    kPanel2,
    kEdit1,
    kTreeView1,
    kSplitter1,
    kStringGrid1,
    kStatusBar1,
};

inline constexpr int kPanel1Width = 160;      // aligned left, full height
inline constexpr int kPanel2Height = 19;      // aligned to the top of Panel1, holds Edit1
inline constexpr int kEdit1Height = 20;       // at (0, 0); its width follows Panel1
inline constexpr int kSplitter1Width = 3;     // right of Panel1
inline constexpr int kStatusBar1Height = 19;  // aligned to the bottom

inline constexpr int kGridColumns = 5;
inline constexpr int kGridColWidth = 64;  // every column's width until the settings set theirs
inline constexpr int kGridRowHeight = 24;

inline constexpr const wchar_t* kHeaders[kGridColumns] = {L"ファイル名", L"Bytes", L"種類", L"更新日時", L"属性"};

inline constexpr const wchar_t* kOpenDialogTitle = L"検索フォルダ指定";
inline constexpr const wchar_t* kSaveDialogTitle = L"フォルダコピー開始";

}  // namespace tavelin::form1
