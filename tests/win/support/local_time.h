#pragma once
// File times for test data given as local wall-clock times.
#include <windows.h>

#include <cstdint>

namespace tavelin::test {

// FILETIME ticks (UTC) of a local date and time, converted as the system converts them back.
std::uint64_t TicksOfLocal(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);

}  // namespace tavelin::test
