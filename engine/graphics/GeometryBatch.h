// The geometry batches: collect Geometry pieces and draw them as few indexed
// triangle strips as possible, one draw call per run of equal texture and
// blend mode, in numbered layers drawn in ascending order.
// - TransientBatch takes pieces every frame (Add) and draws and forgets them
//   (Draw); the pieces are copied at Add, except an oversize one, which is
//   held and drawn on its own.
// - PersistentBatch keeps pieces across frames until removed or destroyed.
// Both restore the blend mode they found. Main thread only.
#pragma once

#include "engine/core/Transform2D.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/BatchFrontEnd.h"
#include "engine/graphics/Geometry.h"
#include "engine/graphics/VertexFormat.h"

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

class BatchImpl;

template <class V> class ITransientBatch
{
public:
    virtual ~ITransientBatch() {}
    virtual void Add(Geometry<V>* geometry) = 0;
    virtual void Draw() = 0;
};

template <class V> class ICollection
{
public:
    virtual ~ICollection() {}
    // False when the piece is already in that layer (a piece in another
    // layer moves).
    virtual bool Add(Geometry<V>* geometry, int layer) = 0;
    virtual bool Remove(Geometry<V>* geometry) = 0;
};

class TransientBatch : public BatchFrontEnd<ITransientBatch<VertexP2T2C>, BatchImpl>
{
public:
    // Every transient piece goes to this layer.
    static const int kLayer = 2000000000;

    TransientBatch();

    // Null is ignored.
    void Add(Geometry<VertexP2T2C>* geometry) override;
    // Draw() with the identity transform, Draw(translation, scale).
    using BatchFrontEnd::Draw;
    // Transform2D::None pushes no matrix.
    void Draw(Transform2D const& transform) { DrawUnder(transform); }
};

// Add, Remove, Contains and the layer transforms as in LayeredFrontEnd.
class PersistentBatch : public LayeredFrontEnd<ICollection<VertexP2T2C>, Geometry<VertexP2T2C>, BatchImpl>
{
public:
    using LayeredFrontEnd::Draw;
    void Draw(Transform2D const& transform) { DrawUnder(transform); }
};

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
