#include <windows.h>

#include "app/form1_resource.h"
#include "app/form1_win.h"
#include "app/program_icon_win.h"
#include "ui/application_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
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
