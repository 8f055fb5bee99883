#include "game/simulation/Packing.h"

#include "engine/core/VectorMath.h"

#include <cmath>

namespace
{

using Vexel::kPi;
using Vexel::kTwoPi;

// Truncates toward zero like a C cast, but without the undefined behaviour
// of a cast that does not fit: NaN gives 0 and the rest saturates.
int64_t Truncate(float value)
{
    if (value != value)
        return 0;
    if (value >= 9.2e18f)
        return INT64_MAX;
    if (value <= -9.2e18f)
        return INT64_MIN;
    return static_cast<int64_t>(value);
}

uint16_t PackUnit(float numerator, float denominator)
{
    // Only reached strictly inside the range, so the quotient is below 65535.
    float scaled = numerator * 65535.0f;
    float quotient = scaled / denominator;
    return static_cast<uint16_t>(Truncate(quotient) & 0xFFFF);
}

} // namespace

uint8_t PackDegrees(float degrees)
{
    if (!std::isfinite(degrees))
        return 0;
    float t = degrees + 368640.0f;
    t = t * 255.0f;
    t = t + 0.5f;
    t = t / 360.0f;
    return static_cast<uint8_t>(Truncate(t) & 0xFF);
}

uint8_t PackRadians(float radians)
{
    if (!std::isfinite(radians))
        return 0;
    float t = radians + 6433.982f;
    t = t * 255.0f;
    t = t + 0.5f;
    t = t / kTwoPi;
    return static_cast<uint8_t>(Truncate(t) & 0xFF);
}

float UnpackRadians(uint8_t packed)
{
    float t = static_cast<float>(packed) * kTwoPi;
    return t / 255.0f;
}

float UnpackRadiansNear(uint8_t packed, float reference)
{
    float result = UnpackRadians(packed);
    if (!std::isfinite(reference))
        return result;
    // A reference many turns away is first approached in one jump; the
    // turn-by-turn steps below would otherwise take millions of rounds, or
    // never end once a turn no longer changes a float that large.
    const float kFarTurns = 4096.0f;
    float turns = (reference - result) / kTwoPi;
    if (std::fabs(turns) > kFarTurns)
    {
        float whole = std::trunc(turns);
        result = result + whole * kTwoPi;
    }
    while (result - reference < -kPi)
    {
        float next = result + kTwoPi;
        if (next == result)
            break;
        result = next;
    }
    while (result - reference > kPi)
    {
        float next = result - kTwoPi;
        if (next == result)
            break;
        result = next;
    }
    return result;
}

uint16_t PackRadius(float radius)
{
    if (radius != radius || radius <= 40.0f)
        return 0;
    if (radius >= 1064.0f)
        return 65535;
    return PackUnit(radius - 40.0f, 1024.0f);
}

float UnpackRadius(uint16_t packed)
{
    float t = static_cast<float>(packed) * 1024.0f;
    t = t / 65535.0f;
    return t + 40.0f;
}

uint16_t PackFraction(float value, float max)
{
    if (value != value || value <= 0.0f)
        return 0;
    if (value >= max)
        return 65535;
    return PackUnit(value, max);
}

float UnpackFraction(uint16_t packed, float max)
{
    float t = static_cast<float>(packed) * max;
    return t / 65535.0f;
}

uint16_t PackRange(float value, float lo, float hi)
{
    if (value != value || value <= lo)
        return 0;
    if (value >= hi)
        return 65535;
    return PackUnit(value - lo, hi - lo);
}

float UnpackRange(uint16_t packed, float lo, float hi)
{
    float t = static_cast<float>(packed) * (hi - lo);
    t = t / 65535.0f;
    return t + lo;
}
