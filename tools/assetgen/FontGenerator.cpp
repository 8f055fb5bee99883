// Renders the game's bitmap fonts with FreeType and writes them as ".type"
// files through Vexel::IO::BitWriter. Uses FreeType, LodePNG (the embedded
// texture is a PNG) and vexel_core.
//
// Layout convention of the files: a layout position is the baseline point;
// glyph y is measured down from the ascent line, and the vertical offset is
// the ascent less kFontBaselineDrop, so text laid out from its baseline sits
// that much lower while text laid out from its line top does not move. Every glyph cell carries kPad pixels of room around the ink for
// the outline ring. The file format has no negative quad offsets, so the ink
// of every glyph sits kMargin pixels right of its pen position, which keeps
// the cells of glyphs that start at or left of the pen whole. Advances are
// the true ones and the character spacing is 0: a laid-out width is exactly
// the pen advance, so text laid out in pieces (a colour change, the score
// after its label) joins as if laid out in one go.
#include "tools/assetgen/FontGenerator.h"

#include "engine/core/BitWriter.h"
#include "engine/core/CharCoding.h"
#include "engine/core/Log.h"
#include "engine/core/PackedStream.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <lodepng.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{

const int kPad = 3;                 // room around the ink, holds the ring
const int kMargin = 2;              // ink offset right of the pen position
// The outline face is drawn additively over the plain one on every label:
// a thin, faint rim outside the ink keeps the letters crisp (a strong ring
// the ink's own colour thickens them into a smudge).
const float kRingRadius = 2.0f;     // rim thickness in face pixels
const float kRingStrength = 0.55f;  // rim coverage at its brightest
const int kSpacing = 0;             // character spacing written to the file
const uint32_t kMagic = 0x54464631; // "TFF1"
const char* const kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Glyph
{
    int code = 0;
    bool blank = true;
    int advance = 0;                // the true advance, rounded to a pixel
    int x = 0, y = 0, w = 0, h = 0; // the cell relative to origin and line top
    int u = 0, v = 0;               // the cell in the atlas
    std::vector<uint8_t> plain;     // w * h coverage
    std::vector<uint8_t> ring;      // w * h coverage of the outline ring
};

struct KernPair
{
    uint32_t key;
    int32_t amount;
};

struct FaceTables
{
    int ascent = 0;
    int lineSpacing = 0;
    std::vector<Glyph> glyphs;
    std::vector<KernPair> kerning;
    int atlasWidth = 0;
    int atlasHeight = 0;
};

// The ring: the ink dilated by kRingRadius with a soft edge, less the ink.
std::vector<uint8_t> MakeRing(std::vector<uint8_t> const& ink, int w, int h)
{
    const int reach = int(std::ceil(kRingRadius + 0.5f));
    std::vector<uint8_t> ring(ink.size(), 0);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
        {
            float dilated = 0.0f;
            for (int qy = std::max(0, py - reach); qy <= std::min(h - 1, py + reach); ++qy)
                for (int qx = std::max(0, px - reach); qx <= std::min(w - 1, px + reach); ++qx)
                {
                    float c = ink[qy * w + qx] / 255.0f;
                    if (c <= 0.0f)
                        continue;
                    float d = std::sqrt(float((qx - px) * (qx - px) + (qy - py) * (qy - py)));
                    float weight = std::min(1.0f, std::max(0.0f, kRingRadius + 0.5f - d));
                    dilated = std::max(dilated, c * weight);
                }
            float inside = ink[py * w + px] / 255.0f;
            float value = kRingStrength * dilated * (1.0f - inside);
            ring[py * w + px] = uint8_t(std::lround(std::min(1.0f, value) * 255.0f));
        }
    return ring;
}

bool RenderGlyph(FT_Face face, int code, int ascent, Glyph& out)
{
    if (FT_Load_Char(face, FT_ULong(code), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
        return false;
    FT_GlyphSlot slot = face->glyph;
    FT_Bitmap const& bitmap = slot->bitmap;
    out.code = code;
    out.advance = int((slot->advance.x + 32) >> 6);
    if (bitmap.width == 0 || bitmap.rows == 0)
    {
        out.blank = true;
        return true;
    }
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return false;
    out.blank = false;
    const int inkW = int(bitmap.width);
    const int inkH = int(bitmap.rows);
    // Ink may not start above the line top or left of the origin: the few
    // accented capitals that reach a pixel over the ascent move down by it.
    const int inkX = std::max(0, slot->bitmap_left + kMargin);
    const int inkY = std::max(0, ascent - slot->bitmap_top);

    const int fullW = inkW + 2 * kPad;
    const int fullH = inkH + 2 * kPad;
    std::vector<uint8_t> ink(size_t(fullW) * fullH, 0);
    for (int y = 0; y < inkH; ++y)
        for (int x = 0; x < inkW; ++x)
            ink[(y + kPad) * fullW + x + kPad] = bitmap.buffer[y * bitmap.pitch + x];
    std::vector<uint8_t> ring = MakeRing(ink, fullW, fullH);

    // The cell cannot start left of the origin or above the line top: cut
    // the ring's room there (only ever padding, never ink).
    const int cellX = inkX - kPad;
    const int cellY = inkY - kPad;
    const int cropL = std::max(0, -cellX);
    const int cropT = std::max(0, -cellY);
    out.x = cellX + cropL;
    out.y = cellY + cropT;
    out.w = fullW - cropL;
    out.h = fullH - cropT;
    out.plain.assign(size_t(out.w) * out.h, 0);
    out.ring.assign(size_t(out.w) * out.h, 0);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x)
        {
            out.plain[y * out.w + x] = ink[(y + cropT) * fullW + x + cropL];
            out.ring[y * out.w + x] = ring[(y + cropT) * fullW + x + cropL];
        }
    return true;
}

int NextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v)
        p <<= 1;
    return p;
}

