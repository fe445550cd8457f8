#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/strict_number.h"
#include "platform/executable_path_win.h"
#include "platform/settings_storage_win.h"
#include "settings/settings_copies.h"
#include "settings/settings_file.h"
#include "support/file_system_unix.h"
#include "support/import_hook.h"
#include "support/settings_file_bytes.h"
#include "support/temp_dir.h"

namespace tavelin {
namespace {

using test::ImportHook;
using test::ReadRawFile;
using test::ToCodePage932;
using test::WriteRawFile;

// Started as "settings_storage_test.exe --hold <share mode> <ms> <parent id> <path>", this
// executable is the other program that holds the settings file open for `ms`, or until the
// parent lets it go, whichever comes first.
constexpr wchar_t kHoldSwitch[] = L" --hold ";
std::wstring LetGoEventName(DWORD parent) {
    return L"Local\\TavelinTestLetGo" + std::to_wstring(parent);
}
[[maybe_unused]] const bool kRunAsHolder = [] {
    const std::wstring command = GetCommandLineW();
    const std::size_t at = command.find(kHoldSwitch);
    if (at == std::wstring::npos)
        return false;
    wchar_t* rest = nullptr;
    const DWORD share = wcstoul(command.c_str() + at + wcslen(kHoldSwitch), &rest, 10);
    const DWORD ms = wcstoul(rest, &rest, 10);
    const DWORD parent = wcstoul(rest, &rest, 10);
    HANDLE file = CreateFileW(rest + 1, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE letGo = OpenEventW(SYNCHRONIZE, FALSE, LetGoEventName(parent).c_str());
    WaitForSingleObject(letGo, ms);
    ExitProcess(file == INVALID_HANDLE_VALUE || !letGo ? 1 : 0);
}();

// Another process holding the file open for `ms` from the moment this returns, or until this
// process sets its let-go event.
HANDLE HoldInAnotherProcess(const std::wstring& path, DWORD share, DWORD ms) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe) + L"\"" + kHoldSwitch + std::to_wstring(share) + L" " +
                           std::to_wstring(ms) + L" " + std::to_wstring(GetCurrentProcessId()) + L" " + path;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    // Held once nobody else may open it at all, or never when the holder could not open it.
    for (int waited = 0; waited < 5000 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; waited += 5) {
        HANDLE probe = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION)
            break;
        if (probe != INVALID_HANDLE_VALUE)
            CloseHandle(probe);
        Sleep(5);
    }
    return process.hProcess;
}

