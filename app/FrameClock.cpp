#include "app/FrameClock.h"

#include <algorithm>

namespace Vexel
{
namespace App
{

bool FrameClock::Advance(uint32_t nowMicroseconds, bool redraw)
{
    bool due = false;
    if (!started)
    {
        started = true;
        lastTick = nowMicroseconds;
        due = true;
    }
    else
    {
        // Unsigned difference first: the microsecond clock wraps every 71
        // minutes, and a signed sum could overflow.
        const int64_t elapsed = int64_t(uint32_t(nowMicroseconds - lastTick));
        const int64_t total = int64_t(accumulator) + elapsed;
        if (total > kTickMicroseconds - 1)
        {
            accumulator = int32_t(std::min<int64_t>(total - kTickMicroseconds, kMaxBacklog));
            lastTick = nowMicroseconds;
            due = true;
        }
    }
    if (!due)
    {
        if (!redraw)
            return false;
        accumulator -= kTickMicroseconds;
    }
    accumulator = std::clamp(accumulator, -kMaxBacklog, kMaxBacklog);
    return true;
}

} // namespace App
} // namespace Vexel
