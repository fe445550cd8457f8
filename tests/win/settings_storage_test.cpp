#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/strict_number.h"
#include "platform/executable_path_win.h"
#include "platform/settings_storage_win.h"
#include "settings/settings_file.h"
#include "support/import_hook.h"
#include "support/settings_file_bytes.h"
#include "support/temp_dir.h"

namespace tavelin {
namespace {

using test::ReadRawFile;
using test::ToCodePage932;
using test::WriteRawFile;

class SettingsStorageFile : public testing::Test {
  protected:
    void TearDown() override { SetFileAttributesW(paths.iniPath.c_str(), FILE_ATTRIBUTE_NORMAL); }

    void WriteFile(const std::wstring& text) { WriteRawFile(paths.iniPath, ToCodePage932(text)); }
    std::vector<std::wstring> FileNames() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((dir.Path() + L"*").c_str(), &found);
        do {
            if (search != INVALID_HANDLE_VALUE && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (search != INVALID_HANDLE_VALUE && FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    test::TempDir dir;
    SettingsStorageWin storage;
    SettingsPaths paths = SettingsPathsFor(dir.Path() + L"Tavelin.exe");
};

TEST_F(SettingsStorageFile, AllTwelveKeysInThreeSectionsRoundTripInCodePage932) {
    const WindowSettings window{2147483647, -2147483647 - 1, 640, 480, 0, 300, 90, 32767, 0, 64};
    // 表 and ソ end in the byte of "\": a reader that looked at bytes would split them.
    const std::wstring folder = L"D:\\表計算\\ソフト\\日本語フォルダ\\";
    WriteSettings(storage, paths.iniPath, window, folder, L"Z:\\写し先\\");
    LoadedSettings loaded = ReadSettings(storage, paths);
    EXPECT_EQ(loaded.window, window);
    EXPECT_EQ(loaded.searchFolder, folder);
    EXPECT_EQ(loaded.targetFolder, L"Z:\\写し先\\");
    EXPECT_EQ(ReadRawFile(paths.iniPath),
              "[Form]\r\nF1_X=2147483647\r\nF1_Y=-2147483648\r\nF1_W=640\r\nF1_H=480\r\n[Comp]\r\nF1_P1=0\r\n"
              "F1_SG0=300\r\nF1_SG1=90\r\nF1_SG2=32767\r\nF1_SG3=0\r\nF1_SG4=64\r\n[Set]\r\nFLD1=" +
                  ToCodePage932(folder) + "\r\nFLD2=" + ToCodePage932(L"Z:\\写し先\\") + "\r\n");
    // The platform's own functions read what the program wrote.
    EXPECT_EQ(test::KeyValue(L"Set", L"FLD1", paths.iniPath), folder);
}

TEST_F(SettingsStorageFile, ValuesAreReadAsThePrivateProfileFunctionsReadThem) {
    WriteFile(
        L"[Form]\r\nF1_X=\r\nF1_Y=7\r\nF1_W=$FFFFFFFF\r\nF1_H=0x10\r\n[Comp]\r\nF1_P1=X1f\r\nF1_SG0=+64\r\n"
        L"[Set]\r\nFLD1=C:\\" +
        std::wstring(600, L'フ') + L"\\\r\n");
    LoadedSettings loaded = ReadSettings(storage, paths);
    EXPECT_EQ(loaded.window, (WindowSettings{50, 7, -1, 16, 31, 64, 80, 50, 50, 50}));
    EXPECT_EQ(loaded.searchFolder, L"C:\\" + std::wstring(508, L'フ'));
    for (const wchar_t* bad : {L"2147483648", L"12px", L"$123456789"}) {
        WriteFile(std::wstring(L"[Form]\r\nF1_X=10\r\n[Comp]\r\nF1_SG0=") + bad + L"\r\n");
        try {
            ReadSettings(storage, paths);
            ADD_FAILURE() << "no ConvertError for " << testing::PrintToString(std::wstring(bad));
        } catch (const ConvertError& e) {
            EXPECT_EQ(e.Message(), L"'" + std::wstring(bad) + L"' は整数ではありません");
        }
    }
}

TEST_F(SettingsStorageFile, AReadOnlyFileKeepsItsBytesAndAHiddenOrSystemOneItsAttributes) {
    const struct {
        DWORD attributes;
        bool replaced;
    } cases[] = {
        {FILE_ATTRIBUTE_READONLY, false},
        {FILE_ATTRIBUTE_HIDDEN, true},
        {FILE_ATTRIBUTE_SYSTEM, true},
    };
    for (const auto& c : cases) {
        WriteFile(L"[Form]\r\nF1_X=1\r\n");
        ASSERT_TRUE(SetFileAttributesW(paths.iniPath.c_str(), c.attributes));
        EXPECT_EQ(storage.ReplaceBytes(paths.iniPath, "[Form]\r\nF1_X=2\r\n"), c.replaced);
        EXPECT_EQ(ReadRawFile(paths.iniPath), c.replaced ? "[Form]\r\nF1_X=2\r\n" : "[Form]\r\nF1_X=1\r\n");
        EXPECT_EQ(GetFileAttributesW(paths.iniPath.c_str()) &
                      (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
                  c.attributes);
        EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"Tavelin.ini"});
        SetFileAttributesW(paths.iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A copy that a kill left behind goes with the next save; one that a running instance is
// writing stays, and so does a file of the user's that only looks alike.
TEST_F(SettingsStorageFile, ASaveRemovesTheCopiesEarlierRunsLeftBehind) {
    for (const wchar_t* name : {L"Tavelin.ini.4242-0.tmp", L"tavelin.INI.1-17.tmp", L"Tavelin.ini.77-3.tmp",
                                L"Tavelin.ini.mine.tmp", L"Tavelin.ini.1-2.tmp.txt"})
        WriteRawFile(dir.Path() + name, "[Form]\r\nF1_X=");
    HANDLE running = CreateFileW((dir.Path() + L"Tavelin.ini.77-3.tmp").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    WriteSettings(storage, paths.iniPath, DefaultWindowSettings(), L"C:\\", L"");
    CloseHandle(running);
    std::vector<std::wstring> names = FileNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Tavelin.ini", L"Tavelin.ini.1-2.tmp.txt", L"Tavelin.ini.77-3.tmp",
                                                L"Tavelin.ini.mine.tmp"}));
}

// The disk cannot be filled on demand here, so its writes are: the first bytes go through, then
// the disk either says it is full or, as a write into a full disk once did, says nothing.
int writableBytes = 0;
bool reportFull = true;
BOOL WINAPI WriteUntilFull(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    const DWORD taken = static_cast<DWORD>(std::min<int>(static_cast<int>(size), writableBytes));
    writableBytes -= static_cast<int>(taken);
    const BOOL ok = taken == 0 || WriteFile(file, data, taken, written, overlapped);
    if (reportFull && taken < size) {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    *written = size;
    return ok;
}

TEST_F(SettingsStorageFile, AFakedFullDiskLeavesTheOldFileOrNone) {
    const std::string old = "[User]\r\nimportant=keep me\r\n" + std::string(4000, ';') + "\r\n";
    for (bool hadFile : {true, false}) {
        for (bool full : {true, false}) {
            SCOPED_TRACE(testing::Message() << "file " << hadFile << ", disk says full " << full);
            DeleteFileW(paths.iniPath.c_str());
            if (hadFile)
                WriteRawFile(paths.iniPath, old);
            writableBytes = hadFile ? 4096 : 100;
            reportFull = full;
            {
                test::ImportHook hook("kernel32.dll", "WriteFile", reinterpret_cast<void*>(&WriteUntilFull));
                WriteSettings(storage, paths.iniPath, DefaultWindowSettings(), L"C:\\" + std::wstring(300, L'x'), L"");
            }
            EXPECT_EQ(FileNames(), hadFile ? std::vector<std::wstring>{L"Tavelin.ini"} : std::vector<std::wstring>{});
            EXPECT_EQ(ReadRawFile(paths.iniPath), hadFile ? old : "");
        }
    }
}

TEST_F(SettingsStorageFile, TwoSavesAtOnceLeaveOneOfThemWholeAndNoCopiesBehind) {
    WriteFile(L"[User]\r\nNote=kept\r\n");
    const WindowSettings first{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const WindowSettings second{101, 102, 103, 104, 105, 106, 107, 108, 109, 110};
    for (int round = 0; round < 5; ++round) {
        // A spin rather than std::latch: under Wine this runtime's latch missed a wake-up about
        // once in a hundred rounds and hung the test; the spin ran a thousand without.
        std::atomic<int> ready = 0;
        auto save = [&](const WindowSettings& window, const std::wstring& folder) {
            SettingsStorageWin own;
            ready.fetch_add(1);
            while (ready.load() < 2)
                std::this_thread::yield();
            WriteSettings(own, paths.iniPath, window, folder, folder);
        };
        std::thread a(save, first, L"C:\\A\\");
        std::thread b(save, second, L"D:\\B\\");
        a.join();
        b.join();
        const LoadedSettings loaded = ReadSettings(storage, paths);
        const bool firstWhole =
            loaded.window == first && loaded.searchFolder == L"C:\\A\\" && loaded.targetFolder == L"C:\\A\\";
        const bool secondWhole =
            loaded.window == second && loaded.searchFolder == L"D:\\B\\" && loaded.targetFolder == L"D:\\B\\";
        EXPECT_TRUE(firstWhole || secondWhole) << "round " << round << ": " << ReadRawFile(paths.iniPath);
    }
    EXPECT_EQ(test::KeyValue(L"User", L"Note", paths.iniPath), L"kept");
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"Tavelin.ini"});
}

TEST(ExecutablePath, NamesThisProgramAndPutsTheSettingsBesideIt) {
    const std::wstring exe = ExecutablePath();
    ASSERT_TRUE(exe.ends_with(L"\\settings_storage_test.exe")) << testing::PrintToString(exe);
    EXPECT_EQ(GetFileAttributesW(exe.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    const SettingsPaths paths = SettingsPathsFor(exe);
    EXPECT_EQ(paths.iniPath,
              exe.substr(0, exe.size() - std::wstring(L"settings_storage_test.exe").size()) + L"Tavelin.ini");
    EXPECT_EQ(paths.defaultSearchFolder, exe.substr(0, 1) + L":\\");
}

}  // namespace
}  // namespace tavelin
