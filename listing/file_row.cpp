#include "listing/file_row.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace tavelin {

namespace {

// At least `digits` digits, more when the value needs them. Written out by hand: the runtime's
// number formatting goes through a format string, six times per row.
void AppendNumber(std::wstring& out, int value, int digits) {
    wchar_t buffer[12];
    size_t count = 0;
    // Date and time fields are never negative.
    unsigned magnitude = static_cast<unsigned>(std::max(value, 0));
    do {
        buffer[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (size_t padding = count; static_cast<int>(padding) < digits; ++padding)
        out += L'0';
    while (count > 0)
        out += buffer[--count];
}

// "yyyy/mm/dd hh:mm:ss" with the given separators in place of "/" and ":".
void AppendStamp(std::wstring& out, const StampTime& time, wchar_t dateSeparator, wchar_t timeSeparator) {
    AppendNumber(out, time.year, 4);
    out += dateSeparator;
    AppendNumber(out, time.month, 2);
    out += dateSeparator;
    AppendNumber(out, time.day, 2);
    out += L' ';
    AppendNumber(out, time.hour, 2);
    out += timeSeparator;
    AppendNumber(out, time.minute, 2);
    out += timeSeparator;
    AppendNumber(out, time.second, 2);
}

// "A " for the archive bit, then "R " for the read-only bit.
std::wstring_view AttributeText(std::uint32_t attributes) {
    const std::wstring_view both = L"A R ";
    if (attributes & kAttrArchive)
        return attributes & kAttrReadOnly ? both : both.substr(0, 2);
    return attributes & kAttrReadOnly ? both.substr(2) : std::wstring_view{};
}

}  // namespace

std::wstring PadLeft(std::wstring text, int width) {
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), L' ');
    return text;
}

void AppendPaddedSize(std::wstring& out, std::uint64_t size, int width) {
    wchar_t digits[20];
    size_t count = 0;
    do {
        digits[sizeof digits / sizeof digits[0] - 1 - count++] = static_cast<wchar_t>(L'0' + size % 10);
        size /= 10;
    } while (size != 0);
    if (static_cast<int>(count) < width)
        out.append(static_cast<size_t>(width) - count, L' ');
    out.append(std::end(digits) - count, std::end(digits));
}

std::wstring ExtensionOf(const std::wstring& name) {
    const size_t separator = name.find_last_of(L"\\:");
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator))
        return {};
    return name.substr(dot);
}

void FileRowWriter::Fill(FileGrid& grid, int row, const DirEntry& entry) {
    grid.SetCell(0, row, entry.name);
    buffer_.clear();
    AppendPaddedSize(buffer_, entry.size, format_.sizeWidth);
    grid.SetCell(1, row, buffer_);
    buffer_.assign(1, L' ');
    buffer_ += text_.UpperCase(ExtensionOf(entry.name));
    grid.SetCell(2, row, buffer_);
    buffer_.clear();
    AppendStamp(buffer_, text_.LocalStamp(entry.lastWriteTime), format_.dateSeparator, format_.timeSeparator);
    grid.SetCell(3, row, buffer_);
    grid.SetCell(4, row, AttributeText(entry.attributes));
}

}  // namespace tavelin
