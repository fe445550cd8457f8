#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/executable_path_win.h"
#include "support/temp_dir.h"

namespace tavelin::test {
namespace {

// The program built beside the tests, copied into a folder of its own so that its settings file
// is the test's.
std::wstring BuiltProgram() {
    std::wstring path = ExecutablePath();
    path.resize(path.find_last_of(L'\\') + 1);
    path += L"..\\..\\Tavelin.exe";
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::vector<HWND> TopLevelWindows(DWORD process) {
    struct Search {
        DWORD process;
        std::vector<HWND> windows;
    } search{process, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            if (id == s.process)
                s.windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::string FileBytes(const std::wstring& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes(GetFileSize(handle, nullptr), '\0');
    DWORD read = 0;
    ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(handle);
    return bytes;
}

// A started program, ended with the test whatever happened to it.
class Started {
  public:
    explicit Started(const std::wstring& program) {
        std::wstring command = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            WaitForInputIdle(info_.hProcess, 10000);
    }
    ~Started() { End(); }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool Running() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    void End() {
        if (!info_.hProcess)
            return;
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
        info_ = {};
    }

  private:
    PROCESS_INFORMATION info_{};
};

// As Windows ends a session: the question and the end to every top-level window of the process,
// which is then ended at once, without a close.
TEST(SessionEnd, TheSettingsOfTheSessionAreSavedBeforeTheProcessIsEnded) {
    TempDir dir;
    const std::wstring program = dir.Path() + L"Tavelin.exe";
    ASSERT_TRUE(CopyFileW(BuiltProgram().c_str(), program.c_str(), FALSE));
    Started process(program);
    ASSERT_TRUE(process.Running());
    HWND main = nullptr;
    for (int waited = 0; waited < 10000 && !main; waited += 20) {
        for (HWND window : TopLevelWindows(process.Id())) {
            wchar_t name[32] = L"";
            GetClassNameW(window, name, 32);
            if (std::wstring(name) == L"TavelinForm1")
                main = window;
        }
        Sleep(20);
    }
    ASSERT_NE(main, nullptr);
    // The session's own value: the window moved where no default puts it.
    SetWindowPos(main, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const std::vector<HWND> windows = TopLevelWindows(process.Id());
    DWORD_PTR answer = 0;
    for (HWND window : windows) {
        SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    }
    for (HWND window : windows)
        SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
    process.End();
    const std::string saved = FileBytes(dir.Path() + L"Tavelin.ini");
    EXPECT_NE(saved.find("F1_X=123\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("F1_Y=77\r\n"), std::string::npos) << saved;
}

}  // namespace
}  // namespace tavelin::test
