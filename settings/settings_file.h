#pragma once
// Loading and saving the settings file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/settings_storage.h"
#include "settings/profile_document.h"
#include "settings/settings_paths.h"
#include "settings/settings_table.h"

namespace tavelin {

struct LoadedSettings {
    WindowSettings window;
    std::wstring searchFolder;
    std::wstring targetFolder;
    // The file was there but could not be read: these are the defaults, not the user's values.
    bool unreadable = false;
};

// The largest coordinate a window draws at. A wider pane or column shows nothing more, and a
// size column that wide pads every cell to hundreds of megabytes.
inline constexpr std::int32_t kLargestCoordinate = 32767;

// A pane or column width from the file, brought into 0..kLargestCoordinate.
std::int32_t DrawableWidth(std::int32_t width);

// Reads one value as into a buffer of `bufferSize` characters, so that it comes back cut to
// bufferSize - 1; `value` receives the text (empty when missing). True when it is not empty.
bool ReadIniString(const std::wstring& section,
                   const std::wstring& key,
                   std::wstring& value,
                   const ProfileDocument& file,
                   std::size_t bufferSize);

// Gives one key its value, creating the section and the key as needed.
void WriteIniString(const std::wstring& section,
                    const std::wstring& key,
                    const std::wstring& value,
                    ProfileDocument& file);

// Reads the ten numbers, then the two folders, each missing or empty value keeping its default.
// A number that is not an integer raises ConvertError at once: no later key is read, and since
// nothing is returned the caller applies nothing. The pane and column widths come back drawable.
LoadedSettings ReadSettings(SettingsStorage& storage, const SettingsPaths& paths);

// Writes all twelve keys in file order into the file's text, in the encoding the file came in
// (UTF-16LE with a mark when that cannot hold a value and the file's text holds all its bytes),
// and replaces the file whole when the text changed. Nothing escapes: on any failure the file
// stays as it was. With `unchanged`, the values this session started from while the file could
// not be read, only the keys whose value differs from it are written: the others in the file are
// the user's, which this session never saw.
void WriteSettings(SettingsStorage& storage,
                   const std::wstring& iniPath,
                   const WindowSettings& window,
                   const std::wstring& searchFolder,
                   const std::wstring& targetFolder,
                   const LoadedSettings* unchanged = nullptr) noexcept;

}  // namespace tavelin
