#pragma once
// The encodings a settings file comes in: those Windows' own functions write and those editors
// save. Text is UTF-16 code units, as Windows gives it, whatever the width of wchar_t.
#include <optional>
#include <string>
#include <string_view>

#include "services/settings_storage.h"

namespace tavelin {

enum class ProfileEncoding {
    kCodePage,  // the system code page, as earlier versions wrote the file
    kUtf8,      // without a mark, as today's editors save by default
    kUtf8Mark,
    kUtf16Le,  // without a mark
    kUtf16LeMark,
    kUtf16Be,
    kUtf16BeMark,
};

struct DecodedProfile {
    ProfileEncoding encoding;
    std::wstring text;
};

// A byte-order mark decides; without one, a NUL byte means UTF-16 (in the order its zeros
// show), valid UTF-8 holding non-ASCII bytes means UTF-8, and anything else the code page.
ProfileEncoding DetectProfileEncoding(std::string_view bytes);

DecodedProfile DecodeProfile(std::string_view bytes, SettingsStorage& storage);

// The text in that encoding, or nullopt when the bytes would not read back as exactly this text.
std::optional<std::string> EncodeProfile(std::wstring_view text, ProfileEncoding encoding, SettingsStorage& storage);

}  // namespace tavelin
