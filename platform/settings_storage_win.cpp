#include "platform/settings_storage_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>
#include <string>

#include "platform/file_handle_win.h"
#include "platform/full_path_win.h"

namespace tavelin {

namespace {

// A settings file is a few hundred bytes; anything near this is not one to hold in memory.
constexpr LONGLONG kLargestProfile = 64 * 1024 * 1024;
constexpr DWORD kLargestChunk = 1024 * 1024;
constexpr int kCopyNameAttempts = 100;
constexpr unsigned long kReplaceWaitMs = 5000;
constexpr DWORD kRetryMs = 50;
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
// saves of one, apart, and tell whether the instance that made the copy still runs.
std::wstring CopyName(const std::wstring& path, unsigned counter) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter) + kCopySuffix;
}

bool AllDigits(std::wstring_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// The process id that a copy's name holds; nullopt for a name that is not a copy's.
std::optional<DWORD> CopyOwner(std::wstring_view name, std::wstring_view fileName) {
    if (name.size() <= fileName.size() + 1 ||
        CompareStringOrdinal(name.data(), static_cast<int>(fileName.size()), fileName.data(),
                             static_cast<int>(fileName.size()), TRUE) != CSTR_EQUAL)
        return std::nullopt;
    std::wstring_view rest = name.substr(fileName.size());
    const std::wstring_view suffix = kCopySuffix;
    if (!rest.starts_with(L'.') || !rest.ends_with(suffix))
        return std::nullopt;
    rest = rest.substr(1, rest.size() - 1 - suffix.size());
    const std::size_t dash = rest.find(L'-');
    if (dash == std::wstring_view::npos || !AllDigits(rest.substr(dash + 1)))
        return std::nullopt;
    const std::wstring_view digits = rest.substr(0, dash);
    if (!AllDigits(digits) || digits.size() > 10)
        return std::nullopt;
    unsigned long long id = 0;
    for (wchar_t digit : digits)
        id = id * 10 + static_cast<unsigned>(digit - L'0');
    return id <= MAXDWORD ? std::optional<DWORD>(static_cast<DWORD>(id)) : std::nullopt;
}

// A process that cannot be looked at (another user's) counts as running.
bool IsRunning(DWORD processId) {
    if (processId == GetCurrentProcessId())
        return true;
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// Copies that a crash or a kill left behind. One whose instance still runs stays: it may be
// about to move it into place.
void RemoveLeftCopies(const std::wstring& target) {
    const std::wstring folder = target.substr(0, target.rfind(L'\\') + 1);
    const std::wstring fileName = target.substr(folder.size());
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW((target + L".*" + kCopySuffix).c_str(), &found));
    if (!search)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::optional<DWORD> owner = CopyOwner(found.cFileName, fileName);
        if (owner && !IsRunning(*owner))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search.Get(), &found));
}

struct Copy {
    std::wstring path;
    UniqueFileHandle file;
};

std::atomic<unsigned> copyCounter{0};

