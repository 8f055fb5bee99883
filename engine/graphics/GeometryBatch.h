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

class TransientBatch : public ITransientBatch<VertexP2T2C>
{
public:
    // Every transient piece goes to this layer.
    static const int kLayer = 2000000000;

    TransientBatch();
    ~TransientBatch() override;
    TransientBatch(const TransientBatch&) = delete;
    TransientBatch& operator=(const TransientBatch&) = delete;

    // Null is ignored.
    void Add(Geometry<VertexP2T2C>* geometry) override;
    // With the identity transform.
    void Draw() override;
    void Draw(Vector2 translation, Vector2 scale);
    // Transform2D::None pushes no matrix.
    void Draw(Transform2D const& transform);

private:
    BatchImpl* impl;
};

class PersistentBatch : public ICollection<VertexP2T2C>
{
public:
    PersistentBatch();
    ~PersistentBatch() override;
    PersistentBatch(const PersistentBatch&) = delete;
    PersistentBatch& operator=(const PersistentBatch&) = delete;

    bool Add(Geometry<VertexP2T2C>* geometry, int layer) override;
    bool Remove(Geometry<VertexP2T2C>* geometry) override;
    bool Contains(Geometry<VertexP2T2C>* geometry) const;

    // Creates the layer when absent.
    void SetLayerTransform(int layer, Transform2D const& transform);
    // Sets Transform2D::None: the layer then draws under the batch's transform alone.
    void ResetLayerTransform(int layer);
    // Transform2D::None for a missing layer.
    Transform2D GetLayerTransform(int layer) const;

    void Draw();
    void Draw(Vector2 translation, Vector2 scale);
    void Draw(Transform2D const& transform);

private:
    BatchImpl* impl;
};

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
