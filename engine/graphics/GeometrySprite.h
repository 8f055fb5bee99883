// A geometry piece that draws one textured quad cut from a tile: centre,
// size, rotation about the centre, colour and blend mode. A shape change
// regenerates the quad at its next use; a colour change is written straight
// into the kept vertices. Drawn through a geometry batch like any piece.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/Geometry.h"
#include "engine/graphics/SpriteState.h"
#include "engine/graphics/TileInfo.h"

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

typedef Sprites::SpriteState SpriteState;

class Sprite : public Geometry<VertexP2T2C>
{
public:
    // Size = the tile's pixel size. The tile must outlive the sprite.
    Sprite(TileInfo const& tile, Vector2 position, Color color, float rotation, int blendMode);
    Sprite(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation, int blendMode);
    ~Sprite() override;

    void SetState(SpriteState const& state); // no comparison: always regenerates
    SpriteState const& GetState() const;
    void SetPosition(Vector2 position);
    Vector2 GetPosition() const;
    void SetSize(Vector2 size);
    Vector2 GetSize() const;
    void SetWidth(float width);
    float GetWidth() const;
    void SetHeight(float height);
    float GetHeight() const;
    // Half the size.
    void SetOrigin(Vector2 origin);
    Vector2 GetOrigin() const;
    void SetRotation(float rotation);
    float GetRotation() const;
    void SetRegion(Vexel::Rectangle const& region);
    Vexel::Rectangle GetRegion() const;
    void SetColor(Color color);
    Color GetColor() const;
    // Nothing for the same tile. Raises TextureChanged for a different one.
    void SetTile(TileInfo const& tile, bool takeRegion);
    TileInfo const* GetTile() const;

    class Impl;

private:
    GenerationResponse::Enum Generate(GenerationData<VertexP2T2C>& data);
    void Reshape();

    Impl* impl;
};

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
