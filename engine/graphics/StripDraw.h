// The two raw draws of the engine: client-memory arrays drawn as one
// GL_TRIANGLE_STRIP. Neither binds a texture nor touches the blend state;
// the client-array switches are restored to what they were before the call.
#pragma once

#include "engine/graphics/VertexFormat.h"

#include <cstdint>

namespace Vexel
{
namespace Graphics
{

// glDrawElements over indexCount 16-bit indices starting at indices[firstIndex].
void DrawIndexedStrip(const void* vertices, const uint16_t* indices, int firstIndex, int indexCount,
                      VertexFormat format);

// glDrawArrays over vertexCount vertices starting at firstVertex.
void DrawArrayStrip(const void* vertices, int firstVertex, int vertexCount, VertexFormat format);

} // namespace Graphics
} // namespace Vexel
