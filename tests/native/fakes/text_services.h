#pragma once
// The locale's text services for the portable logic's tests: a fixed nine-hour time zone, chosen
// separators, ASCII upper-casing and UTF-8 standing in for the code page.
#include <cstdint>
#include <string>

#include "services/text_services.h"

namespace tavelin::test {

// FILETIME ticks of a UTC date and time.
inline std::uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
    // Days since 1970-01-01 of a proleptic Gregorian date.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = static_cast<long long>(era) * 146097 + doe - 719468;
    const long long seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    return static_cast<std::uint64_t>((seconds + 11644473600LL) * 10000000LL);
}

class FakeTextServices : public TextServices {
  public:
    static constexpr int kZoneHours = 9;
    wchar_t dateSeparator = L'/';
    wchar_t timeSeparator = L':';

    std::wstring UpperCase(const std::wstring& text) override {
        std::wstring out = text;
        for (auto& c : out) {
            if (c >= L'a' && c <= L'z')
                c = static_cast<wchar_t>(c - L'a' + L'A');
        }
        return out;
    }
    // UTF-8 stands in for the code page: it also orders by bytes, not by characters.
    std::string CodePageBytes(const std::wstring& text) override {
        std::string out;
        for (const wchar_t c : text) {
            const auto u = static_cast<std::uint32_t>(c);
            if (u < 0x80) {
                out += static_cast<char>(u);
            } else if (u < 0x800) {
                out += static_cast<char>(0xC0 | (u >> 6));
                out += static_cast<char>(0x80 | (u & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (u >> 12));
                out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (u & 0x3F));
            }
        }
        return out;
    }
    StampTime LocalStamp(std::uint64_t fileTime) override {
        long long seconds = static_cast<long long>(fileTime / 10000000) - 11644473600LL + kZoneHours * 3600;
        long long days = seconds / 86400;
        long long rest = seconds % 86400;
        if (rest < 0) {
            rest += 86400;
            --days;
        }
        // Civil date from days since 1970-01-01.
        days += 719468;
        const long long era = (days >= 0 ? days : days - 146096) / 146097;
        const long long doe = days - era * 146097;
        const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const long long mp = (5 * doy + 2) / 153;
        StampTime t;
        t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
        t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
        t.hour = static_cast<int>(rest / 3600);
        t.minute = static_cast<int>(rest / 60 % 60);
        t.second = static_cast<int>(rest % 60 / 2 * 2);
        return t;
    }
    wchar_t DateSeparator() override { return dateSeparator; }
    wchar_t TimeSeparator() override { return timeSeparator; }
};

}  // namespace tavelin::test
