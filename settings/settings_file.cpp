#include "settings/settings_file.h"

#include <algorithm>
#include <optional>

#include "base/strict_number.h"
#include "settings/profile_encoding.h"

namespace tavelin {

bool ReadIniString(const std::wstring& section,
                   const std::wstring& key,
                   std::wstring& value,
                   const ProfileDocument& file,
                   std::size_t bufferSize) {
    value = file.Get(section, key).value_or(std::wstring());
    value.resize(std::min(value.size(), bufferSize > 0 ? bufferSize - 1 : 0));
    return !value.empty();
}

void WriteIniString(const std::wstring& section,
                    const std::wstring& key,
                    const std::wstring& value,
                    ProfileDocument& file) {
    file.Set(section, key, value);
}

std::int32_t DrawableWidth(std::int32_t width) {
    return std::clamp(width, std::int32_t{0}, kLargestCoordinate);
}

// A file that cannot be read loads as no file: the defaults show.
LoadedSettings ReadSettings(SettingsStorage& storage, const SettingsPaths& paths) {
    const std::optional<std::string> bytes = storage.ReadBytes(paths.iniPath);
    const ProfileDocument file(DecodeProfile(bytes.value_or(std::string()), storage).text);
    LoadedSettings loaded{DefaultWindowSettings(), paths.defaultSearchFolder, std::wstring(), !bytes};
    std::wstring text;
    for (std::size_t i = 0; i < kWindowSettingCount; ++i) {
        if (ReadIniString(kNumericKeys[i].section, kNumericKeys[i].key, text, file, kNumberBufferSize))
            loaded.window[i] = StrToInt(text);
    }
    if (ReadIniString(kFolderSection, kSearchFolderKey, text, file, kFolderBufferSize))
        loaded.searchFolder = text;
    if (ReadIniString(kFolderSection, kTargetFolderKey, text, file, kFolderBufferSize))
        loaded.targetFolder = text;
    for (std::size_t i = kPaneWidth; i <= kColumn4Width; ++i)
        loaded.window[i] = DrawableWidth(loaded.window[i]);
    return loaded;
}

// The whole new text replaces the file in one step: two instances closing together each leave
// a complete file, the last one's. A folder that the file's encoding would change (a "?" for a
// character the code page lacks, a look-alike such as "\" for "¥") makes the file UTF-16LE with
// a mark, since the folder would otherwise come back as another one. A file that needs no change
// is not written at all, so it keeps its bytes. Nor is one whose own encoding cannot take the
// values while it holds bytes that are no character of that encoding: those cannot move to
// another, and neither can half a UTF-16 unit.
void WriteSettings(SettingsStorage& storage,
                   const std::wstring& iniPath,
                   const WindowSettings& window,
                   const std::wstring& searchFolder,
                   const std::wstring& targetFolder,
                   const LoadedSettings* unchanged) noexcept {
    try {
        const std::optional<std::string> bytes = storage.ReadBytes(iniPath);
        if (!bytes)
            return;
        const DecodedProfile decoded = DecodeProfile(*bytes, storage);
        if (decoded.rewrite == ProfileRewrite::kNever)
            return;
        ProfileDocument file(decoded.text);
        for (std::size_t i = 0; i < kWindowSettingCount; ++i) {
            if (!unchanged || window[i] != unchanged->window[i])
                WriteIniString(kNumericKeys[i].section, kNumericKeys[i].key, std::to_wstring(window[i]), file);
        }
        if (!unchanged || searchFolder != unchanged->searchFolder)
            WriteIniString(kFolderSection, kSearchFolderKey, searchFolder, file);
        if (!unchanged || targetFolder != unchanged->targetFolder)
            WriteIniString(kFolderSection, kTargetFolderKey, targetFolder, file);
        if (!file.Changed())
            return;
        const std::wstring text = file.Text();
        std::optional<std::string> out = EncodeProfile(text, decoded.encoding, storage);
        if (!out && decoded.rewrite == ProfileRewrite::kAnyEncoding)
            out = EncodeProfile(text, ProfileEncoding::kUtf16LeMark, storage);
        if (out)
            storage.ReplaceBytes(iniPath, *out);
    } catch (...) {
        // A save that fails leaves the file as it was; the window closes regardless.
    }
}

}  // namespace tavelin
