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

std::wstring ToDisplayPath(const std::wstring& path) {
    if (path.starts_with(kUncPrefix))
        return L"\\\\" + path.substr(kUncPrefix.size());
    if (path.starts_with(kPrefix))
        return path.substr(kPrefix.size());
    return path;
}

}  // namespace tavelin
