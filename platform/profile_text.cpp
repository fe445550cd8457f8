#include "platform/profile_text.h"

namespace tavelin {

namespace {
constexpr std::string_view kUtf16Le = "\xFF\xFE";
constexpr std::string_view kUtf16Be = "\xFE\xFF";
constexpr std::string_view kUtf8 = "\xEF\xBB\xBF";
}  // namespace

bool IsUnicodeProfile(std::string_view bytes) {
    return bytes.starts_with(kUtf16Le) || bytes.starts_with(kUtf16Be) || bytes.starts_with(kUtf8);
}

// Written byte by byte, low byte first, so the result does not depend on the machine's order or
// on the width of wchar_t (four bytes on Linux, where the tests run too).
std::string UnicodeProfileBytes(std::wstring_view text) {
    std::string bytes(kUtf16Le);
    bytes.reserve(kUtf16Le.size() + 2 * text.size());
    for (wchar_t c : text) {
        const auto unit = static_cast<char16_t>(c);
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace tavelin
