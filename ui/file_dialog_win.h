#pragma once
// The file-open and file-save dialogs as the folder commands use them, in the form every current
// Windows program shows (the common item dialog): the title, starting folder and file name live
// in the object, and a confirmed dialog leaves the chosen full name there.
#include <windows.h>

#include <string>

namespace tavelin::ui {

class FileDialog {
  public:
    enum class Kind { Open, Save };

    FileDialog(Kind kind, std::wstring title);

    void SetInitialDir(const std::wstring& folder) { initialDir_ = folder; }
    void SetFileName(const std::wstring& name) { fileName_ = name; }
    const std::wstring& FileName() const { return fileName_; }

    // Runs the dialog modally over `owner` (disabled meanwhile). True on OK, with FileName()
    // the full name returned; false on cancel or close, with FileName() as it was. Throws
    // WideError when the dialog cannot be shown at all.
    bool Execute(HWND owner);

    // The folder that the dialog on screen in this thread shows; empty when none is up.
    static std::wstring ShownFolder();

  private:
    Kind kind_;
    std::wstring title_;
    std::wstring initialDir_;
    std::wstring fileName_ = L"\u3000";
};

// The dialog's own options (FOS_*) changed into the ones the folder commands need.
DWORD FolderDialogOptions(DWORD defaults);

}  // namespace tavelin::ui
