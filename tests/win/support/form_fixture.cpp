#include "form_fixture.h"

#include <commctrl.h>

#include "app/form1_resource.h"
#include "app/program_icon_win.h"
#include "platform/executable_path_win.h"
#include "settings/settings_paths.h"
#include "ui/application_win.h"
#include "ui/event_pump.h"

namespace tavelin::test {

void FormTest::SetUp() {
    auto& app = ui::Application::Instance();
    app.Initialize(ProgramIcon());
    app.SetTitle(form1::kApplicationTitle);
    DeleteFileW(IniFile().c_str());
    OpenForm();
}

void FormTest::TearDown() {
    form.reset();
    Pump();
    SetFileAttributesW(IniFile().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(IniFile().c_str());
}

void FormTest::OpenForm() {
    form.reset();
    form = std::make_unique<TForm1>();
    form->Show(SW_SHOWNORMAL);
    Pump();
}

void FormTest::Command(int id) {
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::wstring FormTest::Status() const {
    wchar_t text[1024] = {};
    GetWindowTextW(form->StatusBar1.Handle(), text, 1024);
    return text;
}

std::wstring FormTest::IniFile() {
    return SettingsPathsFor(ExecutablePath()).iniPath;
}

void FormTest::Pump() {
    ui::PumpEvents();
}

std::wstring FormTest::TreeOutline() const {
    std::wstring out;
    HWND tree = form->TreeView1.Handle();
    // Walks the control itself, so the test sees what the user sees.
    auto walk = [&](auto&& self, HTREEITEM item, int depth) -> void {
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            wchar_t text[512] = {};
            TVITEMW tv{};
            tv.mask = TVIF_TEXT;
            tv.hItem = item;
            tv.pszText = text;
            tv.cchTextMax = 512;
            TreeView_GetItem(tree, &tv);
            out += std::wstring(depth * 2, L' ') + text + L"\n";
            self(self, TreeView_GetChild(tree, item), depth + 1);
        }
    };
    walk(walk, TreeView_GetRoot(tree), 0);
    return out;
}

}  // namespace tavelin::test
