// Builds ".type" font files for tests with its own little bit packer (not
// the engine's writer), so reader tests do not trust the code they check.
// Every field can be bent to make damaged files.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace TypeFileTesting
{

struct GlyphPlan
{
    uint16_t code;
    bool blank;
    int advance;
    int x, y, u, v, w, h;
    int firstAdvance = -1; // the 15-bit advance of a non-blank record; -1: the same
};

struct FilePlan
{
    uint32_t magic = 0x54464631;
    int sizeFieldDelta = 0; // added to the true length in the size field
    std::string name = "Test Face";
    int nameLengthField = -1; // -1: the name's length
    int32_t size = 20;
    int32_t verticalOffset = 16;
    int32_t lineSpacing = 24;
    int32_t characterSpacing = 2;
    std::vector<GlyphPlan> glyphs;
    std::vector<std::pair<uint16_t, uint16_t>> characterMap; // code, glyph index
    std::vector<std::pair<uint32_t, int32_t>> kerning;       // key, amount
    std::vector<uint8_t> texture;                            // encoded image
    // Overrides of the count fields (the records written stay as listed).
    bool overrideGlyphCount = false;
    int32_t glyphCount = 0;
    bool overrideMapCount = false;
    int32_t mapCount = 0;
    bool overrideKerningCount = false;
    int32_t kerningCount = 0;
    bool overrideTextureLength = false;
    int32_t textureLength = 0;
    // Bytes between the tables and the texture.
    std::vector<uint8_t> gap;
};

// A PNG of w x h white pixels whose alpha grows along x.
std::vector<uint8_t> MakePng(int width, int height);

std::vector<uint8_t> Build(FilePlan const& plan);

// The face most tests use: size 20, vertical offset 16, line spacing 24,
// spacing 2; glyphs A (advance 10), B (12), C (8), D (9), E (11), a blank
// space (5) and a blank non-breaking space (5, code 160); the pair A, B
// kerned to -1; a 32 x 16 PNG texture.
FilePlan StandardFace();

// A fresh empty directory under the system's temporary directory.
std::string MakeTempDirectory();
bool WriteFile(std::string const& path, std::vector<uint8_t> const& bytes);

// Writes the bytes to a new file of a per-process temporary directory
// (removed at exit) and returns its absolute path. Every call gives a new
// name: typefaces and textures are cached by name for the whole process.
std::string WriteTempFile(std::string const& stem, std::vector<uint8_t> const& bytes);
// That per-process directory.
std::string ScratchDirectoryPath();

} // namespace TypeFileTesting
