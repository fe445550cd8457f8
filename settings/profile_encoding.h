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

// What a save may do with a file: write it in any encoding when its text holds every byte as a
// character; only in its own when some bytes are no character of it and stand in the text for
// themselves (as lone low surrogates, U+DC80 to U+DCFF); nothing when a byte could not be held at
// all (half a UTF-16 unit at the end).
enum class ProfileRewrite { kAnyEncoding, kOwnEncodingOnly, kNever };

struct DecodedProfile {
    ProfileEncoding encoding;
    std::wstring text;
    ProfileRewrite rewrite = ProfileRewrite::kAnyEncoding;
};

// A byte-order mark decides; without one, a NUL byte in a file of whole UTF-16 units means
// UTF-16 (in the order its zeros show), UTF-8 sequences outnumbering the stray bytes beside
// them mean UTF-8, and anything else the code page.
ProfileEncoding DetectProfileEncoding(std::string_view bytes);

// The code page is read line by line: a line whose bytes are not exactly the code page's
// characters keeps its bytes. With the system code page UTF-8, a file of plain ASCII is UTF-8.
DecodedProfile DecodeProfile(std::string_view bytes, SettingsStorage& storage);

// The text in that encoding, or nullopt when the bytes would not read back as exactly this text.
std::optional<std::string> EncodeProfile(std::wstring_view text, ProfileEncoding encoding, SettingsStorage& storage);

}  // namespace tavelin
