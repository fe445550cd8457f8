#include "folder_probe.h"

#include "ui/file_dialog_win.h"

namespace tavelin::test {

FolderProbe::FolderProbe() {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &FolderProbe::OnTimer);
}

FolderProbe::~FolderProbe() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
}

void CALLBACK FolderProbe::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (instance_ && instance_->folder_.empty())
        EnumThreadWindows(GetCurrentThreadId(), &FolderProbe::Look, 0);
}

BOOL CALLBACK FolderProbe::Look(HWND window, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (!IsWindowVisible(window) || std::wstring(name) != L"#32770")
        return TRUE;
    instance_->folder_ = ui::FileDialog::ShownFolder();
    return FALSE;
}

}  // namespace tavelin::test
