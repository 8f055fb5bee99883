// PNG texture files, decoded by LodePNG to 32-bit RGBA (format code 0x200000).
#pragma once

#include "engine/graphics/TextureImage.h"

#include <cstddef>
#include <cstdint>

namespace Vexel
{
namespace Graphics
{

struct PngReader
{
    static const uint32_t kFormatCode = 0x200000;

    // True with the image filled; false (image untouched) for anything the
    // decoder refuses or an image past kMaxTexturePixelBytes.
    static bool Read(const uint8_t* data, size_t size, TextureImage& image);
};

} // namespace Graphics
} // namespace Vexel
