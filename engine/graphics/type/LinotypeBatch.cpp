// The text batch: quads appended by the fonts, drawn as one indexed strip.
#include "engine/graphics/type/LinotypeBatch.h"

#include "engine/graphics/Texture.h"
#include "engine/graphics/type/LinotypeBatchImpl.h"

#include <algorithm>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

Geometry::VertexP2T2C* LinotypeBatch::Impl::AllocateQuad()
{
    if (characterCount >= capacity)
        return nullptr;
    // Our quads must stay one contiguous run for the draw range.
    if (buffer->GetIndexCount() != firstIndex + characterCount * kIndicesPerQuad)
        return nullptr;
    return buffer->AllocatePolygon(4);
}

LinotypeBatch::LinotypeBatch(int capacity) : impl(new Impl)
{
    capacity = std::max(0, capacity);
    impl->buffer = new Geometry::GeometryBuffer<Geometry::VertexP2T2C>(capacity, 0, 10);
    impl->capacity = capacity;
}

LinotypeBatch::LinotypeBatch(Geometry::GeometryBuffer<Geometry::VertexP2T2C>& buffer) : impl(new Impl)
{
    impl->buffer = &buffer;
    impl->shared = true;
    impl->firstIndex = buffer.GetIndexCount();
    impl->capacity = (buffer.GetIndexCapacity() - buffer.GetIndexCount()) / Impl::kIndicesPerQuad;
}

LinotypeBatch::~LinotypeBatch()
{
    if (!impl->shared)
        delete impl->buffer;
    delete impl;
}

void LinotypeBatch::Clear()
{
    if (impl->shared)
    {
        // Resetting the buffer would throw away its owner's geometry.
        impl->firstIndex = impl->buffer->GetIndexCount();
        impl->capacity =
            (impl->buffer->GetIndexCapacity() - impl->buffer->GetIndexCount()) / Impl::kIndicesPerQuad;
    }
    else
        impl->buffer->Reset();
    impl->characterCount = 0;
    impl->bounds = Rectangle();
    impl->dirty = true;
}

namespace
{

void PrepareTexture(LinotypeBatch::Impl& impl)
{
    if (!impl.dirty)
        return;
    if (impl.texture && !impl.texture->IsUploaded())
        impl.texture->EnsureUploaded();
    impl.dirty = false;
}

void BindTexture(LinotypeBatch::Impl const& impl)
{
    if (impl.texture)
        impl.texture->Bind();
    else
        Texture::Unbind();
}

} // namespace

void LinotypeBatch::Draw()
{
    PrepareTexture(*impl);
    if (impl->characterCount < 1)
        return;
    BindTexture(*impl);
    impl->buffer->DrawRange(impl->firstIndex, impl->characterCount * Impl::kIndicesPerQuad);
}

void LinotypeBatch::DrawRange(int start, int count)
{
    PrepareTexture(*impl);
    if (impl->characterCount < 1 || start < 0 || start >= impl->characterCount || count < 1)
        return;
    BindTexture(*impl);
    const int quads = std::min(impl->characterCount - start, count);
    impl->buffer->DrawRange(impl->firstIndex + start * Impl::kIndicesPerQuad, quads * Impl::kIndicesPerQuad);
}

Rectangle LinotypeBatch::GetBounds() const
{
    return impl->bounds;
}

ITypeface* LinotypeBatch::GetTypeface() const
{
    return impl->typeface;
}

int LinotypeBatch::GetCharacterCount() const
{
    return impl->characterCount;
}

int LinotypeBatch::GetCapacity() const
{
    return impl->capacity;
}

int LinotypeBatch::GetFirstIndex() const
{
    return impl->firstIndex;
}

bool LinotypeBatch::IsShared() const
{
    return impl->shared;
}

Texture* LinotypeBatch::GetTexture() const
{
    return impl->texture;
}

} // namespace Type
} // namespace Graphics
} // namespace Vexel
