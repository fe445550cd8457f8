#pragma once
// The functions of oleacc.dll that carry the grid's accessible object to screen readers, taken
// from System32 at their first call. oleacc is not among the DLLs Windows always loads from
// System32, so a static import would take a copy planted beside the executable first.
#include <windows.h>

#include <oleacc.h>

namespace tavelin::ui::oleacc {

// As the functions of the same names; when oleacc cannot be loaded, they fail with the error
// that stopped it (LresultFromObject returns that HRESULT).
LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);
HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID iid, void** object);
HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);

}  // namespace tavelin::ui::oleacc
