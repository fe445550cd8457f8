#pragma once
// Paths as the file system wants them and as the user sees them.
#include <string>
#include <string_view>

namespace tavelin {

// The path with the "\\?\" (or "\\?\UNC\") prefix that lifts the 260-character limit; a path
// that already has it, or is relative, comes back unchanged.
std::wstring ToExtendedPath(const std::wstring& path);

// True when the path holds what only the ordinary path rules resolve and the prefix would take
// literally: "/", a "." or ".." part, or no drive or share to start from.
bool NeedsFullPath(std::wstring_view path);

// The path without that prefix, for status texts and the folder box.
std::wstring ToDisplayPath(const std::wstring& path);

}  // namespace tavelin
