#include "form_fixture.h"

#include <commctrl.h>

#include "app/form1_resource.h"
#include "app/program_icon_win.h"
#include "platform/executable_path_win.h"
#include "settings/settings_paths.h"
#include "settings_file_bytes.h"
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

void FormTest::OpenForm(int showCommand) {
    form.reset();
    form = std::make_unique<TForm1>();
    form->Show(showCommand);
    Pump();
}

void FormTest::OpenWith(const std::wstring& text, int showCommand) {
    form.reset();
    WriteRawFile(IniFile(), ToCodePage932(text));
    OpenForm(showCommand);
}

void FormTest::CloseForm() {
    HWND hwnd = form->Handle();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_FALSE(IsWindow(hwnd));
}

void FormTest::Command(int id) {
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::wstring FormTest::Status() const {
    wchar_t text[1024] = {};
    GetWindowTextW(form->StatusBar1.Handle(), text, 1024);
    return text;
}

std::wstring WindowText(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::wstring FormTest::IniFile() {
    return SettingsPathsFor(ExecutablePath()).iniPath;
}

void FormTest::Pump() {
    ui::PumpEvents();
}

std::vector<HTREEITEM> FormTest::OpenEveryItem() const {
    std::vector<HTREEITEM> items;
    HWND tree = form->TreeView1.Handle();
    // Walks the control itself, so the test sees what the user sees.
    auto walk = [&](auto&& self, HTREEITEM item) -> void {
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            items.push_back(item);
            TreeView_Expand(tree, item, TVE_EXPAND);
            self(self, TreeView_GetChild(tree, item));
        }
    };
    walk(walk, TreeView_GetRoot(tree));
    return items;
}

void FormTest::ClickTreeItem(HTREEITEM item) {
    HWND tree = form->TreeView1.Handle();
    TreeView_EnsureVisible(tree, item);
    RECT rc;
    TreeView_GetItemRect(tree, item, &rc, TRUE);
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tree, WM_LBUTTONUP, 0, at);
    Pump();
    Pump();
}

std::wstring FormTest::TreeOutline() const {
    std::wstring out;
    HWND tree = form->TreeView1.Handle();
    for (HTREEITEM item : OpenEveryItem()) {
        int depth = 0;
        for (HTREEITEM up = TreeView_GetParent(tree, item); up; up = TreeView_GetParent(tree, up))
            ++depth;
        wchar_t text[512] = {};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = 512;
        TreeView_GetItem(tree, &tv);
        out += std::wstring(depth * 2, L' ') + text + L"\n";
    }
    return out;
}

void FormTest::ExpectSizesEndAtTheRightEdge(const std::string& when) const {
    const ui::StringGrid& grid = form->StringGrid1;
    const int width = grid.ColWidth(1);
    const int digit = grid.ZeroCharWidth();
    for (int row = 1; row < form->Grid().RowCount(); ++row) {
        const int chars = static_cast<int>(form->Grid().Cell(1, row).size());
        EXPECT_LE(grid.TextInset() + chars * digit, width) << when << ", row " << row;
        EXPECT_GT(grid.TextInset() + (chars + 1) * digit, width) << when << ", row " << row;
    }
}

}  // namespace tavelin::test
