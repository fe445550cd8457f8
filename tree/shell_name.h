#pragma once
// Folder names that can be made through the long-path prefix but that the shell, and every
// program going through the ordinary path rules, cannot open, rename or delete.
#include <string_view>

namespace tavelin {

// False for a name ending in a dot or a space, and for a reserved device name (CON, PRN, AUX,
// NUL, COM0-COM9, LPT0-LPT9, COM and LPT with a superscript 1, 2 or 3) in any letter case, alone
// or followed by an extension ("con.txt", "LPT1.tar.gz").
bool ShellCanHandle(std::wstring_view name);

}  // namespace tavelin
