#pragma once
// How the private-profile functions tell a Unicode file from one in the code page: by the
// byte-order mark it starts with. Portable, so that the decision is tested without Windows.
#include <string>
#include <string_view>

namespace tavelin {

// True when the file's bytes start with a UTF-16 (either order) or UTF-8 byte-order mark: such a
// file already holds every character.
bool IsUnicodeProfile(std::string_view bytes);

// UTF-16 text (code units, as Windows gives it) as UTF-16LE bytes behind their byte-order mark,
// the form in which the private-profile functions keep a file Unicode.
std::string UnicodeProfileBytes(std::wstring_view text);

}  // namespace tavelin
