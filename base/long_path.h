#pragma once
// Paths as the file system wants them and as the user sees them.
#include <string>

namespace tavelin {

// The path with the "\\?\" (or "\\?\UNC\") prefix that lifts the 260-character limit; a path
// that already has it, or is relative, comes back unchanged.
std::wstring ToExtendedPath(const std::wstring& path);

// The path without that prefix, for status texts and the folder box.
std::wstring ToDisplayPath(const std::wstring& path);

}  // namespace tavelin
