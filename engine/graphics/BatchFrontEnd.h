// The front ends that the geometry and sprite batches share, written once
// over the batch's own implementation class:
// - BatchFrontEnd owns the implementation and offers the draw forms every
//   batch has: the identity transform, a translation and scale, and (under
//   each batch's own public name) a whole transform.
// - LayeredFrontEnd adds what a persistent batch keeps: members in numbered
//   layers, each layer under its own transform.
// The member functions are defined in BatchFrontEndImpl.h and instantiated by
// the batch's source for its own types. Main thread only.
#pragma once

#include "engine/core/Transform2D.h"
#include "engine/core/Vector2.h"

namespace Vexel
{
namespace Graphics
{

// Impl: Draw(Transform2D const&), with Transform2D::None pushing no matrix.
template <class Interface, class Impl> class BatchFrontEnd : public Interface
{
public:
    ~BatchFrontEnd() override;
    BatchFrontEnd(const BatchFrontEnd&) = delete;
    BatchFrontEnd& operator=(const BatchFrontEnd&) = delete;

    // With the identity transform (overrides the interface's Draw where it has one).
    void Draw();
    void Draw(Vector2 translation, Vector2 scale);

protected:
    // Takes ownership.
    explicit BatchFrontEnd(Impl* impl);
    // Transform2D::None pushes no matrix.
    void DrawUnder(Transform2D const& transform);

    Impl* impl;
};

// Impl: a LayeredBatch over Member, default-constructible.
template <class Interface, class Member, class Impl>
class LayeredFrontEnd : public BatchFrontEnd<Interface, Impl>
{
public:
    // These override the interface's where it declares them.
    // False for null and when the member is already in that layer (one in
    // another layer moves).
    bool Add(Member* member, int layer);
    bool Remove(Member* member);
    bool Contains(Member* member) const;

    // Creates the layer when absent.
    void SetLayerTransform(int layer, Transform2D const& transform);
    // Sets Transform2D::None: the layer then draws under the batch's transform alone.
    void ResetLayerTransform(int layer);
    // Transform2D::None for a missing layer.
    Transform2D GetLayerTransform(int layer) const;

protected:
    LayeredFrontEnd();
};

} // namespace Graphics
} // namespace Vexel
