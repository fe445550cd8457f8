#pragma once
// The clock the long loops pace themselves by. They read it once per folder entry; the system's
// tick count costs a couple of nanoseconds a read where the precise clock costs about a hundred
// under some implementations, and its 10-16 ms steps are fine enough for looks at the queue and
// at Escape every 10 ms or more.
#include <chrono>

namespace tavelin {

// Only differences between two readings mean anything: the count starts at the system's start.
std::chrono::steady_clock::time_point TickClockNow();

}  // namespace tavelin
