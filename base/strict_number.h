#pragma once
// The strict text-to-integer reader: numeric settings values and the sizes in the file list go through it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/wide_error.h"

namespace tavelin {

// Raised when a text is not a valid 32-bit integer. Message() is the text the user sees
// (without the final "." that the application's error box appends).
class ConvertError : public WideError {
  public:
    explicit ConvertError(const std::wstring& value);
};

// A number as the strict rules read it, before it is fitted to a type.
struct StrictNumber {
    bool negative = false;
    std::uint64_t magnitude = 0;
    bool hex = false;
};

// Leading spaces, then either an optional sign and decimal digits (any magnitude that fits 64
// bits, 2^63 when negative; "-0" is not negative), or 1 to 8 hexadecimal digits after "$", "x",
// "X", "0x" or "0X"; nothing may follow. nullopt when the text breaks a rule.
std::optional<StrictNumber> ParseStrictNumber(std::wstring_view text);

// Leading spaces, then either an optional sign and decimal digits, or 1 to 8 hexadecimal
// digits after "$", "x", "X", "0x" or "0X" (taken as 32-bit two's complement). Nothing may
// follow, and decimal values must fit a signed 32-bit integer. nullopt when the text breaks a rule.
std::optional<std::int32_t> ParseStrictInt(std::wstring_view text);

// ParseStrictInt, raising ConvertError for text it refuses.
std::int32_t StrToInt(const std::wstring& text);

}  // namespace tavelin
