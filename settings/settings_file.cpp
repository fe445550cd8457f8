#include "settings/settings_file.h"

#include "base/strict_number.h"

namespace tavelin {

LoadedSettings LoadSettings(PrivateProfile& ini, const SettingsPaths& paths) {
    LoadedSettings loaded{DefaultWindowSettings(), paths.defaultSearchFolder, std::wstring()};
    std::wstring text;
    for (std::size_t i = 0; i < kWindowSettingCount; ++i) {
        if (ini.Read(kNumericKeys[i].section, kNumericKeys[i].key, text, paths.iniPath, kNumberBufferSize))
            loaded.window[i] = StrToInt(text);
    }
    if (ini.Read(kFolderSection, kSearchFolderKey, text, paths.iniPath, kFolderBufferSize))
        loaded.searchFolder = text;
    if (ini.Read(kFolderSection, kTargetFolderKey, text, paths.iniPath, kFolderBufferSize))
        loaded.targetFolder = text;
    return loaded;
}

namespace {

// The window closes whatever happens here, so nothing may escape: a read-only file, a full
// disk or even a failed allocation only cost the value being written.
void WriteQuietly(PrivateProfile& ini,
                  const wchar_t* section,
                  const wchar_t* key,
                  const std::wstring& value,
                  const std::wstring& iniPath) noexcept {
    try {
        ini.Write(section, key, value, iniPath);
    } catch (...) {
    }
}

}  // namespace

void SaveSettings(PrivateProfile& ini,
                  const std::wstring& iniPath,
                  const WindowSettings& window,
                  const std::wstring& searchFolder,
                  const std::wstring& targetFolder) noexcept {
    for (std::size_t i = 0; i < kWindowSettingCount; ++i) {
        std::wstring text;
        try {
            text = std::to_wstring(window[i]);
        } catch (...) {
            continue;
        }
        WriteQuietly(ini, kNumericKeys[i].section, kNumericKeys[i].key, text, iniPath);
    }
    WriteQuietly(ini, kFolderSection, kSearchFolderKey, searchFolder, iniPath);
    WriteQuietly(ini, kFolderSection, kTargetFolderKey, targetFolder, iniPath);
}

}  // namespace tavelin
