#include "settings/settings_copies.h"

#include <algorithm>
#include <cwctype>

namespace tavelin {

namespace {

constexpr std::wstring_view kCopySuffix = L".tmp";
constexpr std::size_t kChecksumDigits = 8;

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(static_cast<std::wint_t>(x)) == std::towupper(static_cast<std::wint_t>(y));
           });
}

std::optional<std::uint32_t> HexValue(std::wstring_view digits) {
    if (digits.size() != kChecksumDigits || !std::all_of(digits.begin(), digits.end(), IsHexDigit))
        return std::nullopt;
    std::uint32_t value = 0;
    for (wchar_t c : digits) {
        const unsigned digit = c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10;
        value = value << 4 | digit;
    }
    return value;
}

}  // namespace

std::uint32_t Checksum(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::wstring CopyFileName(std::wstring_view fileName, std::wstring_view tag, std::uint32_t checksum) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring name(fileName);
    name += L'.';
    name += tag;
    name += L'.';
    for (int shift = 28; shift >= 0; shift -= 4)
        name += kDigits[(checksum >> shift) & 0xF];
    name += kCopySuffix;
    return name;
}

// The part between the file's name and ".tmp" is made of hex digits, dashes and dots: the tag of
// this version, or the process id and counter of earlier ones.
std::optional<CopyNameParts> ParseCopyName(std::wstring_view name, std::wstring_view fileName) {
    if (name.size() <= fileName.size() + 1 + kCopySuffix.size() ||
        !SameNameIgnoringCase(name.substr(0, fileName.size()), fileName) || name[fileName.size()] != L'.' ||
        !SameNameIgnoringCase(name.substr(name.size() - kCopySuffix.size()), kCopySuffix))
        return std::nullopt;
    const std::wstring_view middle =
        name.substr(fileName.size() + 1, name.size() - fileName.size() - 1 - kCopySuffix.size());
    if (!std::all_of(middle.begin(), middle.end(), [](wchar_t c) { return IsHexDigit(c) || c == L'-' || c == L'.'; }))
        return std::nullopt;
    const std::size_t dot = middle.rfind(L'.');
    if (dot == std::wstring_view::npos)
        return CopyNameParts{};
    return CopyNameParts{HexValue(middle.substr(dot + 1))};
}

bool IsWholeCopy(const FoundCopy& copy, std::wstring_view fileName) {
    const std::optional<CopyNameParts> parts = ParseCopyName(copy.name, fileName);
    return parts && parts->checksum && copy.bytes && Checksum(*copy.bytes) == *parts->checksum;
}

std::optional<std::size_t> CopyToRestore(const std::vector<FoundCopy>& copies, std::wstring_view fileName) {
    std::optional<std::size_t> newest;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        if (IsWholeCopy(copies[i], fileName) && (!newest || copies[i].lastWrite > copies[*newest].lastWrite))
            newest = i;
    }
    return newest;
}

std::vector<std::size_t> LeftCopies(const std::vector<FoundCopy>& copies, std::uint64_t now) {
    std::vector<std::size_t> left;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].lastWrite + kLeftCopyAge < now)
            left.push_back(i);
    }
    return left;
}

}  // namespace tavelin
