#include "settings/int_conversion.h"

namespace tavelin {

namespace {

constexpr std::size_t kMaxHexDigits = 8;

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// The digits after a hexadecimal prefix; the sign is never allowed here, and the value wraps
// into the negative range the way a 32-bit register would hold it ("$FFFFFFFF" is -1).
std::optional<std::int32_t> ParseHex(std::wstring_view digits) {
    if (digits.empty() || digits.size() > kMaxHexDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (wchar_t c : digits) {
        int d = HexDigitValue(c);
        if (d < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseDecimal(std::wstring_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // One past the largest magnitude, so that the check below stays exact for both signs.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - L'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

ConvertError::ConvertError(const std::wstring& value) : WideError(L"'" + value + L"' は整数ではありません") {}

std::optional<std::int32_t> ParseStrictInt(std::wstring_view text) {
    std::size_t start = text.find_first_not_of(L' ');
    if (start == std::wstring_view::npos)
        return std::nullopt;
    text.remove_prefix(start);
    if (text.front() == L'$' || text.front() == L'x' || text.front() == L'X')
        return ParseHex(text.substr(1));
    if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return ParseHex(text.substr(2));
    return ParseDecimal(text);
}

std::int32_t StrToInt(const std::wstring& text) {
    std::optional<std::int32_t> value = ParseStrictInt(text);
    if (!value)
        throw ConvertError(text);
    return *value;
}

}  // namespace tavelin
