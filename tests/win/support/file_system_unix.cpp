#include "file_system_unix.h"

#include <windows.h>

#include <cstdlib>

namespace tavelin::test {

std::string UnixPath(const std::wstring& path) {
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return {};
    char* unix = toUnix(path.c_str());
    if (!unix)
        return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::wstring UnixPathArgument(const std::wstring& existing, const std::wstring& leaf) {
    std::string unix = UnixPath(existing);
    if (!leaf.empty() && !unix.ends_with('/'))
        unix += '/';
    const int length = MultiByteToWideChar(CP_UTF8, 0, unix.data(), static_cast<int>(unix.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, unix.data(), static_cast<int>(unix.size()), wide.data(), length);
    return wide + leaf;
}

int RunUnix(const std::wstring& shellCommand) {
    // Wine cannot wait for a Unix process, so the command leaves its exit code in a file that
    // appears at once (renamed into place) when it is done.
    static unsigned counter = 0;
    const std::wstring name =
        L"/tmp/tavelin-unix-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    std::wstring command =
        L"Z:\\bin\\sh -c \"" + shellCommand + L"; echo $? >" + name + L".part && mv " + name + L".part " + name + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::wstring marker = L"Z:" + name;
    for (wchar_t& c : marker)
        if (c == L'/')
            c = L'\\';
    for (int waited = 0; waited < 10000; waited += 10) {
        HANDLE file = CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char text[16] = {};
            DWORD read = 0;
            ReadFile(file, text, sizeof text - 1, &read, nullptr);
            CloseHandle(file);
            DeleteFileW(marker.c_str());
            return atoi(text);
        }
        Sleep(10);
    }
    return -1;
}

// Root writes past permissions, so for root it takes the immutable flag.
bool SetUnwritable(const std::wstring& path, bool on) {
    const std::wstring quoted = L"'" + UnixPathArgument(path) + L"'";
    return RunUnix(L"if [ $(id -u) = 0 ]; then chattr " + std::wstring(on ? L"+i " : L"-i ") + quoted +
                   L"; else chmod " + (on ? L"a-w " : L"u+w ") + quoted + L"; fi") == 0;
}

}  // namespace tavelin::test
