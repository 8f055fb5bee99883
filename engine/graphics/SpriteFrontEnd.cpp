#include "engine/graphics/SpriteFrontEnd.h"

#include "engine/graphics/SpriteShape.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

void SpriteFrontEnd::SetState(SpriteState const& state)
{
    shape->state = state;
    OnShapeChanged();
}

SpriteState const& SpriteFrontEnd::GetState() const
{
    return shape->state;
}

void SpriteFrontEnd::SetPosition(Vector2 position)
{
    if (shape->SetPosition(position))
        OnShapeChanged();
}

Vector2 SpriteFrontEnd::GetPosition() const
{
    return shape->GetPosition();
}

void SpriteFrontEnd::SetSize(Vector2 size)
{
    SetOrigin(size * 0.5f);
}

Vector2 SpriteFrontEnd::GetSize() const
{
    return GetOrigin() * 2.0f;
}

void SpriteFrontEnd::SetOrigin(Vector2 origin)
{
    if (shape->SetOrigin(origin))
        OnShapeChanged();
}

Vector2 SpriteFrontEnd::GetOrigin() const
{
    return shape->GetOrigin();
}

void SpriteFrontEnd::SetRotation(float rotation)
{
    if (shape->SetRotation(rotation))
        OnShapeChanged();
}

float SpriteFrontEnd::GetRotation() const
{
    return shape->state.rotation;
}

void SpriteFrontEnd::SetRegion(Vexel::Rectangle const& region)
{
    if (shape->SetRegion(region))
        OnShapeChanged();
}

Vexel::Rectangle SpriteFrontEnd::GetRegion() const
{
    return shape->state.region;
}

void SpriteFrontEnd::SetColor(Color color)
{
    if (shape->SetColor(color))
        OnColorChanged();
}

Color SpriteFrontEnd::GetColor() const
{
    return shape->state.color;
}

TileInfo const* SpriteFrontEnd::GetTile() const
{
    return shape->tile;
}

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
