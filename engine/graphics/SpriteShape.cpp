#include "engine/graphics/SpriteShape.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

Texture TileTexture(TileInfo const* tile)
{
    return tile && tile->texture ? *tile->texture : Texture::Empty;
}

SpriteShape::SpriteShape(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation)
    : tile(&tile), state(tile.uv, position.x, position.y, size.x * 0.5f, size.y * 0.5f, rotation, color)
{
}

bool SpriteShape::SetPosition(Vector2 position)
{
    if (position == GetPosition())
        return false;
    state.x = position.x;
    state.y = position.y;
    return true;
}

bool SpriteShape::SetOrigin(Vector2 origin)
{
    if (origin == GetOrigin())
        return false;
    state.originX = origin.x;
    state.originY = origin.y;
    return true;
}

bool SpriteShape::SetRotation(float rotation)
{
    if (rotation == state.rotation)
        return false;
    state.rotation = rotation;
    return true;
}

bool SpriteShape::SetRegion(Vexel::Rectangle const& region)
{
    if (region == state.region)
        return false;
    state.region = region;
    return true;
}

bool SpriteShape::SetColor(Color color)
{
    if (color == state.color)
        return false;
    state.color = color;
    return true;
}

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
