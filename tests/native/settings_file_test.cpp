#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/strict_number.h"
#include "fakes/settings_storage.h"
#include "settings/settings_file.h"

namespace tavelin {
namespace {

using test::FakeSettingsStorage;

const SettingsPaths kPaths = SettingsPathsFor(L"D:\\Tools\\Tavelin.exe");

LoadedSettings LoadFrom(const std::string& file) {
    FakeSettingsStorage storage;
    storage.file = file;
    return ReadSettings(storage, kPaths);
}

TEST(SettingsLoad, WithoutAFileEverythingKeepsItsDefault) {
    FakeSettingsStorage storage;
    for (bool unreadable : {false, true}) {
        storage.unreadable = unreadable;
        LoadedSettings loaded = ReadSettings(storage, kPaths);
        EXPECT_EQ(loaded.unreadable, unreadable);
        EXPECT_EQ(loaded.window, (WindowSettings{50, 50, 500, 350, 200, 120, 80, 50, 50, 50}));
        EXPECT_EQ(loaded.searchFolder, L"D:\\");
        EXPECT_EQ(loaded.targetFolder, L"");
    }
}

TEST(SettingsLoad, PresentValuesReplaceTheDefaultsAndEmptyOnesDoNot) {
    LoadedSettings loaded = LoadFrom(
        "[form]\r\nF1_X=-10\r\nf1_h = $100 "
        "\r\n[Comp]\r\nF1_SG2=0\r\nF1_SG4=\r\n[Set]\r\nFLD1=E:\\\x81\x80\x90\x80\\\r\n"
        "FLD2=\r\n");
    EXPECT_EQ(loaded.window, (WindowSettings{-10, 50, 500, 256, 200, 120, 80, 0, 50, 50}));
    EXPECT_EQ(loaded.searchFolder, L"E:\\\x0200\\");
    EXPECT_EQ(loaded.targetFolder, L"");
}

TEST(SettingsLoad, LettersInAWidthStopTheLoadAtTheFirstBadKeyInFileOrder) {
    try {
        LoadFrom("[Set]\r\nFLD1=E:\\\r\n[Comp]\r\nF1_SG1=wide\r\nF1_SG0=12px\r\n[Form]\r\nF1_X=10\r\n");
        FAIL() << "no ConvertError";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.Message(), L"'12px' は整数ではありません");
    }
}

TEST(SettingsLoad, AValueIsConvertedAsCutToTheBuffer) {
    // 21 digits survive the 22-character buffer: a valid number, though the file holds more.
    LoadedSettings loaded =
        LoadFrom("[Form]\r\nF1_W=000000000000000000640xyz\r\n[Set]\r\nFLD2=" + std::string(600, 'a') + "\r\n");
    EXPECT_EQ(loaded.window[kWidth], 640);
    EXPECT_EQ(loaded.targetFolder, std::wstring(511, L'a'));
}

TEST(SettingsLoad, PaneAndColumnWidthsComeBackInTheRangeAWindowDraws) {
    LoadedSettings loaded = LoadFrom(
        "[Form]\nF1_X=-30000\nF1_W=2000000000\n[Comp]\nF1_P1=-100\nF1_SG0=32767\nF1_SG1=2000000000\nF1_SG2=-1\n"
        "F1_SG3=$FFFFFFFF\nF1_SG4=32768\n");
    // The window's own bounds are fitted to the screen by the window, not here.
    EXPECT_EQ(loaded.window, (WindowSettings{-30000, 50, 2000000000, 350, 0, 32767, 32767, 0, 0, 32767}));
}

TEST(SettingsSave, ANewFileHoldsTheTwelveKeysInThreeSectionsInTheCodePage) {
    FakeSettingsStorage storage;
    WriteSettings(storage, kPaths.iniPath, {1, -2, 3, 4, 5, 6, 7, 8, 9, 0}, L"C:\\\x0200\\", L"");
    EXPECT_EQ(storage.file,
              "[Form]\r\nF1_X=1\r\nF1_Y=-2\r\nF1_W=3\r\nF1_H=4\r\n[Comp]\r\nF1_P1=5\r\nF1_SG0=6\r\nF1_SG1=7\r\n"
              "F1_SG2=8\r\nF1_SG3=9\r\nF1_SG4=0\r\n[Set]\r\nFLD1=C:\\\x81\x80\x90\x80\\\r\nFLD2=\r\n");
}

TEST(SettingsSave, TheFileKeepsItsEncodingUnlessItCannotHoldAValue) {
    const std::string keys = "[Form]\r\nF1_X=50\r\n";
    struct Case {
        std::string file;
        std::wstring search;
        std::string startsWith;
        bool systemUtf8 = false;
    } const cases[] = {
        {keys, L"C:\\\x0200\\", "[Form]"},
        {keys, L"C:\\a¥b\\", "\xFF\xFE[\0"},
        {keys, L"D:\\한글\\", "\xFF\xFE[\0"},
        {"[User]\r\nNote=\xC3\xA9\r\n", L"C:\\é\\", "[User]\r\nNote=\xC3\xA9"},
        {"\xEF\xBB\xBF[User]\r\n", L"C:\\\xD83D\xDE00\\", "\xEF\xBB\xBF[User]"},
        {"\xEF\xBB\xBF[User]\r\n", L"C:\\\xD800\\", "\xFF\xFE[\0"},
        {std::string("[\0U\0", 4), L"C:\\한\\", std::string("[\0U\0", 4)},
        {std::string("\0[\0U", 4), L"C:\\한\\", std::string("\0[\0U", 4)},
        {std::string("\xFE\xFF\0[", 4), L"C:\\", std::string("\xFE\xFF\0[", 4)},
        // Latin-1 that would read back as UTF-8 once saved: "Ã©" is the bytes of "é".
        {keys, L"C:\\Ã©\\", "\xFF\xFE[\0"},
        // With the system code page UTF-8, a file of plain ASCII is UTF-8 and an older one stays
        // in the code page of the user's locale.
        {keys, L"C:\\\x0200\\", keys + "F1_Y=50\r\nF1_W=500\r\nF1_H=350\r\n[Comp]", true},
        {"[User]\r\nNote=\x81\x80\x90\x80\r\n", L"C:\\\x0200\\", "[User]\r\nNote=\x81\x80\x90\x80", true},
    };
    for (const auto& c : cases) {
        FakeSettingsStorage storage;
        storage.file = c.file;
        storage.systemUtf8 = c.systemUtf8;
        WriteSettings(storage, kPaths.iniPath, DefaultWindowSettings(), c.search, L"E:\\");
        ASSERT_TRUE(storage.file);
        EXPECT_TRUE(storage.file->starts_with(c.startsWith)) << testing::PrintToString(*storage.file);
        EXPECT_EQ(ReadSettings(storage, kPaths).searchFolder, c.search) << testing::PrintToString(*storage.file);
        if (c.systemUtf8) {
            const bool inUtf8 = storage.file->find("FLD1=C:\\\xC8\x80\\") != std::string::npos;
            EXPECT_EQ(inUtf8, c.file == keys) << testing::PrintToString(*storage.file);
        }
    }
}

// Bytes that are no character of the file's encoding come back as they were, whatever the
// program writes beside them; when they would have to change, the file is not written.
TEST(SettingsSave, BytesThatAreNoCharacterComeBackAsTheyWere) {
    const std::string user = "[User]\r\nlead=\x81\r\nk\x81=v\r\nodd=\x81\x40\xEB\x40\r\n";
    struct Case {
        std::string file;
        std::wstring search;
        bool written;
    } const cases[] = {
        {user, L"C:\\\x0200\\", true},
        {user + "[Set]\r\nFLD1=\x81\r\n", L"C:\\x\\", true},
        {"\xEF\xBB\xBF" + user, L"C:\\\x0200\\", true},
        // The code page lacks "¥", UTF-16 could not hold the stray bytes, and half a unit is
        // half a character in any encoding.
        {user, L"C:\\a¥b\\", false},
        {std::string("\xFF\xFE[\0U\0]\0x", 9), L"C:\\", false},
    };
    for (const auto& c : cases) {
        FakeSettingsStorage storage;
        storage.file = c.file;
        WriteSettings(storage, kPaths.iniPath, DefaultWindowSettings(), c.search, L"");
        EXPECT_EQ(storage.replaces, c.written ? 1 : 0) << testing::PrintToString(c.file);
        ASSERT_TRUE(storage.file);
        EXPECT_TRUE(storage.file->starts_with(c.file.substr(0, c.file.find("[Set]"))))
            << testing::PrintToString(*storage.file);
        if (c.written) {
            EXPECT_EQ(ReadSettings(storage, kPaths).searchFolder, c.search) << testing::PrintToString(*storage.file);
        }
    }
}

TEST(SettingsSave, WhatTheUserKeepsStaysAndAFileThatNeedsNoChangeIsNotWritten) {
    FakeSettingsStorage storage;
    WriteSettings(storage, kPaths.iniPath, DefaultWindowSettings(), L"C:\\", L"");
    const std::string edited = "; 手で書いた\r\n[User]\r\nimportant=keep me\r\n\r\n" + *storage.file;
    storage.file = edited;
    WriteSettings(storage, kPaths.iniPath, DefaultWindowSettings(), L"C:\\", L"");
    EXPECT_EQ(storage.replaces, 1);
    WriteSettings(storage, kPaths.iniPath, DefaultWindowSettings(), L"C:\\x\\", L"");
    std::string expected = edited;
    expected.replace(expected.find("FLD1=C:\\"), 8, "FLD1=C:\\x\\");
    EXPECT_EQ(storage.file, expected);
}

TEST(SettingsSave, AFileThatCannotBeReadOrReplacedStaysAsItWas) {
    for (bool unreadable : {true, false}) {
        FakeSettingsStorage storage;
        storage.file = "[User]\r\nNote=kept\r\n";
        storage.unreadable = unreadable;
        storage.refuseReplace = true;
        WriteSettings(storage, kPaths.iniPath, DefaultWindowSettings(), L"C:\\", L"D:\\");
        EXPECT_EQ(storage.replaces, unreadable ? 0 : 1);
        EXPECT_EQ(storage.file, "[User]\r\nNote=kept\r\n");
    }
}

// A file held open by another program at the start (a virus scanner, a sync client) showed the
// defaults: the close writes what the user changed since and nothing else over the file as it is.
TEST(SettingsSave, AfterAFileUnreadableAtTheStartOnlyWhatTheUserChangedIsWritten) {
    const std::string file = "[Form]\r\nF1_X=300\r\nF1_W=700\r\n[Set]\r\nFLD1=E:\\mine\\\r\n[User]\r\nNote=kept\r\n";
    const LoadedSettings start{DefaultWindowSettings(), L"D:\\", L"", true};
    WindowSettings moved = DefaultWindowSettings();
    moved[kTop] = 75;
    const struct {
        WindowSettings window;
        std::wstring search;
        std::string expected;
    } cases[] = {
        {DefaultWindowSettings(), L"D:\\", file},
        {moved, L"D:\\",
         "[Form]\r\nF1_X=300\r\nF1_W=700\r\nF1_Y=75\r\n[Set]\r\nFLD1=E:\\mine\\\r\n[User]\r\nNote=kept\r\n"},
        {DefaultWindowSettings(), L"F:\\new\\",
         "[Form]\r\nF1_X=300\r\nF1_W=700\r\n[Set]\r\nFLD1=F:\\new\\\r\n[User]\r\nNote=kept\r\n"},
    };
    for (const auto& c : cases) {
        FakeSettingsStorage storage;
        storage.file = file;
        WriteSettings(storage, kPaths.iniPath, c.window, c.search, L"", &start);
        EXPECT_EQ(storage.file, c.expected);
        EXPECT_EQ(storage.replaces, storage.file == file ? 0 : 1);
    }
}

TEST(SettingsRoundTrip, SavedValuesLoadBackUnchanged) {
    FakeSettingsStorage storage;
    WindowSettings window{INT32_MIN, INT32_MAX, 0, 1, 2, 3, 4, 5, 6, 7};
    WriteSettings(storage, kPaths.iniPath, window, L"\\\\srv\\share\\x\\", L" 'F:\\dest\\' ");
    LoadedSettings loaded = ReadSettings(storage, kPaths);
    EXPECT_EQ(loaded.window, window);
    EXPECT_EQ(loaded.searchFolder, L"\\\\srv\\share\\x\\");
    EXPECT_EQ(loaded.targetFolder, L" 'F:\\dest\\' ");
}

}  // namespace
}  // namespace tavelin
