#include "platform/settings_storage_win.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "platform/file_handle_win.h"
#include "platform/full_path_win.h"
#include "platform/settings_copies_win.h"
#include "settings/settings_copies.h"

namespace tavelin {

namespace {

// A settings file is a few hundred bytes; anything near this is not one to hold in memory.
constexpr LONGLONG kLargestProfile = 64 * 1024 * 1024;
constexpr DWORD kLargestChunk = 1024 * 1024;
constexpr int kCopyNameAttempts = 100;
constexpr DWORD kRetryMs = 50;

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

struct Copy {
    std::wstring path;
    UniqueFileHandle file;
};

std::optional<Copy> CreateCopy(const std::wstring& target, DWORD attributes, std::uint32_t checksum) {
    for (int attempt = 0; attempt < kCopyNameAttempts; ++attempt) {
        Copy copy{NewCopyPath(target, checksum), UniqueFileHandle()};
        copy.file.Reset(CreateFileW(copy.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, attributes, nullptr));
        if (copy.file)
            return copy;
        if (GetLastError() != ERROR_FILE_EXISTS)
            return std::nullopt;
    }
    return std::nullopt;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The name the replaced file passes through: a copy's like any other, named after the bytes it
// holds, so that a crash between the replace's two renames leaves it to be restored whole.
std::wstring BackupPath(const std::wstring& target) {
    UniqueFileHandle file(CreateFileW(target.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::uint32_t checksum = Checksum(file ? ReadAll(file.Get()).value_or(std::string()) : std::string());
    std::wstring path = NewCopyPath(target, checksum);
    for (int attempt = 1; attempt < kCopyNameAttempts && Exists(path); ++attempt)
        path = NewCopyPath(target, checksum);
    return path;
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

struct SaveTarget {
    std::wstring path;
    DWORD attributes = 0;
    bool createdEmpty = false;  // made by this save, to be removed again when the save fails
};

// The file that a save replaces: the path's own, or the one a link leads to, so that the link
// stays a link. A missing file is made empty through the path first, which follows a link whose
// file does not exist yet. Nullopt when the file is to be left alone: read-only (the user may
// have made it so to keep it as it is, which a replace would get round), a folder, or one that
// cannot be looked at.
std::optional<SaveTarget> FindSaveTarget(const std::wstring& path) {
    const std::wstring named = ToFileSystemPath(path);
    UniqueFileHandle file(CreateFileW(named.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return std::nullopt;
    SaveTarget target{named, 0, GetLastError() != ERROR_ALREADY_EXISTS};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return std::nullopt;
    target.attributes = info.dwFileAttributes;
    const std::wstring final = FinalPath(file.Get());
    if (!final.empty())
        target.path = final;
    return target;
}

// What another program holding the file open gives: the search indexer, a virus scanner, a sync
// client or a second instance reading it let go soon. ReplaceFileW's own three leave both files
// under their names, or the old one under the backup's and none in its place, which the next
// try fills with the move. Anything else (access denied by the file's permissions, a copy that
// is gone) stays as it is however long one waits.
bool IsHeldByAnother(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
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
// move, and so do one this save made empty, which has nothing to keep, and one on a file system
// that cannot replace (both files keep their names then).
DWORD TryPutInPlace(const std::wstring& copy, const std::wstring& target, const std::wstring& backup, bool madeEmpty) {
    if (madeEmpty || (!Exists(target) && GetLastError() == ERROR_FILE_NOT_FOUND))
        return Move(copy, target);
    if (ReplaceFileW(target.c_str(), copy.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return IsHeldByAnother(error) ? error : Move(copy, target);
}

class Deadline {
  public:
    explicit Deadline(unsigned long ms) : end_(GetTickCount64() + ms) {}
    // Waits a little and says whether there is time left for another try.
    bool WaitAgain() const {
        if (GetTickCount64() >= end_)
            return false;
        Sleep(kRetryMs);
        return true;
    }

  private:
    ULONGLONG end_;
};

// Given up, the old file goes back to its name if it left it; the backup goes only once the file
// is there again, since until then it is the settings.
bool PutInPlace(const std::wstring& copy, const SaveTarget& target, unsigned long waitMs) {
    const std::wstring& path = target.path;
    const std::wstring backup = BackupPath(path);
    const Deadline deadline(waitMs);
    DWORD error = ERROR_SUCCESS;
    while ((error = TryPutInPlace(copy, path, backup, target.createdEmpty)) != ERROR_SUCCESS &&
           IsHeldByAnother(error) && deadline.WaitAgain()) {
    }
    if (error != ERROR_SUCCESS && !Exists(path))
        MoveFileExW(backup.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
    if (Exists(path))
        DeleteFileW(backup.c_str());
    return error == ERROR_SUCCESS;
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

SettingsStorageWin::SettingsStorageWin(unsigned long waitMs) : SettingsStorageWin(GetACP(), waitMs) {}

SettingsStorageWin::SettingsStorageWin(unsigned systemCodePage, unsigned long waitMs)
    : systemUtf8_(systemCodePage == CP_UTF8),
      codePage_(systemUtf8_ ? UserAnsiCodePage() : systemCodePage),
      waitMs_(waitMs) {}

// A file that another program holds open is waited for a while. A missing one whose save a
// crash cut between its renames comes back from the newest whole copy.
std::optional<std::string> SettingsStorageWin::ReadBytes(const std::wstring& path) {
    const std::wstring named = ToFileSystemPath(path);
    const Deadline deadline(waitMs_);
    bool restored = false;
    for (;;) {
        UniqueFileHandle file(CreateFileW(named.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return ReadAll(file.Get());
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            if (std::exchange(restored, true) || !RestoreNewestCopy(named))
                return std::string();
        } else if (!IsHeldByAnother(error) || !deadline.WaitAgain()) {
            return std::nullopt;
        }
    }
}

// Only a copy that is whole on the disk replaces the file; hidden and system stay. A file that
// another program holds open is waited for a while, then given up with the old file whole. The
// copy itself goes only while the file is there: a copy may be all that is left of the settings.
bool SettingsStorageWin::ReplaceBytes(const std::wstring& path, const std::string& bytes) {
    const std::optional<SaveTarget> target = FindSaveTarget(path);
    if (!target)
        return false;
    const DWORD kept = target->attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::optional<Copy> copy = CreateCopy(target->path, kept ? kept : FILE_ATTRIBUTE_NORMAL, Checksum(bytes));
    bool placed = false;
    if (copy) {
        const bool whole = WriteAll(copy->file.Get(), bytes) && ReadsBack(copy->file.Get(), bytes);
        const std::uint64_t written = LastWriteTime(copy->file.Get());
        copy->file.Reset();
        placed = whole && PutInPlace(copy->path, *target, waitMs_);
        if (placed)
            RemoveLeftCopies(target->path, written);
        else if (!whole || Exists(target->path))
            DeleteFileW(copy->path.c_str());
    }
    if (!placed && target->createdEmpty)
        DeleteFileW(target->path.c_str());
    return placed;
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
