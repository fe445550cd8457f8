#pragma once
// Which directory entries a search with an attribute set returns.
#include <cstdint>

#include "services/file_system.h"

namespace tavelin {

// The set the folder scan asks for (read-only plus directory) and the one the file listing asks
// for (read-only plus archive).
inline constexpr std::uint32_t kFolderScanAttributeSet = 0x11;
inline constexpr std::uint32_t kFileListAttributeSet = 0x21;

// True when an entry with `attributes` belongs to a search for `set`: an entry that carries a
// hidden, system, volume-label or directory bit missing from the set is left out; every other
// bit is ignored. Read-only, archive and the rest never exclude: asking for them changes nothing,
// which is why plain files come back from a search for folders and must be filtered by the caller.
inline bool MatchesAttributeSet(std::uint32_t attributes, std::uint32_t set) {
    constexpr std::uint32_t kExcluding = kAttrHidden | kAttrSystem | kAttrVolumeLabel | kAttrDirectory;
    return (attributes & kExcluding & ~set) == 0;
}

}  // namespace tavelin
