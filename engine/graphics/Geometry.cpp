#include "engine/graphics/Geometry.h"

#include "engine/core/Log.h"
#include "engine/graphics/StripDraw.h"
#include "engine/graphics/VertexFormat.h"

#include <cstdio>
#include <cstring>

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

namespace
{
struct AppendResult
{
    enum Enum
    {
        Appended,
        Nothing, // nothing to draw: the generator answered 0, or too few vertices
        NoRoom,
    };
};

template <class V> bool HasRoom(GeometryBuffer<V> const& buffer, int vertexCount, int indexCount)
{
    return buffer.GetVertexCapacity() - buffer.GetVertexCount() >= vertexCount &&
           buffer.GetIndexCapacity() - buffer.GetIndexCount() >= indexCount + 2 &&
           buffer.GetVertexCount() + vertexCount <= GeometryBuffer<V>::kMaxAddressableVertices;
}

int RoundUpTo4(int n)
{
    return (n + 3) & ~3;
}
} // namespace

template <class V> class Geometry<V>::Impl
{
public:
    Impl(int vertexCount, int indexCount, Texture const& texture, int blendMode)
        : texture(texture), blendMode(blendMode), vertexCount(vertexCount < 0 ? 0 : vertexCount),
          indexCount(indexCount < 0 ? 0 : indexCount)
    {
    }

    Generator generator;
    bool hasGenerator = false;
    Texture texture;
    int blendMode;
    V* vertices = nullptr;
    uint16_t* indices = nullptr;
    int vertexCapacity = 0;
    int indexCapacity = 0;
    bool generated = false;
    // The own arrays hold a fresh result that was not kept: it serves the
    // next use once, then the generator is asked again. Lets a held piece be
    // drawn or copied without calling its generator a second time.
    bool pending = false;
    int vertexCount;
    int indexCount; // 0: the vertices form one plain strip
    Vexel::Event<Geometry*, Texture const&, Texture const&> textureChanged;
    Vexel::Event<Geometry*> destroyed;

    bool IsIndexed() const { return indexCount >= 1; }
    bool HasResult() const { return generated || pending; }
    // Fewer than three strip entries draw no triangle.
    bool Drawable() const { return (IsIndexed() ? indexCount : vertexCount) > 2; }

    void EnsureCapacity()
    {
        if (vertexCount > vertexCapacity)
        {
            delete[] vertices;
            vertices = nullptr;
            vertexCapacity = 0;
        }
        if (!vertices && vertexCount >= 1)
        {
            vertexCapacity = RoundUpTo4(vertexCount);
            vertices = new V[vertexCapacity];
        }
        if (indexCount > indexCapacity)
        {
            delete[] indices;
            indices = nullptr;
            indexCapacity = 0;
        }
        if (!indices && indexCount >= 1)
        {
            indexCapacity = RoundUpTo4(indexCount);
            indices = new uint16_t[indexCapacity];
        }
    }

    bool IndicesValid() const
    {
        for (int i = 0; i < indexCount; ++i)
        {
            if (indices[i] >= vertexCount)
                return false;
        }
        return true;
    }

    // Runs the generator into the own arrays and checks what it reported.
    GenerationResponse::Enum GenerateOwn()
    {
        EnsureCapacity();
        if (!hasGenerator || !vertices || (IsIndexed() && !indices))
            return GenerationResponse::None;
        const int vertexLimit = vertexCount;
        const int indexLimit = indexCount;
        GenerationData<V> data{vertices, &vertexCount, IsIndexed() ? indices : nullptr, &indexCount};
        int response = generator.Invoke(data);
        if (vertexCount > vertexLimit || indexCount > indexLimit || vertexCount < 0 || indexCount < 0)
        {
            // A generator may only lower its counts; a raised one wrote past
            // what was asked for.
            Vexel::Log::Error("geometry", "generator reported %d vertices and %d indices for %d and %d",
                         vertexCount, indexCount, vertexLimit, indexLimit);
            vertexCount = vertexLimit;
            indexCount = indexLimit;
            return GenerationResponse::None;
        }
        if (response != GenerationResponse::Generated && response != GenerationResponse::Keep)
            return GenerationResponse::None;
        if (IsIndexed() && !IndicesValid())
        {
            Vexel::Log::Error("geometry", "generator wrote an index past its %d vertices", vertexCount);
            return GenerationResponse::None;
        }
        return GenerationResponse::Enum(response);
    }

    // Generates unless a result is there; false when there is nothing to draw.
    bool EnsureResult()
    {
        if (HasResult())
            return true;
        if (!Drawable())
            return false;
        GenerationResponse::Enum response = GenerateOwn();
        if (response == GenerationResponse::None)
            return false;
        if (response == GenerationResponse::Keep)
            generated = true;
        else
            pending = true;
        return true;
    }

    // The generator writes into the own arrays, which are then appended: a
    // generator that answers 0 or lowers its counts leaves no reserved,
    // unwritten slots behind in the shared buffer.
    typename AppendResult::Enum Append(GeometryBuffer<V>& buffer)
    {
        if (!HasResult())
        {
            if (!Drawable())
                return AppendResult::Nothing;
            // Counts only go down, so this is enough room for the result; a
            // full buffer costs no generation.
            if (!HasRoom(buffer, vertexCount, IsIndexed() ? indexCount : vertexCount))
                return AppendResult::NoRoom;
            if (!EnsureResult())
                return AppendResult::Nothing;
        }
        if (!Drawable() || !vertices)
            return AppendResult::Nothing;
        const bool added = IsIndexed() ? buffer.AddIndexedStrip(vertices, vertexCount, indices, indexCount)
                                       : buffer.AddStrip(vertices, vertexCount);
        if (added)
        {
            pending = false;
            return AppendResult::Appended;
        }
        if (!HasRoom(buffer, vertexCount, IsIndexed() ? indexCount : vertexCount))
            return AppendResult::NoRoom;
        return AppendResult::Nothing;
    }

    void DrawOwn()
    {
        pending = false;
        if (!Drawable() || !vertices)
            return;
        if (IsIndexed())
        {
            if (!indices || !IndicesValid())
            {
                Vexel::Log::Error("geometry", "piece with an index past its %d vertices not drawn",
                             vertexCount);
                return;
            }
            DrawIndexedStrip(vertices, indices, 0, indexCount, V::GetFormat());
        }
        else
        {
            DrawArrayStrip(vertices, 0, vertexCount, V::GetFormat());
        }
    }

    // Moves the arrays and counts into a new geometry; this one is left
    // without a result.
    Geometry* MoveResultToNew()
    {
        Geometry* copy = new Geometry(vertices, vertexCount, indices, indexCount, texture, blendMode);
        vertices = nullptr;
        indices = nullptr;
        vertexCapacity = 0;
        indexCapacity = 0;
        generated = false;
        pending = false;
        return copy;
    }

    // Draws nothing: no arrays, one vertex, no generator.
    Geometry* NewEmpty() const { return new Geometry(1, 0, texture, blendMode); }
};

