// Legacy PVR texture files (52-byte header, first image only): 32-bit RGBA,
// or PVRTC at 4 or 2 bits per pixel with or without alpha. The pixels
// taken are max(32, w * h * 4) bytes for 32 bits and the padded size of the
// compressed blocks for PVRTC, and must all lie inside the data.
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
    // bytes, the pixels run past the data, the image is empty, the bits per
    // pixel are neither 32, 4 nor 2, or the image is PVRTC and
    // allowCompressed is false (the context cannot take it).
    static bool Read(const uint8_t* data, size_t size, bool allowCompressed, TextureImage& image);

    // Bytes of a PVRTC image at 4 or 2 bits per pixel: its blocks cover at
    // least 8 x 8 pixels at 4 bits and 16 x 8 at 2 bits, so small images
    // still take 32 bytes.
    static uint64_t PvrtcByteCount(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
};

} // namespace Graphics
} // namespace Vexel
