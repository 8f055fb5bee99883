#include "engine/graphics/StripDraw.h"

#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"

namespace Vexel
{
namespace Graphics
{

namespace
{
// An address offset from the vertices; for an absent colour (-1) it lies
// before them and is never read, so it is computed without pointer arithmetic.
const void* Offset(const void* vertices, int offset)
{
    return reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(vertices) + intptr_t(offset));
}

// Enables the arrays the format has and points all three at the vertices
// (also those that stay off). Returns the switches to restore.
ClientArrayState Prepare(const void* vertices, VertexFormat const& format)
{
    const ClientArrayState saved = RenderState::GetClientArrays();
    // A colour is enabled only for a positive offset: no layout starts with it.
    RenderState::SetClientArrays(format.positionCount > 0, format.colorOffset > 0, format.texCoordCount > 0);
    GL::VertexPointer(format.positionCount, GL_FLOAT, format.stride, Offset(vertices, format.positionOffset));
    GL::TexCoordPointer(format.texCoordCount, GL_FLOAT, format.stride,
                        Offset(vertices, format.texCoordOffset));
    GL::ColorPointer(4, GL_UNSIGNED_BYTE, format.stride, Offset(vertices, format.colorOffset));
    return saved;
}
} // namespace

void DrawIndexedStrip(const void* vertices, const uint16_t* indices, int firstIndex, int indexCount,
                      VertexFormat format)
{
    const ClientArrayState saved = Prepare(vertices, format);
    GL::DrawElements(GL_TRIANGLE_STRIP, indexCount, GL_UNSIGNED_SHORT, indices + firstIndex);
    RenderState::SetClientArrays(saved);
}

void DrawArrayStrip(const void* vertices, int firstVertex, int vertexCount, VertexFormat format)
{
    const ClientArrayState saved = Prepare(vertices, format);
    GL::DrawArrays(GL_TRIANGLE_STRIP, firstVertex, vertexCount);
    RenderState::SetClientArrays(saved);
}

} // namespace Graphics
} // namespace Vexel
