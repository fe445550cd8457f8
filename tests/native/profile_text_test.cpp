#include "platform/profile_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tavelin {
namespace {

TEST(ProfileText, AByteOrderMarkMakesAFileUnicode) {
    const struct {
        std::string bytes;
        bool unicode;
    } cases[] = {
        {std::string("\xFF\xFE[\0S\0", 6), true},
        {std::string("\xFE\xFF\0[", 4), true},
        {"\xEF\xBB\xBF[Set]", true},
        {"[Set]\r\nFLD1=C:\\\x95\x5C\r\n", false},
        {"\xFF", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUnicodeProfile(c.bytes), c.unicode) << testing::PrintToString(c.bytes);
}

TEST(ProfileText, UnicodeBytesAreLowByteFirstBehindTheMark) {
    EXPECT_EQ(UnicodeProfileBytes(L"[¥한]"), std::string("\xFF\xFE[\0\xA5\0\x5C\xD5]\0", 10));
    EXPECT_EQ(UnicodeProfileBytes(L""), "\xFF\xFE");
    EXPECT_TRUE(IsUnicodeProfile(UnicodeProfileBytes(L"x")));
}

}  // namespace
}  // namespace tavelin
