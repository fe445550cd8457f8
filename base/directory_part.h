#pragma once
#include <string>

namespace tavelin {

// The directory part of a path: everything up to and including its last "\" or ":". A "\\?\"
// or "\\?\UNC\" prefix is dropped first, since it must never reach the user.
std::wstring DirectoryPart(const std::wstring& path);

}  // namespace tavelin
