#include "base/long_path.h"

namespace tavelin {

namespace {
constexpr std::wstring_view kPrefix = L"\\\\?\\";
constexpr std::wstring_view kUncPrefix = L"\\\\?\\UNC\\";
}  // namespace

std::wstring ToExtendedPath(const std::wstring& path) {
    if (path.starts_with(kPrefix))
        return path;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return std::wstring(kPrefix) + path;
    if (path.starts_with(L"\\\\"))
        return std::wstring(kUncPrefix) + path.substr(2);
    return path;
}

bool NeedsFullPath(std::wstring_view path) {
    if (path.starts_with(kPrefix))
        return false;
    const bool rooted = (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') || path.starts_with(L"\\\\");
    if (!rooted || path.find(L'/') != std::wstring_view::npos)
        return true;
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = path.size();
        const std::wstring_view part = path.substr(start, end - start);
        if (part == L"." || part == L"..")
            return true;
        start = end + 1;
    }
    return false;
}

std::wstring ToDisplayPath(const std::wstring& path) {
    if (path.starts_with(kUncPrefix))
        return L"\\\\" + path.substr(kUncPrefix.size());
    if (path.starts_with(kPrefix))
        return path.substr(kPrefix.size());
    return path;
}

}  // namespace tavelin
