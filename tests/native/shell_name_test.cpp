#include "tree/shell_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tavelin {
namespace {

TEST(ShellName, TrailingDotsAndSpacesAndDeviceNamesAreRefused) {
    const wchar_t* const refused[] = {
        L"v1.",  L"a ",        L"CON ",      L"..x.",      L"CON",     L"con",         L"Prn",
        L"aux",  L"NUL",       L"COM1",      L"com9",      L"COM0",    L"LPT1",        L"lpt9",
        L"LPT0", L"COM\u00B9", L"lpt\u00B2", L"COM\u00B3", L"con.txt", L"LPT1.backup", L"NUL.tar.gz"};
    // Names that only look alike.
    const wchar_t* const handled[] = {L"v1",        L".config",
                                      L"..x",       L"CONFIG",
                                      L"COM10",     L"COM",
                                      L"LPT\u00B4", L"xcon",
                                      L"CON_",      L" CON",
                                      L"nul-",      L"\uFF23\uFF2F\uFF2E",
                                      L"a.b",       L"\u30D5\u30A9\u30EB\u30C0"};
    for (const wchar_t* name : refused)
        EXPECT_FALSE(ShellCanHandle(name)) << testing::PrintToString(std::wstring(name));
    for (const wchar_t* name : handled)
        EXPECT_TRUE(ShellCanHandle(name)) << testing::PrintToString(std::wstring(name));
}

}  // namespace
}  // namespace tavelin
