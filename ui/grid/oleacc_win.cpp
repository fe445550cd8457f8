#include "ui/grid/oleacc_win.h"

namespace tavelin::ui::oleacc {

namespace {

struct Functions {
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::AccessibleObjectFromWindow) accessibleObjectFromWindow = nullptr;
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    HRESULT loadError = S_OK;
};

template <class Function>
Function Find(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loaded once, on the first call from any thread, and kept for the life of the process.
const Functions& Oleacc() {
    static const Functions functions = [] {
        Functions found;
        HMODULE module = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module) {
            found.loadError = HRESULT_FROM_WIN32(GetLastError());
            return found;
        }
        found.lresultFromObject = Find<decltype(found.lresultFromObject)>(module, "LresultFromObject");
        found.accessibleObjectFromWindow =
            Find<decltype(found.accessibleObjectFromWindow)>(module, "AccessibleObjectFromWindow");
        found.createStdAccessibleObject =
            Find<decltype(found.createStdAccessibleObject)>(module, "CreateStdAccessibleObject");
        return found;
    }();
    return functions;
}

HRESULT Missing(const Functions& functions) {
    return FAILED(functions.loadError) ? functions.loadError : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

}  // namespace

LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) {
    const Functions& f = Oleacc();
    return f.lresultFromObject ? f.lresultFromObject(iid, wParam, object) : static_cast<LRESULT>(Missing(f));
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID iid, void** object) {
    const Functions& f = Oleacc();
    return f.accessibleObjectFromWindow ? f.accessibleObjectFromWindow(window, objectId, iid, object) : Missing(f);
}

HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) {
    const Functions& f = Oleacc();
    return f.createStdAccessibleObject ? f.createStdAccessibleObject(window, objectId, iid, object) : Missing(f);
}

}  // namespace tavelin::ui::oleacc
