#pragma once
// The clock the long loops pace themselves by. They read it once per folder entry; the system's
// tick count is far cheaper to read than the precise clock under some implementations, and its
// steps are fine enough for looks at the queue and at Escape, which need no finer pace.
#include <chrono>

namespace tavelin {

// Only differences between two readings mean anything: the count starts at the system's start.
std::chrono::steady_clock::time_point TickClockNow();

}  // namespace tavelin
