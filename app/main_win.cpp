#include <windows.h>

#include "app/form1_resource.h"
#include "app/form1_win.h"
#include "app/program_icon_win.h"
#include "ui/application_win.h"

namespace {
// Every DLL loaded by name from here on comes from System32, never from beside the executable
// (a portable tool is unpacked into Downloads, where a planted DLL waits). Windows 7 has the
// function only with its update, hence the lookup.
void LoadDllsFromSystem32Only() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        if (auto set = reinterpret_cast<SetDirectories>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories"))))
            set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    LoadDllsFromSystem32Only();
    // A drive without a medium must answer as a missing folder, not with a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    auto& app = tavelin::ui::Application::Instance();
    app.Initialize(tavelin::ProgramIcon());
    app.SetTitle(tavelin::form1::kApplicationTitle);
    tavelin::TForm1 form;
    form.SetQuitOnDestroy(true);
    form.Show(showCommand);
    return app.Run();
}
