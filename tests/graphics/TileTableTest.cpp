// The game's tile table: records, telling rows, atlas membership, layout
// against the generated atlas images, and the atlas textures made on Startup.
// The Startup event is process-wide, so this file is its own executable.
#include "engine/core/AppEvents.h"
#include "engine/graphics/ReferenceTileRows.h"
#include "engine/graphics/PvrReader.h"
#include "engine/graphics/RawTextureReader.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureReference.h"

#include <gtest/gtest.h>
#include <lodepng.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace Vexel::Graphics;

namespace
{

struct AtlasEntry
{
    const char* file;
    int width, height;
    std::vector<int> ids; // tile ids on this atlas, inclusive ranges written out
};

std::vector<int> Range(int a, int b)
{
    std::vector<int> v;
    for (int i = a; i <= b; ++i)
        v.push_back(i);
    return v;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> v;
    for (auto const& p : parts)
        v.insert(v.end(), p.begin(), p.end());
    return v;
}

// The 21 atlases in creation order, with their sizes and tiles.
std::vector<AtlasEntry> const& Atlases()
{
    static const std::vector<AtlasEntry> atlases = {
        {"argb_main1", 512, 1024, {5, 85, 86, 87, 88, 159, 183}},
        {"rgb_game", 1024, 1024, Join({{0, 1, 3}, Range(6, 55), Range(58, 66), {69, 70, 74, 75, 168}})},
        {"lu_stars", 128, 16, {71}},
        {"argb_main3", 512, 512, Join({{4, 56, 57, 72, 73, 76}, Range(78, 84), {184, 185}})},
        {"lu_shadow2", 32, 64, {67}},
        {"argb_main4", 512, 512, Join({{77}, Range(153, 158), Range(160, 167)})},
        {"rgb_g", 512, 512, Range(169, 174)},
        {"rgb_1g", 512, 512, Join({Range(89, 92), {175, 176}})},
        {"lu_canline", 128, 64, {2}},
        {"lu_shadow", 128, 64, {68}},
        {"rgb_12", 512, 512, Range(93, 98)},
        {"rgb_2", 512, 512, Range(99, 104)},
        {"rgb_3", 512, 512, Range(105, 110)},
        {"rgb_34", 512, 512, Range(111, 116)},
        {"rgb_45", 512, 512, Range(117, 122)},
        {"rgb_5", 512, 512, Range(123, 128)},
        {"rgb_6", 512, 512, Range(129, 134)},
        {"rgb_67", 512, 512, Range(135, 140)},
        {"rgb_78", 512, 512, Range(141, 146)},
        {"rgb_8", 512, 512, Range(147, 152)},
        {"rgb_enemy", 512, 512, Range(177, 182)},
    };
    return atlases;
}

int AtlasOf(int id)
{
    for (size_t a = 0; a < Atlases().size(); ++a)
        for (int t : Atlases()[a].ids)
            if (t == id)
                return int(a);
    return -1;
}

struct PixelRect
{
    int x, y, w, h;
};

// The tile's area in atlas pixels, from its stored uv; fails the test when a
// value is not within 1e-4 of a whole pixel.
PixelRect PixelsOf(TileInfo const& t, int atlasW, int atlasH)
{
    auto whole = [&](float v, int scale)
    {
        double p = double(v) * scale;
        EXPECT_NEAR(p, std::round(p), 1e-4) << "tile " << t.id;
        return int(std::lround(p));
    };
    return PixelRect{whole(t.uv.x, atlasW), whole(t.uv.y, atlasH), whole(t.uv.width, atlasW),
                     whole(t.uv.height, atlasH)};
}

bool ReadPngSize(std::string const& path, unsigned& w, unsigned& h)
{
    std::vector<unsigned char> bytes;
    if (lodepng::load_file(bytes, path) != 0 || bytes.size() < 33)
        return false;
    lodepng::State state;
    return lodepng_inspect(&w, &h, &state, bytes.data(), bytes.size()) == 0;
}

struct Rgba8
{
    std::vector<unsigned char> px;
    unsigned w = 0, h = 0;
    unsigned char At(unsigned x, unsigned y, int c) const { return px[(size_t(y) * w + x) * 4 + size_t(c)]; }
};

Rgba8 ReadPng(std::string const& name)
{
    Rgba8 img;
    EXPECT_EQ(0u, lodepng::decode(img.px, img.w, img.h, std::string(VEXEL_DATA_DIR) + "/" + name)) << name;
    return img;
}

} // namespace

