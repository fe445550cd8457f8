#include "platform/file_system_win.h"

#include <windows.h>

#include <cstring>

#include "base/unique_handle.h"
#include "platform/file_handle_win.h"
#include "platform/full_path_win.h"

namespace tavelin {

namespace {

std::uint64_t Combine(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

void Fill(const WIN32_FIND_DATAW& data, DirEntry& entry) {
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    entry.reparseTag = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? data.dwReserved0 : 0;
    entry.size = Combine(data.nFileSizeHigh, data.nFileSizeLow);
    entry.lastWriteTime = Combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
}

class FindSearch final : public DirectorySearch {
  public:
    FindSearch(UniqueFindHandle handle, const WIN32_FIND_DATAW& first) : handle_(std::move(handle)), data_(first) {}

    bool Next(DirEntry& entry) override {
        if (!pending_ && !FindNextFileW(handle_.Get(), &data_)) {
            failed_ = GetLastError() != ERROR_NO_MORE_FILES;
            return false;
        }
        pending_ = false;
        Fill(data_, entry);
        return true;
    }
    bool Failed() const override { return failed_; }

  private:
    UniqueFindHandle handle_;
    WIN32_FIND_DATAW data_;
    bool pending_ = true;  // the entry FindFirstFileExW already returned
    bool failed_ = false;
};

// FILE_ID_INFO and its class, which the headers show only to programs that require Windows 8.
struct FileIdInformation {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};
constexpr auto kFileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

// The 64-bit index, for the systems and file systems that do not give the 128-bit id; it goes
// in the low half, as the 128-bit id of a file system with 64-bit ids holds it.
std::optional<FolderIdentity> IndexIdentity(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return std::nullopt;
    FolderIdentity identity{info.dwVolumeSerialNumber, {}};
    const std::uint64_t index = Combine(info.nFileIndexHigh, info.nFileIndexLow);
    std::memcpy(identity.fileId.data(), &index, sizeof index);
    return identity;
}

// A folder whose open failed for another reason than its being missing or closed to the user: a
// share that has gone, a network error.
class FailedSearch final : public DirectorySearch {
  public:
    bool Next(DirEntry&) override { return false; }
    bool Failed() const override { return true; }
};

bool CannotBeRead(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_ACCESS_DENIED ||
           error == ERROR_NO_MORE_FILES;
}

std::wstring WithSeparator(const std::wstring& folder) {
    return folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
}

}  // namespace

std::unique_ptr<DirectorySearch> FileSystemWin::Search(const std::wstring& folder) {
    // "*" rather than "*.*": the same entries, without relying on the wildcard rewriting that
    // Windows applies to "*.*" only for paths without the prefix.
    const std::wstring pattern = ToFileSystemPath(WithSeparator(folder) + L'*');
    WIN32_FIND_DATAW data;
    UniqueFindHandle handle(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!handle) {
        if (CannotBeRead(GetLastError()))
            return nullptr;
        return std::make_unique<FailedSearch>();
    }
    return std::make_unique<FindSearch>(std::move(handle), data);
}

bool FileSystemWin::IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ToFileSystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileSystemWin::MakeDirectory(const std::wstring& path) {
    // ERROR_ALREADY_EXISTS, which also comes when a file of that name is in the way, is a
    // failure like any other: nothing was created.
    return CreateDirectoryW(ToFileSystemPath(path).c_str(), nullptr) != FALSE;
}

std::optional<FolderIdentity> FileSystemWin::Identity(const std::wstring& path) {
    // Without FILE_FLAG_OPEN_REPARSE_POINT the open follows links, so a link yields the identity
    // of the folder it leads to.
    UniqueFileHandle file(CreateFileW(ToFileSystemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return std::nullopt;
    FileIdInformation info;
    if (!GetFileInformationByHandleEx(file.Get(), kFileIdInfoClass, &info, sizeof info))
        return IndexIdentity(file.Get());
    FolderIdentity identity{info.volumeSerialNumber, {}};
    std::memcpy(identity.fileId.data(), info.fileId, sizeof info.fileId);
    return identity;
}

// It holds nothing of its own: another is the same file system.
std::shared_ptr<FileSystem> FileSystemWin::Share() {
    return std::make_shared<FileSystemWin>();
}

std::wstring FileSystemWin::FullPath(const std::wstring& folder) {
    return ToFullPath(folder);
}

}  // namespace tavelin
