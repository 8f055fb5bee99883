// One glyph of a typeface: a textured quad relative to the pen and an
// advance, both in face pixels. Texture coordinates are normalised once the
// face's texture size is known.
#pragma once

#include "engine/graphics/VertexFormat.h"

#include <cstdint>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

struct Glyph
{
    uint16_t code;
    bool blank;    // no image (a space): advances the pen, adds no quad
    float advance; // face pixels
    // Top-left, top-right, bottom-right, bottom-left; opaque white.
    Geometry::VertexP2T2C vertices[4];

    explicit Glyph(uint16_t code = 0) : code(code), blank(true), advance(0.0f) {}
};

} // namespace Type
} // namespace Graphics
} // namespace Vexel
