#include "local_time.h"

#include <gtest/gtest.h>

namespace tavelin::test {

std::uint64_t TicksOfLocal(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME fields{};
    fields.wYear = year;
    fields.wMonth = month;
    fields.wDay = day;
    fields.wHour = hour;
    fields.wMinute = minute;
    fields.wSecond = second;
    FILETIME local;
    FILETIME utc;
    EXPECT_TRUE(SystemTimeToFileTime(&fields, &local));
    EXPECT_TRUE(LocalFileTimeToFileTime(&local, &utc));
    return (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

}  // namespace tavelin::test
