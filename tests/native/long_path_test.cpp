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

}  // namespace
}  // namespace tavelin
