// A fixed-capacity vertex array and 16-bit index array in client memory. It
// hands out strips and convex polygons joined to what came before by
// degenerate indices, so everything written is drawn with one indexed
// triangle strip. Main thread only.
#pragma once

#include "engine/graphics/StripDraw.h"
#include "engine/graphics/VertexFormat.h"

#include <cassert>
#include <cstdint>
#include <cstring>

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{

template <class V> class GeometryBuffer
{
public:
    // 16-bit indices reach this many vertices; slots past it are never handed out.
    static const int kMaxAddressableVertices = 65536;

    // Fixed index counts of the primitive kinds of the sizing constructor.
    static int IndicesPerTriangle() { return 5; }
    static int IndicesPerPolygon(int k) { return k + 2; }
    static int IndicesPerQuad() { return 6; }

    // Owned arrays of exactly these sizes.
    GeometryBuffer(int vertexCapacity, int indexCapacity) { Initialize(vertexCapacity, indexCapacity, true); }

    // Arrays the caller owns and frees; the buffer only writes into them.
    GeometryBuffer(int vertexCapacity, int indexCapacity, V* vertices, uint16_t* indices)
    {
        Initialize(vertexCapacity, indexCapacity, false);
        this->vertices = vertices;
        this->indices = indices;
    }

    // Owned arrays sized for count primitives: kind 1 triangles, kind 2
    // polygons of k vertices, any other kind quads.
    GeometryBuffer(int count, int kind, int k)
    {
        if (count < 0)
            count = 0;
        if (kind == 1)
            Initialize(count * 3, count * IndicesPerTriangle(), true);
        else if (kind == 2)
            Initialize(count * k, count * IndicesPerPolygon(k), true);
        else
            Initialize(count * 4, count * IndicesPerQuad(), true);
    }

    ~GeometryBuffer() { Release(); }

    GeometryBuffer(const GeometryBuffer&) = delete;
    GeometryBuffer& operator=(const GeometryBuffer&) = delete;

    // Empties the buffer with new capacities; arrays owned before are freed.
    void Initialize(int vertexCapacity, int indexCapacity, bool allocate)
    {
        Release();
        if (vertexCapacity < 0)
            vertexCapacity = 0;
        if (indexCapacity < 0)
            indexCapacity = 0;
        lastIndex = 0;
        this->vertexCapacity = vertexCapacity;
        verticesLeft = vertexCapacity;
        this->indexCapacity = indexCapacity;
        indicesLeft = indexCapacity;
        owns = allocate;
        if (allocate)
        {
            vertices = new V[vertexCapacity];
            indices = new uint16_t[indexCapacity]();
        }
    }

    // Reserves n vertices and n + 2 indices: the previous last index, then
    // the first new vertex twice, then the rest in order. Returns the first
    // of the n vertices, to be filled in strip order, or null when full.
    V* AllocateStrip(int n)
    {
        if (n < 1 || verticesLeft < n || indicesLeft < n + 2 || !Addressable(n))
            return nullptr;
        const int base = vertexCapacity - verticesLeft;
        const int written = indexCapacity - indicesLeft;
        if (base < 0 || written < 0)
            return nullptr; // never: the counts stay within their capacities
        uint16_t* out = indices + written;
        *out++ = lastIndex;
        *out++ = uint16_t(base);
        for (int i = 0; i < n; ++i)
            *out++ = uint16_t(base + i);
        lastIndex = uint16_t(base + n - 1);
        verticesLeft -= n;
        indicesLeft -= n + 2;
        return vertices + base;
    }

    bool AddStrip(const V* source, int n)
    {
        if (n < 3 || !source)
            return false;
        V* target = AllocateStrip(n);
        if (!target)
            return false;
        for (int i = 0; i < n; ++i)
            target[i] = source[i];
        return true;
    }

    // Copies vertexCount vertices and appends the strip indices, offset to
    // where the vertices landed. Indices must address the copied vertices.
    bool AddIndexedStrip(const V* source, int vertexCount, const uint16_t* sourceIndices, int indexCount)
    {
        if (!source || !sourceIndices || vertexCount < 1 || indexCount < 1)
            return false;
        if (verticesLeft < vertexCount || indicesLeft < indexCount + 2 || !Addressable(vertexCount))
            return false;
        for (int i = 0; i < indexCount; ++i)
        {
            // An index past the piece would make GL read outside our array.
            if (sourceIndices[i] >= vertexCount)
                return false;
        }
        const int base = vertexCapacity - verticesLeft;
        const int written = indexCapacity - indicesLeft;
        if (base < 0 || written < 0)
            return false; // never: the counts stay within their capacities
        for (int i = 0; i < vertexCount; ++i)
            vertices[base + i] = source[i];
        uint16_t* out = indices + written;
        *out++ = lastIndex;
        *out++ = uint16_t(sourceIndices[0] + base);
        for (int i = 0; i < indexCount; ++i)
            *out++ = uint16_t(sourceIndices[i] + base);
        lastIndex = uint16_t(sourceIndices[indexCount - 1] + base);
        verticesLeft -= vertexCount;
        indicesLeft -= indexCount + 2;
        return true;
    }

    // A convex polygon of n >= 3 vertices given in order along its edge,
    // drawn as a fan from its first vertex. Needs n + 2 * (n / 3) indices.
    V* AllocatePolygon(int n)
    {
        if (n < 3)
            return nullptr;
        const int need = n + 2 * (n / 3);
        if (verticesLeft < n || indicesLeft < need || !Addressable(n))
            return nullptr;
        const int base = vertexCapacity - verticesLeft;
        const int written = indexCapacity - indicesLeft;
        if (base < 0 || written < 0)
            return nullptr; // never: the counts stay within their capacities
        uint16_t* out = indices + written;
        uint16_t* const start = out;
        *out++ = lastIndex;
        int c = base + 1;
        *out++ = uint16_t(c);
        for (int k = n - 3; k >= 0; k -= 3)
        {
            if (k == 0)
            {
                *out++ = uint16_t(c);
                *out++ = uint16_t(c + 1);
                *out++ = uint16_t(base);
                c += 1;
            }
            else if (k == 1)
            {
                *out++ = uint16_t(c);
                *out++ = uint16_t(c + 1);
                *out++ = uint16_t(base);
                *out++ = uint16_t(c + 2);
                c += 2;
            }
            else
            {
                *out++ = uint16_t(c);
                *out++ = uint16_t(c + 1);
                *out++ = uint16_t(base);
                *out++ = uint16_t(c + 2);
                *out++ = uint16_t(c + 3);
                c += 3;
            }
        }
        assert(out - start == need);
        (void)start;
        lastIndex = out[-1];
        verticesLeft -= n;
        indicesLeft -= need;
        return vertices + base;
    }

    int GetIndexCount() const { return indexCapacity - indicesLeft; }
    int GetIndexCapacity() const { return indexCapacity; }
    int GetVertexCount() const { return vertexCapacity - verticesLeft; }
    int GetVertexCapacity() const { return vertexCapacity; }
    uint16_t GetLastIndex() const { return lastIndex; }
    V* GetVertices() const { return vertices; }
    uint16_t* GetIndices() const { return indices; }

    // Empties the buffer; the arrays stay.
    void Reset()
    {
        lastIndex = 0;
        verticesLeft = vertexCapacity;
        indicesLeft = indexCapacity;
    }

    // Everything written, as one strip; nothing when empty.
    void Draw() const
    {
        const int written = GetIndexCount();
        if (written < 1)
            return;
        DrawIndexedStrip(vertices, indices, 0, written, V::GetFormat());
    }

    // Indices first .. first + count - 1, cut to what was written.
    void DrawRange(int first, int count) const
    {
        const int written = GetIndexCount();
        if (written < 1 || first < 0 || first >= written)
            return;
        if (count > written - first)
            count = written - first;
        if (count < 1)
            return;
        DrawIndexedStrip(vertices, indices, first, count, V::GetFormat());
    }

private:
    // The n new vertices stay within reach of 16-bit indices.
    bool Addressable(int n) const { return (vertexCapacity - verticesLeft) + n <= kMaxAddressableVertices; }

    void Release()
    {
        if (owns)
        {
            delete[] vertices;
            delete[] indices;
        }
        vertices = nullptr;
        indices = nullptr;
        owns = false;
    }

    bool owns = false;
    V* vertices = nullptr;
    int verticesLeft = 0;
    int vertexCapacity = 0;
    uint16_t* indices = nullptr;
    int indicesLeft = 0;
    int indexCapacity = 0;
    uint16_t lastIndex = 0;
};

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
