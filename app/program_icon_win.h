#pragma once
#include <windows.h>

namespace tavelin {

// The program's icon from its resources: the application window carries it into the task bar,
// the main window into its caption.
HICON ProgramIcon();

}  // namespace tavelin
