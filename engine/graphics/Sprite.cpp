#include "engine/graphics/Sprite.h"

#include "engine/graphics/SpriteShape.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

class Sprite::Impl : public SpriteShape
{
public:
    Impl(TileInfo const& tile, SpriteState const& state, int blendMode)
        : SpriteShape(tile, state), blendMode(blendMode)
    {
    }
    Impl(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation, int blendMode)
        : SpriteShape(tile, position, size, color, rotation), blendMode(blendMode)
    {
    }

    int blendMode;
    bool changed = true;
    Vexel::Event<Sprite*, Texture const&, Texture const&> textureChanged;
    Vexel::Event<Sprite*> destroyed;
};

Sprite::Sprite(TileInfo const& tile, SpriteState const& state, int blendMode)
    : SpriteFrontEnd(new Impl(tile, state, blendMode)), impl(static_cast<Impl*>(shape))
{
}

Sprite::Sprite(TileInfo const& tile, Vector2 position, Color color, float rotation, int blendMode)
    : Sprite(tile, position, tile.size, color, rotation, blendMode)
{
}

Sprite::Sprite(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation,
               int blendMode)
    : SpriteFrontEnd(new Impl(tile, position, size, color, rotation, blendMode)),
      impl(static_cast<Impl*>(shape))
{
}

Sprite::~Sprite()
{
    impl->destroyed.Raise(this);
    delete impl;
}

void Sprite::OnShapeChanged()
{
    impl->changed = true;
}

void Sprite::OnColorChanged()
{
    impl->changed = true;
}

void Sprite::SetTile(TileInfo const& tile, bool takeRegion)
{
    if (&tile == impl->tile)
        return;
    const Texture oldTexture = TileTexture(impl->tile);
    const Texture newTexture = TileTexture(&tile);
    impl->tile = &tile;
    if (oldTexture != newTexture)
    {
        impl->changed = true;
        impl->textureChanged.Raise(this, oldTexture, newTexture);
    }
    if (takeRegion && impl->SetRegion(tile.uv))
        impl->changed = true;
}

Texture Sprite::GetTexture() const
{
    return TileTexture(impl->tile);
}
int Sprite::GetBlendMode() const
{
    return impl->blendMode;
}
bool Sprite::IsChanged() const
{
    return impl->changed;
}
void Sprite::ClearChanged()
{
    impl->changed = false;
}

Vexel::Event<Sprite*, Texture const&, Texture const&>& Sprite::TextureChanged()
{
    return impl->textureChanged;
}
Vexel::Event<Sprite*>& Sprite::Destroyed()
{
    return impl->destroyed;
}

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
