#pragma once
// Loading and saving the settings file.
#include <cstdint>
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

// The largest coordinate a window draws at. A wider pane or column shows nothing more, and a
// size column that wide pads every cell to hundreds of megabytes.
inline constexpr std::int32_t kLargestCoordinate = 32767;

// A pane or column width from the file, brought into 0..kLargestCoordinate.
std::int32_t DrawableWidth(std::int32_t width);

// Reads the ten numbers, then the two folders, each missing or empty value keeping its default.
// A number that is not an integer raises ConvertError at once: no later key is read, and since
// nothing is returned the caller applies nothing. The pane and column widths come back drawable.
LoadedSettings LoadSettings(PrivateProfile& ini, const SettingsPaths& paths);

// Writes all twelve keys in file order into a copy of the file and puts the copy in its place;
// the file is Unicode when a value does not fit the code page. Nothing escapes: on any failure
// the file stays as it was.
void SaveSettings(PrivateProfile& ini,
                  const std::wstring& iniPath,
                  const WindowSettings& window,
                  const std::wstring& searchFolder,
                  const std::wstring& targetFolder) noexcept;

}  // namespace tavelin
