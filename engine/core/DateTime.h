// Wall-clock time as double seconds since 1970-01-01 00:00 UTC.
#pragma once

#include <cstdint>

namespace Vexel
{

struct DateParts
{
    uint16_t year;  // full year, e.g. 2010
    uint8_t month;  // 1..12
    uint8_t day;    // 1..31
    uint8_t hour;   // 0..23
    uint8_t minute;
    uint8_t second;
};

namespace DateTime
{
// Whole seconds of the calendar clock plus the sub-second part of the real-
// time clock. Used for seeds, time stamps and coarse intervals.
double Now();
// Local broken-down time of the seconds truncated toward zero.
DateParts ToLocalParts(double seconds);
// floor, as int64.
int64_t ToInt64(double seconds);
double FromInt64(int64_t seconds);
// Seconds since 2001-01-01 00:00 UTC.
double ToReferenceDateSeconds(double seconds);
} // namespace DateTime

} // namespace Vexel
