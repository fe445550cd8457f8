#include "tree/shell_name.h"

#include <algorithm>
#include <array>

namespace tavelin {

namespace {

wchar_t Upper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool SameLetters(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return Upper(x) == Upper(y); });
}

// The ports take a digit, the superscripts ¹, ² and ³ counting as digits too.
bool IsPortDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == L'\u00B9' || c == L'\u00B2' || c == L'\u00B3';
}

bool IsDeviceName(std::wstring_view base) {
    constexpr std::array<std::wstring_view, 4> kDevices{L"CON", L"PRN", L"AUX", L"NUL"};
    return std::any_of(kDevices.begin(), kDevices.end(), [&](std::wstring_view d) { return SameLetters(base, d); }) ||
           (base.size() == 4 && (SameLetters(base.substr(0, 3), L"COM") || SameLetters(base.substr(0, 3), L"LPT")) &&
            IsPortDigit(base[3]));
}

}  // namespace

bool ShellCanHandle(std::wstring_view name) {
    if (!name.empty() && (name.back() == L'.' || name.back() == L' '))
        return false;
    // The device is named by what comes before the first dot: "NUL.tar.gz" is NUL.
    return !IsDeviceName(name.substr(0, name.find(L'.')));
}

}  // namespace tavelin
