// libFuzzer target over the three texture readers (PNG, LZMA-packed raw,
// PVR): any bytes must be refused or give an image whose pixels match its
// size, without reading outside the data.
#include "engine/graphics/PngReader.h"
#include "engine/graphics/PvrReader.h"
#include "engine/graphics/RawTextureReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
using Vexel::Graphics::TextureImage;

void Check(bool accepted, TextureImage const& image)
{
    if (!accepted)
        return;
    if (image.width == 0 || image.height == 0 || image.pixels.empty() ||
        image.pixels.size() > Vexel::Graphics::kMaxTexturePixelBytes)
        abort();
    if (!image.IsCompressed())
    {
        const uint64_t needed = uint64_t(image.width) * image.height * uint64_t(image.bitsPerPixel) / 8;
        if (image.pixels.size() < needed)
            abort();
        return;
    }
    // PVRTC: 4 or 2 bits per pixel, and at least the padded blocks (8 x 8
    // pixels at 4 bits, 16 x 8 at 2 bits) that an upload hands to GL.
    if (image.bitsPerPixel != 4 && image.bitsPerPixel != 2)
        abort();
    const uint64_t w = std::max<uint64_t>(image.width, image.bitsPerPixel == 2 ? 16 : 8);
    const uint64_t h = std::max<uint64_t>(image.height, 8);
    if (image.pixels.size() < w * h * uint64_t(image.bitsPerPixel) / 8)
        abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so every overread is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const uint8_t* p = bytes.empty() ? nullptr : bytes.data();
    TextureImage png, raw, pvr, pvrtc;
    Check(Vexel::Graphics::PngReader::Read(p, size, png), png);
    Check(Vexel::Graphics::RawTextureReader::Read(p, size, raw), raw);
    Check(Vexel::Graphics::PvrReader::Read(p, size, false, pvr), pvr);
    Check(Vexel::Graphics::PvrReader::Read(p, size, true, pvrtc), pvrtc);
    return 0;
}
