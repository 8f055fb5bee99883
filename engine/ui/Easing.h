// Easing curves of the element transitions: progress t in [0, 1] to the
// fraction of the change applied.
#pragma once

namespace Vexel
{
namespace UI
{
namespace Transitions
{

struct EasingMode
{
    enum Enum
    {
        Linear = 0,
        SmoothStep = 1, // 0.5 - 0.5 cos(pi t): slow start and end
        EaseOut = 2,    // sin(pi t / 2): fast start, slow end
        EaseIn = 3,     // 1 - cos(pi t / 2): slow start, fast end
    };
};

// Unknown modes are linear.
float Ease(float t, int mode);

} // namespace Transitions
} // namespace UI
} // namespace Vexel
