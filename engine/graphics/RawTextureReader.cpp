#include "engine/graphics/RawTextureReader.h"

#include "engine/graphics/GL.h"

#include <lzma.h>

#include <algorithm>
#include <cstring>

namespace Vexel
{
namespace Graphics
{

namespace
{
const size_t kStreamHeaderSize = 13; // 5 property bytes and the u64 unpacked size
const size_t kImageHeaderSize = 16;
const uint64_t kMaxUnpackedSize = kImageHeaderSize + kMaxTexturePixelBytes;
// The dictionary is cut to the unpacked size (below), so this covers the
// largest image accepted plus the decoder's own tables.
const uint64_t kDecoderMemoryLimit = kMaxUnpackedSize + (uint64_t(16) << 20);
const size_t kFirstChunk = size_t(64) << 10;
const uint64_t kMinDictionary = 4096;

struct FormatRow
{
    uint32_t code;
    uint32_t glFormat;
    uint32_t glInternalFormat;
    int bitsPerPixel;
};

const FormatRow kFormats[] = {
    {RawTextureReader::kRgba8888, GL_RGBA, GL_RGBA, 32},
    {RawTextureReader::kRgba8888b, GL_RGBA, GL_RGBA, 32},
    {RawTextureReader::kRgb888, GL_RGB, GL_RGB, 24},
    {RawTextureReader::kBgr888, GL::kBgr, GL_RGB, 24},
    {RawTextureReader::kLuminanceAlpha88, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, 16},
    // Internal GL_ALPHA: ES 1.1 refuses a mismatched internal format.
    {RawTextureReader::kAlpha8, GL_ALPHA, GL_ALPHA, 8},
};

// The whole LZMA-alone stream, or false. Only a clean end of stream counts:
// a truncated stream stops with LZMA_OK. The output grows with what really
// unpacks, so a small file claiming a huge size costs little.
bool Unpack(const uint8_t* stream, size_t size, std::vector<uint8_t>& out)
{
    if (size < kStreamHeaderSize)
        return false;
    const uint64_t unpackedSize = ReadLittleEndian64(stream + 5);
    // All ones means "size not stated".
    if (unpackedSize == UINT64_MAX || unpackedSize < kImageHeaderSize || unpackedSize > kMaxUnpackedSize)
        return false;

    // The decoder never looks further back than the unpacked size, so a
    // larger stated dictionary is cut to it: an encoder's 8 MiB default
    // costs nothing for a small image, and a hostile 4 GiB claim cannot
    // make us allocate it.
    std::vector<uint8_t> patched(stream, stream + size);
    const uint32_t dictionary = ReadLittleEndian32(stream + 1);
    const uint64_t needed = std::max<uint64_t>(kMinDictionary, unpackedSize);
    if (dictionary > needed)
    {
        for (int i = 0; i < 4; ++i)
            patched[1 + i] = uint8_t(needed >> (8 * i));
    }

    lzma_stream lzma = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&lzma, kDecoderMemoryLimit) != LZMA_OK)
        return false;
    out.resize(size_t(std::min<uint64_t>(unpackedSize, kFirstChunk)));
    lzma.next_in = patched.data();
    lzma.avail_in = patched.size();
    lzma.next_out = out.data();
    lzma.avail_out = out.size();
    lzma_ret result = LZMA_OK;
    for (;;)
    {
        const size_t inBefore = lzma.avail_in;
        const size_t outBefore = lzma.avail_out;
        result = lzma_code(&lzma, LZMA_FINISH);
        if (result != LZMA_OK)
            break;
        if (lzma.avail_out == 0 && out.size() < unpackedSize)
        {
            const size_t written = out.size();
            out.resize(size_t(std::min<uint64_t>(unpackedSize, uint64_t(written) * 2)));
            lzma.next_out = out.data() + written;
            lzma.avail_out = out.size() - written;
            continue;
        }
        if (lzma.avail_in == inBefore && lzma.avail_out == outBefore)
            break; // no progress: the stream is cut short
    }
    const size_t produced = out.size() - lzma.avail_out;
    lzma_end(&lzma);
    if (result != LZMA_STREAM_END)
        return false;
    out.resize(produced);
    return true;
}
} // namespace

bool RawTextureReader::LookUpFormat(uint32_t formatCode, TextureImage& image)
{
    for (FormatRow const& row : kFormats)
    {
        if (row.code != formatCode)
            continue;
        image.formatCode = formatCode;
        image.glFormat = row.glFormat;
        image.glInternalFormat = row.glInternalFormat;
        image.glType = GL_UNSIGNED_BYTE;
        image.bitsPerPixel = row.bitsPerPixel;
        return true;
    }
    return false;
}

bool RawTextureReader::Read(const uint8_t* data, size_t size, TextureImage& image)
{
    if (!data || size < 8 || ReadLittleEndian32(data) != kMagic)
        return false;
    std::vector<uint8_t> unpacked;
    if (!Unpack(data + 4, size - 4, unpacked) || unpacked.size() < kImageHeaderSize)
        return false;

    const uint32_t width = ReadLittleEndian32(unpacked.data());
    const uint32_t height = ReadLittleEndian32(unpacked.data() + 4);
    const uint32_t formatCode = ReadLittleEndian32(unpacked.data() + 8);
    const uint32_t bytesPerPixel = ReadLittleEndian32(unpacked.data() + 12);

    TextureImage result;
    if (!LookUpFormat(formatCode, result))
        return false;
    // The copy goes by the table's bits, the size test by the header's bytes:
    // they must agree.
    if (uint64_t(bytesPerPixel) * 8 != uint64_t(result.bitsPerPixel))
        return false;
    if (width == 0 || height == 0 || width > kMaxTexturePixelBytes || height > kMaxTexturePixelBytes)
        return false;
    const uint64_t pixelBytes = uint64_t(width) * height * bytesPerPixel;
    if (pixelBytes > kMaxTexturePixelBytes || unpacked.size() - kImageHeaderSize < pixelBytes)
        return false;

    result.width = width;
    result.height = height;
    result.pixels.assign(unpacked.begin() + kImageHeaderSize,
                         unpacked.begin() + kImageHeaderSize + pixelBytes);
    image = std::move(result);
    return true;
}

} // namespace Graphics
} // namespace Vexel
