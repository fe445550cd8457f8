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

}  // namespace

int ListingSizeWidth(int sizeColumnPixels) {
    // Eight pixels per digit is the fixed grid font's advance; below three digits a size would
    // never line up with its neighbours anyway.
    if (sizeColumnPixels < 24)
        return 3;
    return sizeColumnPixels / 8;
}

std::wstring PadLeft(std::wstring text, int width) {
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), L' ');
    return text;
}

std::wstring PaddedSize(std::uint64_t size, int width) {
    // Digits written backwards into a buffer, so that the cell is built with one allocation.
    wchar_t digits[20];
    size_t count = 0;
    do {
        digits[sizeof digits / sizeof digits[0] - 1 - count++] = static_cast<wchar_t>(L'0' + size % 10);
        size /= 10;
    } while (size != 0);
    const size_t padding = static_cast<int>(count) < width ? static_cast<size_t>(width) - count : 0;
    std::wstring text(padding + count, L' ');
    std::copy(std::end(digits) - count, std::end(digits), text.begin() + static_cast<std::ptrdiff_t>(padding));
    return text;
}

std::wstring ExtensionOf(const std::wstring& name) {
    const size_t separator = name.find_last_of(L"\\:");
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator))
        return {};
    return name.substr(dot);
}

std::wstring StampText(const StampTime& time, wchar_t dateSeparator, wchar_t timeSeparator) {
    std::wstring out;
    out.reserve(19);
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
    return out;
}

std::wstring AttributeText(std::uint32_t attributes) {
    std::wstring out;
    if (attributes & kAttrArchive)
        out += L"A ";
    if (attributes & kAttrReadOnly)
        out += L"R ";
    return out;
}

void FillFileRow(FileGrid& grid, int row, const DirEntry& entry, const RowFormat& format, TextServices& text) {
    grid.SetCell(0, row, entry.name);
    grid.SetCell(1, row, PaddedSize(entry.size, format.sizeWidth));
    grid.SetCell(2, row, L" " + text.UpperCase(ExtensionOf(entry.name)));
    grid.SetCell(3, row, StampText(text.LocalStamp(entry.lastWriteTime), format.dateSeparator, format.timeSeparator));
    grid.SetCell(4, row, AttributeText(entry.attributes));
}

}  // namespace tavelin
