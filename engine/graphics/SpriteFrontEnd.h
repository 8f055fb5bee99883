// The accessors both sprite kinds (the batch sprite, Sprites::Sprite, and
// the geometry piece, Geometry::Sprite) offer over their SpriteShape, written
// once. A setter changes nothing for an equal value (SetState excepted);
// an effective change calls the owner's reaction: OnShapeChanged for the
// state, position, size, rotation or region, OnColorChanged for the colour.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteState.h"
#include "engine/graphics/TileInfo.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

class SpriteShape;

class SpriteFrontEnd
{
public:
    SpriteFrontEnd(const SpriteFrontEnd&) = delete;
    SpriteFrontEnd& operator=(const SpriteFrontEnd&) = delete;

    void SetState(SpriteState const& state); // no comparison
    SpriteState const& GetState() const;
    void SetPosition(Vector2 position);
    Vector2 GetPosition() const;
    void SetSize(Vector2 size);
    Vector2 GetSize() const;
    // Half the size.
    void SetOrigin(Vector2 origin);
    Vector2 GetOrigin() const;
    void SetRotation(float rotation);
    float GetRotation() const;
    void SetRegion(Vexel::Rectangle const& region);
    Vexel::Rectangle GetRegion() const;
    void SetColor(Color color);
    Color GetColor() const;
    TileInfo const* GetTile() const;

protected:
    // The shape is the owner's (its Impl) and outlives this.
    explicit SpriteFrontEnd(SpriteShape* shape) : shape(shape) {}
    virtual ~SpriteFrontEnd() {}

    virtual void OnShapeChanged() = 0;
    virtual void OnColorChanged() = 0;

    SpriteShape* shape;
};

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
