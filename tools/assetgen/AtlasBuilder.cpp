#include "tools/assetgen/AtlasBuilder.h"

#include "tools/assetgen/Art.h"
#include "tools/assetgen/TextRenderer.h"

#include <lodepng.h>

#include <algorithm>
#include <cmath>
#include <deque>

namespace AssetGen
{

namespace
{

uint8_t ToByte(float v)
{
    return uint8_t(std::lround(Clamp01(v) * 255.0f));
}

} // namespace

std::vector<uint8_t> ToRgba(Canvas const& c, bool alpha)
{
    int w = c.Width(), h = c.Height();
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            Rgba p = c.At(x, y);
            uint8_t* o = &out[(size_t(y) * size_t(w) + size_t(x)) * 4];
            if (!alpha)
            {
                o[0] = ToByte(p.r), o[1] = ToByte(p.g), o[2] = ToByte(p.b), o[3] = 255;
                continue;
            }
            float a = Clamp01(p.a);
            o[3] = ToByte(a);
            if (a > 0.0f)
                o[0] = ToByte(p.r / a), o[1] = ToByte(p.g / a), o[2] = ToByte(p.b / a);
            else
                o[0] = o[1] = o[2] = 0;
        }
    if (!alpha)
        return out;
    // Bleed: every fully transparent texel takes the colour of the nearest
    // visible one (breadth-first from all visible texels at once).
    std::vector<int> owner(size_t(w) * size_t(h), -1);
    std::deque<int> queue;
    for (int i = 0; i < w * h; ++i)
        if (out[size_t(i) * 4 + 3] > 0)
        {
            owner[size_t(i)] = i;
            queue.push_back(i);
        }
    while (!queue.empty())
    {
        int i = queue.front();
        queue.pop_front();
        int x = i % w, y = i / w;
        const int nx[4] = {x - 1, x + 1, x, x};
        const int ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k)
        {
            if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h)
                continue;
            int j = ny[k] * w + nx[k];
            if (owner[size_t(j)] >= 0)
                continue;
            owner[size_t(j)] = owner[size_t(i)];
            for (int ch = 0; ch < 3; ++ch)
                out[size_t(j) * 4 + size_t(ch)] = out[size_t(owner[size_t(i)]) * 4 + size_t(ch)];
            queue.push_back(j);
        }
    }
    return out;
}

void ExtrudeEdges(std::vector<uint8_t>& rgba, int width, int height, int x, int y, int w, int h)
{
    auto copy = [&](int fx, int fy, int tx, int ty)
    {
        if (tx < 0 || ty < 0 || tx >= width || ty >= height)
            return;
        std::copy_n(&rgba[(size_t(fy) * size_t(width) + size_t(fx)) * 4], 4,
                    &rgba[(size_t(ty) * size_t(width) + size_t(tx)) * 4]);
    };
    for (int i = 0; i < w; ++i)
    {
        copy(x + i, y, x + i, y - 1);
        copy(x + i, y + h - 1, x + i, y + h);
    }
    for (int j = -1; j <= h; ++j)
    {
        int sy = std::clamp(y + j, y, y + h - 1);
        copy(x, sy, x - 1, y + j);
        copy(x + w - 1, sy, x + w, y + j);
    }
}

bool BuildAtlas(Manifest const& m, int atlasIndex, TextRenderer& text, std::vector<uint8_t>& rgba,
                std::string& error)
{
    AtlasSpec const& a = m.atlases[size_t(atlasIndex)];
    Canvas canvas(a.width, a.height);
    bool ok = true;
    for (TileSpec const& t : m.tiles)
    {
        if (t.atlas != atlasIndex)
            continue;
        Painter p(canvas, t.x, t.y, t.w, t.h);
        ArtContext ctx{text, canvas, PixelRect{t.x, t.y, t.w, t.h}};
        if (!PaintTile(p, t, ctx))
        {
            error += "tile " + std::to_string(t.id) + ": unknown recipe '" + t.recipe + "'\n";
            ok = false;
        }
    }
    rgba = ToRgba(canvas, a.alpha);
    for (TileSpec const& t : m.tiles)
        if (t.atlas == atlasIndex && !t.CoversAtlas(a))
            ExtrudeEdges(rgba, a.width, a.height, t.x, t.y, t.w, t.h);
    return ok;
}

bool WritePng(std::string const& path, std::vector<uint8_t> const& rgba, int width, int height,
              std::string& error)
{
    lodepng::State state;
    state.info_raw.colortype = LCT_RGBA;
    state.info_raw.bitdepth = 8;
    state.info_png.color.colortype = LCT_RGBA;
    state.info_png.color.bitdepth = 8;
    state.encoder.auto_convert = 0;
    // Speed over size: these files are rebuilt in every clean build.
    state.encoder.zlibsettings.windowsize = 2048;
    state.encoder.zlibsettings.lazymatching = 0;
    state.encoder.zlibsettings.nicematch = 64;
    state.encoder.filter_strategy = LFS_MINSUM;
    std::vector<unsigned char> png;
    unsigned err = lodepng::encode(png, rgba, unsigned(width), unsigned(height), state);
    if (err == 0)
        err = lodepng::save_file(png, path);
    if (err != 0)
    {
        error = path + ": " + lodepng_error_text(err);
        return false;
    }
    return true;
}

} // namespace AssetGen
