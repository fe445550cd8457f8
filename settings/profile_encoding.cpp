#include "settings/profile_encoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <utility>

namespace tavelin {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Bytes that are no character of the file's encoding (not UTF-8, or not the code page's in a
// line that does not decode) stand for themselves as lone low surrogates, so that a line the
// program does not own gets the same bytes back.
constexpr char16_t kEscapeBase = 0xDC00;

std::uint8_t Byte(char c) {
    return static_cast<std::uint8_t>(c);
}

// The length of the UTF-8 sequence at `i` and its code point, or 0 when it is not one: no
// overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t Utf8Sequence(std::string_view bytes, std::size_t i, char32_t& point) {
    const std::uint8_t lead = Byte(bytes[i]);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t next = Byte(bytes[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (next & 0x3F);
    }
    if (point < min || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

// An editor's UTF-8 file may hold a stray byte of another encoding; code-page text, Shift-JIS
// above all, forms a UTF-8 sequence only now and then among many bytes that form none.
bool IsMostlyUtf8(std::string_view bytes) {
    std::size_t sequences = 0, strays = 0;
    char32_t point = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8Sequence(bytes, i, point);
        if (length == 0)
            ++strays;
        else if (length > 1)
            ++sequences;
        i += length == 0 ? 1 : length;
    }
    return sequences > strays;
}

bool IsAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (Byte(c) >= 0x80)
            return false;
    }
    return true;
}

bool HoldsEscapes(std::wstring_view text) {
    for (wchar_t c : text) {
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF)
            return true;
    }
    return false;
}

void AppendUnit(std::wstring& text, char16_t unit) {
    text.push_back(static_cast<wchar_t>(unit));
}

std::wstring FromUtf8(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    char32_t point = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8Sequence(bytes, i, point);
        if (length == 0) {
            AppendUnit(text, static_cast<char16_t>(kEscapeBase + Byte(bytes[i])));
            ++i;
            continue;
        }
        if (point >= 0x10000) {
            AppendUnit(text, static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
            AppendUnit(text, static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            AppendUnit(text, static_cast<char16_t>(point));
        }
        i += length;
    }
    return text;
}

// nullopt for a lone surrogate that stands for no byte: UTF-8 cannot hold it.
std::optional<std::string> ToUtf8(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t point = static_cast<char16_t>(text[i]);
        if (point >= 0xD800 && point <= 0xDBFF && i + 1 < text.size()) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (point >= kEscapeBase + 0x80 && point <= kEscapeBase + 0xFF) {
            bytes.push_back(static_cast<char>(point - kEscapeBase));
        } else if (point >= 0xD800 && point <= 0xDFFF) {
            return std::nullopt;
        } else if (point < 0x80) {
            bytes.push_back(static_cast<char>(point));
        } else if (point < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (point >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        } else if (point < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (point >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (point >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (point & 0x3F)));
        }
    }
    return bytes;
}

// A trailing odd byte is half a character and is dropped: see DecodeProfile.
std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint8_t first = Byte(bytes[i]), second = Byte(bytes[i + 1]);
        AppendUnit(text, static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return text;
}

// Written byte by byte, so the result depends neither on the machine's byte order nor on the
// width of wchar_t (four bytes on Linux, where the tests run too).
std::string ToUtf16(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(2 * text.size());
    for (wchar_t c : text) {
        const auto unit = static_cast<char16_t>(c);
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

// The line's bytes as they stand: ASCII as itself, every other byte as its escape.
std::wstring EscapedLine(std::string_view line) {
    std::wstring text;
    text.reserve(line.size());
    for (char c : line)
        AppendUnit(text, static_cast<char16_t>(Byte(c) < 0x80 ? Byte(c) : kEscapeBase + Byte(c)));
    return text;
}

// Lines end at the byte of "\n", which no code page Windows uses as the system one puts inside a
// character. A line is text only when the code page gives its very bytes back: one that does not
// decode, or has two spellings (as some Shift-JIS characters have), keeps its bytes.
std::pair<std::wstring, bool> FromCodePageLines(std::string_view bytes, SettingsStorage& storage) {
    std::wstring text;
    bool escaped = false;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size() - 1) + 1;
        const std::string_view line = bytes.substr(start, end - start);
        std::optional<std::wstring> decoded = storage.FromCodePage(line);
        if (!decoded || storage.ToCodePage(*decoded) != line) {
            decoded = EscapedLine(line);
            escaped = escaped || HoldsEscapes(*decoded);
        }
        text += *decoded;
        start = end;
    }
    return {text, escaped};
}

// A line holding escaped bytes goes back byte for byte, so beside them it may hold only ASCII;
// any other line goes through the code page. Nullopt when a line can be written neither way.
std::optional<std::string> ToCodePageLines(std::wstring_view text, SettingsStorage& storage) {
    std::string bytes;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size() - 1) + 1;
        const std::wstring_view line = text.substr(start, end - start);
        if (HoldsEscapes(line)) {
            for (wchar_t c : line) {
                if (static_cast<char32_t>(c) >= 0x80 && (c < kEscapeBase + 0x80 || c > kEscapeBase + 0xFF))
                    return std::nullopt;
                bytes.push_back(static_cast<char>(c < 0x80 ? c : c - kEscapeBase));
            }
        } else {
            const std::optional<std::string> encoded = storage.ToCodePage(line);
            if (!encoded)
                return std::nullopt;
            bytes += *encoded;
        }
        start = end;
    }
    return bytes;
}