template <class V>
Geometry<V>::Geometry(int vertexCount, int indexCount, Texture const& texture, int blendMode)
    : impl(new Impl(vertexCount, indexCount, texture, blendMode))
{
}

template <class V>
Geometry<V>::Geometry(V* vertices, int vertexCount, uint16_t* indices, int indexCount, Texture const& texture,
                      int blendMode)
    : impl(new Impl(vertexCount, indexCount, texture, blendMode))
{
    impl->vertices = vertices;
    impl->indices = indices;
    impl->vertexCapacity = vertices ? impl->vertexCount : 0;
    impl->indexCapacity = indices ? impl->indexCount : 0;
    impl->generated = vertices != nullptr;
}

template <class V> Geometry<V>::~Geometry()
{
    impl->destroyed.Raise(this);
    delete[] impl->vertices;
    delete[] impl->indices;
    delete impl;
}

template <class V> void Geometry<V>::SetGenerator(Generator const& generator)
{
    impl->generator = generator;
    impl->hasGenerator = true;
}

template <class V> void Geometry<V>::Resize(int vertexCount, int indexCount)
{
    impl->vertexCount = vertexCount < 0 ? 0 : vertexCount;
    impl->indexCount = indexCount < 0 ? 0 : indexCount;
    impl->generated = false;
    impl->pending = false;
}

template <class V> V* Geometry<V>::GetVertices()
{
    return impl->generated ? impl->vertices : nullptr;
}

template <class V> void Geometry<V>::SetTexture(Texture const& texture)
{
    const Texture old = impl->texture;
    impl->texture = texture;
    impl->textureChanged.Raise(this, old, texture);
}

template <class V> Texture const& Geometry<V>::GetTexture() const
{
    return impl->texture;
}
template <class V> int Geometry<V>::GetBlendMode() const
{
    return impl->blendMode;
}
template <class V> int Geometry<V>::GetVertexCount() const
{
    return impl->vertexCount;
}
template <class V> int Geometry<V>::GetIndexCount() const
{
    return impl->indexCount;
}
template <class V> bool Geometry<V>::IsGenerated() const
{
    return impl->generated;
}

template <class V> bool Geometry<V>::AppendTo(GeometryBuffer<V>& buffer)
{
    return impl->Append(buffer) == AppendResult::Appended;
}

template <class V> void Geometry<V>::DrawTo()
{
    if (impl->EnsureResult())
        impl->DrawOwn();
}

template <class V> void Geometry<V>::DrawInto(GeometryBuffer<V>& buffer)
{
    if (impl->Append(buffer) != AppendResult::NoRoom)
        return;
    buffer.Draw();
    buffer.Reset();
    if (impl->Append(buffer) != AppendResult::NoRoom)
        return;
    // Larger than the whole buffer: on its own.
    DrawTo();
}

template <class V> Geometry<V>* Geometry<V>::Clone(bool steal)
{
    if (!impl->HasResult())
    {
        GenerationResponse::Enum response = impl->GenerateOwn();
        if (response == GenerationResponse::None)
            return impl->NewEmpty();
        impl->generated = response == GenerationResponse::Keep;
        impl->pending = !impl->generated;
    }
    const bool wasKept = impl->generated;
    Geometry* copy = impl->MoveResultToNew();
    if (!steal)
    {
        impl->EnsureCapacity();
        if (impl->vertexCount > 0)
            std::memcpy(static_cast<void*>(impl->vertices), copy->impl->vertices,
                        sizeof(V) * impl->vertexCount);
        if (impl->indexCount > 0 && copy->impl->indices)
            std::memcpy(impl->indices, copy->impl->indices, sizeof(uint16_t) * impl->indexCount);
        impl->generated = wasKept;
    }
    return copy;
}

template <class V> void Geometry<V>::EnsureCapacity()
{
    impl->EnsureCapacity();
}

template <class V> void Geometry<V>::Snapshot()
{
    impl->EnsureResult();
}

template <class V> Geometry<V>* Geometry<V>::TakeSnapshot()
{
    if (!impl->HasResult())
        return impl->NewEmpty();
    return impl->MoveResultToNew();
}

template <class V> Vexel::Event<Geometry<V>*, Texture const&, Texture const&>& Geometry<V>::TextureChanged()
{
    return impl->textureChanged;
}

template <class V> Vexel::Event<Geometry<V>*>& Geometry<V>::Destroyed()
{
    return impl->destroyed;
}

template class Geometry<VertexP2T2C>;

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
