#include "engine/graphics/PngReader.h"

#include "engine/graphics/GL.h"

#include <lodepng.h>

namespace Vexel
{
namespace Graphics
{

namespace
{
const uint64_t kMaxDeflateRatio = 1100;
} // namespace

bool PngReader::Read(const uint8_t* data, size_t size, TextureImage& image)
{
    if (!data || size == 0)
        return false;
    // Look at the header first: a file may claim any size.
    unsigned width = 0;
    unsigned height = 0;
    LodePNGState state;
    lodepng_state_init(&state);
    const unsigned inspectError = lodepng_inspect(&width, &height, &state, data, size);
    const unsigned bitsPerPixel = inspectError == 0 ? lodepng_get_bpp(&state.info_png.color) : 0;
    lodepng_state_cleanup(&state);
    if (inspectError != 0 || width == 0 || height == 0)
        return false;
    if (uint64_t(width) * height * 4 > kMaxTexturePixelBytes)
        return false;
    // Deflate expands at most about 1032 times: a file far too small for the
    // image it claims is refused before the decoder allocates that image.
    const uint64_t filteredBytes = uint64_t(height) * (1 + (uint64_t(width) * bitsPerPixel + 7) / 8);
    if (filteredBytes > uint64_t(size) * kMaxDeflateRatio)
        return false;

    std::vector<unsigned char> pixels; // lodepng::decode appends
    if (lodepng::decode(pixels, width, height, data, size) != 0)
        return false;
    if (pixels.size() != size_t(width) * height * 4)
        return false;

    image.pixels.swap(pixels);
    image.width = width;
    image.height = height;
    image.formatCode = kFormatCode;
    image.glFormat = GL_RGBA;
    image.glInternalFormat = GL_RGBA;
    image.glType = GL_UNSIGNED_BYTE;
    return true;
}

} // namespace Graphics
} // namespace Vexel
