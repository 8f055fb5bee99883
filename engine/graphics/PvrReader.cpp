#include "engine/graphics/PvrReader.h"

#include "engine/graphics/GL.h"

#include <algorithm>

namespace Vexel
{
namespace Graphics
{

uint64_t PvrReader::PvrtcByteCount(uint32_t width, uint32_t height, uint32_t bitsPerPixel)
{
    // The blocks cover at least 8 x 8 pixels at 4 bits and 16 x 8 at 2 bits.
    const uint64_t blockWidth = bitsPerPixel == 2 ? 16 : 8;
    const uint64_t w = std::max<uint64_t>(width, blockWidth);
    const uint64_t h = std::max<uint64_t>(height, 8);
    return w * h * bitsPerPixel / 8;
}

bool PvrReader::Read(const uint8_t* data, size_t size, bool allowCompressed, TextureImage& image)
{
    if (!data || size < kMinHeaderLength || ReadLittleEndian32(data + 44) != kTag)
        return false;
    const uint32_t headerLength = ReadLittleEndian32(data);
    const uint32_t height = ReadLittleEndian32(data + 4);
    const uint32_t width = ReadLittleEndian32(data + 8);
    const uint32_t bitsPerPixel = ReadLittleEndian32(data + 24);
    const bool hasAlpha = (data[40] & 1) != 0;
    if (headerLength < kMinHeaderLength || width == 0 || height == 0)
        return false;
    if (width > kMaxTexturePixelBytes || height > kMaxTexturePixelBytes || bitsPerPixel > 32)
        return false;

    TextureImage result;
    result.width = width;
    result.height = height;
    result.bitsPerPixel = int(bitsPerPixel);
    if (bitsPerPixel == 32)
    {
        result.formatCode = 0x2420FD;
        result.glFormat = GL_RGBA;
        result.glInternalFormat = GL_RGBA;
        result.glType = GL_UNSIGNED_BYTE;
    }
    else
    {
        // PVRTC exists at 4 and 2 bits per pixel only: any other count is no
        // image this reader can size.
        if (bitsPerPixel != 4 && bitsPerPixel != 2)
            return false;
        // A context without PVRTC cannot show the image at all.
        if (!allowCompressed)
            return false;
        uint32_t pvrtc;
        if (hasAlpha)
            pvrtc = bitsPerPixel == 4 ? GL::kCompressedRgbaPvrtc4 : GL::kCompressedRgbaPvrtc2;
        else
            pvrtc = bitsPerPixel == 4 ? GL::kCompressedRgbPvrtc4 : GL::kCompressedRgbPvrtc2;
        result.formatCode = 0;
        result.glFormat = pvrtc;
        result.glInternalFormat = pvrtc;
        result.glType = pvrtc;
    }
    const uint64_t copySize = bitsPerPixel == 32 ? std::max<uint64_t>(32, uint64_t(width) * height * 4)
                                                 : PvrtcByteCount(width, height, bitsPerPixel);
    if (copySize > kMaxTexturePixelBytes || uint64_t(headerLength) + copySize > size)
        return false;
    result.pixels.assign(data + headerLength, data + headerLength + copySize);
    image = std::move(result);
    return true;
}

} // namespace Graphics
} // namespace Vexel
