#include "engine/core/DateTime.h"

#include <cmath>
#include <ctime>

namespace Vexel
{
namespace DateTime
{

double Now()
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

DateParts ToLocalParts(double seconds)
{
    DateParts parts{};
    if (!(std::fabs(seconds) < 9.2e18)) // NaN or beyond time_t: the epoch
        seconds = 0.0;
    time_t whole = time_t(seconds);
    tm local{};
    if (localtime_r(&whole, &local) == nullptr)
        return parts;
    parts.year = uint16_t(local.tm_year + 1900);
    parts.month = uint8_t(local.tm_mon + 1);
    parts.day = uint8_t(local.tm_mday);
    parts.hour = uint8_t(local.tm_hour);
    parts.minute = uint8_t(local.tm_min);
    parts.second = uint8_t(local.tm_sec);
    return parts;
}

int64_t ToInt64(double seconds)
{
    const double floored = std::floor(seconds);
    // Out-of-range conversions are undefined: saturate instead.
    if (!(floored > -9.2233720368547758e18))
        return INT64_MIN;
    if (!(floored < 9.2233720368547758e18))
        return INT64_MAX;
    return int64_t(floored);
}

double FromInt64(int64_t seconds) { return double(seconds); }

double ToReferenceDateSeconds(double seconds) { return seconds - 978307200.0; }

} // namespace DateTime
} // namespace Vexel
