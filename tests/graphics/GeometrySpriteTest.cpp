#include "engine/graphics/GeometrySprite.h"

#include "engine/graphics/GeometryBatch.h"
#include "engine/graphics/RenderState.h"
#include "tests/graphics/BatchTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Vexel::Graphics;
using namespace Vexel::Graphics::Geometry;

// The namespace and the piece class share a name: one alias for the class.
typedef Vexel::Graphics::Geometry::Geometry<Vexel::Graphics::Geometry::VertexP2T2C> Piece;

namespace
{

struct TextureWatcher
{
    int changes = 0;
    Texture lastOld, lastNew;
    void OnChanged(Piece*, Texture const& o, Texture const& n)
    {
        ++changes;
        lastOld = o;
        lastNew = n;
    }
};

class GeometrySpriteTest : public ::testing::Test
{
protected:
    GeometrySpriteTest()
        : atlasA(BatchTest::UploadedTexture(71)), atlasB(BatchTest::UploadedTexture(72)),
          tile(&atlasA, 1, Vector2(16, 8), Vexel::Rectangle(0, 0, 0.5f, 0.5f)),
          sameAtlas(&atlasA, 2, Vector2(16, 8), Vexel::Rectangle(0.5f, 0.5f, 0.5f, 0.5f)),
          otherAtlas(&atlasB, 3, Vector2(4, 4), Vexel::Rectangle(0, 0, 1, 1))
    {
    }

    void SetUp() override { RenderState::ResetCache(); }

    // Draws the sprite on its own and returns the four vertices GL was given.
    std::vector<VertexP2T2C> Drawn(Sprite& sprite)
    {
        recorder.Clear();
        sprite.DrawTo();
        auto pointers = BatchTest::CallsNamed(recorder, "glVertexPointer");
        EXPECT_EQ(BatchTest::CallsNamed(recorder, "glDrawArrays").size(), 1u);
        if (pointers.empty())
            return {};
        const VertexP2T2C* v = BatchTest::Pointer<VertexP2T2C>(pointers.back(), 3);
        return std::vector<VertexP2T2C>(v, v + 4);
    }

