// Laid-out text ready to draw: one textured, coloured quad per visible
// character in a geometry buffer (its own, or the free tail of a shared
// one), the face texture to bind, and the rectangle covering everything laid
// in. A font's Layout appends to it; its owner draws it, and Clears it before
// laying out new text. Drawing sets no blend mode and no transform: the text
// is drawn with the current GL state and matrix. Drawing thread only.
#pragma once

#include "engine/core/Rectangle.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/VertexFormat.h"

namespace Vexel
{
namespace Graphics
{

class Texture;

namespace Type
{

class ITypeface;

class LinotypeBatch
{
public:
    // Its own buffer with room for capacity quads.
    explicit LinotypeBatch(int capacity);
    // Writes into the free tail of a buffer that someone else owns; the
    // capacity is what was free when the batch was made. A quad the shared
    // buffer can no longer take is dropped, as when the batch is full.
    explicit LinotypeBatch(Geometry::GeometryBuffer<Geometry::VertexP2T2C>& buffer);
    virtual ~LinotypeBatch();
    LinotypeBatch(const LinotypeBatch&) = delete;
    LinotypeBatch& operator=(const LinotypeBatch&) = delete;

    // Forgets the characters and the bounds. An own buffer is reset; over a
    // shared buffer only this batch's count and bounds go, and its next
    // quads start at the buffer's current end.
    void Clear();
    void Draw();
    // Characters start .. start + count - 1 of this batch.
    void DrawRange(int start, int count);

    // Covers all text laid in since construction or Clear; (0, 0, 0, 0)
    // when empty.
    Rectangle GetBounds() const;
    // The face of the last layout, or null.
    ITypeface* GetTypeface() const;
    int GetCharacterCount() const;
    int GetCapacity() const;
    // Where this batch's quads start in its buffer, in indices.
    int GetFirstIndex() const;
    bool IsShared() const;
    // The texture bound when drawing (not owned), or null.
    Texture* GetTexture() const;

    // Written by the fonts' layout (LinotypeBatchImpl.h).
    class Impl;
    Impl* GetImpl() const { return impl; }

private:
    Impl* impl;
};

} // namespace Type
} // namespace Graphics
} // namespace Vexel
