#pragma once
// The texts of one file's row in the grid.
#include <cstdint>
#include <string>
#include <string_view>

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

// The text with leading spaces up to `width` characters; a longer text comes back whole.
std::wstring PadLeft(std::wstring text, int width);

// Appends the size in decimal with leading spaces up to `width` characters.
void AppendPaddedSize(std::wstring& out, std::uint64_t size, int width);

// From the last "." that follows the last "\" or ":" to the end; empty when there is none.
std::wstring ExtensionOf(const std::wstring& name);

// Fills rows of the grid from directory entries. Each text is built in one buffer that lives as
// long as the writer, so a row costs no allocation beyond what the grid keeps of its texts.
class FileRowWriter {
  public:
    FileRowWriter(const RowFormat& format, TextServices& text) : format_(format), text_(text) {}
    // Fills the five cells of `row` from one directory entry.
    void Fill(FileGrid& grid, int row, const DirEntry& entry);

  private:
    RowFormat format_;
    TextServices& text_;
    std::wstring buffer_;
};

}  // namespace tavelin
