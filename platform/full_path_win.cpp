#include "platform/full_path_win.h"

#include <windows.h>

#include "base/long_path.h"

namespace tavelin {

namespace {

// "C:\Data\..\X\" as "C:\X\", "/" as "\", a relative path against the current folder. The
// trailing "\" is kept.
std::wstring FullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    while (size > 0) {
        std::wstring full(size, L'\0');
        const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
        if (length < size) {
            full.resize(length);
            return length > 0 ? full : path;
        }
        size = length;
    }
    return path;
}

}  // namespace

std::wstring ToFullPath(const std::wstring& path) {
    return NeedsFullPath(path) ? FullPath(path) : path;
}

std::wstring ToFileSystemPath(const std::wstring& path) {
    return ToExtendedPath(ToFullPath(path));
}

}  // namespace tavelin
