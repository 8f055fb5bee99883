#include "engine/graphics/GeometrySprite.h"

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

namespace
{
Texture TextureOf(TileInfo const& tile)
{
    return tile.texture ? *tile.texture : Texture::Empty;
}
} // namespace

class Sprite::Impl
{
public:
    Impl(TileInfo const& tile, SpriteState const& state) : tile(&tile), state(state) {}

    TileInfo const* tile; // not owned
    SpriteState state;
    bool dirty = true; // the shape changed since the last generation
};

Sprite::Sprite(TileInfo const& tile, Vector2 position, Color color, float rotation, int blendMode)
    : Sprite(tile, position, tile.size, color, rotation, blendMode)
{
}

Sprite::Sprite(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation,
               int blendMode)
    : Geometry(4, 0, TextureOf(tile), blendMode),
      impl(new Impl(
          tile, SpriteState(tile.uv, position.x, position.y, size.x * 0.5f, size.y * 0.5f, rotation, color)))
{
    SetGenerator(Generator(this, &Sprite::Generate));
}

Sprite::~Sprite()
{
    delete impl;
}

void Sprite::Reshape()
{
    Resize(4, 0);
    impl->dirty = true;
}

void Sprite::SetState(SpriteState const& state)
{
    impl->state = state;
    Reshape();
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
    Reshape();
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

void Sprite::SetWidth(float width)
{
    SetOrigin(Vector2(width * 0.5f, impl->state.originY));
}

float Sprite::GetWidth() const
{
    return impl->state.originX * 2.0f;
}

void Sprite::SetHeight(float height)
{
    SetOrigin(Vector2(impl->state.originX, height * 0.5f));
}

float Sprite::GetHeight() const
{
    return impl->state.originY * 2.0f;
}

void Sprite::SetOrigin(Vector2 origin)
{
    if (origin == GetOrigin())
        return;
    impl->state.originX = origin.x;
    impl->state.originY = origin.y;
    Reshape();
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
    Reshape();
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
    Reshape();
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
    // Only the colours change: patch the kept quad instead of regenerating it.
    VertexP2T2C* vertices = GetVertices();
    if (vertices && GetVertexCount() >= 4)
    {
        for (int i = 0; i < 4; ++i)
            vertices[i].color = color;
        CommitVertices();
    }
}

Color Sprite::GetColor() const
{
    return impl->state.color;
}

void Sprite::SetTile(TileInfo const& tile, bool takeRegion)
{
    if (&tile == impl->tile)
        return;
    impl->tile = &tile;
    if (takeRegion && tile.uv != impl->state.region)
    {
        impl->state.region = tile.uv;
        Reshape();
    }
    SetTexture(TextureOf(tile));
}

TileInfo const* Sprite::GetTile() const
{
    return impl->tile;
}

GenerationResponse::Enum Sprite::Generate(GenerationData<VertexP2T2C>& data)
{
    if (*data.vertexCount < 4)
        return GenerationResponse::None;
    Sprites::WriteQuad(data.vertices, impl->state);
    if (impl->dirty)
    {
        impl->dirty = false;
        return GenerationResponse::Generated;
    }
    return GenerationResponse::Keep;
}

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
