#include "platform/settings_storage_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "base/directory_part.h"
#include "platform/file_handle_win.h"
#include "platform/full_path_win.h"

namespace tavelin {

namespace {

// A settings file is a few hundred bytes; anything near this is not one to hold in memory.
constexpr LONGLONG kLargestProfile = 64 * 1024 * 1024;
constexpr DWORD kLargestChunk = 1024 * 1024;
constexpr int kCopyNameAttempts = 100;
constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplaceRetryMs = 20;
constexpr wchar_t kCopySuffix[] = L".tmp";

std::optional<std::string> ReadAll(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kLargestProfile)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kLargestChunk));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + done, chunk, &read, nullptr) || read == 0)
            return std::nullopt;
        done += read;
    }
    return bytes;
}

// Every write checked and the whole flushed: a full disk may take part of a write, or all of it
// into the cache and fail only at the flush.
bool WriteAll(HANDLE file, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kLargestChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

bool ReadsBack(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return false;
    const std::optional<std::string> stored = ReadAll(file);
    return stored && *stored == bytes;
}

// "<file>.<process id>-<counter>.tmp": the process id and a counter keep two instances, and two
// saves of one, apart.
std::wstring CopyName(const std::wstring& path, unsigned counter) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter) + kCopySuffix;
}

bool AllDigits(std::wstring_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool IsCopyName(std::wstring_view name, std::wstring_view fileName) {
    if (name.size() <= fileName.size() + 1 ||
        CompareStringOrdinal(name.data(), static_cast<int>(fileName.size()), fileName.data(),
                             static_cast<int>(fileName.size()), TRUE) != CSTR_EQUAL)
        return false;
    std::wstring_view rest = name.substr(fileName.size());
    const std::wstring_view suffix = kCopySuffix;
    if (!rest.starts_with(L'.') || !rest.ends_with(suffix))
        return false;
    rest = rest.substr(1, rest.size() - 1 - suffix.size());
    const std::size_t dash = rest.find(L'-');
    return dash != std::wstring_view::npos && AllDigits(rest.substr(0, dash)) && AllDigits(rest.substr(dash + 1));
}

// Copies that a crash or a kill left behind. One that a running instance is writing is open
// without leave to delete it, so it stays.
void RemoveLeftCopies(const std::wstring& path) {
    const std::wstring folder = DirectoryPart(path);
    const std::wstring fileName = path.substr(folder.size());
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW(ToFileSystemPath(path + L".*" + kCopySuffix).c_str(), &found));
    if (!search)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsCopyName(found.cFileName, fileName)) {
            DeleteFileW(ToFileSystemPath(folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(search.Get(), &found));
}

struct Copy {
    std::wstring path;
    UniqueFileHandle file;
};

std::optional<Copy> CreateCopy(const std::wstring& path, DWORD attributes) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kCopyNameAttempts; ++attempt) {
        Copy copy{ToFileSystemPath(CopyName(path, counter++)), UniqueFileHandle()};
        copy.file.Reset(CreateFileW(copy.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, attributes, nullptr));
        if (copy.file)
            return copy;
        if (GetLastError() != ERROR_FILE_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

// Another process reading the file at that moment can hold it open on Windows; it lets go soon.
bool MoveInPlace(const std::wstring& copy, const std::wstring& path) {
    for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
        if (MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            return false;
        Sleep(kReplaceRetryMs);
    }
    return false;
}

}  // namespace

std::optional<std::string> SettingsStorageWin::ReadBytes(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(ToFileSystemPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<std::string>(std::string()) : std::nullopt;
    return ReadAll(file.Get());
}

// Only a copy that is whole on the disk replaces the file. The user may have made the file
// read-only to keep it as it is, which a move over it would get round; hidden and system stay.
bool SettingsStorageWin::ReplaceBytes(const std::wstring& path, const std::string& bytes) {
    const std::wstring target = ToFileSystemPath(path);
    const DWORD old = GetFileAttributesW(target.c_str());
    if (old == INVALID_FILE_ATTRIBUTES ? GetLastError() != ERROR_FILE_NOT_FOUND
                                       : (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    RemoveLeftCopies(path);
    const DWORD kept = old == INVALID_FILE_ATTRIBUTES ? 0 : old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::optional<Copy> copy = CreateCopy(path, kept ? kept : FILE_ATTRIBUTE_NORMAL);
    if (!copy)
        return false;
    const bool whole = WriteAll(copy->file.Get(), bytes) && ReadsBack(copy->file.Get(), bytes);
    copy->file.Reset();
    if (whole && MoveInPlace(copy->path, target))
        return true;
    DeleteFileW(copy->path.c_str());
    return false;
}

std::wstring SettingsStorageWin::FromCodePage(std::string_view bytes) {
    if (bytes.empty())
        return std::wstring();
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), size);
    return text;
}

// Without best-fit mapping and compared after the round trip: the code page may hold a
// look-alike ("\" for "¥", "e" for "é") that would read back as another folder.
std::optional<std::string> SettingsStorageWin::ToCodePage(std::wstring_view text) {
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, &usedDefault);
    if (usedDefault || FromCodePage(bytes) != text)
        return std::nullopt;
    return bytes;
}

}  // namespace tavelin
