#include "app/PassClock.h"

#include "app/FrameClock.h"

namespace Vexel
{
namespace App
{

uint32_t SdlPassClock::Milliseconds()
{
    return SDL_GetTicks();
}

uint32_t SdlPassClock::Microseconds()
{
    return SDL_GetTicks() * 1000u;
}

void FixedStepClock::BeginPass()
{
    if (started)
        elapsedMicroseconds += FrameClock::kTickMicroseconds;
    started = true;
}

uint32_t FixedStepClock::Milliseconds()
{
    return uint32_t(elapsedMicroseconds / 1000u);
}

uint32_t FixedStepClock::Microseconds()
{
    return uint32_t(elapsedMicroseconds);
}

} // namespace App
} // namespace Vexel
