#pragma once
// Paths as the file-system calls take them.
#include <string>

namespace tavelin {

// The path made full by the platform's path rules when it needs to be (see NeedsFullPath). A
// path that cannot be made full keeps its form.
std::wstring ToFullPath(const std::wstring& path);

// That full path with the long-path prefix.
std::wstring ToFileSystemPath(const std::wstring& path);

}  // namespace tavelin
