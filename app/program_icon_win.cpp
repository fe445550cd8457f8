#include "app/program_icon_win.h"

#include "res/resource.h"

namespace tavelin {

HICON ProgramIcon() {
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVELIN));
}

}  // namespace tavelin
