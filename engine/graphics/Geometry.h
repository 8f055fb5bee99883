// A piece of textured, coloured 2-D geometry whose vertices (and, for indexed
// pieces, 16-bit indices) come from a generator delegate on demand. A
// generator answering "keep" is not asked again until the next Resize. The
// geometry batches append pieces into shared buffers, or draw an oversize
// piece on its own.
#pragma once

#include "engine/core/Delegate.h"
#include "engine/core/Event.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/Texture.h"

#include <cstdint>

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

struct GenerationResponse
{
    enum Enum
    {
        None = 0,      // nothing to draw
        Generated = 1, // generated; ask again at the next use
        Keep = 2,      // generated; keep the result until the next resize
    };
};

// What a generator fills. The counts point into the geometry: a generator may
// lower them (never raise them) to say how much it wrote.
template <class V> struct GenerationData
{
    V* vertices;
    int* vertexCount;
    uint16_t* indices; // null for a plain strip
    int* indexCount;
};

template <class V> class Geometry
{
public:
    typedef Vexel::Func<GenerationResponse::Enum, GenerationData<V>&> Generator;

    // Counts to generate; no arrays until the first use.
    Geometry(int vertexCount, int indexCount, Texture const& texture, int blendMode);
    // Takes ownership of arrays made with new[]; generated when vertices are
    // given. An index count of 0 means one plain strip.
    Geometry(V* vertices, int vertexCount, uint16_t* indices, int indexCount, Texture const& texture,
             int blendMode);
    // Raises Destroyed first, while the arrays are still there.
    virtual ~Geometry();
    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;

    void SetGenerator(Generator const& generator);
    // Negative counts are taken as 0. Clears the kept result.
    void Resize(int vertexCount, int indexCount);

    // The kept vertices, or null while nothing is kept.
    V* GetVertices();
    // Call after editing the kept vertices in place.
    void CommitVertices() {}

    void SetTexture(Texture const& texture);
    Texture const& GetTexture() const;
    int GetBlendMode() const;
    int GetVertexCount() const;
    int GetIndexCount() const;
    bool IsGenerated() const;

    // Appends the piece to the buffer; false when there is nothing to draw or
    // no room (the buffer is then as it was).
    bool AppendTo(GeometryBuffer<V>& buffer);
    // Draws the piece on its own with the bound texture and current blend.
    void DrawTo();
    // Appends, drawing and resetting a full buffer first; a piece too large
    // for the buffer is drawn on its own.
    void DrawInto(GeometryBuffer<V>& buffer);
    // A new geometry with this one's result, texture and blend mode. With
    // steal the result moves to the clone and this one regenerates at its
    // next use.
    Geometry* Clone(bool steal);
    // Makes the own arrays at least as large as the counts.
    void EnsureCapacity();

    // For a batch that holds the piece past its Add: generates into the own
    // arrays now unless a result is there, so that the piece can be drawn or
    // taken over later without its generator (whose object may be gone).
    void Snapshot();
    // A new geometry that takes over the own arrays as they stand (an empty
    // piece when they hold no current result). Never calls the generator:
    // safe from a Destroyed handler.
    Geometry* TakeSnapshot();

    // (this, old texture, new texture)
    Vexel::Event<Geometry*, Texture const&, Texture const&>& TextureChanged();
    Vexel::Event<Geometry*>& Destroyed();

    class Impl;

private:
    Impl* impl;
};

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
