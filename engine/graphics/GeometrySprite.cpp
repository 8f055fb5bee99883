#include "engine/graphics/GeometrySprite.h"

#include "engine/graphics/SpriteShape.h"

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

using Sprites::SpriteShape;
using Sprites::TileTexture;

class Sprite::Impl : public SpriteShape
{
public:
    Impl(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation)
        : SpriteShape(tile, position, size, color, rotation)
    {
    }

    bool dirty = true; // the shape changed since the last generation
};

Sprite::Sprite(TileInfo const& tile, Vector2 position, Color color, float rotation, int blendMode)
    : Sprite(tile, position, tile.size, color, rotation, blendMode)
{
}

Sprite::Sprite(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation,
               int blendMode)
    : Geometry(4, 0, TileTexture(&tile), blendMode), impl(new Impl(tile, position, size, color, rotation))
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
    if (impl->SetPosition(position))
        Reshape();
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
    if (impl->SetOrigin(origin))
        Reshape();
}

Vector2 Sprite::GetOrigin() const
{
    return impl->GetOrigin();
}

void Sprite::SetRotation(float rotation)
{
    if (impl->SetRotation(rotation))
        Reshape();
}

float Sprite::GetRotation() const
{
    return impl->state.rotation;
}

void Sprite::SetRegion(Vexel::Rectangle const& region)
{
    if (impl->SetRegion(region))
        Reshape();
}

Vexel::Rectangle Sprite::GetRegion() const
{
    return impl->state.region;
}

void Sprite::SetColor(Color color)
{
    if (!impl->SetColor(color))
        return;
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
    if (takeRegion && impl->SetRegion(tile.uv))
        Reshape();
    SetTexture(TileTexture(&tile));
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
