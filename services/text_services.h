#pragma once
// The locale, clock and code-page services that the file listing and the header sort need.
// TextServicesWin implements them over the wide Windows APIs; the portable logic's tests fake them.
#include <cstdint>
#include <string>

namespace tavelin {

// A local date and time on the two-second grid of the file stamp: `second` is always even.
struct StampTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const StampTime&) const = default;
};

class TextServices {
  public:
    virtual ~TextServices() = default;
    // The text upper-cased by the user's locale.
    virtual std::wstring UpperCase(const std::wstring& text) = 0;
    // The text in the system code page, as the bytes that the code page gives it.
    virtual std::string CodePageBytes(const std::wstring& text) = 0;
    // The code-page bytes of the upper-cased text, the key that the header sort orders by.
    virtual std::string SortKey(const std::wstring& text) { return CodePageBytes(UpperCase(text)); }
    // A last-write time (FILETIME ticks, UTC) as local time on the two-second grid. Times that
    // the file stamp cannot hold still come back as a real date, clamped to years 1601 to 9999.
    virtual StampTime LocalStamp(std::uint64_t fileTime) = 0;
    // The separators that the user's locale puts between the parts of a date and of a time.
    virtual wchar_t DateSeparator() = 0;
    virtual wchar_t TimeSeparator() = 0;
};

}  // namespace tavelin
