// One textured quad as the sprite batches and sprites describe it: the
// centre, the half size, a rotation about the centre, a colour and the area
// of the texture it shows. WriteQuad turns it into the four vertices of a
// two-triangle strip.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/VertexFormat.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

struct SpriteState
{
    float x, y;             // centre
    float originX, originY; // half the width and height
    float rotation;         // radians about the centre
    Color color;
    Vexel::Rectangle region; // texture coordinates 0..1

    SpriteState() : x(0.0f), y(0.0f), originX(0.0f), originY(0.0f), rotation(0.0f) {}
    SpriteState(Vexel::Rectangle const& region, float x, float y, float originX, float originY,
                float rotation, Color color)
        : x(x), y(y), originX(originX), originY(originY), rotation(rotation), color(color), region(region)
    {
    }
};

// Writes top-left, top-right, bottom-left, bottom-right (before rotation, with
// y pointing down) into out[0..3].
void WriteQuad(Geometry::VertexP2T2C* out, SpriteState const& state);

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
