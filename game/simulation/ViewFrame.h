// The part of the play field that is shown: a position, a scale and a half
// size. The planet centre (world origin) appears at Origin() on screen.
#pragma once

#include "engine/core/Vector2.h"

struct ViewFrame
{
    Vector2 position;
    float scale; // screen pixels per world pixel
    Vector2 halfSize;

    ViewFrame() : scale(1.0f) {}
    ViewFrame(Vector2 position, float scale, Vector2 size)
        : position(position), scale(scale), halfSize(size * 0.5f)
    {
    }

    Vector2 Origin() const { return position + halfSize; }
    // Screen to world: (point - Origin()) / scale.
    Vector2 Inverse(Vector2 const& point) const
    {
        Vector2 d = point - Origin();
        return Vector2(d.x / scale, d.y / scale);
    }
    // World to screen: Origin() + point x scale.
    Vector2 Apply(Vector2 const& point) const { return Origin() + point * scale; }
};
