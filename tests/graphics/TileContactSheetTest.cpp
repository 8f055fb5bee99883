// Every tile of the game drawn through one sprite batch, on its blend mode,
// on black, on a real OpenGL ES 1.1 context (EGL pbuffer), from the atlases
// the build generated. The frame is saved as "tile_contact_sheet.png" in the
// build folder so a person can look at the whole set at once.
#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/Texture.h"
#include "engine/platform/GLContext.h"

#include <gtest/gtest.h>
#include <lodepng.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>

using namespace Vexel::Graphics;

namespace
{

const int kColumns = 16, kRows = 12, kCell = 100;
const int kWidth = kColumns * kCell, kHeight = kRows * kCell;

// Tiles the game draws with alpha blending; everything else is additive.
bool DrawnWithAlpha(uint32_t id)
{
    static const std::set<uint32_t> alpha = {4,   5,   57,  67,  68,  72,  73,  76,  77,  78,  79,  81,
                                             82,  83,  85,  86,  87,  88,  153, 154, 155, 156, 157, 158,
                                             159, 160, 161, 162, 163, 164, 165, 166, 167, 183, 184, 185};
    return alpha.count(id) != 0;
}

std::vector<uint8_t> ReadFrame()
{
    std::vector<uint8_t> raw(size_t(kWidth) * kHeight * 4), rgba(raw.size());
    GL::ReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    for (int y = 0; y < kHeight; ++y)
        std::copy(raw.begin() + long(size_t(kHeight - 1 - y) * kWidth * 4),
                  raw.begin() + long(size_t(kHeight - y) * kWidth * 4),
                  rgba.begin() + long(size_t(y) * kWidth * 4));
    for (size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = 255;
    return rgba;
}

} // namespace

TEST(TileContactSheet, DrawsAllTilesOnEs11)
{
    std::unique_ptr<Vexel::Platform::GLContext> context(
        Vexel::Platform::GLContext::CreateHeadless(kWidth, kHeight));
    ASSERT_NE(nullptr, context) << "no EGL pbuffer context";
    // The game's setup: atlases asked for as ".dat", read as ".png" from the data folder.
    setenv("COBALT_KEEP_DATA", VEXEL_DATA_DIR, 1);
    Vexel::GetAppSettings()->extensionMap[".dat"] = ".png";
    Vexel::AppEvents::Startup().Raise();
    ASSERT_EQ(21u, GetReferenceTextures().size());

    GL::Viewport(0, 0, kWidth, kHeight);
    GL::MatrixMode(GL_PROJECTION);
    GL::LoadIdentity();
    GL::Orthof(0.0f, float(kWidth), float(kHeight), 0.0f, -1.0f, 1.0f);
    GL::MatrixMode(GL_MODELVIEW);
    GL::LoadIdentity();
    GL::Enable(GL_TEXTURE_2D);
    GL::ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    GL::Clear(GL_COLOR_BUFFER_BIT);
    RenderState::SetBlendEnabled(false);
    RenderState::SetBlendEnabled(true);

    Sprites::TransientBatch batch(256);
    ITileSet& tiles = GetReferenceTiles();
    for (uint32_t id = 0; id < tiles.GetTileCount(); ++id)
    {
        TileInfo const& tile = *tiles.GetTile(id);
        float fit = std::min(1.0f, float(kCell - 8) / std::max(tile.size.x, tile.size.y));
        Vector2 centre(float(int(id) % kColumns * kCell + kCell / 2),
                       float(int(id) / kColumns * kCell + kCell / 2));
        // Shadows are black: a light backdrop under them shows their shape.
        if (id == 67 || id == 68)
            batch.AddTileSized(*tiles.GetTile(56), centre, Vector2(float(kCell - 4)),
                               Color(90, 110, 130, 255), 2);
        Color colour = (id == 67 || id == 68) ? Color(0, 0, 0, 255) : Color(255, 255, 255, 255);
        batch.AddTileSized(tile, centre, tile.size * fit, colour, DrawnWithAlpha(id) ? 1 : 2);
    }
    batch.Draw();
    GL::Finish();
    EXPECT_EQ(GLenum(GL_NO_ERROR), GL::CheckErrors(__FILE__, __LINE__, "contact sheet"));
    for (Texture* t : GetReferenceTextures())
        EXPECT_TRUE(t->IsUploaded()) << t->GetReference();

    std::vector<uint8_t> frame = ReadFrame();
    const std::string png = std::string(VEXEL_TEST_OUTPUT_DIR) + "/tile_contact_sheet.png";
    EXPECT_EQ(0u, lodepng::encode(png, frame, kWidth, kHeight)) << png;

    // Every tile shows something in its cell, except the one nothing uses.
    for (uint32_t id = 0; id < tiles.GetTileCount(); ++id)
    {
        int x0 = int(id) % kColumns * kCell, y0 = int(id) / kColumns * kCell, lit = 0;
        for (int y = y0; y < y0 + kCell; ++y)
            for (int x = x0; x < x0 + kCell; ++x)
            {
                const uint8_t* p = &frame[(size_t(y) * kWidth + size_t(x)) * 4];
                lit += std::max(p[0], std::max(p[1], p[2])) > 40 ? 1 : 0;
            }
        if (id == 78)
            EXPECT_EQ(0, lit) << "tile 78 is a transparent placeholder";
        else if (id == 67 || id == 68)
        {
            // The shadow darkens the middle of its backdrop, less so its rim.
            const uint8_t* mid = &frame[(size_t(y0 + kCell / 2) * kWidth + size_t(x0 + kCell / 2)) * 4];
            const uint8_t* rim = &frame[(size_t(y0 + kCell / 2) * kWidth + size_t(x0 + 4)) * 4];
            EXPECT_LT(int(mid[2]) + 20, int(rim[2])) << "tile " << id;
        }
        else
            EXPECT_GT(lit, 4) << "tile " << id << " drew nothing visible";
    }
}
