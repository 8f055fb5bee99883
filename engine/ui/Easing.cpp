// Easing curves, evaluated in float with pi rounded to float.
#include "engine/ui/Easing.h"

#include "engine/core/VectorMath.h"

#include <cmath>

namespace Vexel
{
namespace UI
{
namespace Transitions
{

float Ease(float t, int mode)
{
    switch (mode)
    {
    case EasingMode::SmoothStep:
        return 0.5f - 0.5f * std::cos(kPi * t);
    case EasingMode::EaseOut:
        return std::sin(kHalfPi * t);
    case EasingMode::EaseIn:
        // Rises from 0 to 1 like the others; cos alone would run backwards.
        return 1.0f - std::cos(kHalfPi * t);
    default:
        return t;
    }
}

} // namespace Transitions
} // namespace UI
} // namespace Vexel
