#include "base/strict_number.h"

#include <limits>

namespace tavelin {

namespace {

constexpr std::size_t kMaxHexDigits = 8;
constexpr std::uint64_t kMaxMagnitude = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kMaxNegativeMagnitude = std::uint64_t{1} << 63;
constexpr std::uint64_t kMaxInt32 = 2147483647;
constexpr std::uint64_t kMaxNegativeInt32 = 2147483648;

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// The digits after a hexadecimal prefix; no sign is allowed here.
std::optional<StrictNumber> ParseHex(std::wstring_view digits) {
    if (digits.empty() || digits.size() > kMaxHexDigits)
        return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        int d = HexDigitValue(c);
        if (d < 0)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(d);
    }
    return StrictNumber{false, value, true};
}

std::optional<StrictNumber> ParseDecimal(std::wstring_view text) {
    StrictNumber number;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        number.negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    const std::uint64_t limit = number.negative ? kMaxNegativeMagnitude : kMaxMagnitude;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (number.magnitude > (limit - digit) / 10)
            return std::nullopt;
        number.magnitude = number.magnitude * 10 + digit;
    }
    if (number.magnitude == 0)
        number.negative = false;
    return number;
}

}  // namespace

ConvertError::ConvertError(const std::wstring& value) : WideError(L"'" + value + L"' は整数ではありません") {}

std::optional<StrictNumber> ParseStrictNumber(std::wstring_view text) {
    std::size_t start = text.find_first_not_of(L' ');
    text.remove_prefix(start == std::wstring_view::npos ? text.size() : start);
    for (std::wstring_view prefix : {L"0x", L"0X", L"$", L"x", L"X"}) {
        if (text.starts_with(prefix))
            return ParseHex(text.substr(prefix.size()));
    }
    return ParseDecimal(text);
}

std::optional<std::int32_t> ParseStrictInt(std::wstring_view text) {
    std::optional<StrictNumber> number = ParseStrictNumber(text);
    if (!number)
        return std::nullopt;
    // Hexadecimal digits fill a 32-bit register, so "$FFFFFFFF" is -1.
    if (number->hex)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(number->magnitude));
    if (number->negative)
        return number->magnitude <= kMaxNegativeInt32
                   ? static_cast<std::int32_t>(-static_cast<std::int64_t>(number->magnitude))
                   : std::optional<std::int32_t>();
    return number->magnitude <= kMaxInt32 ? static_cast<std::int32_t>(number->magnitude)
                                          : std::optional<std::int32_t>();
}

std::int32_t StrToInt(const std::wstring& text) {
    std::optional<std::int32_t> value = ParseStrictInt(text);
    if (!value)
        throw ConvertError(text);
    return *value;
}

}  // namespace tavelin
