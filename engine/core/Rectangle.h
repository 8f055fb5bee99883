// An axis-aligned area: position and size in floats. Nothing keeps the size
// non-negative.
#pragma once

#include "engine/core/Vector2.h"

namespace Vexel
{

struct Rectangle
{
    float x, y, width, height;

    Rectangle() : x(0.0f), y(0.0f), width(0.0f), height(0.0f) {}
    Rectangle(float x, float y, float width, float height) : x(x), y(y), width(width), height(height) {}
    Rectangle(Vector2 const& position, Vector2 const& size) : x(position.x), y(position.y), width(size.x), height(size.y)
    {
    }

    float Left() const { return x; }
    float Top() const { return y; }
    float Width() const { return width; }
    float Height() const { return height; }
    float Right() const { return x + width; }
    float Bottom() const { return y + height; }
    Vector2 Position() const { return Vector2(x, y); }
    Vector2 Size() const { return Vector2(width, height); }
    Vector2 TopLeft() const { return Vector2(x, y); }
    Vector2 BottomRight() const { return Position() + Size(); }
    Vector2 Center() const { return Position() + Size() * 0.5f; }

    // Grows this rectangle to cover the other too. An empty rectangle still
    // counts: a (0, 0) size at the origin pulls the result out to the origin.
    void Union(Rectangle const& other);

    bool operator!=(Rectangle const& o) const { return Position() != o.Position() || Size() != o.Size(); }
    bool operator==(Rectangle const& o) const { return !(*this != o); }
};

} // namespace Vexel
