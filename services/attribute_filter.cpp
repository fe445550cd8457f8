#include "services/attribute_filter.h"

#include "services/file_system.h"

namespace tavelin {

bool MatchesAttributeSet(std::uint32_t attributes, std::uint32_t set) {
    // Read-only, archive and the rest never exclude: asking for them changes nothing, which is
    // why plain files come back from a search for folders and must be filtered by the caller.
    constexpr std::uint32_t kExcluding = kAttrHidden | kAttrSystem | kAttrVolumeLabel | kAttrDirectory;
    return (attributes & kExcluding & ~set) == 0;
}

}  // namespace tavelin
