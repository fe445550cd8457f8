#pragma once
// Sizes as the size column writes them, and reading them back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavelin {

struct WholeNumber {
    bool negative = false;
    std::uint64_t magnitude = 0;
    bool operator==(const WholeNumber&) const = default;
};

// Strict reading: leading spaces, then either an optional sign and decimal digits, or one to
// eight hexadecimal digits after "$", "x", "X", "0x" or "0X"; nothing may follow. Any value that
// a 64-bit size or a signed 64-bit number can hold reads back as itself.
std::optional<WholeNumber> ParseWholeNumber(std::wstring_view text);

// Decimal digits, with "-" in front of a negative value; zero is never negative.
std::wstring DecimalText(const WholeNumber& number);

}  // namespace tavelin
