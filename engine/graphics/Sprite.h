// A long-lived quad cut from a tile: the tile, its SpriteState and a blend
// mode. Sprite batches draw it with AddSprite; collections that keep sprites
// (the sprite PersistentBatch) follow its texture through TextureChanged and
// drop it on Destroyed.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Event.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteFrontEnd.h"
#include "engine/graphics/SpriteState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TileInfo.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

// The state, position, size, origin, rotation, region, colour and tile
// accessors as in SpriteFrontEnd; every effective change marks the sprite
// changed.
class Sprite : public SpriteFrontEnd
{
public:
    // The tile must outlive the sprite.
    Sprite(TileInfo const& tile, SpriteState const& state, int blendMode);
    // Size = the tile's pixel size; region = the tile's region.
    Sprite(TileInfo const& tile, Vector2 position, Color color, float rotation, int blendMode);
    Sprite(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation, int blendMode);
    // Raises Destroyed.
    ~Sprite() override;

    // For a different tile: raises TextureChanged when the texture differs;
    // with takeRegion the tile's region replaces the sprite's.
    void SetTile(TileInfo const& tile, bool takeRegion);

    // The tile's texture (the empty texture while the tile has none).
    Texture GetTexture() const;
    int GetBlendMode() const;

    // Raised by every effective change; for the collection that keeps the sprite.
    bool IsChanged() const;
    void ClearChanged();

    // (this, old texture, new texture)
    Vexel::Event<Sprite*, Texture const&, Texture const&>& TextureChanged();
    Vexel::Event<Sprite*>& Destroyed();

    class Impl;

private:
    void OnShapeChanged() override;
    void OnColorChanged() override;

    Impl* impl; // the front end's shape, owned here
};

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
