#include "tree/shell_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tavelin {
namespace {

TEST(ShellName, TrailingDotsAndSpacesAndDeviceNamesAreRefused) {
    const struct {
        const wchar_t* name;
        bool handled;
    } cases[] = {
        {L"v1.", false},
        {L"a ", false},
        {L"CON ", false},
        {L"..x.", false},
        {L"CON", false},
        {L"con", false},
        {L"Prn", false},
        {L"aux", false},
        {L"NUL", false},
        {L"COM1", false},
        {L"com9", false},
        {L"COM0", false},
        {L"LPT1", false},
        {L"lpt9", false},
        {L"LPT0", false},
        {L"COM\u00B9", false},
        {L"lpt\u00B2", false},
        {L"COM\u00B3", false},
        {L"con.txt", false},
        {L"LPT1.backup", false},
        {L"NUL.tar.gz", false},
        // Names that only look alike.
        {L"v1", true},
        {L".config", true},
        {L"..x", true},
        {L"CONFIG", true},
        {L"COM10", true},
        {L"COM", true},
        {L"LPT\u00B4", true},
        {L"xcon", true},
        {L"CON_", true},
        {L" CON", true},
        {L"nul-", true},
        {L"\uFF23\uFF2F\uFF2E", true},
        {L"a.b", true},
        {L"\u30D5\u30A9\u30EB\u30C0", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShellCanHandle(c.name), c.handled) << testing::PrintToString(std::wstring(c.name));
}

}  // namespace
}  // namespace tavelin
