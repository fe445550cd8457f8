#include "base/directory_part.h"

#include "base/long_path.h"

namespace tavelin {

std::wstring DirectoryPart(const std::wstring& path) {
    std::wstring shown = ToDisplayPath(path);
    std::size_t last = shown.find_last_of(L"\\:");
    return last == std::wstring::npos ? std::wstring() : shown.substr(0, last + 1);
}

}  // namespace tavelin