// Dates a file's last write `hours` back.
void MakeOlder(const std::wstring& path, int hours) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{};
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart -= static_cast<ULONGLONG>(hours) * 3600 * 10'000'000;
    const FILETIME then{time.LowPart, time.HighPart};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &then));
    CloseHandle(file);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    do {
        if (search != INVALID_HANDLE_VALUE && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (search != INVALID_HANDLE_VALUE && FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

class SettingsStorageFile : public testing::Test {
  protected:
    void TearDown() override { SetFileAttributesW(paths.iniPath.c_str(), FILE_ATTRIBUTE_NORMAL); }

    void WriteFile(const std::wstring& text) { WriteRawFile(paths.iniPath, ToCodePage932(text)); }
    std::vector<std::wstring> FileNames() const { return FilesIn(dir.Path()); }

    test::TempDir dir;
    SettingsStorageWin storage;
    SettingsPaths paths = SettingsPathsFor(dir.Path() + L"Tavelin.exe");
};

// 表 and ソ end in the byte of "\": a reader that looked at bytes would split them.
TEST_F(SettingsStorageFile, AFolderWhoseCharactersEndInTheByteOfABackslashRoundTripsInCodePage932) {
    const std::wstring folder = L"D:\\表計算\\ソフト\\日本語フォルダ\\";
    WriteSettings(storage, paths.iniPath, DefaultWindowSettings(), folder, L"");
    EXPECT_EQ(ReadSettings(storage, paths).searchFolder, folder);
    EXPECT_TRUE(ReadRawFile(paths.iniPath).ends_with("[Set]\r\nFLD1=" + ToCodePage932(folder) + "\r\nFLD2=\r\n"));
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

// Copies that a crash or a kill left behind go with a save that left the file whole, once they
// are far older than any save takes: a younger one may be another instance's, on this machine or
// another sharing the folder, about to be swapped in. Files of the user's that only look alike stay.
TEST_F(SettingsStorageFile, ASaveRemovesOnlyTheCopiesLeftLongAgo) {
    const std::wstring earlierVersion = L"Tavelin.ini.32-0.tmp";
    const std::wstring left = CopyFileName(L"Tavelin.ini", L"ab-1", 0x12345678);
    const std::wstring young = CopyFileName(L"Tavelin.ini", L"cd-2", 0x12345678);
    for (const std::wstring& name :
         {earlierVersion, left, young, std::wstring(L"Tavelin.ini.mine.tmp"), std::wstring(L"Tavelin.ini.1-2.tmp.txt")})
        WriteRawFile(dir.Path() + name, "[Form]\r\nF1_X=");
    for (const std::wstring& name : {earlierVersion, left, std::wstring(L"Tavelin.ini.mine.tmp")})
        MakeOlder(dir.Path() + name, 1);
    WriteSettings(storage, paths.iniPath, DefaultWindowSettings(), L"C:\\", L"");
    std::vector<std::wstring> names = FileNames();
    std::sort(names.begin(), names.end());
    std::vector<std::wstring> kept{L"Tavelin.ini", L"Tavelin.ini.1-2.tmp.txt", L"Tavelin.ini.mine.tmp", young};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(names, kept);
}

// A kill or a power cut between the replace's two renames leaves no settings file: the old one
// under the backup's name and the new copy beside it. The next start reads the newest whole copy,
// not one a crash cut short, and a save that leaves the file whole removes them once they are old.
TEST_F(SettingsStorageFile, AFileACrashLeftBetweenTheRenamesComesBackFromTheNewestWholeCopy) {
    const std::string old = "[Set]\r\nFLD1=C:\\old\\\r\n[User]\r\nNote=kept\r\n";
    const std::string saved = "[Set]\r\nFLD1=C:\\new\\\r\n[User]\r\nNote=kept\r\n";
    const std::wstring backup = CopyFileName(L"Tavelin.ini", L"ab-1", Checksum(old));
    const std::wstring copy = CopyFileName(L"Tavelin.ini", L"ab-2", Checksum(saved));
    const std::wstring cut = CopyFileName(L"Tavelin.ini", L"cd-0", Checksum(saved));
    WriteRawFile(dir.Path() + backup, old);
    WriteRawFile(dir.Path() + copy, saved);
    WriteRawFile(dir.Path() + cut, saved.substr(0, 12));
    MakeOlder(dir.Path() + backup, 3);
    MakeOlder(dir.Path() + copy, 2);
    MakeOlder(dir.Path() + cut, 1);
    const LoadedSettings loaded = ReadSettings(storage, paths);
    EXPECT_FALSE(loaded.unreadable);
    EXPECT_EQ(loaded.searchFolder, L"C:\\new\\");
    EXPECT_EQ(ReadRawFile(paths.iniPath), saved);
    WriteSettings(storage, paths.iniPath, DefaultWindowSettings(), L"D:\\", L"");
    EXPECT_EQ(test::KeyValue(L"User", L"Note", paths.iniPath), L"kept");
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"Tavelin.ini"});
}

// Another program holding the file open (a virus scanner, a sync client, the indexer), whatever
// it shares, holds the save up until it lets go; held longer than the save waits, the save is
// given up and the old file stays whole, with no copy beside it. Those holders let go only once
// the save has returned, however slowly a loaded machine runs it.
TEST_F(SettingsStorageFile, ASaveLandsOnceAnotherProgramLetsGoOfTheFile) {
    const struct {
        DWORD share;
        DWORD holdMs;
        unsigned long waitMs;
        bool lands;
    } cases[] = {
        {FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 1500, 5000, true},
        {FILE_SHARE_READ, 1500, 5000, true},
        {FILE_SHARE_READ | FILE_SHARE_WRITE, 1500, 5000, true},
        {0, 2000, 5000, true},
        {FILE_SHARE_READ, 20000, 500, false},
        {0, 20000, 500, false},
    };
    const HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, LetGoEventName(GetCurrentProcessId()).c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "share " << c.share << ", held " << c.holdMs << " ms");
        WriteRawFile(paths.iniPath, "[User]\r\nNote=old\r\n");
        ResetEvent(letGo);
        HANDLE holder = HoldInAnotherProcess(paths.iniPath, c.share, c.holdMs);
        ASSERT_TRUE(holder);
        SettingsStorageWin patient(GetACP(), c.waitMs);
        WriteSettings(patient, paths.iniPath, DefaultWindowSettings(), L"C:\\new\\", L"");
        // The old file that the other program still reads goes when it lets go.
        SetEvent(letGo);
        WaitForSingleObject(holder, 10000);
        CloseHandle(holder);
        EXPECT_EQ(test::KeyValue(L"Set", L"FLD1", paths.iniPath), c.lands ? L"C:\\new\\" : L"<missing>");
        EXPECT_EQ(test::KeyValue(L"User", L"Note", paths.iniPath), L"old");
        EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"Tavelin.ini"});
    }
    CloseHandle(letGo);
}

