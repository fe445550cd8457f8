// Starts an unpacked Tavelin.exe as a user would, waits for its main window, closes it with
// WM_CLOSE and checks that the settings file appeared beside the executable. The process starts
// in another folder, so a file written to the current folder instead would not count.
// Usage: start_and_close EXE_PATH WORKING_FOLDER; exit code 0 when everything held.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr wchar_t kCaption[] = L"Tavelin Ver.1.00";

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleCaption(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    if (owner == search->processId && IsWindowVisible(hwnd) && std::wstring(text) == kCaption) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD processId, HANDLE process) {
    for (DWORD waited = 0; waited < kTimeoutMs; waited += 50) {
        WindowSearch search{processId, nullptr};
        EnumWindows(FindVisibleCaption, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring ReadValue(const std::wstring& ini, const wchar_t* section, const wchar_t* key) {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(section, key, L"", value, 512, ini.c_str());
    return value;
}

int Fail(const char* what) {
    std::printf("FAILED: %s\n", what);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return Fail("usage: start_and_close EXE_PATH WORKING_FOLDER");
    const std::wstring exe = argv[1];
    const std::wstring ini = FolderOf(exe) + L"Tavelin.ini";
    if (GetFileAttributesW(ini.c_str()) != INVALID_FILE_ATTRIBUTES)
        return Fail("Tavelin.ini is there before the first start");

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, argv[2], &startup,
                        &process))
        return Fail("the executable does not start");
    CloseHandle(process.hThread);

    int result = 0;
    HWND window = WaitForMainWindow(process.dwProcessId, process.hProcess);
    if (!window) {
        result = Fail("no visible window captioned \"Tavelin Ver.1.00\"");
        TerminateProcess(process.hProcess, 1);
    } else {
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
            result = Fail("the program is still running after WM_CLOSE");
            TerminateProcess(process.hProcess, 1);
        } else if (!GetExitCodeProcess(process.hProcess, &exitCode) || exitCode != 0) {
            result = Fail("the program ended with a non-zero exit code");
        }
    }
    CloseHandle(process.hProcess);
    if (result != 0)
        return result;

    // Every section of a first save, read back: the default search folder is the executable's
    // drive root, so a file written by some other run would not match.
    if (ReadValue(ini, L"Form", L"F1_W").empty() || ReadValue(ini, L"Comp", L"F1_SG4").empty())
        return Fail("Tavelin.ini beside the executable lacks the window's keys");
    if (ReadValue(ini, L"Set", L"FLD1") != exe.substr(0, 1) + L":\\")
        return Fail("Tavelin.ini beside the executable does not hold the default search folder");
    std::printf("started, showed its window, closed and wrote Tavelin.ini beside itself\n");
    return 0;
}
