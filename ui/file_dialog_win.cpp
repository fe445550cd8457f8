#include "ui/file_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/file_dialog_layout.h"

namespace tavelin::ui {

namespace {
// Room for a long path, even one past the classic 260 characters.
constexpr DWORD kFileBufferSize = 32768;

// The edit control inside the file-name box, whichever form the box has.
HWND FileNameEdit(HWND dialog) {
    HWND box = GetDlgItem(dialog, cmb13);
    if (!box)
        box = GetDlgItem(dialog, edt1);
    wchar_t className[32] = {};
    if (!box || !GetClassNameW(box, className, 32))
        return nullptr;
    const std::wstring_view kind = className;
    if (kind == WC_COMBOBOXEXW)
        return reinterpret_cast<HWND>(SendMessageW(box, CBEM_GETEDITCONTROL, 0, 0));
    if (kind == WC_COMBOBOXW) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        return GetComboBoxInfo(box, &info) ? info.hwndItem : nullptr;
    }
    return box;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A name longer than the dialog can join to its folder crashes it inside its own code, so the
// box never holds one; the limit follows the folder the dialog shows. It holds only for what is
// typed after it is set, so a name typed beside a shallower folder is cut as well.
void LimitFileName(HWND dialog) {
    std::vector<wchar_t> folder(kFileBufferSize, L'\0');
    const LRESULT length = SendMessageW(dialog, CDM_GETFOLDERPATH, static_cast<WPARAM>(folder.size()),
                                        reinterpret_cast<LPARAM>(folder.data()));
    const std::wstring shown = length > 0 ? std::wstring(folder.data()) : std::wstring();
    HWND edit = FileNameEdit(dialog);
    if (!edit)
        return;
    SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(FileNameLimit(shown)), 0);
    const std::wstring name = TextOf(edit);
    if (const std::wstring cut = FileNameWithin(name, shown); cut != name)
        SetWindowTextW(edit, cut.c_str());
}
}  // namespace

FileDialog::FileDialog(Kind kind, std::wstring title) : kind_(kind), title_(std::move(title)) {}

bool FileDialog::Execute(HWND owner) {
    std::vector<wchar_t> buffer(kFileBufferSize, L'\0');
    fileName_.copy(buffer.data(), std::min<std::size_t>(fileName_.size(), kFileBufferSize - 1));
    const std::wstring initialDir = DialogInitialDir(initialDir_);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kFileBufferSize;
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = title_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
    ofn.lpfnHook = &FileDialog::Hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    owner_ = owner;
    const BOOL confirmed = kind_ == Kind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    owner_ = nullptr;
    if (!confirmed)
        return false;
    fileName_ = buffer.data();
    return true;
}

// The hook's dialog is a child of the real one; by CDN_INITDONE the real one has its final
// size and is not yet on screen, so moving it then does not show a jump.
UINT_PTR CALLBACK FileDialog::Hook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
        SetWindowLongPtrW(hookDialog, DWLP_USER, ofn->lCustData);
    } else if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_INITDONE) {
        auto* self = reinterpret_cast<FileDialog*>(GetWindowLongPtrW(hookDialog, DWLP_USER));
        if (self)
            self->PlaceOnOwnersMonitor(GetParent(hookDialog));
        LimitFileName(GetParent(hookDialog));
    } else if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_FOLDERCHANGE) {
        LimitFileName(GetParent(hookDialog));
    }
    return 0;
}

void FileDialog::PlaceOnOwnersMonitor(HWND dialog) const {
    HMONITOR monitor = MonitorFromWindow(owner_ ? owner_ : dialog, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT bounds{};
    if (!GetMonitorInfoW(monitor, &info) || !GetWindowRect(dialog, &bounds))
        return;
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const ScreenRect work{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    const ScreenPoint at = DialogPosition(work, width, height);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavelin::ui
