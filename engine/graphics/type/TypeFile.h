// The ".type" bitmap font file: one bit-packed stream (most significant bit
// first) holding the face name, four metrics, the glyph records, the
// character map, the kerning pairs and, in its last bytes, an encoded
// texture. Parsing is separate from the typeface so that tools, tests and
// the fuzzer can read files without a texture cache or a thread pool.
//
// File layout: u32 magic "TFF1"; i32 total size (= the file length); the
// face name (5-bit length, 7-bit characters, at most 24); zero bits up to a
// byte boundary; i32 size, vertical offset, line spacing, character spacing;
// i32 glyph count and the glyph records; i32 character-map count and
// (u16 code, u16 glyph index) entries; i32 kerning count and (u32 pair key,
// i32 amount) entries; u16 reserved; i32 texture length; the texture is the
// last texture-length bytes of the file.
//
// A glyph record: u16 code, 1-bit blank, 15-bit advance; when not blank,
// seven u16: advance (replaces the first), x, y, u, v, w, h.
#pragma once

#include "engine/graphics/type/Glyph.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Vexel
{
namespace Graphics
{
namespace Type
{

struct TypeFile
{
    static constexpr uint32_t kMagic = 0x54464631; // "TFF1"
    static constexpr int kMaxNameLength = 24;
    static constexpr int kMinLength = 16;

    struct MapEntry
    {
        uint16_t code;
        uint16_t glyphIndex;
    };
    struct KerningEntry
    {
        uint32_t key; // (first code << 16) + second code
        float amount; // replaces the character spacing between the pair
    };

    std::string faceName;
    float size = 0.0f;
    float verticalOffset = 0.0f;
    float lineSpacing = 0.0f;
    float characterSpacing = 0.0f;
    // Texture coordinates still in texture pixels.
    std::vector<Glyph> glyphs;
    std::vector<MapEntry> characterMap;
    std::vector<KerningEntry> kerning;
    int textureOffset = 0;
    int textureLength = 0;

    // Parses the bytes of a file (null with a negative length: the file
    // could not be opened). Returns a TypeState: Ready, CannotOpen, BadFile
    // (short, wrong magic, a negative or impossible count, a map entry past
    // the glyphs, a non-positive size, fields running past the end, or a
    // texture that does not lie in the bytes after the tables) or
    // SizeMismatch. On failure the tables are left empty.
    int Read(const uint8_t* data, int length);

    void Clear();
};

} // namespace Type
} // namespace Graphics
} // namespace Vexel
