#include "tools/assetgen/TestTextures.h"

#include "tools/assetgen/AtlasBuilder.h"

#include <lzma.h>

#include <fstream>

namespace AssetGen
{

namespace
{

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

bool WriteFile(std::string const& path, std::vector<uint8_t> const& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<char const*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(f);
}

// A recognisable test card: four coloured quadrants with a diagonal ramp.
std::vector<uint8_t> Card(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> px;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
        {
            bool right = x >= w / 2, bottom = y >= h / 2;
            px.push_back(right ? 255 : 0);
            px.push_back(bottom ? 255 : 0);
            px.push_back(uint8_t((x + y) * 255 / (w + h - 2)));
            px.push_back(uint8_t(255 - (x * 255 / (w - 1)) / 2));
        }
    return px;
}

std::vector<uint8_t> Channels(std::vector<uint8_t> const& rgba, std::vector<int> const& pick)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4)
        for (int c : pick)
            out.push_back(rgba[i + size_t(c)]);
    return out;
}

} // namespace

std::vector<uint8_t> LzmaAlone(std::vector<uint8_t> const& bytes)
{
    // Tiny inputs: a small dictionary keeps the encoder's tables small.
    lzma_options_lzma options;
    if (lzma_lzma_preset(&options, 0) != 0)
        return {};
    options.dict_size = 64 * 1024;
    lzma_stream strm = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&strm, &options) != LZMA_OK)
        return {};
    std::vector<uint8_t> out(bytes.size() + bytes.size() / 2 + 1024);
    strm.next_in = bytes.data();
    strm.avail_in = bytes.size();
    strm.next_out = out.data();
    strm.avail_out = out.size();
    lzma_ret ret = lzma_code(&strm, LZMA_FINISH);
    size_t written = out.size() - strm.avail_out;
    lzma_end(&strm);
    if (ret != LZMA_STREAM_END || written < 13)
        return {};
    out.resize(written);
    // The encoder writes "size unknown" (all ones); readers want the length.
    uint64_t n = bytes.size();
    for (int i = 0; i < 8; ++i)
        out[size_t(5 + i)] = uint8_t(n >> (8 * i));
    return out;
}

std::vector<uint8_t> RawTexture(uint32_t width, uint32_t height, uint32_t formatCode, uint32_t bytesPerPixel,
                                std::vector<uint8_t> const& pixels)
{
    std::vector<uint8_t> body;
    PutU32(body, width);
    PutU32(body, height);
    PutU32(body, formatCode);
    PutU32(body, bytesPerPixel);
    body.insert(body.end(), pixels.begin(), pixels.end());
    std::vector<uint8_t> stream = LzmaAlone(body);
    if (stream.empty())
        return {};
    std::vector<uint8_t> out;
    PutU32(out, 0x1000);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

std::vector<uint8_t> PvrTexture(uint32_t width, uint32_t height, uint32_t bits, bool alpha,
                                std::vector<uint8_t> const& payload)
{
    std::vector<uint8_t> out;
    PutU32(out, 52);                          // header length
    PutU32(out, height);                      // word 1
    PutU32(out, width);                       // word 2
    PutU32(out, 0);                           // mip count
    PutU32(out, bits == 32 ? 0x8012 : 0x18);  // flags | pixel type (informative only)
    PutU32(out, uint32_t(payload.size()));    // data size
    PutU32(out, bits);                        // word 6
    PutU32(out, bits == 32 ? 0x000000ff : 0); // red mask
    PutU32(out, bits == 32 ? 0x0000ff00 : 0); // green mask
    PutU32(out, bits == 32 ? 0x00ff0000 : 0); // blue mask
    PutU32(out, alpha ? 0xff000001u : 0);     // alpha mask: low bit = has alpha
    PutU32(out, 0x21525650);                  // "PVR!"
    PutU32(out, 1);                           // surfaces
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

bool WriteTestTextures(std::string const& dir, std::string& error)
{
    const uint32_t w = 8, h = 4;
    std::vector<uint8_t> rgba = Card(w, h);
    struct File
    {
        std::string name;
        std::vector<uint8_t> bytes;
    };
    std::vector<File> files = {
        {"raw_rgba_2420fd.raw", RawTexture(w, h, 0x2420FD, 4, rgba)},
        {"raw_rgba_26200a.raw", RawTexture(w, h, 0x26200A, 4, rgba)},
        {"raw_rgb_18fc.raw", RawTexture(w, h, 0x18FC, 3, Channels(rgba, {0, 1, 2}))},
        {"raw_bgr_21808.raw", RawTexture(w, h, 0x21808, 3, Channels(rgba, {2, 1, 0}))},
        {"raw_la_410fe.raw", RawTexture(w, h, 0x410FE, 2, Channels(rgba, {2, 3}))},
        {"raw_alpha_8ff.raw", RawTexture(w, h, 0x8FF, 1, Channels(rgba, {3}))},
        // Not a listed format code: decodes to nothing.
        {"raw_unknown_code.raw", RawTexture(w, h, 0x1234, 4, rgba)},
        // Header promises more pixels than the stream holds.
        {"raw_short.raw", RawTexture(w, h, 0x2420FD, 4, std::vector<uint8_t>(rgba.begin(), rgba.end() - 4))},
        {"pvr_rgba32.pvr", PvrTexture(w, h, 32, true, rgba)},
        {"pvr_pvrtc4_alpha.pvr", PvrTexture(8, 8, 4, true, std::vector<uint8_t>(32, 0x55))},
        {"pvr_pvrtc2_alpha.pvr", PvrTexture(4, 4, 2, true, std::vector<uint8_t>(32, 0xAA))},
        {"pvr_pvrtc4_opaque.pvr", PvrTexture(8, 8, 4, false, std::vector<uint8_t>(32, 0x33))},
        // Header claims more pixel data than the file has.
        {"pvr_truncated.pvr", PvrTexture(64, 64, 32, true, std::vector<uint8_t>(16, 0))},
    };
    for (auto const& f : files)
        if (f.bytes.empty() || !WriteFile(dir + "/" + f.name, f.bytes))
        {
            error = "cannot write " + dir + "/" + f.name;
            return false;
        }
    return WritePng(dir + "/png_rgba.png", rgba, int(w), int(h), error);
}

} // namespace AssetGen