    GL::Recorder recorder;
    Texture atlasA, atlasB;
    TileInfo tile, sameAtlas, otherAtlas;
};

TEST_F(GeometrySpriteTest, GeneratesTheQuadOfItsTile)
{
    const Color color(10, 20, 30, 40);
    Sprite sprite(tile, Vector2(100, 50), color, 0.0f, 2);
    EXPECT_EQ(sprite.GetTexture(), atlasA);
    EXPECT_EQ(sprite.GetBlendMode(), 2);
    EXPECT_EQ(sprite.GetVertexCount(), 4);
    EXPECT_EQ(sprite.GetIndexCount(), 0);
    BatchTest::ExpectCentredQuad(Drawn(sprite), color);
}

TEST_F(GeometrySpriteTest, AChangeGeneratesTwiceThenKeeps)
{
    Sprite sprite(tile, Vector2(100, 50), Color(), 0.0f, 1);
    Drawn(sprite); // first use after a change: generated, asked again
    EXPECT_FALSE(sprite.IsGenerated());
    Drawn(sprite); // second: kept
    EXPECT_TRUE(sprite.IsGenerated());
    VertexP2T2C* kept = sprite.GetVertices();
    Drawn(sprite);
    EXPECT_EQ(sprite.GetVertices(), kept);

    sprite.SetPosition(Vector2(0, 0));
    EXPECT_FALSE(sprite.IsGenerated());
    auto quad = Drawn(sprite);
    EXPECT_FLOAT_EQ(quad[0].x, -8.0f);
    EXPECT_FALSE(sprite.IsGenerated());
    Drawn(sprite);
    EXPECT_TRUE(sprite.IsGenerated());
}

TEST_F(GeometrySpriteTest, SettersWithTheCurrentValueKeepTheResult)
{
    Sprite sprite(tile, Vector2(100, 50), Vector2(10, 6), Color(), 0.5f, 1);
    Drawn(sprite);
    Drawn(sprite);
    ASSERT_TRUE(sprite.IsGenerated());
    sprite.SetSize(Vector2(10, 6));
    sprite.SetPosition(Vector2(100, 50));
    sprite.SetRotation(0.5f);
    sprite.SetRegion(tile.uv);
    sprite.SetOrigin(Vector2(5, 3));
    sprite.SetWidth(10);
    sprite.SetHeight(6);
    sprite.SetTile(tile, true);
    EXPECT_TRUE(sprite.IsGenerated());
    EXPECT_EQ(sprite.GetSize(), Vector2(10, 6));
    sprite.SetSize(Vector2(12, 4));
    EXPECT_FALSE(sprite.IsGenerated());
    EXPECT_EQ(sprite.GetSize(), Vector2(12, 4));
    EXPECT_EQ(sprite.GetOrigin(), Vector2(6, 2));
    sprite.SetWidth(20);
    EXPECT_EQ(sprite.GetWidth(), 20.0f);
    EXPECT_EQ(sprite.GetHeight(), 4.0f);
}

TEST_F(GeometrySpriteTest, SetColorPatchesTheKeptVerticesWithoutRegenerating)
{
    Sprite sprite(tile, Vector2(100, 50), Color(), 0.0f, 1);
    Drawn(sprite);
    Drawn(sprite);
    VertexP2T2C* kept = sprite.GetVertices();
    ASSERT_NE(kept, nullptr);
    const Color red(255, 0, 0, 128);
    sprite.SetColor(red);
    EXPECT_TRUE(sprite.IsGenerated());
    EXPECT_EQ(sprite.GetVertices(), kept);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(kept[i].color, red);
    EXPECT_EQ(sprite.GetColor(), red);
    EXPECT_FLOAT_EQ(kept[0].x, 92.0f);
}

TEST_F(GeometrySpriteTest, SetTileTakesTheRegionAndRaisesTextureChanged)
{
    Sprite sprite(tile, Vector2(100, 50), Color(), 0.0f, 1);
    TextureWatcher watcher;
    sprite.TextureChanged().Subscribe(
        Vexel::Action<Piece*, Texture const&, Texture const&>(&watcher, &TextureWatcher::OnChanged));
    Drawn(sprite);
    Drawn(sprite);
    sprite.SetTile(sameAtlas, false);
    EXPECT_EQ(sprite.GetTile(), &sameAtlas);
    EXPECT_EQ(sprite.GetRegion(), tile.uv);
    EXPECT_TRUE(sprite.IsGenerated()); // the quad itself did not change
    sprite.SetTile(otherAtlas, true);
    EXPECT_EQ(sprite.GetRegion(), otherAtlas.uv);
    EXPECT_FALSE(sprite.IsGenerated());
    EXPECT_EQ(sprite.GetTexture(), atlasB);
    EXPECT_EQ(watcher.changes, 2);
    EXPECT_EQ(watcher.lastOld, atlasA);
    EXPECT_EQ(watcher.lastNew, atlasB);
    sprite.TextureChanged().Unsubscribe(&watcher);
}

TEST_F(GeometrySpriteTest, RotationTurnsTheQuadAboutItsCentre)
{
    Sprite sprite(tile, Vector2(100, 50), Color(), float(M_PI / 2), 1);
    auto quad = Drawn(sprite);
    EXPECT_NEAR(quad[0].x, 104.0f, 1e-4);
    EXPECT_NEAR(quad[0].y, 42.0f, 1e-4);
    EXPECT_NEAR(quad[3].x, 96.0f, 1e-4);
    EXPECT_NEAR(quad[3].y, 58.0f, 1e-4);
}

TEST_F(GeometrySpriteTest, DrawsThroughATransientBatch)
{
    TransientBatch batch;
    Sprite a(tile, Vector2(100, 50), Color(), 0.0f, 1), b(otherAtlas, Vector2(0, 0), Color(), 0.0f, 2);
    for (int frame = 0; frame < 3; ++frame)
    {
        recorder.Clear();
        batch.Add(&a);
        batch.Add(&b);
        batch.Draw();
        EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"draw"}),
                  (std::vector<std::string>{"draw 6", "draw 6"}));
    }
    EXPECT_TRUE(a.IsGenerated());
    EXPECT_TRUE(b.IsGenerated());
}

} // namespace
