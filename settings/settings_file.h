#pragma once
// Loading and saving the settings file.
#include <string>

#include "platform/private_profile.h"
#include "settings/settings_paths.h"
#include "settings/settings_table.h"

namespace tavelin {

struct LoadedSettings {
    WindowSettings window;
    std::wstring searchFolder;
    std::wstring targetFolder;
};

// Reads the ten numbers, then the two folders, each missing or empty value keeping its default.
// A number that is not an integer raises ConvertError at once: no later key is read, and since
// nothing is returned the caller applies nothing.
LoadedSettings LoadSettings(PrivateProfile& ini, const SettingsPaths& paths);

// Writes all twelve keys in file order; a failed write is ignored and the others still run.
void SaveSettings(PrivateProfile& ini,
                  const std::wstring& iniPath,
                  const WindowSettings& window,
                  const std::wstring& searchFolder,
                  const std::wstring& targetFolder) noexcept;

}  // namespace tavelin
