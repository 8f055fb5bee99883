// A geometry piece that draws one textured quad cut from a tile: centre,
// size, rotation about the centre, colour and blend mode. A shape change
// regenerates the quad at its next use; a colour change is written straight
// into the kept vertices. Drawn through a geometry batch like any piece.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/Geometry.h"
#include "engine/graphics/SpriteFrontEnd.h"
#include "engine/graphics/SpriteState.h"
#include "engine/graphics/TileInfo.h"

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

typedef Sprites::SpriteState SpriteState;

// The state, position, size, origin, rotation, region, colour and tile
// accessors as in Sprites::SpriteFrontEnd.
class Sprite : public Geometry<VertexP2T2C>, public Sprites::SpriteFrontEnd
{
public:
    // Size = the tile's pixel size. The tile must outlive the sprite.
    Sprite(TileInfo const& tile, Vector2 position, Color color, float rotation, int blendMode);
    Sprite(TileInfo const& tile, Vector2 position, Vector2 size, Color color, float rotation, int blendMode);
    ~Sprite() override;

    void SetWidth(float width);
    float GetWidth() const;
    void SetHeight(float height);
    float GetHeight() const;
    // Nothing for the same tile. Raises TextureChanged for a different one.
    void SetTile(TileInfo const& tile, bool takeRegion);

    class Impl;

private:
    GenerationResponse::Enum Generate(GenerationData<VertexP2T2C>& data);
    // Regenerates the quad at its next use.
    void OnShapeChanged() override;
    // Writes the colour straight into the kept quad.
    void OnColorChanged() override;

    Impl* impl; // the front end's shape, owned here
};

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
