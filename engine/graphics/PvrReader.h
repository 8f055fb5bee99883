// Legacy PVR texture files (52-byte header, first image only): 32-bit RGBA,
// or PVRTC at 4 or 2 bits per pixel with or without alpha.
#pragma once

#include "engine/graphics/TextureImage.h"

#include <cstddef>
#include <cstdint>

namespace Vexel
{
namespace Graphics
{

struct PvrReader
{
    static const uint32_t kTag = 0x21525650; // "PVR!" at byte 44
    static const uint32_t kMinHeaderLength = 52;

    // True with the image filled. False when the header is shorter than 52
    // bytes, the pixels run past the data, the image is empty, or the image
    // is PVRTC and allowCompressed is false (the context cannot take it).
    static bool Read(const uint8_t* data, size_t size, bool allowCompressed, TextureImage& image);
};

} // namespace Graphics
} // namespace Vexel