std::string_view MarkOf(ProfileEncoding encoding) {
    switch (encoding) {
        case ProfileEncoding::kUtf8Mark:
            return kUtf8Mark;
        case ProfileEncoding::kUtf16LeMark:
            return kUtf16LeMark;
        case ProfileEncoding::kUtf16BeMark:
            return kUtf16BeMark;
        default:
            return {};
    }
}

}  // namespace

ProfileEncoding DetectProfileEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeMark))
        return ProfileEncoding::kUtf16LeMark;
    if (bytes.starts_with(kUtf16BeMark))
        return ProfileEncoding::kUtf16BeMark;
    if (bytes.starts_with(kUtf8Mark))
        return ProfileEncoding::kUtf8Mark;
    // Text in the code page or in UTF-8 never holds a NUL; UTF-16 holds one in every ASCII
    // character, and "[", "=" and the line ends are ASCII. A file of an odd length is not one of
    // whole units, and a NUL in it is the user's byte.
    std::size_t evenZeros = 0, oddZeros = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0')
            ++(i % 2 ? oddZeros : evenZeros);
    }
    if (evenZeros + oddZeros > 0 && bytes.size() % 2 == 0)
        return oddZeros >= evenZeros ? ProfileEncoding::kUtf16Le : ProfileEncoding::kUtf16Be;
    return IsMostlyUtf8(bytes) ? ProfileEncoding::kUtf8 : ProfileEncoding::kCodePage;
}

DecodedProfile DecodeProfile(std::string_view bytes, SettingsStorage& storage) {
    ProfileEncoding encoding = DetectProfileEncoding(bytes);
    if (encoding == ProfileEncoding::kCodePage && storage.SystemCodePageIsUtf8() && IsAscii(bytes))
        encoding = ProfileEncoding::kUtf8;
    bytes.remove_prefix(MarkOf(encoding).size());
    DecodedProfile decoded{encoding, std::wstring(), ProfileRewrite::kAnyEncoding};
    bool escaped = false;
    switch (encoding) {
        case ProfileEncoding::kUtf8:
        case ProfileEncoding::kUtf8Mark:
            decoded.text = FromUtf8(bytes);
            escaped = HoldsEscapes(decoded.text);
            break;
        case ProfileEncoding::kUtf16Le:
        case ProfileEncoding::kUtf16LeMark:
        case ProfileEncoding::kUtf16Be:
        case ProfileEncoding::kUtf16BeMark: {
            const bool bigEndian = encoding == ProfileEncoding::kUtf16Be || encoding == ProfileEncoding::kUtf16BeMark;
            decoded.text = FromUtf16(bytes, bigEndian);
            if (bytes.size() % 2)
                decoded.rewrite = ProfileRewrite::kNever;
            return decoded;
        }
        case ProfileEncoding::kCodePage:
            std::tie(decoded.text, escaped) = FromCodePageLines(bytes, storage);
            break;
    }
    if (escaped)
        decoded.rewrite = ProfileRewrite::kOwnEncodingOnly;
    return decoded;
}

std::optional<std::string> EncodeProfile(std::wstring_view text, ProfileEncoding encoding, SettingsStorage& storage) {
    std::optional<std::string> body;
    switch (encoding) {
        case ProfileEncoding::kUtf8:
        case ProfileEncoding::kUtf8Mark:
            body = ToUtf8(text);
            break;
        case ProfileEncoding::kUtf16Le:
        case ProfileEncoding::kUtf16LeMark:
            body = ToUtf16(text, false);
            break;
        case ProfileEncoding::kUtf16Be:
        case ProfileEncoding::kUtf16BeMark:
            body = ToUtf16(text, true);
            break;
        case ProfileEncoding::kCodePage:
            body = ToCodePageLines(text, storage);
            break;
    }
    if (!body)
        return std::nullopt;
    std::string bytes = std::string(MarkOf(encoding)) + *body;
    // Without a mark the bytes are recognised again by what they hold: a code-page text that
    // happens to be valid UTF-8, or a NUL in the text, would come back as something else.
    if (DecodeProfile(bytes, storage).text != text)
        return std::nullopt;
    return bytes;
}

}  // namespace tavelin
