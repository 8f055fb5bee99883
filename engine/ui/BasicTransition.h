// The one layout transition: moves the chosen components of a layout
// (position with alignment, sizes, alpha, the visible and enabled flags)
// from the layout the element had at the start toward a target along an
// easing curve. The flags switch at once; the rest follows the curve.
#pragma once

#include "engine/ui/ElementTransition.h"

#include <cstdint>

namespace Vexel
{
namespace UI
{
namespace Transitions
{

struct TransitionFlag
{
    enum Enum
    {
        Visible = 0, // any value but Enabled selects the visible flag
        Enabled = 1,
    };
};

class BasicTransition : public ElementTransition
{
public:
    // Every component of the record, alpha included.
    BasicTransition(ElementLayout const& target, float duration, int easing);
    BasicTransition(ElementPosition position, float duration, int easing);
    BasicTransition(Vector2 size, float duration, int easing);
    BasicTransition(Vector2 portrait, Vector2 landscape, float duration, int easing);
    BasicTransition(bool value, int which, float duration, int easing);
    BasicTransition(float alpha, float duration, int easing);
    ~BasicTransition() override = default;

    // Clears every component flag; a negative (or NaN) duration becomes 0.
    void SetTiming(float duration, int easing);
    void SetTargetPosition(ElementPosition position);
    void SetTargetSize(Vector2 portrait, Vector2 landscape);
    void SetTargetSize(Vector2 size) { SetTargetSize(size, size); }
    // which = TransitionFlag::Enabled sets enabled, any other value visible.
    void SetTargetFlag(bool value, int which);
    void SetTargetAlpha(float alpha);

    float GetDuration() override { return duration; }
    ElementLayout& Apply(ElementLayout& out, ElementLayout const& from, Vector2 const parentSizes[2],
                         float elapsed) override;
    ElementTransition* Clone() override { return new BasicTransition(*this); }

    int GetEasing() const { return easing; }
    ElementLayout const& GetTarget() const { return target; }
    bool AnimatesPosition() const { return animatePosition; }
    bool AnimatesSize() const { return animateSize; }
    bool AnimatesVisible() const { return animateVisible; }
    bool AnimatesEnabled() const { return animateEnabled; }
    bool AnimatesAlpha() const { return animateAlpha; }

private:
    BasicTransition(BasicTransition const&) = default;
    BasicTransition& operator=(BasicTransition const&) = delete;

    int easing = 0;
    float duration = 0.0f; // seconds, never negative
    ElementLayout target;
    bool animatePosition = false;
    bool animateSize = false;
    bool animateVisible = false;
    bool animateEnabled = false;
    bool animateAlpha = false;
};

// One variant's position (0 portrait, 1 landscape) of from, re-expressed under
// another alignment so that the top-left offset stays where it was.
Vector2 ConvertPosition(ElementLayout const& from, int variant, uint32_t alignment, Vector2 parentSize,
                        Vector2 size);

} // namespace Transitions
} // namespace UI
} // namespace Vexel
