// The UI orientation: target, rotation angle and portrait/landscape blend,
// changed at once or animated over the following animate phases.
#include "engine/ui/UIOrientation.h"

#include "engine/core/Platform.h"
#include "engine/core/VectorMath.h"
#include "engine/ui/UIManager.h"

#include <cmath>

namespace Vexel
{
namespace UI
{

namespace
{
// Changes this short or shorter are applied at once.
const float kImmediateDuration = 0.01f;

struct OrientationState
{
    int targetOrientation = 1;
    float rotation = 0.0f;
    float targetRotation = 0.0f;
    float rotationSpeed = 0.0f; // rad/s, 0 when not animating
    float blend = 0.0f;         // 0 portrait sizes, 1 landscape sizes
    float blendSpeed = 0.0f;    // 1/s, 0 when not animating
};

OrientationState state;

float TargetBlend(int orientation)
{
    return Internal::IsLandscapeOrientation(orientation) ? 1.0f : 0.0f;
}
} // namespace

namespace Internal
{

float GetOrientationAngle(int orientation)
{
    switch (orientation)
    {
    case 0:
        return -kHalfPi;
    case 2:
        return kHalfPi;
    case 3:
        return kPi;
    default:
        return 0.0f;
    }
}

bool IsLandscapeOrientation(int orientation)
{
    return orientation != 1 && orientation != 3;
}

void StepOrientation(float dt)
{
    if (state.rotationSpeed != 0.0f)
    {
        const float remaining = state.targetRotation - state.rotation;
        const float step = state.rotationSpeed * dt;
        if (std::fabs(remaining) <= std::fabs(step))
        {
            state.rotation = state.targetRotation;
            state.rotationSpeed = 0.0f;
        }
        else
            state.rotation += step;
    }
    if (state.blendSpeed != 0.0f)
    {
        const float target = TargetBlend(state.targetOrientation);
        const float remaining = target - state.blend;
        const float step = state.blendSpeed * dt;
        if (std::fabs(remaining) <= std::fabs(step))
        {
            state.blend = target;
            state.blendSpeed = 0.0f;
        }
        else
            state.blend += step;
    }
}

} // namespace Internal

void UIManager::SetOrientation(int orientation, float duration)
{
    state.targetOrientation = orientation;
    const float angle = Internal::GetOrientationAngle(orientation);
    // Written so that a NaN duration is immediate too.
    if (!(duration > kImmediateDuration))
    {
        state.rotation = angle;
        state.targetRotation = angle;
        state.blend = TargetBlend(orientation);
        state.rotationSpeed = 0.0f;
        state.blendSpeed = 0.0f;
        return;
    }
    state.blendSpeed = (TargetBlend(orientation) - state.blend) / duration;
    state.targetRotation = angle;
    // The short way round, ending exactly on the target angle.
    float d = state.targetRotation - state.rotation;
    while (d < -kPi)
        d += kTwoPi;
    while (d > kPi)
        d -= kTwoPi;
    state.rotationSpeed = d / duration;
    state.rotation = state.targetRotation - d;
}

int UIManager::GetOrientation()
{
    return state.targetOrientation;
}
float UIManager::GetRotation()
{
    return state.rotation;
}
float UIManager::GetOrientationBlend()
{
    return state.blend;
}

Vector2 UIManager::GetUISize()
{
    return Vector2::Lerp(Platform::GetScreenSize(), Platform::GetRotatedScreenSize(), state.blend);
}

} // namespace UI
} // namespace Vexel
