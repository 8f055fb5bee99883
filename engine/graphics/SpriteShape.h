// What both sprite kinds (the batch sprite, Sprites::Sprite, and the
// geometry piece, Geometry::Sprite) keep: the tile they are cut from and
// their SpriteState. Each setter changes its field only for a different
// value and says whether it did, so that each kind reacts in its own way
// (a changed flag for the batch, a regenerated quad for the piece).
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TileInfo.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

// The tile's texture: the empty texture for a null tile or one without.
Texture TileTexture(TileInfo const* tile);

class SpriteShape
{
public:
    // The tile must outlive the shape.
    SpriteShape(TileInfo const& tile, SpriteState const& state) : tile(&tile), state(state) {}
    // Centred at position with the tile's whole region.
    SpriteShape(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation);

    bool SetPosition(Vector2 position);
    Vector2 GetPosition() const { return Vector2(state.x, state.y); }
    // Half the size.
    bool SetOrigin(Vector2 origin);
    Vector2 GetOrigin() const { return Vector2(state.originX, state.originY); }
    bool SetRotation(float rotation);
    bool SetRegion(Vexel::Rectangle const& region);
    bool SetColor(Color color);

    TileInfo const* tile; // not owned
    SpriteState state;
};

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
