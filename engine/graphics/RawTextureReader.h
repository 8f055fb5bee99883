// The engine's own raw texture files: a 4-byte magic 0x00001000, then one
// LZMA-alone stream (5 property bytes, the u64 unpacked size, the packed
// data) that unpacks to u32 width, height, format code, bytes per pixel and
// the pixels as GL takes them. All integers little-endian.
#pragma once

#include "engine/graphics/TextureImage.h"

#include <cstddef>
#include <cstdint>

namespace Vexel
{
namespace Graphics
{

struct RawTextureReader
{
    static const uint32_t kMagic = 0x00001000;

    // The known format codes.
    static const uint32_t kRgba8888 = 0x2420FD;
    static const uint32_t kRgba8888b = 0x26200A;
    static const uint32_t kRgb888 = 0x18FC;
    static const uint32_t kBgr888 = 0x21808;
    static const uint32_t kLuminanceAlpha88 = 0x410FE;
    static const uint32_t kAlpha8 = 0x8FF;

    // True with the image filled. False for a bad magic, a stream that does
    // not end cleanly, a stated size that is missing or too large, a header
    // whose bytes per pixel disagree with its format code, pixels shorter
    // than the header says, an empty image or an unknown format code.
    static bool Read(const uint8_t* data, size_t size, TextureImage& image);

    // The GL upload parameters of a known code; false for an unknown one.
    static bool LookUpFormat(uint32_t formatCode, TextureImage& image);
};

} // namespace Graphics
} // namespace Vexel
