// The interleaved vertex layouts: the format description handed to the raw
// strip draws, and the two vertex types the engine draws.
#pragma once

#include "engine/core/Color.h"

#include <cstdint>

namespace Vexel
{
namespace Graphics
{

// Byte offsets and component counts of one interleaved vertex. Positions and
// texture coordinates are GL_FLOAT; a colour is always four GL_UNSIGNED_BYTE.
struct VertexFormat
{
    int32_t stride;
    int32_t positionOffset;
    int32_t positionCount;
    int32_t texCoordOffset;
    int32_t texCoordCount;
    int32_t colorOffset; // -1: no colour

    constexpr VertexFormat(int32_t stride, int32_t positionOffset, int32_t positionCount,
                           int32_t texCoordOffset, int32_t texCoordCount, int32_t colorOffset)
        : stride(stride), positionOffset(positionOffset), positionCount(positionCount),
          texCoordOffset(texCoordOffset), texCoordCount(texCoordCount), colorOffset(colorOffset)
    {
    }

    // Constant-initialised, so usable from any static initialiser.
    static const VertexFormat P2T2C;
    static const VertexFormat P2T2;
    static const VertexFormat P2C;
    static const VertexFormat P2;
};

inline constexpr VertexFormat VertexFormat::P2T2C{20, 0, 2, 8, 2, 16};
inline constexpr VertexFormat VertexFormat::P2T2{16, 0, 2, 8, 2, -1};
inline constexpr VertexFormat VertexFormat::P2C{12, 0, 2, 0, 0, 8};
inline constexpr VertexFormat VertexFormat::P2{8, 0, 2, 0, 0, -1};

namespace Geometry
{

// The vertex of every batch: position, texture coordinate, colour (white by
// default).
struct VertexP2T2C
{
    float x, y;
    float u, v;
    Color color;

    VertexP2T2C() : x(0.0f), y(0.0f), u(0.0f), v(0.0f), color(255, 255, 255, 255) {}
    VertexP2T2C(float x, float y, float u, float v, Color color) : x(x), y(y), u(u), v(v), color(color) {}

    static VertexFormat GetFormat() { return VertexFormat::P2T2C; }
};

// Position and texture coordinate only (the splash quad).
struct VertexP2T2
{
    float x, y;
    float u, v;

    VertexP2T2() : x(0.0f), y(0.0f), u(0.0f), v(0.0f) {}
    VertexP2T2(float x, float y, float u, float v) : x(x), y(y), u(u), v(v) {}

    static VertexFormat GetFormat() { return VertexFormat::P2T2; }
};

static_assert(sizeof(VertexP2T2C) == 20, "VertexP2T2C must match its format");
static_assert(sizeof(VertexP2T2) == 16, "VertexP2T2 must match its format");

} // namespace Geometry
} // namespace Graphics
} // namespace Vexel
