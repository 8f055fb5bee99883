// The loop's clocks: SDL's millisecond ticks, or a fixed step in which every
// pass of the loop lasts exactly one frame tick (for scripted tests).
#pragma once

#include "app/ShellInterfaces.h"

namespace Vexel
{
namespace App
{

// Milliseconds = SDL_GetTicks; microseconds = those times 1000, wrapping.
class SdlPassClock : public IPassClock
{
public:
    void BeginPass() override {}
    uint32_t Milliseconds() override;
    uint32_t Microseconds() override;
};

// Pass n (from 0) stands at n ticks of 33333 us, whatever the real time.
class FixedStepClock : public IPassClock
{
public:
    void BeginPass() override;
    uint32_t Milliseconds() override;
    uint32_t Microseconds() override;

private:
    uint64_t elapsedMicroseconds = 0;
    bool started = false;
};

} // namespace App
} // namespace Vexel
