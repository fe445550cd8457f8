#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/strict_number.h"
#include "settings/settings_file.h"

namespace tavelin {
namespace {

// An in-memory settings file that records every call and can refuse writes. Saves go into a
// copy ("<path>.copy") that replaces the file only when the save commits it.
class FakeProfile : public PrivateProfile {
  public:
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> values;
    std::vector<std::wstring> reads;   // "section/key/size"
    std::vector<std::wstring> writes;  // "section/key=value"
    std::vector<std::wstring> steps;   // "copy unicode|code page", "replace", "discard"
    std::wstring lastPath;
    std::wstring lacking;  // characters the code page does not have
    bool refuseWrites = false;
    bool throwOnWrite = false;
    bool refuseCopy = false;

    bool Read(const std::wstring& section,
              const std::wstring& key,
              std::wstring& value,
              const std::wstring& path,
              std::size_t bufferSize) override {
        reads.push_back(section + L"/" + key + L"/" + std::to_wstring(bufferSize));
        lastPath = path;
        auto it = values.find({section, key});
        value = it == values.end() ? std::wstring() : it->second.substr(0, bufferSize - 1);
        return !value.empty();
    }
    bool Write(const std::wstring& section,
               const std::wstring& key,
               const std::wstring& value,
               const std::wstring& path) override {
        writes.push_back(section + L"/" + key + L"=" + value);
        lastPath = path;
        if (throwOnWrite)
            throw std::runtime_error("disk gone");
        if (refuseWrites)
            return false;
        copyValues[{section, key}] = value;
        return true;
    }
    bool FitsCodePage(const std::wstring& text) override { return text.find_first_of(lacking) == std::wstring::npos; }
    std::optional<std::wstring> CopyForUpdate(const std::wstring& path, bool unicode) override {
        steps.push_back(unicode ? L"copy unicode" : L"copy code page");
        if (refuseCopy)
            return std::nullopt;
        copyValues = values;
        return path + L".copy";
    }
    bool Replace(const std::wstring& copy, const std::wstring& path) override {
        steps.push_back(L"replace");
        EXPECT_EQ(copy, path + L".copy");
        values = copyValues;
        return true;
    }
    void Discard(const std::wstring&) override { steps.push_back(L"discard"); }

