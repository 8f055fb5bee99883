// The clocks, meters and small statistics the benchmarks share: this
// thread's CPU time and the wall clock in milliseconds, CPU seconds by
// getrusage, the process's peak resident size, the median of a sample, and
// an angle wrapped into [-pi, pi] for the scripted aims.
#pragma once

#include "engine/core/VectorMath.h"

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace Vexel
{
namespace Bench
{

// This thread's CPU time: without the time the scheduler gave to others.
inline double ThreadCpuMs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

inline double WallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

template <class Duration> double Milliseconds(Duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// User and system CPU seconds of RUSAGE_SELF or RUSAGE_THREAD.
inline double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Peak resident size so far, in bytes (ru_maxrss counts KiB on Linux).
inline double PeakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

// The upper median; 0 for no values.
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline float WrapAngle(float angle)
{
    while (angle > kPi)
        angle -= kTwoPi;
    while (angle < -kPi)
        angle += kTwoPi;
    return angle;
}

} // namespace Bench
} // namespace Vexel