// Only what a holder causes is waited for: access denied by the file's permissions, or a copy that
// is gone, stays so however long one waits. A file system that cannot replace a file (some
// network shares) takes the move at once.
DWORD failWith = ERROR_SUCCESS;
int replaceCalls = 0;
BOOL WINAPI ReplaceFailing(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
    ++replaceCalls;
    SetLastError(failWith);
    return FALSE;
}
BOOL WINAPI MoveFailing(LPCWSTR, LPCWSTR, DWORD) {
    SetLastError(failWith);
    return FALSE;
}

TEST_F(SettingsStorageFile, OnlyErrorsThatAHolderCausesAreTriedAgain) {
    const struct {
        DWORD error;
        bool triedAgain;
        bool moveWorks;
    } cases[] = {
        {ERROR_SHARING_VIOLATION, true, false},
        {ERROR_LOCK_VIOLATION, true, false},
        {ERROR_UNABLE_TO_REMOVE_REPLACED, true, false},
        {ERROR_ACCESS_DENIED, false, false},
        {ERROR_FILE_NOT_FOUND, false, false},
        {ERROR_PATH_NOT_FOUND, false, false},
        {ERROR_NOT_SUPPORTED, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        WriteRawFile(paths.iniPath, "[User]\r\nNote=old\r\n");
        failWith = c.error;
        replaceCalls = 0;
        SettingsStorageWin patient(GetACP(), 300);
        {
            ImportHook replace("kernel32.dll", "ReplaceFileW", reinterpret_cast<void*>(&ReplaceFailing));
            std::optional<ImportHook> move;
            if (!c.moveWorks)
                move.emplace("kernel32.dll", "MoveFileExW", reinterpret_cast<void*>(&MoveFailing));
            EXPECT_EQ(patient.ReplaceBytes(paths.iniPath, "[User]\r\nNote=new\r\n"), c.moveWorks);
        }
        EXPECT_EQ(replaceCalls > 1, c.triedAgain) << replaceCalls << " tries";
        EXPECT_EQ(ReadRawFile(paths.iniPath), c.moveWorks ? "[User]\r\nNote=new\r\n" : "[User]\r\nNote=old\r\n");
        EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"Tavelin.ini"});
    }
}

// A settings file that is a link (here a Unix one, which Wine follows as Windows follows its
// own): the file it leads to takes the save, also when it is not there yet, and the link stays a
// link.
TEST_F(SettingsStorageFile, ALinkStaysALinkAndTheFileItLeadsToTakesTheSave) {
    for (bool targetThere : {true, false}) {
        SCOPED_TRACE(targetThere ? "target there" : "target not there yet");
        test::TempDir elsewhere;
        const std::wstring real = elsewhere.Path() + L"real.ini";
        if (targetThere)
            WriteRawFile(real, "[User]\r\nNote=kept\r\n");
        DeleteFileW(paths.iniPath.c_str());
        if (test::RunUnix(L"ln -sf " + test::UnixPathArgument(real) + L" " +
                          test::UnixPathArgument(dir.Path(), L"Tavelin.ini")) != 0)
            GTEST_SKIP() << "no Unix side to make a link on";
        WriteSettings(storage, paths.iniPath, DefaultWindowSettings(), L"C:\\新しい\\", L"");
        EXPECT_EQ(test::KeyValue(L"User", L"Note", real), targetThere ? L"kept" : L"<missing>");
        EXPECT_EQ(test::KeyValue(L"Set", L"FLD1", real), L"C:\\新しい\\");
        EXPECT_EQ(test::RunUnix(L"test -L " + test::UnixPathArgument(dir.Path(), L"Tavelin.ini")), 0);
        EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"Tavelin.ini"});
        EXPECT_EQ(FilesIn(elsewhere.Path()), std::vector<std::wstring>{L"real.ini"});
    }
}