TEST(TileTable, HandsOutAllRecordsByIdAndNullPastTheEnd)
{
    ITileSet& tiles = GetReferenceTiles();
    EXPECT_EQ(&tiles, &GetReferenceTiles());
    ASSERT_EQ(186u, tiles.GetTileCount());
    for (uint32_t i = 0; i < 186; ++i)
    {
        TileInfo const* t = tiles.GetTile(i);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ(i, t->id);
        EXPECT_GT(t->size.x, 0.0f);
        EXPECT_GT(t->size.y, 0.0f);
    }
    for (uint32_t id : {186u, 187u, 1000u, 0xFFFFFFFFu})
        EXPECT_EQ(nullptr, tiles.GetTile(id)) << id;
    // The named pointers are the same records.
    EXPECT_EQ(tiles.GetTile(0), Tiles::Tile000);
    EXPECT_EQ(tiles.GetTile(89), Tiles::Tile089);
    EXPECT_EQ(tiles.GetTile(185), Tiles::Tile185);
}

TEST(TileTable, TellingRowsMatch)
{
    struct Row
    {
        uint32_t id;
        float w, h, u, v, uw, vh;
    };
    const Row rows[] = {
        {0, 16, 64, 0.5830078f, 0.3789063f, 0.015625f, 0.0625f},
        {2, 128, 64, 0, 0, 1, 1},
        {5, 200, 200, 0.001953125f, 0.6298828f, 0.390625f, 0.1953125f},
        {57, 510, 20, 0.001953125f, 0.9394531f, 0.9960938f, 0.0390625f},
        {74, 384, 128, 0.4384766f, 0.08105469f, 0.375f, 0.125f},
        {85, 254, 320, 0.5019531f, 0.3154297f, 0.4960938f, 0.3125f},
        {168, 168, 240, 0.0009765625f, 0.2080078f, 0.1640625f, 0.234375f},
        {177, 510, 82, 0.001953125f, 0.001953125f, 0.9960938f, 0.1601563f},
        {185, 500, 70, 0.001953125f, 0.1660156f, 0.9765625f, 0.1367188f},
    };
    for (Row const& r : rows)
    {
        TileInfo const* t = GetReferenceTiles().GetTile(r.id);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ(r.w, t->size.x) << r.id;
        EXPECT_EQ(r.h, t->size.y) << r.id;
        EXPECT_NEAR(r.u, t->uv.x, 1e-4) << r.id;
        EXPECT_NEAR(r.v, t->uv.y, 1e-4) << r.id;
        EXPECT_NEAR(r.uw, t->uv.width, 1e-4) << r.id;
        EXPECT_NEAR(r.vh, t->uv.height, 1e-4) << r.id;
    }
    for (uint32_t id : {2u, 67u, 68u, 71u})
    {
        TileInfo const* t = GetReferenceTiles().GetTile(id);
        EXPECT_EQ(Vexel::Rectangle(0, 0, 1, 1), t->uv) << id;
    }
}

TEST(TileTable, PictureGridsSitAtTheirCorners)
{
    const int xs[3] = {1, 171, 341}, ys[2] = {1, 243};
    for (size_t a = 0; a < Atlases().size(); ++a)
    {
        std::string name = Atlases()[a].file;
        if (name.rfind("rgb_", 0) != 0 || name == "rgb_game" || name == "rgb_enemy")
            continue;
        std::set<std::pair<int, int>> corners;
        for (int id : Atlases()[a].ids)
        {
            PixelRect r = PixelsOf(*GetReferenceTiles().GetTile(uint32_t(id)), 512, 512);
            EXPECT_EQ(168, r.w);
            EXPECT_EQ(240, r.h);
            corners.insert({r.x, r.y});
        }
        std::set<std::pair<int, int>> expected;
        for (int y : ys)
            for (int x : xs)
                expected.insert({x, y});
        EXPECT_EQ(expected, corners) << name;
    }
}

TEST(TileTable, GeneratedRowsAgreeWithTheAtlasTable)
{
    using namespace Vexel::Graphics::Internal;
    ASSERT_EQ(Atlases().size(), size_t(ReferenceAtlasCount));
    for (uint32_t a = 0; a < ReferenceAtlasCount; ++a)
    {
        EXPECT_EQ(std::string(Atlases()[a].file) + ".dat", ReferenceAtlasRows[a].fileName);
        EXPECT_EQ(Atlases()[a].width, ReferenceAtlasRows[a].width);
        EXPECT_EQ(Atlases()[a].height, ReferenceAtlasRows[a].height);
    }
    for (uint32_t i = 0; i < ReferenceTileCount; ++i)
        EXPECT_EQ(AtlasOf(int(i)), int(ReferenceTileRows[i].atlas)) << "tile " << i;
}

