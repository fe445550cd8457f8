#include "ui/file_dialog_win.h"

#include <shobjidl.h>

#include <chrono>
#include <utility>

#include "base/wide_error.h"
#include "ui/file_dialog_layout.h"
#include "ui/folder_answers_win.h"

namespace tavelin::ui {

namespace {

// Holds one COM interface and releases it.
template <class T>
class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_)
            p_->Release();
    }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    void** Out() { return reinterpret_cast<void**>(&p_); }

  private:
    T* p_ = nullptr;
};

std::wstring SystemMessage(HRESULT hr) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"0x" + std::to_wstring(static_cast<DWORD>(hr));
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return message;
}

void Check(HRESULT hr) {
    if (FAILED(hr))
        throw WideError(SystemMessage(hr));
}

// Long enough for any folder that answers at all, short enough that the dialog still opens at once
// when the saved folder is on a server that has gone.
constexpr auto kFolderPatience = std::chrono::milliseconds(1000);

// The dialog remembers nothing of ours, so it would open wherever Windows last left it; it opens
// at the saved folder instead, or at its nearest ancestor that is still there and answers.
void OpenAtFolder(IFileDialog& dialog, const std::wstring& folder) {
    if (auto there = NearestExistingFolder(FolderAndAncestors(folder), kFolderPatience)) {
        ComRef<IShellItem> item;
        if (SUCCEEDED(SHCreateItemFromParsingName(there->c_str(), nullptr, IID_IShellItem, item.Out())))
            dialog.SetFolder(item.Get());
    }
}

// The dialog is placed by the system; it is moved over the owner's monitor in the moment before
// it is first activated, when it has its size and nothing of it has been drawn. Hook procedures
// carry no context, so the dialog being shown on this thread is found here.
struct Placement {
    HWND owner = nullptr;
    IFileDialog* dialog = nullptr;
    bool done = false;
};
thread_local Placement* tPlacement = nullptr;

void PlaceOnOwnersMonitor(HWND dialog, HWND owner) {
    HMONITOR monitor = MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT bounds{};
    if (!GetMonitorInfoW(monitor, &info) || !GetWindowRect(dialog, &bounds))
        return;
    const ScreenRect work{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    const ScreenPoint at = DialogPosition(work, bounds.right - bounds.left, bounds.bottom - bounds.top);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK PlaceOnFirstActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && tPlacement && !tPlacement->done) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (GetWindow(window, GW_OWNER) == tPlacement->owner) {
            tPlacement->done = true;
            PlaceOnOwnersMonitor(window, tPlacement->owner);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class PlacementHook {
  public:
    PlacementHook(HWND owner, IFileDialog& dialog) : saved_(std::exchange(tPlacement, &placement_)) {
        placement_.owner = owner;
        placement_.dialog = &dialog;
        hook_ = SetWindowsHookExW(WH_CBT, &PlaceOnFirstActivation, nullptr, GetCurrentThreadId());
    }
    PlacementHook(const PlacementHook&) = delete;
    PlacementHook& operator=(const PlacementHook&) = delete;
    ~PlacementHook() {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        tPlacement = saved_;
    }

  private:
    Placement placement_;
    Placement* saved_;
    HHOOK hook_ = nullptr;
};

}  // namespace

// The placeholder name is not a file: nothing may check it, ask about it or remember it, and the
// process's current folder must not move into the chosen one (Windows would hold it open). The
// save dialog would also create and delete a file of that name to test the folder, and refuse a
// folder where the user may create folders but not files, which is all the copy needs.
DWORD FolderDialogOptions(DWORD defaults) {
    const DWORD checks = FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST | FOS_OVERWRITEPROMPT | FOS_CREATEPROMPT;
    return (defaults & ~checks) | FOS_NOVALIDATE | FOS_NOCHANGEDIR | FOS_FORCEFILESYSTEM | FOS_DONTADDTORECENT |
           FOS_NOTESTFILECREATE;
}

FileDialog::FileDialog(Kind kind, std::wstring title) : kind_(kind), title_(std::move(title)) {}

bool FileDialog::Execute(HWND owner) {
    ComRef<IFileDialog> dialog;
    Check(CoCreateInstance(kind_ == Kind::Open ? CLSID_FileOpenDialog : CLSID_FileSaveDialog, nullptr,
                           CLSCTX_INPROC_SERVER, IID_IFileDialog, dialog.Out()));
    FILEOPENDIALOGOPTIONS options = 0;
    Check(dialog->GetOptions(&options));
    Check(dialog->SetOptions(FolderDialogOptions(options)));
    Check(dialog->SetTitle(title_.c_str()));
    Check(dialog->SetFileName(fileName_.c_str()));
    OpenAtFolder(*dialog.Get(), initialDir_);

    HRESULT shown;
    {
        PlacementHook placement(owner, *dialog.Get());
        shown = dialog->Show(owner);
    }
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return false;
    Check(shown);

    ComRef<IShellItem> result;
    Check(dialog->GetResult(reinterpret_cast<IShellItem**>(result.Out())));
    wchar_t* path = nullptr;
    Check(result->GetDisplayName(SIGDN_FILESYSPATH, &path));
    fileName_ = path;
    CoTaskMemFree(path);
    return true;
}

std::wstring FileDialog::ShownFolder() {
    ComRef<IShellItem> folder;
    wchar_t* path = nullptr;
    if (!tPlacement || FAILED(tPlacement->dialog->GetFolder(reinterpret_cast<IShellItem**>(folder.Out()))) ||
        FAILED(folder->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return {};
    std::wstring shown = path;
    CoTaskMemFree(path);
    return shown;
}

}  // namespace tavelin::ui
