// Sample textures in the engine's other two formats, for the texture
// readers' tests only (never installed into the game's data folder): the
// LZMA-packed raw format in each format code the reader lists, a refused
// one, and legacy PVR files (32-bit and PVRTC headers).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGen
{

// LZMA-alone stream (5 property bytes, u64 unpacked size, data) of `bytes`;
// the size field carries the real length. Empty on failure.
std::vector<uint8_t> LzmaAlone(std::vector<uint8_t> const& bytes);
// A whole raw texture file: magic 0x1000 then the LZMA-alone stream of the
// 16-byte header and pixels.
std::vector<uint8_t> RawTexture(uint32_t width, uint32_t height, uint32_t formatCode, uint32_t bytesPerPixel,
                                std::vector<uint8_t> const& pixels);
// A legacy 52-byte-header PVR file around the given payload.
std::vector<uint8_t> PvrTexture(uint32_t width, uint32_t height, uint32_t bitsPerPixel, bool alpha,
                                std::vector<uint8_t> const& payload);

// Writes the sample set into the directory; false with a message on error.
bool WriteTestTextures(std::string const& directory, std::string& error);

} // namespace AssetGen
