#include "services/attribute_filter.h"

#include <gtest/gtest.h>

#include "services/file_system.h"

namespace tavelin {
namespace {

TEST(AttributeFilter, ScanAndListingSets) {
    const struct {
        std::uint32_t attributes;
        bool inScan;
        bool inListing;
    } cases[] = {
        {0, true, true},
        {kAttrArchive, true, true},
        {kAttrReadOnly | kAttrArchive, true, true},
        {kAttrDirectory, true, false},
        {kAttrDirectory | kAttrReadOnly, true, false},
        {kAttrDirectory | kAttrReparsePoint, true, false},
        {kAttrHidden, false, false},
        {kAttrSystem | kAttrArchive, false, false},
        {kAttrDirectory | kAttrHidden, false, false},
        {kAttrVolumeLabel, false, false},
        {0x80 /* normal */, true, true},
        {0x2000 /* not indexed */, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesAttributeSet(c.attributes, kFolderScanAttributeSet), c.inScan) << std::hex << c.attributes;
        EXPECT_EQ(MatchesAttributeSet(c.attributes, kFileListAttributeSet), c.inListing) << std::hex << c.attributes;
    }
    // A set that asks for hidden entries returns them.
    EXPECT_TRUE(MatchesAttributeSet(kAttrHidden | kAttrDirectory, kAttrHidden | kAttrDirectory));
}

}  // namespace
}  // namespace tavelin
