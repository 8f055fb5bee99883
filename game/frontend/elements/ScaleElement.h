// An element that draws its content (its own drawing and its children's)
// scaled by its current size over the size it was built with, about its
// centre, and optionally turned with the device's tilt. The page
// transitions animate a page block's size; this makes its content zoom along.
// The owner's sprite batches are flushed on entry and exit, so sprites
// batched outside are drawn outside the transform.
#pragma once

#include "engine/ui/Element.h"

class IFlush;

class ScaleElement : public Vexel::UI::Element
{
public:
    // touch: takes touches (touch mode 1) or not (0). The flusher is not
    // owned and may be null.
    ScaleElement(Vexel::UI::ElementLayout const& layout, IFlush* flusher, bool touch, bool followTilt);
    ~ScaleElement() override;

    void DrawBegin(Vexel::Rectangle rect, float alpha) override;
    void DrawEnd(Vexel::Rectangle rect, float alpha) override;

    // The device's tilt as an angle (radians): false with pi while the device
    // lies flat or hardly tilts.
    static bool GetTiltAngle(float& angle);

    Vector2 GetBaseSize() const { return baseSize; }
    float GetAngle() const { return angle; }
    bool FollowsTilt() const { return followTilt; }

protected:
    IFlush* flusher;

private:
    Vector2 baseSize;
    bool followTilt;
    float angle;
};
