#pragma once
// The top-level window the tree benchmarks put a tree view in: the same size for each, so that
// their figures paint the same number of rows.
#include <windows.h>

namespace tavelin::bench {

// Registers `className` with `proc` and shows a window of it; `param` reaches WM_NCCREATE.
HWND CreateBenchFrame(const wchar_t* className, WNDPROC proc, void* param);
// Gives the frame's one control the frame's room.
void FillBenchFrame(HWND control);

}  // namespace tavelin::bench
