#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/strict_number.h"
#include "platform/executable_path_win.h"
#include "platform/private_profile_win.h"
#include "settings/settings_file.h"
#include "support/file_system_unix.h"
#include "support/temp_dir.h"

namespace tavelin {
namespace {

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << bytes;
}

std::string ToCodePage932(const std::wstring& text) {
    int size = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

class PrivateProfileFile : public testing::Test {
  protected:
    test::TempDir dir;
    PrivateProfileWin ini;
    SettingsPaths paths = SettingsPathsFor(dir.Path() + L"Tavelin.exe");

    void WriteFile(const std::wstring& text) { WriteBytes(paths.iniPath, ToCodePage932(text)); }
};

TEST_F(PrivateProfileFile, AllTwelveKeysInThreeSectionsRoundTrip) {
    const WindowSettings window{2147483647, -2147483647 - 1, 640, 480, 0, 300, 90, 32767, 0, 64};
    SaveSettings(ini, paths.iniPath, window, L"C:\\検索\\", L"Z:\\写し先\\");
    LoadedSettings loaded = LoadSettings(ini, paths);
    EXPECT_EQ(loaded.window, window);
    EXPECT_EQ(loaded.searchFolder, L"C:\\検索\\");
    EXPECT_EQ(loaded.targetFolder, L"Z:\\写し先\\");

    std::string bytes = ReadBytes(paths.iniPath);
    std::size_t form = bytes.find("[Form]"), comp = bytes.find("[Comp]"), set = bytes.find("[Set]");
    ASSERT_NE(form, std::string::npos) << bytes;
    ASSERT_NE(comp, std::string::npos) << bytes;
    ASSERT_NE(set, std::string::npos) << bytes;
    EXPECT_LT(form, comp);
    EXPECT_LT(comp, set);
    for (const char* line : {"F1_X=2147483647", "F1_Y=-2147483648", "F1_W=640", "F1_H=480", "F1_P1=0", "F1_SG0=300",
                             "F1_SG1=90", "F1_SG2=32767", "F1_SG3=0", "F1_SG4=64"})
        EXPECT_NE(bytes.find(line), std::string::npos) << line;
}

TEST_F(PrivateProfileFile, ValuesLongerThanTheBufferAreCut) {
    const std::wstring thirty = L"123456789012345678901234567890";
    const std::wstring longFolder = L"C:\\" + std::wstring(600, L'フ') + L"\\";
    ASSERT_TRUE(WriteIniString(L"Form", L"F1_X", thirty, paths.iniPath));
    ASSERT_TRUE(WriteIniString(L"Set", L"FLD1", longFolder, paths.iniPath));
    std::wstring value;
    EXPECT_TRUE(ReadIniString(L"Form", L"F1_X", value, paths.iniPath, kNumberBufferSize));
    EXPECT_EQ(value, thirty.substr(0, 21));
    EXPECT_TRUE(ReadIniString(L"Set", L"FLD1", value, paths.iniPath, kFolderBufferSize));
    EXPECT_EQ(value, longFolder.substr(0, 511));
}

TEST_F(PrivateProfileFile, MissingFileKeyOrEmptyValueReadsAsFalse) {
    std::wstring value = L"left over";
    EXPECT_FALSE(ReadIniString(L"Form", L"F1_X", value, paths.iniPath, kNumberBufferSize));
    EXPECT_EQ(value, L"");
    WriteFile(L"[Form]\r\nF1_X=\r\nF1_Y=7\r\n");
    EXPECT_FALSE(ReadIniString(L"Form", L"F1_X", value, paths.iniPath, kNumberBufferSize));
    EXPECT_FALSE(ReadIniString(L"Form", L"F1_W", value, paths.iniPath, kNumberBufferSize));
    EXPECT_TRUE(ReadIniString(L"Form", L"F1_Y", value, paths.iniPath, kNumberBufferSize));
    EXPECT_EQ(value, L"7");

    LoadedSettings loaded = LoadSettings(ini, paths);
    EXPECT_EQ(loaded.window, (WindowSettings{50, 7, 500, 350, 200, 120, 80, 50, 50, 50}));
    EXPECT_EQ(loaded.searchFolder, paths.defaultSearchFolder);
}

TEST_F(PrivateProfileFile, HexAndSignedFormsAreRead) {
    WriteFile(L"[Form]\r\nF1_X=$FFFFFFFF\r\nF1_Y=0x10\r\nF1_W=+640\r\nF1_H=-5\r\n[Comp]\r\nF1_P1=X1f\r\n");
    LoadedSettings loaded = LoadSettings(ini, paths);
    EXPECT_EQ(loaded.window, (WindowSettings{-1, 16, 640, -5, 31, 120, 80, 50, 50, 50}));
}

TEST_F(PrivateProfileFile, AValueOutOfRangeOrWithLettersStopsTheLoad) {
    for (const wchar_t* bad : {L"2147483648", L"12px", L"$123456789"}) {
        WriteFile(std::wstring(L"[Form]\r\nF1_X=10\r\n[Comp]\r\nF1_SG0=") + bad + L"\r\n");
        try {
            LoadSettings(ini, paths);
            ADD_FAILURE() << "no ConvertError for " << testing::PrintToString(std::wstring(bad));
        } catch (const ConvertError& e) {
            EXPECT_EQ(e.Message(), L"'" + std::wstring(bad) + L"' は整数ではありません");
        }
    }
}

TEST_F(PrivateProfileFile, WritesToAReadOnlyFileFailQuietly) {
    WriteFile(L"[Form]\r\nF1_X=1\r\n");
    const std::string before = ReadBytes(paths.iniPath);
    ASSERT_TRUE(SetFileAttributesW(paths.iniPath.c_str(), FILE_ATTRIBUTE_READONLY));
    const bool immutable = test::SetImmutable(paths.iniPath, true);
    EXPECT_FALSE(WriteIniString(L"Form", L"F1_X", L"2", paths.iniPath)) << "immutable: " << immutable;
    SaveSettings(ini, paths.iniPath, DefaultWindowSettings(), L"C:\\", L"");
    if (immutable)
        test::SetImmutable(paths.iniPath, false);
    SetFileAttributesW(paths.iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(paths.iniPath), before);
}

TEST_F(PrivateProfileFile, CodePage932FileWithJapaneseFolderReadsBackExactly) {
    // 表 and ソ end in the byte of "\": a reader that looked at bytes would split them.
    const std::wstring folder = L"D:\\表計算\\ソフト\\日本語フォルダ\\";
    WriteFile(L"[Set]\r\nFLD1=" + folder + L"\r\nFLD2=E:\\能力\\\r\n");
    LoadedSettings loaded = LoadSettings(ini, paths);
    EXPECT_EQ(loaded.searchFolder, folder);
    EXPECT_EQ(loaded.targetFolder, L"E:\\能力\\");
}

TEST_F(PrivateProfileFile, ANewFileIsWrittenInCodePage932) {
    const std::wstring folder = L"D:\\表計算\\ソフト\\";
    ASSERT_TRUE(WriteIniString(L"Set", L"FLD1", folder, paths.iniPath));
    std::string bytes = ReadBytes(paths.iniPath);
    EXPECT_NE(bytes.find("[Set]"), std::string::npos) << "not single-byte text: UTF-16?";
    EXPECT_NE(bytes.find("FLD1=" + ToCodePage932(folder)), std::string::npos);
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(PrivateProfileFile, TwoSavesAtOnceLeaveOneOfThemWholeAndNoCopiesBehind) {
    WriteFile(L"[User]\r\nNote=kept\r\n");
    const WindowSettings first{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const WindowSettings second{101, 102, 103, 104, 105, 106, 107, 108, 109, 110};
    for (int round = 0; round < 5; ++round) {
        // A spin rather than std::latch: under Wine this runtime's latch missed a wake-up about
        // once in a hundred rounds and hung the test; the spin ran a thousand without.
        std::atomic<int> ready = 0;
        auto save = [&](const WindowSettings& window, const std::wstring& folder) {
            PrivateProfileWin profile;
            ready.fetch_add(1);
            while (ready.load() < 2)
                std::this_thread::yield();
            SaveSettings(profile, paths.iniPath, window, folder, folder);
        };
        std::thread a(save, first, L"C:\\A\\");
        std::thread b(save, second, L"D:\\B\\");
        a.join();
        b.join();
        const LoadedSettings loaded = LoadSettings(ini, paths);
        const bool firstWhole =
            loaded.window == first && loaded.searchFolder == L"C:\\A\\" && loaded.targetFolder == L"C:\\A\\";
        const bool secondWhole =
            loaded.window == second && loaded.searchFolder == L"D:\\B\\" && loaded.targetFolder == L"D:\\B\\";
        EXPECT_TRUE(firstWhole || secondWhole) << "round " << round << ": " << ReadBytes(paths.iniPath);
    }
    std::wstring value;
    EXPECT_TRUE(ReadIniString(L"User", L"Note", value, paths.iniPath, 16));
    EXPECT_EQ(value, L"kept");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir.Path() + L"*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    std::vector<std::wstring> names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(names, std::vector<std::wstring>{L"Tavelin.ini"});
}

TEST(ExecutablePath, NamesThisProgramAndPutsTheSettingsBesideIt) {
    const std::wstring exe = ExecutablePath();
    ASSERT_TRUE(exe.ends_with(L"\\settings_private_profile_test.exe")) << testing::PrintToString(exe);
    EXPECT_EQ(GetFileAttributesW(exe.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    const SettingsPaths paths = SettingsPathsFor(exe);
    EXPECT_EQ(paths.iniPath,
              exe.substr(0, exe.size() - std::wstring(L"settings_private_profile_test.exe").size()) + L"Tavelin.ini");
    EXPECT_EQ(paths.defaultSearchFolder, exe.substr(0, 1) + L":\\");
}

}  // namespace
}  // namespace tavelin