// The program's own lines in Shift-JIS beside the user's bytes, which come back exactly: a lead
// byte before the line end, one before "=", characters Shift-JIS does not have, random bytes. With
// the system code page UTF-8, such an older file is read and written in the code page of the
// user's locale all the same.
TEST_F(SettingsStorageFile, BytesThatAreNoShiftJisCharacterComeBackAsTheyWere) {
    std::vector<std::string> files = {"[User]\r\nlead=\x82\r\nk\x82=v\r\nodd=\x85\x40\xEB\x40\r\n" +
                                      ToCodePage932(L"名前=値\r\n")};
    std::mt19937 random(23);
    for (int lines : {14, 16, 14, 16}) {
        std::string file;
        for (int line = 0; line < lines; ++line) {
            for (int n = random() % 24; n > 0; --n) {
                const char c = static_cast<char>(1 + random() % 255);
                file.push_back(c == '\n' ? '\x82' : c);
            }
            file += "\r\n";
        }
        files.push_back(file);
    }
    SettingsStorageWin utf8System(CP_UTF8, 5000);
    const std::wstring folder = L"D:\\表計算\\ソフト\\";
    for (SettingsStorageWin* system : {&storage, &utf8System}) {
        for (const std::string& file : files) {
            WriteRawFile(paths.iniPath, file);
            WriteSettings(*system, paths.iniPath, DefaultWindowSettings(), folder, L"");
            const std::string saved = ReadRawFile(paths.iniPath);
            EXPECT_TRUE(saved.starts_with(file)) << testing::PrintToString(saved);
            EXPECT_NE(saved.find("FLD1=" + ToCodePage932(folder) + "\r\n"), std::string::npos)
                << testing::PrintToString(saved);
            EXPECT_EQ(ReadSettings(*system, paths).searchFolder, folder);
        }
    }
}

// A locale with no code page of its own leaves UTF-8 for files that are not quite UTF-8, and
// Windows refuses the best-fit flag and the used-default pointer with UTF-8, which Wine takes:
// both are made so here.
ImportHook* localeHook = nullptr;
ImportHook* toBytesHook = nullptr;
int WINAPI NoAnsiCodePage(LPCWSTR locale, LCTYPE type, LPWSTR data, int size) {
    if (type == (LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER) && size >= 2) {
        *reinterpret_cast<DWORD*>(data) = CP_ACP;
        return 2;
    }
    return localeHook->Original<decltype(&GetLocaleInfoEx)>()(locale, type, data, size);
}
int WINAPI ToBytesAsWindows(UINT codePage,
                            DWORD flags,
                            LPCWCH text,
                            int length,
                            LPSTR bytes,
                            int size,
                            LPCCH defaultChar,
                            LPBOOL usedDefault) {
    if (codePage == CP_UTF8 && ((flags & ~WC_ERR_INVALID_CHARS) != 0 || defaultChar || usedDefault)) {
        SetLastError((flags & ~WC_ERR_INVALID_CHARS) != 0 ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
        return 0;
    }
    return toBytesHook->Original<decltype(&WideCharToMultiByte)>()(codePage, flags, text, length, bytes, size,
                                                                   defaultChar, usedDefault);
}

TEST_F(SettingsStorageFile, WithoutALocaleCodePageTheCodePageIsUtf8WithOnlyTheFlagsWindowsTakes) {
    test::ImportHook locale("kernel32.dll", "GetLocaleInfoEx", reinterpret_cast<void*>(&NoAnsiCodePage));
    test::ImportHook toBytes("kernel32.dll", "WideCharToMultiByte", reinterpret_cast<void*>(&ToBytesAsWindows));
    localeHook = &locale;
    toBytesHook = &toBytes;
    SettingsStorageWin unicodeOnly(CP_UTF8, 5000);
    // More stray bytes than UTF-8 sequences: a file for the code page, which is UTF-8 here.
    const std::string file = "[User]\r\nodd=\x82\x82\x82\x82\r\n\xE5\x90\x8D=\xE5\x80\xA4\r\n";
    WriteRawFile(paths.iniPath, file);
    WriteSettings(unicodeOnly, paths.iniPath, DefaultWindowSettings(), L"D:\\表\\", L"");
    const std::string saved = ReadRawFile(paths.iniPath);
    EXPECT_TRUE(saved.starts_with(file)) << testing::PrintToString(saved);
    EXPECT_NE(saved.find("FLD1=D:\\\xE8\xA1\xA8\\\r\n"), std::string::npos) << testing::PrintToString(saved);
    EXPECT_EQ(ReadSettings(unicodeOnly, paths).searchFolder, L"D:\\表\\");
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
