#pragma once
// The texts of one file's row in the grid.
#include <cstdint>
#include <string>

#include "listing/file_grid.h"
#include "services/file_system.h"
#include "services/text_services.h"

namespace tavelin {

// What stays the same for every row of one listing.
struct RowFormat {
    int sizeWidth = 3;
    wchar_t dateSeparator = L'/';
    wchar_t timeSeparator = L':';
};

// The width, in characters, that the listing pads sizes to for a size column this many pixels
// wide.
int ListingSizeWidth(int sizeColumnPixels);

// The text with leading spaces up to `width` characters; a longer text comes back whole.
std::wstring PadLeft(std::wstring text, int width);

// The size in decimal with leading spaces up to `width` characters.
std::wstring PaddedSize(std::uint64_t size, int width);

// From the last "." that follows the last "\" or ":" to the end; empty when there is none.
std::wstring ExtensionOf(const std::wstring& name);

// "yyyy/mm/dd hh:mm:ss" with the given separators in place of "/" and ":".
std::wstring StampText(const StampTime& time, wchar_t dateSeparator, wchar_t timeSeparator);

// "A " for the archive bit, then "R " for the read-only bit.
std::wstring AttributeText(std::uint32_t attributes);

// Fills the five cells of `row` from one directory entry.
void FillFileRow(FileGrid& grid, int row, const DirEntry& entry, const RowFormat& format, TextServices& text);

}  // namespace tavelin