std::optional<Copy> CreateCopy(const std::wstring& target, DWORD attributes) {
    for (int attempt = 0; attempt < kCopyNameAttempts; ++attempt) {
        Copy copy{CopyName(target, copyCounter++), UniqueFileHandle()};
        copy.file.Reset(CreateFileW(copy.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, attributes, nullptr));
        if (copy.file)
            return copy;
        if (GetLastError() != ERROR_FILE_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

// The name the replaced file passes through; free, so that nothing of anyone's is replaced.
std::wstring BackupName(const std::wstring& target) {
    std::wstring name = CopyName(target, copyCounter++);
    for (int attempt = 1; attempt < kCopyNameAttempts && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++attempt)
        name = CopyName(target, copyCounter++);
    return name;
}

std::wstring FinalPath(HANDLE file) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
}

// The file that a save replaces: the path's own, or the one a link leads to, so that the link
// stays a link. Nullopt when the file is to be left alone: read-only (the user may have made it
// so to keep it as it is, which a replace would get round), a folder, or one that cannot be
// looked at.
std::optional<std::wstring> SaveTarget(const std::wstring& path, DWORD& attributes) {
    const std::wstring named = ToFileSystemPath(path);
    attributes = INVALID_FILE_ATTRIBUTES;
    UniqueFileHandle file(CreateFileW(named.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<std::wstring>(named) : std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return std::nullopt;
    attributes = info.dwFileAttributes;
    const std::wstring final = FinalPath(file.Get());
    return final.empty() ? named : final;
}

// What another program holding the file open gives: the search indexer, a virus scanner, a sync
// client or a second instance reading it let go soon. ReplaceFileW's own three leave both files
// under their names, or the old one under the backup's and none in its place, which the next
// try fills with the move.
bool IsPassing(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        case ERROR_FILE_NOT_FOUND:  // the file went between the look and the replace
            return true;
        default:
            return false;
    }
}

DWORD Move(const std::wstring& copy, const std::wstring& target) {
    return MoveFileExW(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? ERROR_SUCCESS
               : GetLastError();
}

// ReplaceFileW keeps the file's security, creation time and streams; a missing file takes the
// move, and so does one on a file system that cannot replace (both files keep their names then).
DWORD TryPutInPlace(const std::wstring& copy, const std::wstring& target, const std::wstring& backup) {
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
        return Move(copy, target);
    if (ReplaceFileW(target.c_str(), copy.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return IsPassing(error) ? error : Move(copy, target);
}

bool PutInPlace(const std::wstring& copy, const std::wstring& target, unsigned long waitMs) {
    const std::wstring backup = BackupName(target);
    const ULONGLONG start = GetTickCount64();
    bool placed = false;
    for (;;) {
        const DWORD error = TryPutInPlace(copy, target, backup);
        placed = error == ERROR_SUCCESS;
        if (placed || !IsPassing(error) || GetTickCount64() - start >= waitMs)
            break;
        Sleep(kRetryMs);
    }
    // Given up after the old file went to the backup's name: it goes back.
    if (!placed)
        MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    DeleteFileW(backup.c_str());
    return placed;
}

unsigned UserAnsiCodePage() {
    DWORD codePage = 0;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(wchar_t)) == 0 ||
        codePage == CP_ACP)
        return CP_UTF8;  // a locale with no code page of its own: Unicode is all there is
    return codePage;
}

}  // namespace

SettingsStorageWin::SettingsStorageWin() : SettingsStorageWin(GetACP(), kReplaceWaitMs) {}

SettingsStorageWin::SettingsStorageWin(unsigned systemCodePage, unsigned long replaceWaitMs)
    : systemUtf8_(systemCodePage == CP_UTF8),
      codePage_(systemUtf8_ ? UserAnsiCodePage() : systemCodePage),
      replaceWaitMs_(replaceWaitMs) {}

std::optional<std::string> SettingsStorageWin::ReadBytes(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(ToFileSystemPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<std::string>(std::string()) : std::nullopt;
    return ReadAll(file.Get());
}

// Only a copy that is whole on the disk replaces the file; hidden and system stay. A file that
// another program holds open is waited for a while, then given up with the old file whole.
bool SettingsStorageWin::ReplaceBytes(const std::wstring& path, const std::string& bytes) {
    DWORD old = INVALID_FILE_ATTRIBUTES;
    const std::optional<std::wstring> target = SaveTarget(path, old);
    if (!target)
        return false;
    RemoveLeftCopies(*target);
    const DWORD kept = old == INVALID_FILE_ATTRIBUTES ? 0 : old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::optional<Copy> copy = CreateCopy(*target, kept ? kept : FILE_ATTRIBUTE_NORMAL);
    if (!copy)
        return false;
    const bool whole = WriteAll(copy->file.Get(), bytes) && ReadsBack(copy->file.Get(), bytes);
    copy->file.Reset();
    if (whole && PutInPlace(copy->path, *target, replaceWaitMs_))
        return true;
    DeleteFileW(copy->path.c_str());
    return false;
}

std::optional<std::wstring> SettingsStorageWin::FromCodePage(std::string_view bytes) {
    if (bytes.empty())
        return std::wstring();
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), size) != size)
        return std::nullopt;
    return text;
}

// Without best-fit mapping and compared after the round trip: the code page may hold a
// look-alike ("\" for "¥", "e" for "é") that would read back as another folder. UTF-8 takes
// neither that flag nor the pointer that reports a default character: Windows refuses the call.
std::optional<std::string> SettingsStorageWin::ToCodePage(std::wstring_view text) {
    if (text.empty())
        return std::string();
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 4))
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    const bool utf8 = codePage_ == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const used = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage_, flags, text.data(), length, nullptr, 0, nullptr, used);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(codePage_, flags, text.data(), length, bytes.data(), size, nullptr, used) != size ||
        usedDefault || FromCodePage(bytes) != text)
        return std::nullopt;
    return bytes;
}

bool SettingsStorageWin::SystemCodePageIsUtf8() {
    return systemUtf8_;
}

}  // namespace tavelin
