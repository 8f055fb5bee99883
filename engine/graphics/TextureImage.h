// What a texture reader makes of encoded bytes: pixels ready for upload with
// their size and GL formats.
#pragma once

#include <cstdint>
#include <vector>

namespace Vexel
{
namespace Graphics
{

struct TextureImage
{
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t formatCode = 0;
    int bitsPerPixel = 32;
    uint32_t glFormat = 0;
    uint32_t glInternalFormat = 0;
    uint32_t glType = 0;

    // PVRTC internal formats go through glCompressedTexImage2D.
    bool IsCompressed() const { return glInternalFormat >= 0x8C00 && glInternalFormat <= 0x8C03; }
};

// Largest decoded image accepted from any reader: 8192 x 8192 at 4 bytes.
const uint64_t kMaxTexturePixelBytes = uint64_t(8192) * 8192 * 4;

} // namespace Graphics
} // namespace Vexel

namespace Vexel
{
namespace Graphics
{

// Little-endian words of file headers; the caller checks the bounds.
inline uint32_t ReadLittleEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline uint64_t ReadLittleEndian64(const uint8_t* p)
{
    return uint64_t(ReadLittleEndian32(p)) | (uint64_t(ReadLittleEndian32(p + 4)) << 32);
}

} // namespace Graphics
} // namespace Vexel