  private:
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> copyValues;
};

const SettingsPaths kPaths = SettingsPathsFor(L"D:\\Tools\\Tavelin.exe");

TEST(SettingsLoad, WithoutAFileEverythingKeepsItsDefault) {
    FakeProfile ini;
    LoadedSettings loaded = LoadSettings(ini, kPaths);
    EXPECT_EQ(loaded.window, (WindowSettings{50, 50, 500, 350, 200, 120, 80, 50, 50, 50}));
    EXPECT_EQ(loaded.searchFolder, L"D:\\");
    EXPECT_EQ(loaded.targetFolder, L"");
    EXPECT_EQ(ini.lastPath, L"D:\\Tools\\Tavelin.ini");
}

TEST(SettingsLoad, ReadsTheKeysInFileOrderWithTheirBufferSizes) {
    FakeProfile ini;
    LoadSettings(ini, kPaths);
    EXPECT_EQ(ini.reads,
              (std::vector<std::wstring>{L"Form/F1_X/22", L"Form/F1_Y/22", L"Form/F1_W/22", L"Form/F1_H/22",
                                         L"Comp/F1_P1/22", L"Comp/F1_SG0/22", L"Comp/F1_SG1/22", L"Comp/F1_SG2/22",
                                         L"Comp/F1_SG3/22", L"Comp/F1_SG4/22", L"Set/FLD1/512", L"Set/FLD2/512"}));
}

TEST(SettingsLoad, PresentValuesReplaceTheDefaultsAndEmptyOnesDoNot) {
    FakeProfile ini;
    ini.values = {{{L"Form", L"F1_X"}, L"-10"}, {{L"Form", L"F1_H"}, L"$100"},        {{L"Comp", L"F1_SG2"}, L"0"},
                  {{L"Comp", L"F1_SG4"}, L""},  {{L"Set", L"FLD1"}, L"E:\\ワーク\\"}, {{L"Set", L"FLD2"}, L""}};
    LoadedSettings loaded = LoadSettings(ini, kPaths);
    EXPECT_EQ(loaded.window, (WindowSettings{-10, 50, 500, 256, 200, 120, 80, 0, 50, 50}));
    EXPECT_EQ(loaded.searchFolder, L"E:\\ワーク\\");
    EXPECT_EQ(loaded.targetFolder, L"");
}

TEST(SettingsLoad, LettersInAWidthStopTheLoadAtThatKey) {
    FakeProfile ini;
    ini.values = {{{L"Form", L"F1_X"}, L"10"}, {{L"Comp", L"F1_SG1"}, L"wide"}, {{L"Set", L"FLD1"}, L"E:\\"}};
    try {
        LoadSettings(ini, kPaths);
        FAIL() << "no ConvertError";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.Message(), L"'wide' は整数ではありません");
    }
    ASSERT_FALSE(ini.reads.empty());
    EXPECT_EQ(ini.reads.back(), L"Comp/F1_SG1/22");
    EXPECT_EQ(ini.reads.size(), 7u);
}

TEST(SettingsLoad, ANumberIsConvertedAsCutToTheBuffer) {
    FakeProfile ini;
    // 21 digits survive the 22-character buffer: a valid number, though the file holds more.
    ini.values = {{{L"Form", L"F1_W"}, L"000000000000000000640xyz"}, {{L"Set", L"FLD2"}, std::wstring(600, L'a')}};
    LoadedSettings loaded = LoadSettings(ini, kPaths);
    EXPECT_EQ(loaded.window[kWidth], 640);
    EXPECT_EQ(loaded.targetFolder, std::wstring(511, L'a'));
}

TEST(SettingsSave, WritesAllTwelveKeysInFileOrderIntoACopyThatThenReplacesTheFile) {
    FakeProfile ini;
    SaveSettings(ini, L"C:\\a\\Tavelin.ini", {1, -2, 3, 4, 5, 6, 7, 8, 9, 0}, L"C:\\検索\\", L"");
    EXPECT_EQ(ini.writes,
              (std::vector<std::wstring>{L"Form/F1_X=1", L"Form/F1_Y=-2", L"Form/F1_W=3", L"Form/F1_H=4",
                                         L"Comp/F1_P1=5", L"Comp/F1_SG0=6", L"Comp/F1_SG1=7", L"Comp/F1_SG2=8",
                                         L"Comp/F1_SG3=9", L"Comp/F1_SG4=0", L"Set/FLD1=C:\\検索\\", L"Set/FLD2="}));
    EXPECT_EQ(ini.lastPath, L"C:\\a\\Tavelin.ini.copy");
    EXPECT_EQ(ini.steps, (std::vector<std::wstring>{L"copy code page", L"replace"}));
    EXPECT_EQ(ini.values.size(), 12u);
}

TEST(SettingsSave, AnyValueTheCodePageWouldChangeMakesTheCopyUnicode) {
    struct Case {
        std::wstring search, target;
        const wchar_t* copy;
    } const cases[] = {
        {L"C:\\検索\\", L"D:\\", L"copy code page"},
        {L"C:\\a¥b\\", L"D:\\", L"copy unicode"},
        {L"C:\\", L"D:\\한글\\", L"copy unicode"},
        {L"", L"", L"copy code page"},
    };
    for (const auto& c : cases) {
        FakeProfile ini;
        ini.lacking = L"¥한";
        SaveSettings(ini, L"C:\\Tavelin.ini", DefaultWindowSettings(), c.search, c.target);
        ASSERT_FALSE(ini.steps.empty());
        EXPECT_EQ(ini.steps.front(), c.copy) << testing::PrintToString(c.search + L"|" + c.target);
    }
}

TEST(SettingsSave, FailuresAreSwallowedAndLeaveTheFileAsItWas) {
    struct Case {
        const char* what;
        bool refuseCopy, refuseWrites, throwOnWrite;
        std::vector<std::wstring> steps;
        std::size_t writes;
    } const cases[] = {
        {"no copy", true, false, false, {L"copy code page"}, 0},
        {"refused write", false, true, false, {L"copy code page", L"discard"}, 1},
        {"throwing write", false, false, true, {L"copy code page", L"discard"}, 1},
    };
    for (const auto& c : cases) {
        FakeProfile ini;
        ini.values = {{{L"User", L"Note"}, L"kept"}};
        ini.refuseCopy = c.refuseCopy;
        ini.refuseWrites = c.refuseWrites;
        ini.throwOnWrite = c.throwOnWrite;
        SaveSettings(ini, L"C:\\Tavelin.ini", DefaultWindowSettings(), L"C:\\", L"D:\\");
        EXPECT_EQ(ini.steps, c.steps) << c.what;
        EXPECT_EQ(ini.writes.size(), c.writes) << c.what;
        EXPECT_EQ(ini.values.size(), 1u) << c.what;
    }
}

TEST(SettingsLoad, PaneAndColumnWidthsComeBackInTheRangeAWindowDraws) {
    FakeProfile ini;
    ini.values = {{{L"Form", L"F1_X"}, L"-30000"},       {{L"Form", L"F1_W"}, L"2000000000"},
                  {{L"Comp", L"F1_P1"}, L"-100"},        {{L"Comp", L"F1_SG0"}, L"32767"},
                  {{L"Comp", L"F1_SG1"}, L"2000000000"}, {{L"Comp", L"F1_SG2"}, L"-1"},
                  {{L"Comp", L"F1_SG3"}, L"$FFFFFFFF"},  {{L"Comp", L"F1_SG4"}, L"32768"}};
    LoadedSettings loaded = LoadSettings(ini, kPaths);
    // The window's own bounds are fitted to the screen by the window, not here.
    EXPECT_EQ(loaded.window, (WindowSettings{-30000, 50, 2000000000, 350, 0, 32767, 32767, 0, 0, 32767}));
}

TEST(SettingsRoundTrip, SavedValuesLoadBackUnchanged) {
    FakeProfile ini;
    WindowSettings window{INT32_MIN, INT32_MAX, 0, 1, 2, 3, 4, 5, 6, 7};
    SaveSettings(ini, kPaths.iniPath, window, L"\\\\srv\\share\\x\\", L"F:\\dest\\");
    LoadedSettings loaded = LoadSettings(ini, kPaths);
    EXPECT_EQ(loaded.window, window);
    EXPECT_EQ(loaded.searchFolder, L"\\\\srv\\share\\x\\");
    EXPECT_EQ(loaded.targetFolder, L"F:\\dest\\");
}

}  // namespace
}  // namespace tavelin
