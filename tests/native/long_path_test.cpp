#include "base/long_path.h"

#include <gtest/gtest.h>

namespace tavelin {
namespace {

struct PathCase {
    const wchar_t* shown;
    const wchar_t* extended;
};

TEST(LongPath, PrefixesDrivesAndSharesAndStripsItAgain) {
    const PathCase cases[] = {
        {L"C:\\Data\\", L"\\\\?\\C:\\Data\\"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"\\\\server\\share\\a\\", L"\\\\?\\UNC\\server\\share\\a\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToExtendedPath(c.shown), c.extended);
        EXPECT_EQ(ToDisplayPath(c.extended), c.shown);
    }
}

TEST(LongPath, LeavesPrefixedAndRelativePathsAlone) {
    EXPECT_EQ(ToExtendedPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(ToExtendedPath(L"relative\\x"), L"relative\\x");
    EXPECT_EQ(ToDisplayPath(L"C:\\x\\"), L"C:\\x\\");
}

TEST(LongPath, OnlyPathsThePrefixWouldTakeLiterallyNeedMakingFull) {
    const struct {
        const wchar_t* path;
        bool needs;
    } cases[] = {
        {L"C:\\Data\\..\\X\\", true},
        {L"C:\\Data\\.\\X\\", true},
        {L"C:\\Data\\..", true},
        {L"C:/Data/X/", true},
        {L"C:\\Data\\X/", true},
        {L"\\\\server\\share\\..\\x\\", true},
        {L"relative\\x\\", true},
        {L"C:x\\", true},
        {L"\\x\\", true},
        {L"C:\\Data\\X\\", false},
        {L"C:\\", false},
        {L"C:\\Data\\...\\x.\\.y\\", false},
        {L"\\\\server\\share\\x\\", false},
        {L"\\\\?\\C:\\a\\..\\b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NeedsFullPath(c.path), c.needs) << testing::PrintToString(std::wstring(c.path));
}

}  // namespace
}  // namespace tavelin
