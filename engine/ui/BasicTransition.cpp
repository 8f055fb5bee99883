// The layout transition and its easing of positions, sizes and alpha.
#include "engine/ui/BasicTransition.h"

#include "engine/ui/Easing.h"

namespace Vexel
{
namespace UI
{
namespace Transitions
{

namespace
{
// Below this a transition shows its end state at once.
const float kInstantDuration = 0.001f;
} // namespace

BasicTransition::BasicTransition(ElementLayout const& target, float duration, int easing)
{
    SetTiming(duration, easing);
    this->target = target;
    animatePosition = true;
    animateSize = true;
    animateVisible = true;
    animateEnabled = true;
    // The whole record is the target, so its alpha is part of it.
    animateAlpha = true;
}

BasicTransition::BasicTransition(ElementPosition position, float duration, int easing)
{
    SetTiming(duration, easing);
    SetTargetPosition(position);
}

BasicTransition::BasicTransition(Vector2 size, float duration, int easing)
{
    SetTiming(duration, easing);
    SetTargetSize(size, size);
}

BasicTransition::BasicTransition(Vector2 portrait, Vector2 landscape, float duration, int easing)
{
    SetTiming(duration, easing);
    SetTargetSize(portrait, landscape);
}

BasicTransition::BasicTransition(bool value, int which, float duration, int easing)
{
    SetTiming(duration, easing);
    SetTargetFlag(value, which);
}

BasicTransition::BasicTransition(float alpha, float duration, int easing)
{
    SetTiming(duration, easing);
    SetTargetAlpha(alpha);
}

void BasicTransition::SetTiming(float duration, int easing)
{
    animatePosition = false;
    animateSize = false;
    animateVisible = false;
    animateEnabled = false;
    animateAlpha = false;
    this->easing = easing;
    // Written so that NaN also becomes 0.
    this->duration = duration > 0.0f ? duration : 0.0f;
}

void BasicTransition::SetTargetPosition(ElementPosition position)
{
    target.position = position;
    animatePosition = true;
}

void BasicTransition::SetTargetSize(Vector2 portrait, Vector2 landscape)
{
    target.sizePortrait = portrait;
    target.sizeLandscape = landscape;
    animateSize = true;
}

void BasicTransition::SetTargetFlag(bool value, int which)
{
    if (which == TransitionFlag::Enabled)
    {
        target.enabled = value;
        animateEnabled = true;
    }
    else
    {
        target.visible = value;
        animateVisible = true;
    }
}

void BasicTransition::SetTargetAlpha(float alpha)
{
    target.alpha = alpha;
    animateAlpha = true;
}

ElementLayout& BasicTransition::Apply(ElementLayout& out, ElementLayout const& from,
                                      Vector2 const parentSizes[2], float elapsed)
{
    if (&out != &from)
        out = from;
    // Keep what is read of from: out may be the same record.
    const ElementLayout start = from;

    float t;
    if (duration <= kInstantDuration || duration <= elapsed)
        t = 1.0f;
    else if (elapsed <= 0.0f)
        t = 0.0f;
    else
        t = elapsed / duration;
    const float e = Ease(t, easing);

    if (animateSize)
    {
        out.sizePortrait = Vector2::Lerp(start.sizePortrait, target.sizePortrait, e);
        out.sizeLandscape = Vector2::Lerp(start.sizeLandscape, target.sizeLandscape, e);
    }
    if (animateAlpha)
        out.alpha = start.alpha + (target.alpha - start.alpha) * e;
    if (animatePosition)
    {
        const uint32_t alignment = target.position.alignment;
        out.position.alignment = alignment;
        const Vector2 portraitStart = ConvertPosition(start, 0, alignment, parentSizes[0], out.sizePortrait);
        out.position.positionPortrait = Vector2::Lerp(portraitStart, target.position.positionPortrait, e);
        const Vector2 landscapeStart =
            ConvertPosition(start, 1, alignment, parentSizes[1], out.sizeLandscape);
        out.position.positionLandscape = Vector2::Lerp(landscapeStart, target.position.positionLandscape, e);
    }
    if (animateEnabled)
        out.enabled = target.enabled;
    if (animateVisible)
        out.visible = target.visible;
    return out;
}

Vector2 ConvertPosition(ElementLayout const& from, int variant, uint32_t alignment, Vector2 parentSize,
                        Vector2 size)
{
    Vector2 const& position = from.GetPositionVariant(variant);
    if (alignment == from.position.alignment)
        return position;
    return OffsetToAligned(AlignedToOffset(position, from.position.alignment, size, parentSize), alignment,
                           size, parentSize);
}

} // namespace Transitions
} // namespace UI
} // namespace Vexel
