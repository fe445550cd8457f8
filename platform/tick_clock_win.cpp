#include "platform/tick_clock_win.h"

#include <windows.h>

namespace tavelin {

std::chrono::steady_clock::time_point TickClockNow() {
    return std::chrono::steady_clock::time_point(std::chrono::milliseconds(GetTickCount64()));
}

}  // namespace tavelin
