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
    : Geometry(4, 0, TileTexture(&tile), blendMode),
      SpriteFrontEnd(new Impl(tile, position, size, color, rotation)), impl(static_cast<Impl*>(shape))
{
    SetGenerator(Generator(this, &Sprite::Generate));
}

Sprite::~Sprite()
{
    delete impl;
}

void Sprite::OnShapeChanged()
{
    Resize(4, 0);
    impl->dirty = true;
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

void Sprite::OnColorChanged()
{
    // Only the colours change: patch the kept quad instead of regenerating it.
    VertexP2T2C* vertices = GetVertices();
    if (vertices && GetVertexCount() >= 4)
    {
        for (int i = 0; i < 4; ++i)
            vertices[i].color = impl->state.color;
        CommitVertices();
    }
}

void Sprite::SetTile(TileInfo const& tile, bool takeRegion)
{
    if (&tile == impl->tile)
        return;
    impl->tile = &tile;
    if (takeRegion && impl->SetRegion(tile.uv))
        OnShapeChanged();
    SetTexture(TileTexture(&tile));
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
