#include "platform/text_services_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tavelin {

namespace {

constexpr StampTime kEarliest{1601, 1, 1, 0, 0, 0};
constexpr StampTime kLatest{9999, 12, 31, 23, 59, 58};

// FILETIME ticks of 1980-01-01 and 10000-01-01: a time to take the local bias at, and the end of
// the four-digit years.
constexpr std::int64_t kStampStart = 119600064000000000;
constexpr std::int64_t kYear10000 = 2650467744000000000;
// More than any time zone's bias, so that the shift to local time cannot wrap around.
constexpr std::int64_t kDay = 864000000000;

FILETIME ToFileTime(std::int64_t ticks) {
    const auto bits = static_cast<std::uint64_t>(ticks);
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(bits & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(bits >> 32);
    return time;
}

std::int64_t ToTicks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

// The calendar fields of local ticks from 1601 on, seconds rounded down to even, by the civil
// calendar arithmetic that the system's own conversions follow: a listing needs one per file.
StampTime StampFromTicks(std::int64_t local) {
    constexpr std::int64_t kTicksPerSecond = 10000000;
    const std::int64_t seconds = local / kTicksPerSecond;
    const std::int64_t secondOfDay = seconds % 86400;
    // Days counted from 0000-03-01, so that a leap day ends its year; 1601-01-01 is day 584,694.
    const std::int64_t days = seconds / 86400 + 584694;
    const std::int64_t era = days / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year,
            month,
            day,
            static_cast<int>(secondOfDay / 3600),
            static_cast<int>(secondOfDay / 60 % 60),
            static_cast<int>(secondOfDay % 60 / 2 * 2)};
}

wchar_t LocaleSeparator(LCTYPE type, wchar_t fallback) {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, ARRAYSIZE(text)) == 0 || text[0] == L'\0')
        return fallback;
    return text[0];
}

// Plain ASCII upper-cases the same in every locale and has the same bytes in every code page
// Windows uses as the system one, so the listing and the sort, which meet mostly such texts
// (extensions, sizes, times, most names), need no call for them.
bool IsAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

wchar_t AsciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
}

}  // namespace

std::wstring TextServicesWin::UpperCase(const std::wstring& text) {
    std::wstring upper = text;
    if (IsAscii(upper))
        std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
    else if (upper.size() <= std::numeric_limits<DWORD>::max())
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

std::string TextServicesWin::CodePageBytes(const std::wstring& text) {
    if (text.empty() || text.size() > static_cast<size_t>(std::numeric_limits<int>::max() / 4))
        return {};
    const int length = static_cast<int>(text.size());
    // No code page in use needs more than four bytes per UTF-16 unit, so one call fits. Short
    // texts, which the sort keys nearly all are, convert on the stack.
    char small[256];
    std::string large;
    char* out = small;
    if (text.size() * 4 > sizeof small) {
        large.resize(text.size() * 4);
        out = large.data();
    }
    const int capacity = out == small ? static_cast<int>(sizeof small) : static_cast<int>(large.size());
    const int written = WideCharToMultiByte(CP_ACP, 0, text.data(), length, out, capacity, nullptr, nullptr);
    return std::string(out, written > 0 ? static_cast<size_t>(written) : 0);
}

std::string TextServicesWin::SortKey(const std::wstring& text) {
    // A sort computes one key per row: short texts go through both conversions on the stack.
    wchar_t upper[128];
    char bytes[sizeof upper / sizeof upper[0] * 4];
    if (IsAscii(text)) {
        std::string key(text.size(), '\0');
        std::transform(text.begin(), text.end(), key.begin(),
                       [](wchar_t c) { return static_cast<char>(AsciiUpper(c)); });
        return key;
    }
    if (text.size() > sizeof upper / sizeof upper[0])
        return TextServices::SortKey(text);
    std::copy(text.begin(), text.end(), upper);
    const int length = static_cast<int>(text.size());
    CharUpperBuffW(upper, static_cast<DWORD>(length));
    const int written =
        WideCharToMultiByte(CP_ACP, 0, upper, length, bytes, static_cast<int>(sizeof bytes), nullptr, nullptr);
    return std::string(bytes, written > 0 ? static_cast<size_t>(written) : 0);
}

StampTime TextServicesWin::LocalStamp(std::uint64_t fileTime) {
    if (fileTime >= static_cast<std::uint64_t>(kYear10000 + kDay))
        return kLatest;
    const std::optional<std::int64_t> bias = LocalBias();
    if (!bias)
        return kEarliest;
    const std::int64_t local = static_cast<std::int64_t>(fileTime) + *bias;
    if (local < 0)
        return kEarliest;
    if (local >= kYear10000)
        return kLatest;
    return StampFromTicks(local);
}

// The system shifts every time by the same bias, the one in force now, so one conversion a second
// serves a whole listing instead of one per file.
std::optional<std::int64_t> TextServicesWin::LocalBias() {
    const ULONGLONG second = GetTickCount64() / 1000;
    if (!bias_ || second != biasSecond_) {
        const FILETIME utc = ToFileTime(kStampStart);
        FILETIME local;
        if (!FileTimeToLocalFileTime(&utc, &local))
            return std::nullopt;
        bias_ = ToTicks(local) - kStampStart;
        biasSecond_ = second;
    }
    return bias_;
}

wchar_t TextServicesWin::DateSeparator() {
    return LocaleSeparator(LOCALE_SDATE, L'/');
}

wchar_t TextServicesWin::TimeSeparator() {
    return LocaleSeparator(LOCALE_STIME, L':');
}

}  // namespace tavelin
