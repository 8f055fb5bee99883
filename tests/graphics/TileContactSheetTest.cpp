// Every tile of the game drawn through one sprite batch, on its blend mode,
// on black, on a real OpenGL ES 1.1 context (EGL pbuffer), from the atlases
// the build generated. The frame is saved as "tile_contact_sheet.png" in the
// build folder so a person can look at the whole set at once.
#include "engine/core/AppEvents.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/Texture.h"
#include "engine/display/GLContext.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(TileContactSheet, DrawsAllTilesOnEs11)
{
    std::unique_ptr<Vexel::Platform::GLContext> context = GLTest::CreateContext(kWidth, kHeight);
    ASSERT_NE(nullptr, context) << "no EGL pbuffer context";
    GLTest::UseGameData(VEXEL_DATA_DIR);
    Vexel::AppEvents::Startup().Raise();
    ASSERT_EQ(21u, GetReferenceTextures().size());

    GLTest::SetUpFrame(kWidth, kHeight, Color(0, 0, 0, 255));

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

    const GLTest::Frame frame = GLTest::ReadFrame(kWidth, kHeight);
    const std::string png = std::string(VEXEL_TEST_OUTPUT_DIR) + "/tile_contact_sheet.png";
    EXPECT_TRUE(frame.SavePng(png)) << png;

    // Every tile shows something in its cell, except the one nothing uses.
    for (uint32_t id = 0; id < tiles.GetTileCount(); ++id)
    {
        const int x0 = int(id) % kColumns * kCell, y0 = int(id) / kColumns * kCell;
        const int lit = frame.CountBrighterThan(Vexel::Rectangle(float(x0), float(y0), kCell, kCell), 40);
        if (id == 78)
            EXPECT_EQ(0, lit) << "tile 78 is a transparent placeholder";
        else if (id == 67 || id == 68)
        {
            // The shadow darkens the middle of its backdrop, less so its rim.
            const uint8_t* mid = frame.Pixel(x0 + kCell / 2, y0 + kCell / 2);
            const uint8_t* rim = frame.Pixel(x0 + 4, y0 + kCell / 2);
            EXPECT_LT(int(mid[2]) + 20, int(rim[2])) << "tile " << id;
        }
        else
            EXPECT_GT(lit, 4) << "tile " << id << " drew nothing visible";
    }
}
