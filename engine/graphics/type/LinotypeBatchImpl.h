// The state of a text batch, written directly by the fonts' layout.
#pragma once

#include "engine/core/Rectangle.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/VertexFormat.h"
#include "engine/graphics/type/LinotypeBatch.h"

namespace Vexel
{
namespace Graphics
{

class Texture;

namespace Type
{

class ITypeface;

class LinotypeBatch::Impl
{
public:
    static constexpr int kIndicesPerQuad = 6;

    Geometry::GeometryBuffer<Geometry::VertexP2T2C>* buffer = nullptr;
    ITypeface* typeface = nullptr;
    Texture* texture = nullptr; // the face's, not owned
    Rectangle bounds;
    int characterCount = 0;
    int capacity = 0;
    int firstIndex = 0; // in indices, so a tail that starts mid-quad still draws right
    bool dirty = true;
    bool shared = false;

    // Room for one more quad, or null (the batch or the buffer is full, or
    // someone else wrote into a shared buffer after this batch's quads).
    Geometry::VertexP2T2C* AllocateQuad();
};

} // namespace Type
} // namespace Graphics
} // namespace Vexel
