#include "game/simulation/ScreenShake.h"

#include "engine/core/VectorMath.h"

#include <cmath>

namespace
{

using Vexel::kTwoPi;

float Max(float a, float b)
{
    return a > b ? a : b;
}
float Min(float a, float b)
{
    return a < b ? a : b;
}

// Keeps a phase within one turn. The count is bounded, so a runaway value
// cannot loop for ever.
float WrapPhase(float phase)
{
    for (int i = 0; i < 64 && phase > kTwoPi; ++i)
        phase -= kTwoPi;
    return phase;
}

} // namespace

ScreenShake::ScreenShake() : drive(0.0f), kickFast(0.0f), kickSlow(0.0f), level(0.0f) {}

void ScreenShake::KickLanding()
{
    kickFast = Max(kickFast, 0.4f);
    kickSlow = Max(kickSlow, 0.8f);
}

void ScreenShake::KickCannon()
{
    kickFast = Max(kickFast, 0.45f);
    kickSlow = Max(kickSlow, 0.65f);
}

void ScreenShake::Update(float dt)
{
    kickFast = Max(kickFast - dt, 0.0f);
    kickSlow = Max(kickSlow - dt, 0.0f);

    const float rx = Max(Min(kickFast * 180.6f, 39.2f), drive * 24.1f);
    const float ry = Max(Min(kickFast * 140.6f, 34.3f), drive * 21.6f);
    phaseFast.x = WrapPhase(phaseFast.x + rx * dt);
    phaseFast.y = WrapPhase(phaseFast.y + ry * dt);

    const float sx = Max(Min(kickSlow * 80.1f, 19.2f), drive * 2.1f);
    const float sy = Max(Min(kickSlow * 70.1f, 22.3f), drive * 1.7f);
    phaseSlow.x = WrapPhase(phaseSlow.x + sx * dt);
    phaseSlow.y = WrapPhase(phaseSlow.y + sy * dt);

    const float a = Min(Max(sx + ry, 0.0f), 8.0f) * 0.034f;
    level += (a - level) * 0.22f;

    offset = Vector2(sinf(phaseFast.x + 0.3f) * 0.38f + cosf(phaseSlow.x + 0.1f),
                     sinf(phaseFast.y + 0.1f) * 0.42f + cosf(phaseSlow.y + 0.9f)) *
             level;
}