// Shelf packing, tallest cells first, with a one-pixel gutter so linear
// filtering never pulls in a neighbour. Returns the used height.
int PackCells(std::vector<Glyph>& glyphs, int width)
{
    std::vector<Glyph*> order;
    for (Glyph& g : glyphs)
        if (!g.blank)
            order.push_back(&g);
    std::stable_sort(order.begin(), order.end(), [](Glyph* a, Glyph* b) { return a->h > b->h; });
    int x = 1, y = 1, shelf = 0;
    for (Glyph* g : order)
    {
        if (x + g->w + 1 > width)
        {
            x = 1;
            y += shelf + 1;
            shelf = 0;
        }
        if (g->w + 2 > width)
            return -1;
        g->u = x;
        g->v = y;
        x += g->w + 1;
        shelf = std::max(shelf, g->h);
    }
    return y + shelf + 1;
}

bool LayOutAtlas(FaceTables& face)
{
    int bestArea = 0;
    int bestWidth = 0;
    for (int width : {128, 256, 512, 1024})
    {
        int used = PackCells(face.glyphs, width);
        if (used < 0)
            continue;
        int height = NextPowerOfTwo(used);
        if (height > 1024)
            continue;
        // Prefer the smaller texture, then the squarer one.
        if (bestWidth == 0 || width * height < bestArea ||
            (width * height == bestArea &&
             std::max(width, height) < std::max(bestWidth, bestArea / bestWidth)))
        {
            bestArea = width * height;
            bestWidth = width;
        }
    }
    if (bestWidth == 0)
        return false;
    face.atlasWidth = bestWidth;
    face.atlasHeight = NextPowerOfTwo(PackCells(face.glyphs, bestWidth));
    return true;
}

