#include "platform/settings_copies_win.h"

#include <objbase.h>

#include <atomic>
#include <optional>
#include <vector>

#include "platform/file_handle_win.h"
#include "settings/settings_copies.h"

namespace tavelin {

namespace {

// As large as a settings file is read at all.
constexpr LONGLONG kLargestCopy = 64 * 1024 * 1024;

std::uint64_t Combine(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// A process id is unique on one machine only, and only while the process runs; a GUID tells this
// instance from any other on any machine that shares the folder.
const std::wstring& InstanceTag() {
    static const std::wstring tag = [] {
        GUID guid{};
        if (CoCreateGuid(&guid) != S_OK)
            guid.Data1 = GetCurrentProcessId() ^ static_cast<unsigned long>(GetTickCount64());
        wchar_t text[33] = {};
        swprintf(text, 33, L"%08lx%04x%04x%02x%02x%02x%02x%02x%02x%02x%02x", guid.Data1, guid.Data2, guid.Data3,
                 guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                 guid.Data4[6], guid.Data4[7]);
        return std::wstring(text);
    }();
    return tag;
}

std::atomic<unsigned> copyCounter{0};

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\') + 1);
}

std::optional<std::string> SmallFileBytes(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestCopy)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
        return std::nullopt;
    return bytes;
}

// The copies of `target` in its folder, read when `withBytes`.
std::vector<FoundCopy> FindCopies(const std::wstring& target, bool withBytes) {
    const std::wstring folder = FolderOf(target);
    const std::wstring fileName = target.substr(folder.size());
    std::vector<FoundCopy> copies;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW((target + L".*.tmp").c_str(), &found));
    if (!search)
        return copies;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !ParseCopyName(found.cFileName, fileName))
            continue;
        FoundCopy copy{found.cFileName, Combine(found.ftLastWriteTime), std::nullopt};
        if (withBytes)
            copy.bytes = SmallFileBytes(folder + copy.name);
        copies.push_back(std::move(copy));
    } while (FindNextFileW(search.Get(), &found));
    return copies;
}

}  // namespace

std::wstring NewCopyPath(const std::wstring& target, std::uint32_t checksum) {
    const std::wstring folder = FolderOf(target);
    const std::wstring tag = InstanceTag() + L"-" + std::to_wstring(copyCounter++);
    return folder + CopyFileName(target.substr(folder.size()), tag, checksum);
}

// Not over a file that has come meanwhile: another instance may have put one back first.
bool RestoreNewestCopy(const std::wstring& target) {
    const std::vector<FoundCopy> copies = FindCopies(target, true);
    const std::optional<std::size_t> newest = CopyToRestore(copies, target.substr(FolderOf(target).size()));
    return newest &&
           MoveFileExW((FolderOf(target) + copies[*newest].name).c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
}

void RemoveLeftCopies(const std::wstring& target, std::uint64_t now) {
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    const std::vector<FoundCopy> copies = FindCopies(target, false);
    for (std::size_t i : LeftCopies(copies, now))
        DeleteFileW((FolderOf(target) + copies[i].name).c_str());
}

std::uint64_t LastWriteTime(HANDLE file) {
    FILETIME written{};
    return GetFileTime(file, nullptr, nullptr, &written) ? Combine(written) : 0;
}

}  // namespace tavelin
