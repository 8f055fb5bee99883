// Generate-then-load round trip of the game's two fonts: the generator's
// writer and the engine's reader must agree, and the files must match what
// FreeType itself says about DejaVu Sans at the size the generator renders.
#include "engine/core/Rectangle.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/TypeFile.h"
#include "engine/graphics/type/Typeface.h"
#include "tests/graphics/TypeFileBuilder.h"
#include "tools/assetgen/FontGenerator.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>
#include <lodepng.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace Vexel::Graphics;
using Vexel::Rectangle;
using namespace Vexel::Graphics::Type;

namespace
{


std::vector<uint8_t> ReadBytes(std::string const& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Generated
{
    std::string directory;
    std::vector<uint8_t> plainBytes, outlineBytes;
    TypeFile plain, outline;
    std::vector<uint8_t> plainPixels, outlinePixels;
    unsigned width = 0, height = 0;
};

// Generated once for the whole suite.
Generated const& Fonts()
{
    static Generated* generated = []
    {
        Generated* g = new Generated;
        g->directory = TypeFileTesting::ScratchDirectoryPath();
        EXPECT_TRUE(GenerateFonts(g->directory));
        g->plainBytes = ReadBytes(g->directory + "/SegoeUI_24pt.type");
        g->outlineBytes = ReadBytes(g->directory + "/SegoeUI_24pt_outline.type");
        EXPECT_EQ(TypeState::Ready, g->plain.Read(g->plainBytes.data(), int(g->plainBytes.size())));
        EXPECT_EQ(TypeState::Ready, g->outline.Read(g->outlineBytes.data(), int(g->outlineBytes.size())));
        unsigned w = 0, h = 0;
        lodepng::decode(g->plainPixels, g->width, g->height, g->plainBytes.data() + g->plain.textureOffset,
                        size_t(g->plain.textureLength));
        lodepng::decode(g->outlinePixels, w, h, g->outlineBytes.data() + g->outline.textureOffset,
                        size_t(g->outline.textureLength));
        EXPECT_EQ(g->width, w);
        EXPECT_EQ(g->height, h);
        return g;
    }();
    return *generated;
}

// FreeType's own view of the font, for comparison.
class Reference
{
public:
    Reference()
    {
        FT_Init_FreeType(&library);
        const std::string path = FindFontFile();
        EXPECT_EQ(0, FT_New_Face(library, path.c_str(), 0, &face)) << path;
        FT_Set_Pixel_Sizes(face, FT_UInt(kFontRenderWidth), FT_UInt(kFontRenderHeight));
    }
    ~Reference()
    {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    int Advance(int code)
    {
        FT_Load_Char(face, FT_ULong(code), FT_LOAD_TARGET_LIGHT);
        return int((face->glyph->advance.x + 32) >> 6);
    }
    int Kerning(int a, int b)
    {
        FT_Vector k{0, 0};
        FT_Get_Kerning(face, FT_Get_Char_Index(face, FT_ULong(a)), FT_Get_Char_Index(face, FT_ULong(b)),
                       FT_KERNING_DEFAULT, &k);
        return int((k.x + 32) >> 6);
    }
    int Ascent() const { return int(face->size->metrics.ascender >> 6); }
    int LineSpacing() const { return int(face->size->metrics.height >> 6); }
    bool Has(int code) { return FT_Get_Char_Index(face, FT_ULong(code)) != 0; }
    // Sum of the rendered coverage of a character.
    long Ink(int code)
    {
        FT_Load_Char(face, FT_ULong(code), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT);
        FT_Bitmap const& b = face->glyph->bitmap;
        long sum = 0;
        for (unsigned y = 0; y < b.rows; ++y)
            for (unsigned x = 0; x < b.width; ++x)
                sum += b.buffer[int(y) * b.pitch + int(x)];
        return sum;
    }

    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

TypeFile::MapEntry const* FindEntry(TypeFile const& file, int code)
{
    for (TypeFile::MapEntry const& e : file.characterMap)
        if (e.code == code)
            return &e;
    return nullptr;
}

} // namespace

TEST(FontGeneratorTest, MetricsFollowTheFont)
{
    Generated const& g = Fonts();
    Reference ft;
    EXPECT_EQ(float(kFontNominalSize), g.plain.size);
    // Text laid out from its baseline sits kFontBaselineDrop lower.
    EXPECT_EQ(float(ft.Ascent() - kFontBaselineDrop), g.plain.verticalOffset);
    EXPECT_EQ(float(ft.LineSpacing()), g.plain.lineSpacing);
    // Rendered smaller than the face they are named for: a capital stays
    // inside the nominal size with room for the outline ring.
    EXPECT_LT(float(ft.Ascent()), 0.92f * float(kFontNominalSize));
    EXPECT_EQ(0.0f, g.plain.characterSpacing);
    EXPECT_EQ("DejaVu Sans 48", g.plain.faceName);
    EXPECT_EQ("DejaVu Sans 48 Outline", g.outline.faceName);
}

TEST(FontGeneratorTest, BothFilesShareTheirTables)
{
    Generated const& g = Fonts();
    ASSERT_EQ(g.plain.glyphs.size(), g.outline.glyphs.size());
    for (size_t i = 0; i < g.plain.glyphs.size(); ++i)
    {
        EXPECT_EQ(g.plain.glyphs[i].code, g.outline.glyphs[i].code);
        EXPECT_EQ(g.plain.glyphs[i].blank, g.outline.glyphs[i].blank);
        EXPECT_EQ(g.plain.glyphs[i].advance, g.outline.glyphs[i].advance);
        for (int k = 0; k < 4; ++k)
        {
            EXPECT_EQ(g.plain.glyphs[i].vertices[k].x, g.outline.glyphs[i].vertices[k].x);
            EXPECT_EQ(g.plain.glyphs[i].vertices[k].y, g.outline.glyphs[i].vertices[k].y);
            EXPECT_EQ(g.plain.glyphs[i].vertices[k].u, g.outline.glyphs[i].vertices[k].u);
            EXPECT_EQ(g.plain.glyphs[i].vertices[k].v, g.outline.glyphs[i].vertices[k].v);
        }
    }
    ASSERT_EQ(g.plain.characterMap.size(), g.outline.characterMap.size());
    for (size_t i = 0; i < g.plain.characterMap.size(); ++i)
    {
        EXPECT_EQ(g.plain.characterMap[i].code, g.outline.characterMap[i].code);
        EXPECT_EQ(g.plain.characterMap[i].glyphIndex, g.outline.characterMap[i].glyphIndex);
    }
    ASSERT_EQ(g.plain.kerning.size(), g.outline.kerning.size());
    for (size_t i = 0; i < g.plain.kerning.size(); ++i)
    {
        EXPECT_EQ(g.plain.kerning[i].key, g.outline.kerning[i].key);
        EXPECT_EQ(g.plain.kerning[i].amount, g.outline.kerning[i].amount);
    }
    // The table bytes themselves are the same: from the metrics (after the
    // differing names) to the texture length (which differs).
    const size_t plainTables = g.plainBytes.size() - size_t(g.plain.textureLength) - 4;
    const size_t outlineTables = g.outlineBytes.size() - size_t(g.outline.textureLength) - 4;
    const size_t plainMetrics = 4 + 4 + (5 + 7 * g.plain.faceName.size() + 7) / 8;
    const size_t outlineMetrics = 4 + 4 + (5 + 7 * g.outline.faceName.size() + 7) / 8;
    EXPECT_TRUE(std::equal(
        g.plainBytes.begin() + long(plainMetrics), g.plainBytes.begin() + long(plainTables),
        g.outlineBytes.begin() + long(outlineMetrics), g.outlineBytes.begin() + long(outlineTables)));
    EXPECT_NE(g.plainPixels, g.outlinePixels);
}

TEST(FontGeneratorTest, CharacterSetAndAdvancesMatchFreeType)
{
    Generated const& g = Fonts();
    Reference ft;
    size_t expectedCount = 0;
    for (int code = 32; code <= 255; ++code)
    {
        if (code > 126 && code < 160)
        {
            EXPECT_EQ(nullptr, FindEntry(g.plain, code)) << code;
            continue;
        }
        if (!ft.Has(code))
            continue;
        ++expectedCount;
        TypeFile::MapEntry const* entry = FindEntry(g.plain, code);
        ASSERT_NE(nullptr, entry) << code;
        Glyph const& glyph = g.plain.glyphs[entry->glyphIndex];
        EXPECT_EQ(code, glyph.code);
        EXPECT_EQ(float(ft.Advance(code)), glyph.advance) << code;
    }
    EXPECT_EQ(expectedCount, g.plain.glyphs.size());
    EXPECT_EQ(nullptr, FindEntry(g.plain, 10)); // a newline always breaks
    EXPECT_TRUE(g.plain.glyphs[FindEntry(g.plain, ' ')->glyphIndex].blank);
    EXPECT_FALSE(g.plain.glyphs[FindEntry(g.plain, 'A')->glyphIndex].blank);
}

TEST(FontGeneratorTest, KerningIsSpacingPlusTheFontsKern)
{
    Generated const& g = Fonts();
    Reference ft;
    ASSERT_FALSE(g.plain.kerning.empty());
    for (TypeFile::KerningEntry const& k : g.plain.kerning)
    {
        const int a = int(k.key >> 16), b = int(k.key & 0xFFFF);
        ASSERT_NE(0, a);
        const int kern = ft.Kerning(a, b);
        EXPECT_NE(0, kern) << a << "," << b;
        EXPECT_EQ(g.plain.characterSpacing + float(kern), k.amount) << a << "," << b;
    }
    // DejaVu Sans pulls "AV" and "To" together.
    bool av = false;
    for (TypeFile::KerningEntry const& k : g.plain.kerning)
        av = av || (k.key == ((uint32_t('A') << 16) | 'V') && k.amount < g.plain.characterSpacing);
    EXPECT_TRUE(av);
}

TEST(FontGeneratorTest, GlyphCellsLieInsideTheTextureWithoutOverlap)
{
    Generated const& g = Fonts();
    EXPECT_EQ(0u, g.width & (g.width - 1));
    EXPECT_EQ(0u, g.height & (g.height - 1));
    std::vector<Rectangle> cells;
    for (Glyph const& glyph : g.plain.glyphs)
    {
        if (glyph.blank)
            continue;
        const Rectangle cell(glyph.vertices[0].u, glyph.vertices[0].v,
                             glyph.vertices[2].u - glyph.vertices[0].u,
                             glyph.vertices[2].v - glyph.vertices[0].v);
        EXPECT_GE(cell.x, 0.0f);
        EXPECT_GE(cell.y, 0.0f);
        EXPECT_LE(cell.Right(), float(g.width));
        EXPECT_LE(cell.Bottom(), float(g.height));
        // Quad size equals atlas size; no part of a cell sits left of the
        // origin or above the line top.
        EXPECT_EQ(cell.width, glyph.vertices[2].x - glyph.vertices[0].x);
        EXPECT_EQ(cell.height, glyph.vertices[2].y - glyph.vertices[0].y);
        EXPECT_GE(glyph.vertices[0].x, 0.0f);
        EXPECT_GE(glyph.vertices[0].y, 0.0f);
        for (Rectangle const& other : cells)
        {
            const bool apart = cell.Right() <= other.x || other.Right() <= cell.x ||
                               cell.Bottom() <= other.y || other.Bottom() <= cell.y;
            EXPECT_TRUE(apart) << glyph.code;
        }
        cells.push_back(cell);
    }
}

TEST(FontGeneratorTest, PlainInkMatchesFreeTypeAndTheRingSurroundsIt)
{
    Generated const& g = Fonts();
    Reference ft;
    for (int code : {int('A'), int('g'), int('W'), int('@'), 0xC5 /* A with ring */, 0xE9 /* e acute */})
    {
        TypeFile::MapEntry const* entry = FindEntry(g.plain, code);
        ASSERT_NE(nullptr, entry);
        Glyph const& glyph = g.plain.glyphs[entry->glyphIndex];
        long plainInk = 0, ringInk = 0, overlap = 0;
        int brightestRing = 0;
        for (int y = int(glyph.vertices[0].v); y < int(glyph.vertices[2].v); ++y)
            for (int x = int(glyph.vertices[0].u); x < int(glyph.vertices[2].u); ++x)
            {
                const size_t at = (size_t(y) * g.width + size_t(x)) * 4;
                const int plain = g.plainPixels[at + 3];
                const int ring = g.outlinePixels[at + 3];
                plainInk += plain;
                ringInk += ring;
                brightestRing = std::max(brightestRing, ring);
                if (plain == 255 && ring != 0)
                    ++overlap;
                EXPECT_EQ(255, g.plainPixels[at]); // white: vertex colours tint it
            }
        EXPECT_EQ(ft.Ink(code), plainInk) << code;
        // A thin, faint rim: present all round, never as strong as the ink.
        EXPECT_GT(ringInk, plainInk / 8) << code;
        EXPECT_LT(ringInk, plainInk) << code;
        EXPECT_LT(brightestRing, 160) << code;
        EXPECT_EQ(0, overlap) << code; // a ring, not a filled shape
    }
}

TEST(FontGeneratorTest, EngineLoadsTheGeneratedFonts)
{
    Generated const& g = Fonts();
    for (const char* name : {"/SegoeUI_24pt.type", "/SegoeUI_24pt_outline.type"})
    {
        std::unique_ptr<IFont> font(CreateFont(g.directory + name, 16.0f));
        ASSERT_EQ(TypeState::Ready, font->Load()) << name;
        Texture* texture = font->GetTypeface()->GetTexture();
        ASSERT_NE(nullptr, texture);
        EXPECT_EQ(int(g.width), texture->GetWidth());
        EXPECT_EQ(int(g.height), texture->GetHeight());
        EXPECT_FLOAT_EQ(g.plain.verticalOffset * 16.0f / float(kFontNominalSize), font->GetVerticalOffset());
    }
}

TEST(FontGeneratorTest, MeasuredWidthIsFreeTypesPenAdvance)
{
    Generated const& g = Fonts();
    Reference ft;
    std::unique_ptr<IFont> font(CreateFont(g.directory + "/SegoeUI_24pt.type"));
    ASSERT_EQ(TypeState::Ready, font->Load());
    for (std::string text : {"Lives: 1,234", "AVATAR Tower", "Wave 12 - Hive", "x5  "})
    {
        int pen = 0;
        for (size_t i = 0; i < text.size(); ++i)
        {
            if (i > 0)
                pen += ft.Kerning(uint8_t(text[i - 1]), uint8_t(text[i]));
            pen += ft.Advance(uint8_t(text[i]));
        }
        EXPECT_FLOAT_EQ(float(pen), font->Measure(text).x) << text;
        // Laid out in two pieces, the second at the first's pen, the text
        // measures the same as in one piece.
        const size_t half = text.size() / 2;
        const float first = font->Measure(text.substr(0, half)).x;
        const float second = font->Measure(text.substr(half)).x;
        const int kernAtJoin = ft.Kerning(uint8_t(text[half - 1]), uint8_t(text[half]));
        EXPECT_FLOAT_EQ(float(pen), first + second + float(kernAtJoin)) << text;
        EXPECT_FLOAT_EQ(float(kFontNominalSize), font->Measure(text).y);
    }
}
