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

    // A setter's result: an effective change marks the sprite changed.
    void Note(bool changedNow) { changed = changed || changedNow; }

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
    : impl(new Impl(tile, position, size, color, rotation, blendMode))
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
    impl->Note(impl->SetPosition(position));
}

Vector2 Sprite::GetPosition() const
{
    return impl->GetPosition();
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
    impl->Note(impl->SetOrigin(origin));
}

Vector2 Sprite::GetOrigin() const
{
    return impl->GetOrigin();
}

void Sprite::SetRotation(float rotation)
{
    impl->Note(impl->SetRotation(rotation));
}

float Sprite::GetRotation() const
{
    return impl->state.rotation;
}

void Sprite::SetRegion(Vexel::Rectangle const& region)
{
    impl->Note(impl->SetRegion(region));
}

Vexel::Rectangle Sprite::GetRegion() const
{
    return impl->state.region;
}

void Sprite::SetColor(Color color)
{
    impl->Note(impl->SetColor(color));
}

Color Sprite::GetColor() const
{
    return impl->state.color;
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
    if (takeRegion)
        impl->Note(impl->SetRegion(tile.uv));
}

TileInfo const* Sprite::GetTile() const
{
    return impl->tile;
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
