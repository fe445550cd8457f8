#pragma once
// What the settings file holds: its name, sections, keys, their order and defaults.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tavelin {

inline constexpr wchar_t kIniFileName[] = L"Tavelin.ini";

// The numbers are read into buffers of this many characters, the folders into the larger one;
// longer values come back cut to one character less.
inline constexpr std::size_t kNumberBufferSize = 22;
inline constexpr std::size_t kFolderBufferSize = 512;

// Positions in WindowSettings, in the order of the file.
enum WindowSetting : std::size_t {
    kLeft,
    kTop,
    kWidth,
    kHeight,
    kPaneWidth,
    kColumn0Width,
    kColumn1Width,
    kColumn2Width,
    kColumn3Width,
    kColumn4Width,
    kWindowSettingCount
};

// The main window's bounds, the left pane's width and the five column widths, in pixels.
using WindowSettings = std::array<std::int32_t, kWindowSettingCount>;

struct NumericKey {
    const wchar_t* section;
    const wchar_t* key;
    std::int32_t defaultValue;
};

// Read and written in this order.
inline constexpr std::array<NumericKey, kWindowSettingCount> kNumericKeys = {{
    {L"Form", L"F1_X", 50},
    {L"Form", L"F1_Y", 50},
    {L"Form", L"F1_W", 500},
    {L"Form", L"F1_H", 350},
    {L"Comp", L"F1_P1", 200},
    {L"Comp", L"F1_SG0", 120},
    {L"Comp", L"F1_SG1", 80},
    {L"Comp", L"F1_SG2", 50},
    {L"Comp", L"F1_SG3", 50},
    {L"Comp", L"F1_SG4", 50},
}};

inline constexpr wchar_t kFolderSection[] = L"Set";
inline constexpr wchar_t kSearchFolderKey[] = L"FLD1";
inline constexpr wchar_t kTargetFolderKey[] = L"FLD2";

constexpr WindowSettings DefaultWindowSettings() {
    WindowSettings settings{};
    for (std::size_t i = 0; i < kWindowSettingCount; ++i)
        settings[i] = kNumericKeys[i].defaultValue;
    return settings;
}

}  // namespace tavelin
