#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "settings/settings_copies.h"

namespace tavelin {
namespace {

constexpr wchar_t kFile[] = L"Tavelin.ini";

FoundCopy Copy(const std::string& bytes, std::uint64_t lastWrite, std::uint32_t namedChecksum) {
    return {CopyFileName(kFile, L"0123abcd-7", namedChecksum), lastWrite, bytes};
}

TEST(SettingsCopies, NamesTellCopiesFromTheUsersFilesAndCarryTheChecksum) {
    EXPECT_EQ(Checksum("123456789"), 0xCBF43926u);  // the check value of CRC-32
    EXPECT_EQ(CopyFileName(kFile, L"9f-12", 0x00ABCDEFu), L"Tavelin.ini.9f-12.00abcdef.tmp");
    const struct {
        const wchar_t* name;
        bool copy;
        std::optional<std::uint32_t> checksum;
    } cases[] = {
        {L"Tavelin.ini.9f-12.00abcdef.tmp", true, 0x00ABCDEFu},
        {L"tavelin.INI.9F-12.00ABCDEF.TMP", true, 0x00ABCDEFu},
        {L"Tavelin.ini.4242-17.tmp", true, std::nullopt},  // an earlier version's: never restored
        {L"Tavelin.ini.9f-12.abc.tmp", true, std::nullopt},
        {L"Tavelin.ini.mine.tmp", false, std::nullopt},
        {L"Tavelin.ini.1-2.tmp.txt", false, std::nullopt},
        {L"Tavelin.ini..tmp", false, std::nullopt},
        {L"Tavelin.ini.tmp", false, std::nullopt},
        {L"Other.ini.1-2.00abcdef.tmp", false, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<CopyNameParts> parts = ParseCopyName(c.name, kFile);
        EXPECT_EQ(parts.has_value(), c.copy) << testing::PrintToString(std::wstring(c.name));
        if (parts) {
            EXPECT_EQ(parts->checksum, c.checksum) << testing::PrintToString(std::wstring(c.name));
        }
    }
}

// After a crash between a replace's two renames the file is gone and the backup (older) and the
// new copy are both whole; a copy a crash cut short, or one that cannot be read, never comes back.
TEST(SettingsCopies, TheNewestWholeCopyIsRestoredAndOnlyOldCopiesAreLeft) {
    const std::string old = "[Set]\r\nFLD1=C:\\old\\\r\n", saved = "[Set]\r\nFLD1=C:\\new\\\r\n";
    const std::vector<FoundCopy> copies = {
        Copy(old, 100, Checksum(old)),
        Copy(saved, 200, Checksum(saved)),
        Copy(saved.substr(0, 9), 300, Checksum(saved)),
        {CopyFileName(kFile, L"1", Checksum(saved)), 400, std::nullopt},
        {L"Tavelin.ini.4242-17.tmp", 500, saved},
    };
    EXPECT_EQ(CopyToRestore(copies, kFile), std::optional<std::size_t>(1));
    EXPECT_EQ(CopyToRestore({copies[2], copies[3], copies[4]}, kFile), std::nullopt);
    EXPECT_EQ(LeftCopies(copies, 300 + kLeftCopyAge), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(LeftCopies(copies, 100 + kLeftCopyAge), std::vector<std::size_t>{});
}

}  // namespace
}  // namespace tavelin
