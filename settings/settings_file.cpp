#include "settings/settings_file.h"

#include <algorithm>
#include <optional>
#include <vector>

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
    for (std::size_t i = kPaneWidth; i <= kColumn4Width; ++i)
        loaded.window[i] = DrawableWidth(loaded.window[i]);
    return loaded;
}

namespace {

struct SettingValue {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring text;
};

// All twelve values as text, in file order.
std::vector<SettingValue> SettingValues(const WindowSettings& window,
                                        const std::wstring& searchFolder,
                                        const std::wstring& targetFolder) {
    std::vector<SettingValue> values;
    values.reserve(kWindowSettingCount + 2);
    for (std::size_t i = 0; i < kWindowSettingCount; ++i)
        values.push_back({kNumericKeys[i].section, kNumericKeys[i].key, std::to_wstring(window[i])});
    values.push_back({kFolderSection, kSearchFolderKey, searchFolder});
    values.push_back({kFolderSection, kTargetFolderKey, targetFolder});
    return values;
}

}  // namespace

std::int32_t DrawableWidth(std::int32_t width) {
    return std::clamp(width, std::int32_t{0}, kLargestCoordinate);
}

// The values go into a copy of the file, which then replaces it whole: two instances closing
// together each leave a complete file, the last one's, and a failure anywhere leaves the old file
// as it was. A folder that the code page would change (a "?" for a character it lacks, a
// look-alike such as "\" for "¥") makes the file Unicode, since the folder would otherwise come
// back as another one.
void SaveSettings(PrivateProfile& ini,
                  const std::wstring& iniPath,
                  const WindowSettings& window,
                  const std::wstring& searchFolder,
                  const std::wstring& targetFolder) noexcept {
    std::optional<std::wstring> copy;
    try {
        const std::vector<SettingValue> values = SettingValues(window, searchFolder, targetFolder);
        const bool unicode = !std::all_of(values.begin(), values.end(),
                                          [&ini](const SettingValue& v) { return ini.FitsCodePage(v.text); });
        copy = ini.CopyForUpdate(iniPath, unicode);
        if (!copy)
            return;
        for (const SettingValue& v : values) {
            if (!ini.Write(v.section, v.key, v.text, *copy)) {
                ini.Discard(*copy);
                return;
            }
        }
        ini.Replace(*copy, iniPath);
    } catch (...) {
        if (copy)
            ini.Discard(*copy);
    }
}

}  // namespace tavelin
