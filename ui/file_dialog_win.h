#pragma once
// The file-open and file-save common dialogs as the commands use them: the title, initial
// folder and file name live in the object, and a confirmed dialog leaves the chosen name there.
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
    // the full name returned; false on cancel or close, with FileName() as it was.
    bool Execute(HWND owner);

  private:
    static UINT_PTR CALLBACK Hook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam);
    void PlaceOnOwnersMonitor(HWND dialog) const;

    Kind kind_;
    std::wstring title_;
    std::wstring initialDir_;
    std::wstring fileName_ = L"\u3000";
    HWND owner_ = nullptr;
};

}  // namespace tavelin::ui
