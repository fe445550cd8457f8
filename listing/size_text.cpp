#include "listing/size_text.h"

#include <limits>

namespace tavelin {

namespace {

constexpr std::uint64_t kMaxMagnitude = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kMaxNegativeMagnitude = std::uint64_t{1} << 63;

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

std::optional<WholeNumber> ParseHex(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const wchar_t c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return WholeNumber{false, value};
}

std::optional<WholeNumber> ParseDecimal(std::wstring_view text) {
    WholeNumber number;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        number.negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    const std::uint64_t limit = number.negative ? kMaxNegativeMagnitude : kMaxMagnitude;
    for (const wchar_t c : text) {
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

std::optional<WholeNumber> ParseWholeNumber(std::wstring_view text) {
    const size_t start = text.find_first_not_of(L' ');
    text.remove_prefix(start == std::wstring_view::npos ? text.size() : start);
    for (const std::wstring_view prefix : {L"0x", L"0X", L"$", L"x", L"X"}) {
        if (text.starts_with(prefix))
            return ParseHex(text.substr(prefix.size()));
    }
    return ParseDecimal(text);
}

std::wstring DecimalText(const WholeNumber& number) {
    std::wstring digits = std::to_wstring(number.magnitude);
    if (number.negative && number.magnitude != 0)
        digits.insert(0, 1, L'-');
    return digits;
}

}  // namespace tavelin
