#include "engine/graphics/Sprite.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

namespace
{
Texture TextureOf(TileInfo const* tile)
{
    return tile && tile->texture ? *tile->texture : Texture::Empty;
}
} // namespace

class Sprite::Impl
{
public:
    Impl(TileInfo const& tile, SpriteState const& state, int blendMode)
        : tile(&tile), state(state), blendMode(blendMode)
    {
    }

    TileInfo const* tile; // not owned
    SpriteState state;
    int blendMode;
    bool changed = true;
    Vexel::Event<Sprite*, Texture const&, Texture const&> textureChanged;
    Vexel::Event<Sprite*> destroyed;
};

Sprite::Sprite(TileInfo const& tile, SpriteState const& state, int blendMode)
    : impl(new Impl(tile, state, blendMode))
{
}

Sprite::Sprite(TileInfo const& tile, Vector2 position, Color color, float rotation, int blendMode)
    : Sprite(tile, position, tile.size, color, rotation, blendMode)
{
}

Sprite::Sprite(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation,
               int blendMode)
    : impl(new Impl(
          tile, SpriteState(tile.uv, position.x, position.y, size.x * 0.5f, size.y * 0.5f, rotation, color),
          blendMode))
{
}

Sprite::~Sprite()
{
    impl->destroyed.Raise(this);
    delete impl;
}

void Sprite::SetState(SpriteState const& state)
{
    impl->state = state;
    impl->changed = true;
}

SpriteState const& Sprite::GetState() const
{
    return impl->state;
}

void Sprite::SetPosition(Vector2 position)
{
    if (position == GetPosition())
        return;
    impl->state.x = position.x;
    impl->state.y = position.y;
    impl->changed = true;
}

Vector2 Sprite::GetPosition() const
{
    return Vector2(impl->state.x, impl->state.y);
}

void Sprite::SetSize(Vector2 size)
{
    SetOrigin(size * 0.5f);
}

Vector2 Sprite::GetSize() const
{
    return GetOrigin() * 2.0f;
}

void Sprite::SetOrigin(Vector2 origin)
{
    if (origin == GetOrigin())
        return;
    impl->state.originX = origin.x;
    impl->state.originY = origin.y;
    impl->changed = true;
}

Vector2 Sprite::GetOrigin() const
{
    return Vector2(impl->state.originX, impl->state.originY);
}

void Sprite::SetRotation(float rotation)
{
    if (rotation == impl->state.rotation)
        return;
    impl->state.rotation = rotation;
    impl->changed = true;
}

float Sprite::GetRotation() const
{
    return impl->state.rotation;
}

void Sprite::SetRegion(Vexel::Rectangle const& region)
{
    if (region == impl->state.region)
        return;
    impl->state.region = region;
    impl->changed = true;
}

Vexel::Rectangle Sprite::GetRegion() const
{
    return impl->state.region;
}

void Sprite::SetColor(Color color)
{
    if (color == impl->state.color)
        return;
    impl->state.color = color;
    impl->changed = true;
}

Color Sprite::GetColor() const
{
    return impl->state.color;
}

void Sprite::SetTile(TileInfo const& tile, bool takeRegion)
{
    if (&tile == impl->tile)
        return;
    const Texture oldTexture = TextureOf(impl->tile);
    const Texture newTexture = TextureOf(&tile);
    impl->tile = &tile;
    if (oldTexture != newTexture)
    {
        impl->changed = true;
        impl->textureChanged.Raise(this, oldTexture, newTexture);
    }
    if (takeRegion && tile.uv != impl->state.region)
    {
        impl->changed = true;
        impl->state.region = tile.uv;
    }
}

TileInfo const* Sprite::GetTile() const
{
    return impl->tile;
}
Texture Sprite::GetTexture() const
{
    return TextureOf(impl->tile);
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
