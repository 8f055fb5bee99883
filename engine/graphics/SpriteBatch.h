// The sprite batches: textured quads drawn as indexed triangle strips.
// - TransientBatch collects the quads of one frame and draws them all at
//   Draw, in the order added (a later quad covers an earlier one), with one
//   draw call per run of consecutive quads sharing texture and blend mode,
//   then forgets them. Quads go into vertex lists of the batch's capacity,
//   created on demand and reused every frame, so a steady frame allocates
//   nothing and the number of quads is bounded only by memory.
// - PersistentBatch keeps Sprite objects in numbered layers across frames.
// The last argument of every add is the blend mode (0 opaque, 1 alpha, 2
// additive, 3 multiplicative). Drawing restores the blend mode and client
// arrays it found. Main thread only.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Transform2D.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/BatchFrontEnd.h"
#include "engine/graphics/SpriteState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TileInfo.h"

#include <cstdint>

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{

class Sprite;
class TransientBatchImpl;
class PersistentBatchImpl;

// A run of consecutive quads drawn with one call.
struct SpriteGroup
{
    Texture texture;
    int16_t blendMode = 1;
    uint16_t quadCount = 0;
};

class ITransientBatch
{
public:
    virtual ~ITransientBatch() {}
    // The sprite's texture, state and blend mode; null is ignored.
    virtual void AddSprite(Sprite* sprite) = 0;
    virtual void AddQuad(Texture const& texture, SpriteState const& state, int blendMode) = 0;
    // Centred at position, unrotated.
    virtual void AddRegionSized(Texture const& texture, Vexel::Rectangle const& region, Vector2 position,
                                Vector2 size, Color color, int blendMode) = 0;
    virtual void AddRegionSizedRotated(Texture const& texture, float rotation, Vexel::Rectangle const& region,
                                       Vector2 position, Vector2 size, Color color, int blendMode) = 0;
    virtual void AddTileSized(TileInfo const& tile, Vector2 position, Vector2 size, Color color,
                              int blendMode) = 0;
    // At the tile's pixel size.
    virtual void AddTile(TileInfo const& tile, Vector2 position, Color color, int blendMode) = 0;
    virtual void AddTileSizedRotated(TileInfo const& tile, float rotation, Vector2 position, Vector2 size,
                                     Color color, int blendMode) = 0;
    virtual void AddTileRotated(TileInfo const& tile, float rotation, Vector2 position, Color color,
                                int blendMode) = 0;
    // Draws everything added since the last draw with the identity transform.
    virtual void Draw() = 0;
};

// Draw() and Draw(translation, scale) as in BatchFrontEnd.
class TransientBatch : public BatchFrontEnd<ITransientBatch, TransientBatchImpl>
{
public:
    typedef TransientBatchImpl BatchImpl;

    // Indices are 16-bit: a list of 4 x capacity vertices must stay within
    // 65536, so capacity is clamped to 1..16384.
    static const int kMaxCapacity = 16384;

    explicit TransientBatch(int capacity);

    void AddSprite(Sprite* sprite) override;
    void AddQuad(Texture const& texture, SpriteState const& state, int blendMode) override;
    void AddRegionSized(Texture const& texture, Vexel::Rectangle const& region, Vector2 position,
                        Vector2 size, Color color, int blendMode) override;
    void AddRegionSizedRotated(Texture const& texture, float rotation, Vexel::Rectangle const& region,
                               Vector2 position, Vector2 size, Color color, int blendMode) override;
    void AddTileSized(TileInfo const& tile, Vector2 position, Vector2 size, Color color,
                      int blendMode) override;
    void AddTile(TileInfo const& tile, Vector2 position, Color color, int blendMode) override;
    void AddTileSizedRotated(TileInfo const& tile, float rotation, Vector2 position, Vector2 size,
                             Color color, int blendMode) override;
    void AddTileRotated(TileInfo const& tile, float rotation, Vector2 position, Color color,
                        int blendMode) override;
    // Transform2D::None pushes no matrix.
    void DrawTransformed(Transform2D const& transform) { DrawUnder(transform); }
};

class ICollection
{
public:
    virtual ~ICollection() {}
    // False when the sprite is already in that layer (one in another layer moves).
    virtual bool Add(Sprite* sprite, int layer) = 0;
    virtual bool Remove(Sprite* sprite) = 0;
    virtual bool Contains(Sprite* sprite) const = 0;
};

// Add, Remove, Contains, the layer transforms, Draw() and Draw(translation,
// scale) as in LayeredFrontEnd. Layers in ascending order, sprites in the
// order added.
class PersistentBatch : public LayeredFrontEnd<ICollection, Sprite, PersistentBatchImpl>
{
public:
    typedef PersistentBatchImpl BatchImpl;

    void DrawTransformed(Transform2D const& transform) { DrawUnder(transform); }
};

// 6q indices: quad j reads 4j, 4j+1, 4j+2, 4j+3, then 4j+3, 4j+4 to join
// quad j + 1 by degenerate triangles. Shared by every sprite batch; grows
// only. Main thread only.
const uint16_t* GetSharedIndices(int quadCount);

} // namespace Sprites
} // namespace Graphics
} // namespace Vexel
