#include <gtest/gtest.h>

#include "base/directory_part.h"
#include "settings/settings_paths.h"

namespace tavelin {
namespace {

struct PathCase {
    const wchar_t* exePath;
    const wchar_t* exeDir;
    const wchar_t* searchFolder;
};

TEST(SettingsPaths, FolderIniFileAndDefaultSearchFolderFollowTheExecutable) {
    const PathCase cases[] = {
        {L"C:\\Program Files\\Tavelin\\Tavelin.exe", L"C:\\Program Files\\Tavelin\\", L"C:\\"},
        {L"d:\\Tavelin.exe", L"d:\\", L"d:\\"},
        {L"E:Tavelin.exe", L"E:", L"E:\\"},
        {L"C:\\ツール\\表示.exe", L"C:\\ツール\\", L"C:\\"},
        // The extended-length prefix must not leak into what the user sees.
        {L"\\\\?\\C:\\deep\\Tavelin.exe", L"C:\\deep\\", L"C:\\"},
        {L"\\\\?\\UNC\\server\\share\\dir\\Tavelin.exe", L"\\\\server\\share\\dir\\", L"\\\\server\\share\\"},
        // A network path has no drive letter: its share is the root.
        {L"\\\\server\\share\\dir\\Tavelin.exe", L"\\\\server\\share\\dir\\", L"\\\\server\\share\\"},
        {L"\\\\server\\share\\Tavelin.exe", L"\\\\server\\share\\", L"\\\\server\\share\\"},
    };
    for (const PathCase& c : cases) {
        SettingsPaths paths = SettingsPathsFor(c.exePath);
        EXPECT_EQ(paths.exeDir, c.exeDir) << testing::PrintToString(std::wstring(c.exePath));
        EXPECT_EQ(paths.iniPath, std::wstring(c.exeDir) + L"Tavelin.ini");
        EXPECT_EQ(paths.defaultSearchFolder, c.searchFolder) << testing::PrintToString(std::wstring(c.exePath));
    }
}

TEST(SettingsPaths, NoDirectoryGivesNoFolder) {
    EXPECT_EQ(DirectoryPart(L"Tavelin.exe"), L"");
    EXPECT_EQ(DefaultSearchFolder(L""), L"");
}

}  // namespace
}  // namespace tavelin
