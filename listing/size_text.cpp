#include "listing/size_text.h"

#include "base/strict_number.h"

namespace tavelin {

std::optional<WholeNumber> ParseWholeNumber(std::wstring_view text) {
    std::optional<StrictNumber> number = ParseStrictNumber(text);
    if (!number)
        return std::nullopt;
    return WholeNumber{number->negative, number->magnitude};
}

std::wstring DecimalText(const WholeNumber& number) {
    std::wstring digits = std::to_wstring(number.magnitude);
    if (number.negative && number.magnitude != 0)
        digits.insert(0, 1, L'-');
    return digits;
}

}  // namespace tavelin
