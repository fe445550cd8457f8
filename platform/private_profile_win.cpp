#include "platform/private_profile_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_handle_win.h"
#include "platform/profile_text.h"

namespace tavelin {

namespace {

// A settings file is a few hundred bytes; anything near this is not one to copy into memory.
constexpr LONGLONG kLargestProfile = 64 * 1024 * 1024;
constexpr int kCopyNameAttempts = 100;
constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplaceRetryMs = 20;

// The whole file; empty when there is none, nullopt when it is there but cannot be read, since
// a copy without its contents would lose what the user keeps in it.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<std::string>(std::string()) : std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestProfile)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
        return std::nullopt;
    return bytes;
}

std::wstring FromCodePage(const std::string& bytes) {
    if (bytes.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

// A file of this process's own beside `path`: the process id and a counter keep two instances,
// and two saves of one, apart.
std::optional<std::wstring> CreateCopyFile(const std::wstring& path, const std::string& bytes) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kCopyNameAttempts; ++attempt) {
        const std::wstring copy =
            path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) + L".tmp";
        UniqueFileHandle file(
            CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return std::nullopt;
        }
        DWORD written = 0;
        const bool ok = bytes.empty() ||
                        (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                         written == bytes.size());
        file.Reset();
        if (ok)
            return copy;
        DeleteFileW(copy.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

bool ReadIniString(const std::wstring& section,
                   const std::wstring& key,
                   std::wstring& value,
                   const std::wstring& path,
                   std::size_t bufferSize) {
    if (bufferSize == 0) {
        value.clear();
        return false;
    }
    std::vector<wchar_t> buffer(bufferSize, L'\0');
    DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(),
                                            static_cast<DWORD>(bufferSize), path.c_str());
    value.assign(buffer.data(), length);
    return length > 0;
}

bool WriteIniString(const std::wstring& section,
                    const std::wstring& key,
                    const std::wstring& value,
                    const std::wstring& path) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

bool PrivateProfileWin::Read(const std::wstring& section,
                             const std::wstring& key,
                             std::wstring& value,
                             const std::wstring& path,
                             std::size_t bufferSize) {
    return ReadIniString(section, key, value, path, bufferSize);
}

bool PrivateProfileWin::Write(const std::wstring& section,
                              const std::wstring& key,
                              const std::wstring& value,
                              const std::wstring& path) {
    return WriteIniString(section, key, value, path);
}

// Without best-fit mapping and compared after the round trip: the code page may hold a
// look-alike ("\" for "¥", "e" for "é") that would read back as another folder.
bool PrivateProfileWin::FitsCodePage(const std::wstring& text) {
    if (text.empty())
        return true;
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return false;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, &usedDefault);
    return !usedDefault && FromCodePage(bytes) == text;
}

// A file that starts with only the UTF-16LE mark is one that the private-profile functions
// then write in Unicode; a file in the code page is converted first, keeping everything in it.
std::optional<std::wstring> PrivateProfileWin::CopyForUpdate(const std::wstring& path, bool unicode) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    if (unicode && !IsUnicodeProfile(*bytes))
        *bytes = UnicodeProfileBytes(FromCodePage(*bytes));
    return CreateCopyFile(path, *bytes);
}

// Another process reading the file at that moment can hold it open on Windows; it lets go soon.
bool PrivateProfileWin::Replace(const std::wstring& copy, const std::wstring& path) {
    for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
        if (MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(kReplaceRetryMs);
    }
    Discard(copy);
    return false;
}

void PrivateProfileWin::Discard(const std::wstring& copy) {
    DeleteFileW(copy.c_str());
}

}  // namespace tavelin
