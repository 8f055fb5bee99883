#include "game/frontend/elements/ScaleElement.h"

#include "engine/core/Transform2D.h"
#include "engine/core/VectorMath.h"
#include "engine/ui/UIManager.h"
#include "game/play/TiltHelpers.h"
#include "game/widgets/IFlush.h"

#include <cmath>

namespace
{
using Vexel::kPi;
// Share of the way to the tilt the drawn angle moves each frame.
const float kTiltFollow = 0.3f;
} // namespace

ScaleElement::ScaleElement(Vexel::UI::ElementLayout const& layout, IFlush* flusher, bool touch,
                           bool followTilt)
    : Element(layout, touch ? Vexel::UI::TouchMode::Take : Vexel::UI::TouchMode::Ignore), flusher(flusher),
      baseSize(layout.sizePortrait), followTilt(followTilt), angle(kPi)
{
    GetTiltAngle(angle);
}

ScaleElement::~ScaleElement() = default;

bool ScaleElement::GetTiltAngle(float& angle)
{
    Vector3 const& tilt = *Vexel::UI::UIManager::GetTilt();
    angle = kPi;
    if (IsDeviceFlat(tilt))
        return false;
    const Vector2 v = GetCalibratedTilt(tilt) * Vector2(-1.0f, 1.0f);
    if (!(v.LengthSquared() > 0.0001f))
        return false;
    angle = v.Angle();
    return true;
}

void ScaleElement::DrawBegin(Vexel::Rectangle rect, float)
{
    if (followTilt)
    {
        float target = kPi;
        if (GetTiltAngle(target))
        {
            // The short way round.
            while (angle - target > kPi)
                angle -= 2.0f * kPi;
            while (target - angle > kPi)
                angle += 2.0f * kPi;
            angle += (target - angle) * kTiltFollow;
        }
    }
    // What was batched so far draws under the previous transform.
    if (flusher)
    {
        flusher->FlushFirstBatch();
        flusher->FlushSecondBatch();
    }
    const Vector2 centre = rect.Center();
    Vector2 scale(1.0f, 1.0f);
    if (baseSize.x != 0.0f)
        scale.x = rect.width / baseSize.x;
    if (baseSize.y != 0.0f)
        scale.y = rect.height / baseSize.y;
    Transform2D(centre, followTilt ? angle + kPi : 0.0f, scale).Push();
    Transform2D(-centre, Vector2(1.0f, 1.0f)).MultiplyGL();
}

void ScaleElement::DrawEnd(Vexel::Rectangle, float)
{
    if (flusher)
    {
        flusher->FlushFirstBatch();
        flusher->FlushSecondBatch();
    }
    Transform2D::Pop();
}
