#pragma once
// The save's copies on the disk, beside the file they stand in for.
#include <windows.h>

#include <cstdint>
#include <string>

namespace tavelin {

// A name for a new copy of `target` that is to hold bytes with this checksum, unique to this
// instance and this save.
std::wstring NewCopyPath(const std::wstring& target, std::uint32_t checksum);

// With `target` gone, puts back the newest copy that is whole. False when there was none.
bool RestoreNewestCopy(const std::wstring& target);

// Removes the copies of `target` that a crash or a kill left behind long before `now`, the time
// of a file just written there. Only while `target` itself is whole: until then a copy may be all
// that is left of the settings.
void RemoveLeftCopies(const std::wstring& target, std::uint64_t now);

std::uint64_t LastWriteTime(HANDLE file);

}  // namespace tavelin
