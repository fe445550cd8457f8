#pragma once
// Records the folder that a file dialog opens at, polled before the dialog watcher answers it.
#include <windows.h>

#include <string>

namespace tavelin::test {

class FolderProbe {
  public:
    FolderProbe();
    ~FolderProbe();
    FolderProbe(const FolderProbe&) = delete;
    FolderProbe& operator=(const FolderProbe&) = delete;

    const std::wstring& Folder() const { return folder_; }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Look(HWND window, LPARAM);

    static inline FolderProbe* instance_ = nullptr;
    UINT_PTR timer_ = 0;
    std::wstring folder_;
};

}  // namespace tavelin::test
