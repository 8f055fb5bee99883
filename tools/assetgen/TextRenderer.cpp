#include "tools/assetgen/TextRenderer.h"

#include "engine/core/Log.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace AssetGen
{

struct TextRenderer::Impl
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

TextRenderer::TextRenderer(std::string const& fontPath) : impl(new Impl)
{
    if (FT_Init_FreeType(&impl->library) != 0)
    {
        impl->library = nullptr;
        Vexel::Log::Error("assetgen", "FreeType failed to start");
        return;
    }
    if (FT_New_Face(impl->library, fontPath.c_str(), 0, &impl->face) != 0)
    {
        impl->face = nullptr;
        Vexel::Log::Error("assetgen", "cannot open font %s", fontPath.c_str());
    }
}

TextRenderer::~TextRenderer()
{
    if (impl->face)
        FT_Done_Face(impl->face);
    if (impl->library)
        FT_Done_FreeType(impl->library);
}

bool TextRenderer::Ok() const
{
    return impl->face != nullptr;
}

TextMask TextRenderer::Render(std::string const& text, float pixelSize, int pad)
{
    TextMask m;
    if (!impl->face)
        return m;
    FT_Face face = impl->face;
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(std::max(1.0f, std::round(pixelSize))));
    struct Placed
    {
        int x, top, w, h, pitch;
        std::vector<unsigned char> bits;
    };
    std::vector<Placed> glyphs;
    long pen = 0; // 26.6
    FT_UInt previous = 0;
    bool kerning = FT_HAS_KERNING(face);
    int minX = 0, maxX = 0, minTop = 0, maxBottom = 0;
    bool any = false;
    for (unsigned char ch : text)
    {
        FT_UInt index = FT_Get_Char_Index(face, ch);
        if (kerning && previous && index)
        {
            FT_Vector delta;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &delta);
            pen += delta.x;
        }
        previous = index;
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0)
            continue;
        FT_GlyphSlot g = face->glyph;
        Placed p;
        p.x = int((pen + 32) >> 6) + g->bitmap_left;
        p.top = -g->bitmap_top;
        p.w = int(g->bitmap.width);
        p.h = int(g->bitmap.rows);
        p.pitch = g->bitmap.pitch;
        p.bits.assign(g->bitmap.buffer, g->bitmap.buffer + size_t(std::abs(p.pitch)) * size_t(p.h));
        pen += g->advance.x;
        if (p.w > 0 && p.h > 0)
        {
            if (!any)
            {
                minX = p.x, maxX = p.x + p.w, minTop = p.top, maxBottom = p.top + p.h;
                any = true;
            }
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x + p.w);
            minTop = std::min(minTop, p.top);
            maxBottom = std::max(maxBottom, p.top + p.h);
        }
        glyphs.push_back(std::move(p));
    }
    m.advance = float(pen) / 64.0f;
    if (!any)
        return m;
    m.width = maxX - minX + 2 * pad;
    m.height = maxBottom - minTop + 2 * pad;
    m.originX = float(pad - minX);
    m.baseline = float(pad - minTop);
    m.coverage.assign(size_t(m.width) * size_t(m.height), 0.0f);
    for (auto const& p : glyphs)
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x)
            {
                int tx = p.x - minX + pad + x, ty = p.top - minTop + pad + y;
                float& c = m.coverage[size_t(ty) * size_t(m.width) + size_t(tx)];
                c = std::min(1.0f, c + p.bits[size_t(y) * size_t(std::abs(p.pitch)) + size_t(x)] / 255.0f);
            }
    return m;
}

float TextRenderer::FitSize(std::string const& text, float maxSize, float maxWidth)
{
    float size = maxSize;
    while (size > 6.0f)
    {
        TextMask m = Render(text, size);
        if (float(m.width) <= maxWidth)
            break;
        size -= 1.0f;
    }
    return size;
}

TextMask Blurred(TextMask const& src, int radius)
{
    TextMask m = src;
    if (radius <= 0 || m.width == 0)
        return m;
    std::vector<float> tmp(m.coverage.size());
    for (int pass = 0; pass < 3; ++pass)
    {
        float norm = 1.0f / float(2 * radius + 1);
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x)
            {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += m.At(x + k, y);
                tmp[size_t(y) * size_t(m.width) + size_t(x)] = s * norm;
            }
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x)
            {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                {
                    int yy = y + k;
                    if (yy >= 0 && yy < m.height)
                        s += tmp[size_t(yy) * size_t(m.width) + size_t(x)];
                }
                m.coverage[size_t(y) * size_t(m.width) + size_t(x)] = s * norm;
            }
    }
    return m;
}

void StampAt(Canvas& canvas, PixelRect clip, TextMask const& m, float x, float baseline, Rgba colour,
             Blend blend)
{
    int ox = int(std::lround(x - m.originX)), oy = int(std::lround(baseline - m.baseline));
    for (int y = 0; y < m.height; ++y)
        for (int xx = 0; xx < m.width; ++xx)
        {
            int px = ox + xx, py = oy + y;
            if (px < clip.x || py < clip.y || px >= clip.x + clip.w || py >= clip.y + clip.h)
                continue;
            float c = m.coverage[size_t(y) * size_t(m.width) + size_t(xx)];
            if (c > 0.0f)
                canvas.Put(px, py, colour * c, blend);
        }
}

void StampCentred(Canvas& canvas, PixelRect clip, TextMask const& m, float cx, float cy, Rgba colour,
                  Blend blend)
{
    StampAt(canvas, clip, m, cx - float(m.width) * 0.5f + m.originX, cy - float(m.height) * 0.5f + m.baseline,
            colour, blend);
}

void DrawCaption(TextRenderer& text, Canvas& canvas, PixelRect clip, std::string const& s, float size,
                 float cx, float cy, CaptionStyle const& st)
{
    int pad = std::max(2, st.glowRadius * 3);
    TextMask m = text.Render(s, size, pad);
    if (m.width == 0)
        return;
    if (st.glowRadius > 0 && st.glow.a > 0)
        StampCentred(canvas, clip, Blurred(m, st.glowRadius), cx, cy, st.glow,
                     Blend::Add == st.blend ? Blend::Add : Blend::Over);
    if (st.outline.a > 0)
    {
        TextMask d = m;
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x)
            {
                float v = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        v = std::max(v, m.At(x + dx, y + dy) * ((dx && dy) ? 0.7f : 1.0f));
                d.coverage[size_t(y) * size_t(m.width) + size_t(x)] = v;
            }
        StampCentred(canvas, clip, d, cx, cy, st.outline, Blend::Over);
    }
    StampCentred(canvas, clip, m, cx, cy, st.face, st.blend);
}

} // namespace AssetGen
