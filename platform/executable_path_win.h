#pragma once
#include <string>

namespace tavelin {

// The full path of the running executable, however long it is.
std::wstring ExecutablePath();

}  // namespace tavelin
