// The fixed 30 Hz clock of the frame step: a microsecond accumulator fed by
// the wall clock decides when a tick is due. Times wrap in 32 bits; only
// their unsigned differences are used.
#pragma once

#include <cstdint>

namespace Vexel
{
namespace App
{

class FrameClock
{
public:
    static constexpr int32_t kTickMicroseconds = 33333;
    // The accumulator never leaves +-kMaxBacklog: at most three ticks of
    // backlog, and no unbounded debt from repeated exposes.
    static constexpr int32_t kMaxBacklog = 100000;

    // Whether a frame step runs at time now (microseconds): when a tick is
    // due, or when redraw asks for one, which spends a tick in advance.
    bool Advance(uint32_t nowMicroseconds, bool redraw);

    int32_t GetAccumulator() const { return accumulator; }
    uint32_t GetLastTick() const { return lastTick; }
    bool IsStarted() const { return started; }

private:
    int32_t accumulator = 0;
    uint32_t lastTick = 0;
    bool started = false;
};

} // namespace App
} // namespace Vexel
