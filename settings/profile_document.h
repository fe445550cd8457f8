#pragma once
// The settings file's text as the private-profile functions see it, changed one value at a time
// without touching any line the program does not own: comments, the user's own sections and
// keys, blank lines and their order all stay as they were.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

class ProfileDocument {
  public:
    explicit ProfileDocument(std::wstring_view text);

    // The value of the first such key in the first such section, names compared without regard
    // to case, spaces around it trimmed and one pair of enclosing quotes taken off; nullopt when
    // the section or the key is missing.
    std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;

    // Gives that key the value: in its own line when it has one, else as a new last line of the
    // section, else in a new section at the end. A value that would read back otherwise (spaces
    // at its ends, enclosing quotes) is written in quotes.
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);

    bool Changed() const { return changed_; }
    std::wstring Text() const;

  private:
    struct Line {
        std::wstring content;
        std::wstring end;  // "\r\n", "\n" or nothing for a last line without one
    };
    struct Place {
        std::size_t sectionLine;
        std::optional<std::size_t> keyLine;
    };

    std::optional<Place> Find(std::wstring_view section, std::wstring_view key) const;
    std::size_t SectionEnd(std::size_t sectionLine) const;
    void Insert(std::size_t at, std::wstring content);

    std::vector<Line> lines_;
    std::wstring newLine_ = L"\r\n";
    bool changed_ = false;
};

}  // namespace tavelin
