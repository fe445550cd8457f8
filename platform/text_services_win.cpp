#include "platform/text_services_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tavelin {

namespace {

constexpr StampTime kEarliest{1601, 1, 1, 0, 0, 0};
constexpr StampTime kLatest{9999, 12, 31, 23, 59, 58};

// FILETIME ticks of 1980-01-01, 2108-01-01 and 10000-01-01: the file stamp's years and the end
// of the four-digit years.
constexpr std::int64_t kStampStart = 119600064000000000;
constexpr std::int64_t kStampEnd = 159992928000000000;
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

StampTime StampFromDos(const FILETIME& local) {
    WORD date = 0;
    WORD time = 0;
    if (!FileTimeToDosDateTime(&local, &date, &time))
        return kEarliest;
    return {1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F, time >> 11, (time >> 5) & 0x3F, (time & 0x1F) * 2};
}

// Times the file stamp cannot hold still get a date in the same fixed-width form, so that the
// column keeps sorting by time.
StampTime StampFromSystemTime(const FILETIME& local) {
    SYSTEMTIME fields;
    if (!FileTimeToSystemTime(&local, &fields))
        return kEarliest;
    return {fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute, fields.wSecond / 2 * 2};
}

wchar_t LocaleSeparator(LCTYPE type, wchar_t fallback) {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, ARRAYSIZE(text)) == 0 || text[0] == L'\0')
        return fallback;
    return text[0];
}

}  // namespace

std::wstring TextServicesWin::UpperCase(const std::wstring& text) {
    std::wstring upper = text;
    if (!upper.empty() && upper.size() <= std::numeric_limits<DWORD>::max())
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
    if (text.empty() || text.size() > sizeof upper / sizeof upper[0])
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
    const FILETIME utc = ToFileTime(static_cast<std::int64_t>(fileTime));
    FILETIME localTime;
    if (!FileTimeToLocalFileTime(&utc, &localTime))
        return kEarliest;
    const std::int64_t local = ToTicks(localTime);
    if (local < 0)
        return kEarliest;
    if (local >= kYear10000)
        return kLatest;
    // The stamp conversion does not reliably refuse years it cannot hold, so only times inside
    // its range go through it.
    if (local >= kStampStart && local < kStampEnd)
        return StampFromDos(localTime);
    return StampFromSystemTime(localTime);
}

wchar_t TextServicesWin::DateSeparator() {
    return LocaleSeparator(LOCALE_SDATE, L'/');
}

wchar_t TextServicesWin::TimeSeparator() {
    return LocaleSeparator(LOCALE_STIME, L':');
}

}  // namespace tavelin