TEST(TileTable, TilesFitTheGeneratedImagesWithoutOverlap)
{
    for (size_t a = 0; a < Atlases().size(); ++a)
    {
        AtlasEntry const& atlas = Atlases()[a];
        unsigned w = 0, h = 0;
        ASSERT_TRUE(ReadPngSize(std::string(VEXEL_DATA_DIR) + "/" + atlas.file + ".png", w, h)) << atlas.file;
        EXPECT_EQ(unsigned(atlas.width), w) << atlas.file;
        EXPECT_EQ(unsigned(atlas.height), h) << atlas.file;
        std::vector<PixelRect> rects;
        for (int id : atlas.ids)
        {
            TileInfo const& t = *GetReferenceTiles().GetTile(uint32_t(id));
            PixelRect r = PixelsOf(t, int(w), int(h));
            EXPECT_EQ(float(r.w), t.size.x) << id;
            EXPECT_EQ(float(r.h), t.size.y) << id;
            EXPECT_GE(r.x, 0) << id;
            EXPECT_GE(r.y, 0) << id;
            EXPECT_LE(r.x + r.w, int(w)) << id;
            EXPECT_LE(r.y + r.h, int(h)) << id;
            if (atlas.ids.size() > 1)
            {
                // Shared atlases keep a 1-px gutter inside the image edge.
                EXPECT_GE(r.x, 1) << id;
                EXPECT_GE(r.y, 1) << id;
                EXPECT_LE(r.x + r.w, int(w) - 1) << id;
                EXPECT_LE(r.y + r.h, int(h) - 1) << id;
            }
            for (size_t k = 0; k < rects.size(); ++k)
            {
                PixelRect o = rects[k];
                bool apart = r.x + r.w <= o.x || o.x + o.w <= r.x || r.y + r.h <= o.y || o.y + o.h <= r.y;
                EXPECT_TRUE(apart) << "tiles " << id << " and " << atlas.ids[k] << " overlap in "
                                   << atlas.file;
            }
            rects.push_back(r);
        }
    }
}

TEST(TileTable, StartupCreatesEachAtlasOnceInOrder)
{
    // Before Startup no tile has a texture.
    for (uint32_t i = 0; i < 186; ++i)
        EXPECT_EQ(nullptr, GetReferenceTiles().GetTile(i)->texture);
    EXPECT_TRUE(GetReferenceTextures().empty());

    Vexel::AppEvents::Startup().Raise();
    std::vector<Texture*> const textures = GetReferenceTextures();
    ASSERT_EQ(21u, textures.size());
    std::set<TextureReference*> references;
    for (size_t a = 0; a < textures.size(); ++a)
    {
        ASSERT_NE(nullptr, textures[a]);
        std::string name = textures[a]->GetReference()->GetName();
        // The name as asked for, after whatever extension remap is set.
        EXPECT_EQ(0u, name.find(Atlases()[a].file)) << name;
        references.insert(textures[a]->GetReference());
        for (int id : Atlases()[a].ids)
            EXPECT_EQ(textures[a], GetReferenceTiles().GetTile(uint32_t(id))->texture) << id;
    }
    EXPECT_EQ(21u, references.size()); // one file, one texture

    // A second Startup changes nothing.
    Vexel::AppEvents::Startup().Raise();
    EXPECT_EQ(textures, GetReferenceTextures());
}

// The art's channel conventions: additive atlases are opaque light on black,
// shadows carry their shape in alpha, the wrapped maps tile seamlessly.
TEST(AtlasImages, AdditiveAtlasesAreOpaqueAndShadowsUseAlpha)
{
    for (const char* name : {"rgb_game.png", "rgb_enemy.png", "rgb_g.png", "lu_stars.png", "lu_canline.png"})
    {
        Rgba8 img = ReadPng(name);
        unsigned transparent = 0;
        for (size_t i = 3; i < img.px.size(); i += 4)
            transparent += img.px[i] != 255 ? 1 : 0;
        EXPECT_EQ(0u, transparent) << name;
    }
    for (const char* name : {"lu_shadow.png", "lu_shadow2.png"})
    {
        Rgba8 img = ReadPng(name);
        ASSERT_GT(img.w, 0u);
        EXPECT_EQ(255, img.At(img.w / 2, img.h / 2, 3)) << name;
        EXPECT_LT(img.At(0, 0, 3), 16) << name;
        EXPECT_LT(img.At(img.w - 1, img.h / 2, 3), 64) << name;
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(0, img.At(img.w / 2, img.h / 2, c)) << name;
    }
}