// White pixels whose alpha is the coverage, so vertex colours tint the text
// and linear filtering never darkens an edge.
std::vector<uint8_t> EncodeAtlas(FaceTables const& face, bool outline)
{
    std::vector<uint8_t> rgba(size_t(face.atlasWidth) * face.atlasHeight * 4, 255);
    for (size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = 0;
    for (Glyph const& g : face.glyphs)
    {
        if (g.blank)
            continue;
        std::vector<uint8_t> const& cover = outline ? g.ring : g.plain;
        for (int y = 0; y < g.h; ++y)
            for (int x = 0; x < g.w; ++x)
                rgba[(size_t(g.v + y) * face.atlasWidth + g.u + x) * 4 + 3] = cover[y * g.w + x];
    }
    std::vector<uint8_t> png;
    if (lodepng::encode(png, rgba, unsigned(face.atlasWidth), unsigned(face.atlasHeight)) != 0)
        png.clear();
    return png;
}

void WriteFace(Vexel::IO::BitWriter& w, FaceTables const& face, std::string const& name,
               std::vector<uint8_t> const& texture, int32_t totalSize)
{
    w.WriteUInt32(kMagic);
    w.WriteInt32(totalSize);
    w.WriteString(name, 24, Vexel::IO::CharCoding::Ascii7);
    int64_t rest = w.GetBitPosition() % 8;
    if (rest != 0)
        w.WriteBits(0, int(8 - rest));
    w.WriteInt32(kFontNominalSize);
    w.WriteInt32(face.ascent - kFontBaselineDrop);
    w.WriteInt32(face.lineSpacing);
    w.WriteInt32(kSpacing);
    w.WriteInt32(int32_t(face.glyphs.size()));
    for (Glyph const& g : face.glyphs)
    {
        w.WriteUInt16(uint16_t(g.code));
        w.WriteBool(g.blank);
        w.WriteBits(uint32_t(g.advance), 15);
        if (!g.blank)
        {
            for (int value : {g.advance, g.x, g.y, g.u, g.v, g.w, g.h})
                w.WriteUInt16(uint16_t(value));
        }
    }
    // One map entry per glyph, in glyph order; code 10 is never mapped, so a
    // newline always breaks the line.
    w.WriteInt32(int32_t(face.glyphs.size()));
    for (size_t i = 0; i < face.glyphs.size(); ++i)
    {
        w.WriteUInt16(uint16_t(face.glyphs[i].code));
        w.WriteUInt16(uint16_t(i));
    }
    w.WriteInt32(int32_t(face.kerning.size()));
    for (KernPair const& k : face.kerning)
    {
        w.WriteUInt32(k.key);
        w.WriteInt32(k.amount);
    }
    w.WriteUInt16(0); // reserved
    w.WriteInt32(int32_t(texture.size()));
    for (uint8_t b : texture)
        w.WriteByte(b);
}

bool WriteFaceFile(std::string const& path, FaceTables const& face, std::string const& name,
                   std::vector<uint8_t> const& texture)
{
    // The size field comes before everything it counts: write once to learn
    // the length, then again with it.
    int32_t total = 0;
    std::vector<uint8_t> bytes;
    for (int pass = 0; pass < 2; ++pass)
    {
        Vexel::IO::ExpandablePackedStream stream(1 << 16);
        Vexel::IO::BitWriter writer(&stream);
        WriteFace(writer, face, name, texture, total);
        if (writer.GetErrors() != 0)
        {
            Vexel::Log::Error("fonts", "could not encode %s", path.c_str());
            return false;
        }
        total = stream.GetLength();
        bytes.assign(stream.GetData(), stream.GetData() + stream.GetLength());
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file)
    {
        Vexel::Log::Error("fonts", "could not write %s", path.c_str());
        return false;
    }
    return true;
}

bool BuildTables(FT_Face face, FaceTables& out)
{
    out.ascent = int(face->size->metrics.ascender >> 6);
    out.lineSpacing = int(face->size->metrics.height >> 6);
    std::vector<FT_UInt> indices;
    for (int code = 32; code <= 255; ++code)
    {
        if (code > 126 && code < 160)
            continue;
        FT_UInt index = FT_Get_Char_Index(face, FT_ULong(code));
        if (index == 0)
        {
            if (code <= 126)
            {
                Vexel::Log::Error("fonts", "the font has no glyph for code %d", code);
                return false;
            }
            continue; // Latin-1 only where the font has it
        }
        Glyph g;
        if (!RenderGlyph(face, code, out.ascent, g))
        {
            Vexel::Log::Error("fonts", "could not render code %d", code);
            return false;
        }
        out.glyphs.push_back(std::move(g));
        indices.push_back(index);
    }
    if (FT_HAS_KERNING(face))
    {
        for (size_t a = 0; a < out.glyphs.size(); ++a)
            for (size_t b = 0; b < out.glyphs.size(); ++b)
            {
                FT_Vector kern;
                if (FT_Get_Kerning(face, indices[a], indices[b], FT_KERNING_DEFAULT, &kern) != 0)
                    continue;
                int px = int((kern.x + 32) >> 6);
                if (px == 0)
                    continue;
                // The amount replaces the spacing between the pair.
                uint32_t key = (uint32_t(out.glyphs[a].code) << 16) + uint32_t(out.glyphs[b].code);
                out.kerning.push_back({key, kSpacing + px});
            }
    }
    if (!LayOutAtlas(out))
    {
        Vexel::Log::Error("fonts", "the glyphs do not fit a texture");
        return false;
    }
    return true;
}

} // namespace

std::string FindFontFile()
{
    std::string path;
    if (FILE* pipe = popen("fc-match -f '%{file}' 'DejaVu Sans' 2>/dev/null", "r"))
    {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            path.append(buffer, n);
        pclose(pipe);
    }
    if (path.empty())
        path = kDefaultFontPath;
    return path;
}

bool GenerateFonts(std::string const& outputDirectory)
{
    const std::string fontPath = FindFontFile();
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
    {
        Vexel::Log::Error("fonts", "FreeType did not start");
        return false;
    }
    FT_Face face = nullptr;
    bool ok = false;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0)
        Vexel::Log::Error("fonts", "cannot open %s (install fonts-dejavu-core)", fontPath.c_str());
    else if (std::string(face->family_name ? face->family_name : "") != "DejaVu Sans")
        Vexel::Log::Error("fonts", "%s is %s, not DejaVu Sans (install fonts-dejavu-core)", fontPath.c_str(),
                          face->family_name ? face->family_name : "unnamed");
    else if (FT_Set_Pixel_Sizes(face, FT_UInt(kFontRenderWidth), FT_UInt(kFontRenderHeight)) != 0)
        Vexel::Log::Error("fonts", "cannot size %s to %dx%d px", fontPath.c_str(), kFontRenderWidth,
                          kFontRenderHeight);
    else
    {
        FaceTables tables;
        if (BuildTables(face, tables))
        {
            std::vector<uint8_t> plain = EncodeAtlas(tables, false);
            std::vector<uint8_t> outline = EncodeAtlas(tables, true);
            if (plain.empty() || outline.empty())
                Vexel::Log::Error("fonts", "PNG encoding failed");
            else
                ok = WriteFaceFile(outputDirectory + "/SegoeUI_24pt.type", tables, "DejaVu Sans 48", plain) &&
                     WriteFaceFile(outputDirectory + "/SegoeUI_24pt_outline.type", tables,
                                   "DejaVu Sans 48 Outline", outline);
        }
    }
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}
