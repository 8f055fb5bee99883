#include "engine/graphics/SpriteState.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

void WriteQuad(Geometry::VertexP2T2C* out, SpriteState const& state)
{
    Vector2 a(state.originX, -state.originY);
    Vector2 b(state.originX, state.originY);
    if (state.rotation != 0.0f)
    {
        a = a.Rotate(state.rotation);
        b = b.Rotate(state.rotation);
    }
    const Vector2 p(state.x, state.y);
    const float s0 = state.region.x;
    const float t0 = state.region.y;
    const float s1 = state.region.x + state.region.width;
    const float t1 = state.region.y + state.region.height;
    const Vector2 topLeft = p - b;
    const Vector2 topRight = p + a;
    const Vector2 bottomLeft = p - a;
    const Vector2 bottomRight = p + b;
    out[0] = Geometry::VertexP2T2C(topLeft.x, topLeft.y, s0, t0, state.color);
    out[1] = Geometry::VertexP2T2C(topRight.x, topRight.y, s1, t0, state.color);
    out[2] = Geometry::VertexP2T2C(bottomLeft.x, bottomLeft.y, s0, t1, state.color);
    out[3] = Geometry::VertexP2T2C(bottomRight.x, bottomRight.y, s1, t1, state.color);
}

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