TEST(AtlasImages, RepeatingMapsWrapSeamlessly)
{
    for (const char* name : {"lu_stars.png", "lu_canline.png"})
    {
        Rgba8 img = ReadPng(name);
        ASSERT_GT(img.w, 2u);
        int worstSeam = 0, typicalStep = 0;
        for (unsigned y = 0; y < img.h; ++y)
            for (int c = 0; c < 3; ++c)
            {
                worstSeam =
                    std::max(worstSeam, std::abs(int(img.At(0, y, c)) - int(img.At(img.w - 1, y, c))));
                typicalStep = std::max(typicalStep, std::abs(int(img.At(1, y, c)) - int(img.At(0, y, c))));
            }
        // The jump across the wrap is no bigger than an ordinary step.
        EXPECT_LE(worstSeam, std::max(12, typicalStep * 2)) << name;
    }
}

TEST(AtlasImages, AlphaTilesHaveNoDarkFringes)
{
    // Where alpha fades out at a tile's edge, colour stays that of the art
    // (bled outwards), never black.
    Rgba8 img = ReadPng("argb_main4.png");
    TileInfo const& back = *GetReferenceTiles().GetTile(156);
    PixelRect r = PixelsOf(back, 512, 512);
    unsigned y = unsigned(r.y + r.h / 2);
    unsigned x = unsigned(r.x); // left edge: outside the rounded panel
    EXPECT_LT(img.At(x, y, 3), 255);
    EXPECT_GT(img.At(x, y, 0) + img.At(x, y, 1) + img.At(x, y, 2), 60);
}

TEST(AtlasImages, SplashIsPortraitPowerOfTwo)
{
    unsigned w = 0, h = 0;
    ASSERT_TRUE(ReadPngSize(std::string(VEXEL_DATA_DIR) + "/default_pot.png", w, h));
    EXPECT_EQ(0u, w & (w - 1));
    EXPECT_EQ(0u, h & (h - 1));
    EXPECT_GE(h, w);
}

// The raw and PVR samples the generator writes for tests (build/testdata)
// are what the engine's readers expect.
TEST(GeneratedTestTextures, ReadersAcceptTheSamplesAndRefuseTheBrokenOnes)
{
    auto load = [](std::string const& name)
    {
        std::vector<unsigned char> bytes;
        EXPECT_EQ(0u, lodepng::load_file(bytes, std::string(VEXEL_TESTDATA_DIR) + "/" + name)) << name;
        return bytes;
    };
    struct RawCase
    {
        const char* file;
        bool ok;
        uint32_t code;
        size_t bytes;
    };
    const RawCase raw[] = {
        {"raw_rgba_2420fd.raw", true, 0x2420FD, 8 * 4 * 4},
        {"raw_rgba_26200a.raw", true, 0x26200A, 8 * 4 * 4},
        {"raw_rgb_18fc.raw", true, 0x18FC, 8 * 4 * 3},
        {"raw_bgr_21808.raw", true, 0x21808, 8 * 4 * 3},
        {"raw_la_410fe.raw", true, 0x410FE, 8 * 4 * 2},
        {"raw_alpha_8ff.raw", true, 0x8FF, 8 * 4},
        {"raw_unknown_code.raw", false, 0, 0},
        {"raw_short.raw", false, 0, 0},
    };
    for (RawCase const& c : raw)
    {
        std::vector<unsigned char> bytes = load(c.file);
        TextureImage image;
        EXPECT_EQ(c.ok, RawTextureReader::Read(bytes.data(), bytes.size(), image)) << c.file;
        if (!c.ok)
            continue;
        EXPECT_EQ(8u, image.width) << c.file;
        EXPECT_EQ(4u, image.height) << c.file;
        EXPECT_EQ(c.code, image.formatCode) << c.file;
        EXPECT_EQ(c.bytes, image.pixels.size()) << c.file;
    }
    struct PvrCase
    {
        const char* file;
        bool ok;
        uint32_t internalFormat;
    };
    const PvrCase pvr[] = {
        {"pvr_rgba32.pvr", true, 0x1908 /* GL_RGBA */},
        {"pvr_pvrtc4_alpha.pvr", true, 0x8C02},
        {"pvr_pvrtc2_alpha.pvr", true, 0x8C03},
        {"pvr_pvrtc4_opaque.pvr", true, 0x8C00},
        {"pvr_truncated.pvr", false, 0},
    };
    for (PvrCase const& c : pvr)
    {
        std::vector<unsigned char> bytes = load(c.file);
        TextureImage image;
        EXPECT_EQ(c.ok, PvrReader::Read(bytes.data(), bytes.size(), true, image)) << c.file;
        if (c.ok)
        {
            EXPECT_EQ(c.internalFormat, image.glInternalFormat) << c.file;
        }
    }
}
