#include "engine/graphics/SpriteBatch.h"

#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Sprite.h"
#include "tests/graphics/BatchTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace Vexel::Graphics;
using Vexel::Graphics::Geometry::VertexP2T2C;
using Vexel::Graphics::Sprites::SpriteState;
using Vexel::Graphics::Sprites::TransientBatch;

namespace
{

const Vexel::Rectangle kRegion(0.0f, 0.0f, 0.5f, 0.5f);

class SpriteBatchTest : public ::testing::Test
{
protected:
    void SetUp() override { RenderState::ResetCache(); }

    void AddPlain(TransientBatch& batch, Texture const& texture, int blendMode, float x = 10.0f)
    {
        batch.AddQuad(texture, SpriteState(kRegion, x, 20.0f, 4.0f, 4.0f, 0.0f, Color()), blendMode);
    }

    // The four vertices of the only quad drawn.
    std::vector<VertexP2T2C> OnlyQuad()
    {
        auto pointers = BatchTest::CallsNamed(recorder, "glVertexPointer");
        EXPECT_EQ(pointers.size(), 1u);
        const VertexP2T2C* v = BatchTest::Pointer<VertexP2T2C>(pointers.at(0), 3);
        return std::vector<VertexP2T2C>(v, v + 4);
    }

    GL::Recorder recorder;
};

// Quad j reads 4j, 4j+1, 4j+2, 4j+3, then 4j+3, 4j+4.
TEST_F(SpriteBatchTest, SharedIndexPatternJoinsQuadsByDegenerateTriangles)
{
    const uint16_t* indices = Sprites::GetSharedIndices(300);
    for (int j = 0; j < 300; ++j)
    {
        const int expected[6] = {4 * j, 4 * j + 1, 4 * j + 2, 4 * j + 3, 4 * j + 3, 4 * j + 4};
        for (int k = 0; k < 6; ++k)
            ASSERT_EQ(indices[6 * j + k], expected[k]) << "quad " << j << " slot " << k;
    }
    // A smaller request hands out the same (grown only) pattern.
    EXPECT_EQ(Sprites::GetSharedIndices(2), indices);
}

TEST_F(SpriteBatchTest, SixHundredQuadsInBatchOf512DrawAs3070And526Indices)
{
    TransientBatch batch(512);
    const Texture texture = BatchTest::UploadedTexture(7);
    for (int i = 0; i < 600; ++i)
        AddPlain(batch, texture, 1, float(i));
    batch.Draw();
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"draw", "vp"}),
              (std::vector<std::string>{"vp", "draw 3070", "vp", "draw 526"}));
    // Both lists start at the beginning of the shared pattern.
    auto draws = BatchTest::CallsNamed(recorder, "glDrawElements");
    EXPECT_EQ(draws[0].ints[3], draws[1].ints[3]);
    EXPECT_EQ(draws[0].ints[0], GL_TRIANGLE_STRIP);
    EXPECT_EQ(draws[0].ints[2], GL_UNSIGNED_SHORT);
    // Quad 599 is the 88th quad of the second list, at x = 599.
    auto pointers = BatchTest::CallsNamed(recorder, "glVertexPointer");
    auto drawn = BatchTest::DrawnVertices(pointers[1], draws[1]);
    EXPECT_FLOAT_EQ(drawn.back().x, 599.0f + 4.0f);
}

TEST_F(SpriteBatchTest, QuadsAddedAsABADrawAsThreeRunsInThatOrder)
{
    TransientBatch batch(512);
    const Texture a = BatchTest::UploadedTexture(11);
    const Texture b = BatchTest::UploadedTexture(12);
    AddPlain(batch, a, 1);
    AddPlain(batch, b, 1);
    AddPlain(batch, a, 1);
    batch.Draw();
    std::vector<std::string> expected;
    // The batch binds one of its textures before the first run.
    expected.push_back(a < b ? "bind 11" : "bind 12");
    if (!(a < b))
        expected.push_back("bind 11");
    for (std::string line : {"draw 4", "bind 12", "draw 4", "bind 11", "draw 4"})
        expected.push_back(line);
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"bind", "draw"}), expected);
}

TEST_F(SpriteBatchTest, BlendModeChangesSplitRunsAndTheModeIsRestored)
{
    struct Case
    {
        std::vector<int> modes;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // From the default mode 1: only changes reach GL, and 1 comes back.
        {{1, 2, 1}, {"draw 4", "blend 770 1", "draw 4", "blend 770 771", "draw 4"}},
        {{2, 2}, {"blend 770 1", "draw 10", "blend 770 771"}},
        // Opaque switches GL_BLEND off while it is current.
        {{0, 3},
         {"disable 3042", "blend 1 0", "draw 4", "enable 3042", "blend 774 0", "draw 4", "blend 770 771"}},
    };
    const Texture texture = BatchTest::UploadedTexture(3);
    for (auto const& c : cases)
    {
        recorder.Clear();
        TransientBatch batch(512);
        for (int mode : c.modes)
            AddPlain(batch, texture, mode);
        batch.Draw();
        EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"draw", "blend", "enable", "disable"}),
                  c.expected);
        EXPECT_EQ(RenderState::GetBlendMode(), 1);
    }
}

TEST_F(SpriteBatchTest, DrawWithNothingAddedMakesNoCall)
{
    TransientBatch batch(512);
    batch.Draw();
    EXPECT_TRUE(recorder.GetCalls().empty());
    AddPlain(batch, BatchTest::UploadedTexture(1), 1);
    batch.Draw();
    recorder.Clear();
    batch.Draw(); // everything was forgotten
    EXPECT_TRUE(recorder.GetCalls().empty()) << recorder.Describe();
}

TEST_F(SpriteBatchTest, DrawRestoresBlendModeAndClientArrays)
{
    RenderState::SetBlendMode(3);
    RenderState::SetClientArrays(false, true, false);
    recorder.Clear();
    TransientBatch batch(512);
    AddPlain(batch, BatchTest::UploadedTexture(1), 2);
    batch.Draw();
    EXPECT_EQ(RenderState::GetBlendMode(), 3);
    EXPECT_EQ(RenderState::GetClientArrays(), ClientArrayState(false, true, false));
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"on", "off"}),
              (std::vector<std::string>{"on 32884", "on 32888", "off 32884", "off 32888"}));
}

TEST_F(SpriteBatchTest, QuadVerticesFollowPositionOriginAndRegion)
{
    TransientBatch batch(512);
    const Color color(1, 2, 3, 4);
    batch.AddQuad(BatchTest::UploadedTexture(1), SpriteState(kRegion, 100.0f, 50.0f, 8.0f, 4.0f, 0.0f, color),
                  1);
    batch.Draw();
    BatchTest::ExpectCentredQuad(OnlyQuad(), color);
}

TEST_F(SpriteBatchTest, RotatedQuadTurnsAboutItsCentre)
{
    TransientBatch batch(512);
    const float halfPi = float(M_PI / 2);
    batch.AddQuad(BatchTest::UploadedTexture(1),
                  SpriteState(kRegion, 100.0f, 50.0f, 8.0f, 4.0f, halfPi, Color()), 1);
    batch.Draw();
    auto quad = OnlyQuad();
    EXPECT_NEAR(quad[0].x, 104.0f, 1e-4);
    EXPECT_NEAR(quad[0].y, 42.0f, 1e-4);
    EXPECT_NEAR((quad[0].x + quad[3].x) / 2, 100.0f, 1e-4);
    EXPECT_NEAR((quad[0].y + quad[3].y) / 2, 50.0f, 1e-4);
    EXPECT_NEAR((quad[1].x + quad[2].x) / 2, 100.0f, 1e-4);
    EXPECT_NEAR((quad[1].y + quad[2].y) / 2, 50.0f, 1e-4);
}

TEST_F(SpriteBatchTest, EveryAddFormBuildsItsQuad)
{
    Texture atlas = BatchTest::UploadedTexture(9);
    const TileInfo tile(&atlas, 4, Vector2(16, 8), Vexel::Rectangle(0.25f, 0.5f, 0.25f, 0.125f));
    const TileInfo bare(nullptr, 5, Vector2(2, 2), Vexel::Rectangle(0, 0, 1, 1));
    const Color c(9, 8, 7, 6);
    const Vector2 p(100, 50);
    const float r = 0.5f;
    struct Case
    {
        const char* name;
        std::function<void(TransientBatch&)> add;
        SpriteState expected;
        unsigned boundTexture;
    };
    const Case cases[] = {
        {"AddRegionSized",
         [&](TransientBatch& b) { b.AddRegionSized(atlas, kRegion, p, Vector2(6, 4), c, 1); },
         SpriteState(kRegion, 100, 50, 3, 2, 0, c), 9},
        {"AddRegionSizedRotated",
         [&](TransientBatch& b) { b.AddRegionSizedRotated(atlas, r, kRegion, p, Vector2(6, 4), c, 1); },
         SpriteState(kRegion, 100, 50, 3, 2, r, c), 9},
        {"AddTileSized", [&](TransientBatch& b) { b.AddTileSized(tile, p, Vector2(6, 4), c, 1); },
         SpriteState(tile.uv, 100, 50, 3, 2, 0, c), 9},
        {"AddTile", [&](TransientBatch& b) { b.AddTile(tile, p, c, 1); },
         SpriteState(tile.uv, 100, 50, 8, 4, 0, c), 9},
        {"AddTileSizedRotated",
         [&](TransientBatch& b) { b.AddTileSizedRotated(tile, r, p, Vector2(6, 4), c, 1); },
         SpriteState(tile.uv, 100, 50, 3, 2, r, c), 9},
        {"AddTileRotated", [&](TransientBatch& b) { b.AddTileRotated(tile, r, p, c, 1); },
         SpriteState(tile.uv, 100, 50, 8, 4, r, c), 9},
        // A tile whose atlas is not made yet draws with the empty texture.
        {"AddTile without texture", [&](TransientBatch& b) { b.AddTile(bare, p, c, 1); },
         SpriteState(bare.uv, 100, 50, 1, 1, 0, c), 0},
    };
    for (auto const& testCase : cases)
    {
        SCOPED_TRACE(testCase.name);
        recorder.Clear();
        TransientBatch batch(4);
        testCase.add(batch);
        batch.Draw();
        auto quad = OnlyQuad();
        VertexP2T2C expected[4];
        Sprites::WriteQuad(expected, testCase.expected);
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_FLOAT_EQ(quad[i].x, expected[i].x) << i;
            EXPECT_FLOAT_EQ(quad[i].y, expected[i].y) << i;
            EXPECT_FLOAT_EQ(quad[i].u, expected[i].u) << i;
            EXPECT_FLOAT_EQ(quad[i].v, expected[i].v) << i;
            EXPECT_EQ(quad[i].color, c);
        }
        EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"bind"}),
                  std::vector<std::string>{"bind " + std::to_string(testCase.boundTexture)});
    }
}

TEST_F(SpriteBatchTest, AddSpriteUsesTheSpritesTextureStateAndBlend)
{
    Texture atlas = BatchTest::UploadedTexture(21);
    const TileInfo tile(&atlas, 1, Vector2(16, 8), kRegion);
    Sprites::Sprite sprite(tile, Vector2(100, 50), Color(), 0.0f, 2);
    TransientBatch batch(8);
    batch.AddSprite(&sprite);
    batch.AddSprite(nullptr);
    batch.Draw();
    auto quad = OnlyQuad();
    EXPECT_FLOAT_EQ(quad[0].x, 92.0f);
    EXPECT_FLOAT_EQ(quad[3].y, 54.0f);
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"bind", "blend", "draw"}),
              (std::vector<std::string>{"bind 21", "blend 770 1", "draw 4", "blend 770 771"}));
}

// A list of 512 quads has 256 group slots: the 257th run goes to the next list.
TEST_F(SpriteBatchTest, TheGroupAfterTheLastSlotContinuesInTheNextList)
{
    TransientBatch batch(512);
    const Texture a = BatchTest::UploadedTexture(31);
    const Texture b = BatchTest::UploadedTexture(32);
    for (int i = 0; i < 257; ++i)
        AddPlain(batch, i % 2 ? b : a, 1);
    batch.Draw();
    auto trace = BatchTest::Trace(recorder);
    EXPECT_EQ(BatchTest::Filter(trace, {"vp"}).size(), 2u);
    EXPECT_EQ(BatchTest::Filter(trace, {"draw"}).size(), 257u);
    // The last run is drawn from the start of the second list.
    auto draws = BatchTest::CallsNamed(recorder, "glDrawElements");
    EXPECT_EQ(draws.back().ints[3], draws.front().ints[3]);
}

TEST_F(SpriteBatchTest, CapacityOneGivesListsOfOneQuad)
{
    TransientBatch batch(1);
    const Texture texture = BatchTest::UploadedTexture(1);
    for (int i = 0; i < 3; ++i)
        AddPlain(batch, texture, 1);
    batch.Draw();
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"vp", "draw"}),
              (std::vector<std::string>{"vp", "draw 4", "vp", "draw 4", "vp", "draw 4"}));
}

TEST_F(SpriteBatchTest, ListsAreReusedFromFrameToFrame)
{
    TransientBatch batch(4);
    const Texture texture = BatchTest::UploadedTexture(1);
    std::vector<int64_t> firstFrame;
    for (int frame = 0; frame < 2; ++frame)
    {
        recorder.Clear();
        for (int i = 0; i < 6; ++i)
            AddPlain(batch, texture, 1);
        batch.Draw();
        std::vector<int64_t> addresses;
        for (auto const& call : BatchTest::CallsNamed(recorder, "glVertexPointer"))
            addresses.push_back(call.ints[3]);
        ASSERT_EQ(addresses.size(), 2u);
        if (frame == 0)
            firstFrame = addresses;
        else
            EXPECT_EQ(addresses, firstFrame);
    }
}

TEST_F(SpriteBatchTest, TransformsArePushedAroundTheDraw)
{
    const Texture texture = BatchTest::UploadedTexture(1);
    TransientBatch batch(8);
    AddPlain(batch, texture, 1);
    batch.Draw(Vector2(5, 6), Vector2(2, 3));
    auto trace = BatchTest::Filter(BatchTest::Trace(recorder), {"push", "mult", "pop", "draw"});
    EXPECT_EQ(trace, (std::vector<std::string>{"push", "mult", "draw 4", "pop"}));
    auto mult = BatchTest::CallsNamed(recorder, "glMultMatrixf").at(0);
    EXPECT_EQ(mult.floats[0], 2.0f);
    EXPECT_EQ(mult.floats[5], 3.0f);
    EXPECT_EQ(mult.floats[12], 5.0f);
    EXPECT_EQ(mult.floats[13], 6.0f);

    recorder.Clear();
    AddPlain(batch, texture, 1);
    batch.DrawTransformed(Transform2D::None);
    EXPECT_TRUE(BatchTest::Filter(BatchTest::Trace(recorder), {"push", "mult", "pop"}).empty());
}

TEST_F(SpriteBatchTest, OversizedCapacityIsClampedToWhat16BitIndicesReach)
{
    TransientBatch batch(100000);
    const Texture texture = BatchTest::UploadedTexture(1);
    for (int i = 0; i < TransientBatch::kMaxCapacity + 1; ++i)
        AddPlain(batch, texture, 1);
    batch.Draw();
    EXPECT_EQ(
        BatchTest::Filter(BatchTest::Trace(recorder), {"draw"}),
        (std::vector<std::string>{"draw " + std::to_string(6 * TransientBatch::kMaxCapacity - 2), "draw 4"}));
    auto draws = BatchTest::CallsNamed(recorder, "glDrawElements");
    const uint16_t* indices = BatchTest::Pointer<uint16_t>(draws[0], 3);
    EXPECT_EQ(indices[6 * TransientBatch::kMaxCapacity - 3], 65535);
}

} // namespace

namespace
{

using Vexel::Graphics::Sprites::PersistentBatch;
using Vexel::Graphics::Sprites::Sprite;

class SpritePersistentBatchTest : public SpriteBatchTest
{
protected:
    SpritePersistentBatchTest()
        : atlasA(BatchTest::UploadedTexture(41)), atlasB(BatchTest::UploadedTexture(42)),
          tileA(&atlasA, 1, Vector2(8, 8), kRegion), tileB(&atlasB, 2, Vector2(8, 8), kRegion)
    {
    }

    // x of the first vertex of every quad drawn, in draw order.
    std::vector<float> DrawnQuadLefts()
    {
        std::vector<float> out;
        auto const& calls = recorder.GetCalls();
        const GL::Call* pointer = nullptr;
        for (auto const& call : calls)
        {
            if (call.name == "glVertexPointer")
                pointer = &call;
            if (call.name == "glDrawElements" && pointer)
            {
                auto drawn = BatchTest::DrawnVertices(*pointer, call);
                // Each quad: join, first vertex twice, then the other three.
                for (size_t i = 2; i < drawn.size(); i += 6)
                    out.push_back(drawn[i].x);
            }
        }
        return out;
    }

    Texture atlasA, atlasB;
    TileInfo tileA, tileB;
};

TEST_F(SpritePersistentBatchTest, DrawsLayersInAscendingOrderAndSpritesInInsertionOrder)
{
    Sprite s1(tileA, Vector2(10, 0), Color(), 0, 1), s2(tileA, Vector2(20, 0), Color(), 0, 1),
        s3(tileA, Vector2(30, 0), Color(), 0, 1);
    PersistentBatch batch;
    EXPECT_TRUE(batch.Add(&s1, 5));
    EXPECT_TRUE(batch.Add(&s2, -1));
    EXPECT_TRUE(batch.Add(&s3, 5));
    EXPECT_FALSE(batch.Add(&s3, 5));
    EXPECT_TRUE(batch.Contains(&s2));
    batch.Draw();
    EXPECT_EQ(DrawnQuadLefts(), (std::vector<float>{16, 6, 26}));
    // Kept across frames.
    recorder.Clear();
    batch.Draw();
    EXPECT_EQ(DrawnQuadLefts(), (std::vector<float>{16, 6, 26}));
    // Moving to another layer goes to its end.
    EXPECT_TRUE(batch.Add(&s2, 9));
    recorder.Clear();
    batch.Draw();
    EXPECT_EQ(DrawnQuadLefts(), (std::vector<float>{6, 26, 16}));
}

TEST_F(SpritePersistentBatchTest, TextureAndBlendChangesFlushTheBuffer)
{
    Sprite s1(tileA, Vector2(10, 0), Color(), 0, 1), s2(tileB, Vector2(20, 0), Color(), 0, 1),
        s3(tileB, Vector2(30, 0), Color(), 0, 2);
    PersistentBatch batch;
    batch.Add(&s1, 0);
    batch.Add(&s2, 0);
    batch.Add(&s3, 0);
    batch.Draw();
    std::vector<std::string> expected{atlasA < atlasB ? "bind 41" : "bind 42"};
    if (!(atlasA < atlasB))
        expected.push_back("bind 41");
    for (std::string line : {"draw 6", "bind 42", "draw 6", "blend 770 1", "draw 6", "blend 770 771"})
        expected.push_back(line);
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"bind", "draw", "blend"}), expected);
}

// 512 quads fill the 2048-vertex buffer: the rest follow after a flush, none lost.
TEST_F(SpritePersistentBatchTest, AFullBufferIsDrawnAndTheSpriteRetried)
{
    std::vector<std::unique_ptr<Sprite>> sprites;
    PersistentBatch batch;
    for (int i = 0; i < 600; ++i)
    {
        sprites.emplace_back(new Sprite(tileA, Vector2(float(i), 0), Color(), 0, 1));
        batch.Add(sprites.back().get(), 0);
    }
    batch.Draw();
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"draw"}),
              (std::vector<std::string>{"draw 3072", "draw 528"}));
    // The buffer was refilled after the first draw: the second draw holds
    // the last 88 sprites, in order.
    auto lefts = DrawnQuadLefts();
    ASSERT_EQ(lefts.size(), 600u);
    for (int i = 512; i < 600; ++i)
        EXPECT_EQ(lefts[i], float(i) - 4) << i;
}

TEST_F(SpritePersistentBatchTest, RemovedAndDestroyedSpritesAreNotDrawn)
{
    Sprite kept(tileA, Vector2(10, 0), Color(), 0, 1);
    Sprite removed(tileA, Vector2(20, 0), Color(), 0, 1);
    Sprite* destroyed = new Sprite(tileB, Vector2(30, 0), Color(), 0, 1);
    PersistentBatch batch;
    batch.Add(&kept, 0);
    batch.Add(&removed, 0);
    batch.Add(destroyed, 0);
    EXPECT_TRUE(batch.Remove(&removed));
    EXPECT_FALSE(batch.Remove(&removed));
    delete destroyed;
    batch.Draw();
    EXPECT_EQ(DrawnQuadLefts(), std::vector<float>{6});
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"bind"}), std::vector<std::string>{"bind 41"});
    // Nothing left: no call at all.
    batch.Remove(&kept);
    recorder.Clear();
    batch.Draw();
    EXPECT_TRUE(recorder.GetCalls().empty());
}

TEST_F(SpritePersistentBatchTest, ATextureChangeMovesTheSpritesTextureCount)
{
    Sprite sprite(tileA, Vector2(10, 0), Color(), 0, 1);
    PersistentBatch batch;
    batch.Add(&sprite, 0);
    sprite.SetTile(tileB, false);
    batch.Draw();
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"bind"}), std::vector<std::string>{"bind 42"});
}

TEST_F(SpritePersistentBatchTest, LayerTransformsArePushedInTurn)
{
    Sprite s1(tileA, Vector2(10, 0), Color(), 0, 1), s2(tileA, Vector2(20, 0), Color(), 0, 1);
    PersistentBatch batch;
    batch.Add(&s1, 0);
    batch.Add(&s2, 1);
    EXPECT_EQ(batch.GetLayerTransform(7), Transform2D::None);
    EXPECT_EQ(batch.GetLayerTransform(0), Transform2D(Vector2(0, 0), Vector2(1, 1)));
    batch.SetLayerTransform(1, Transform2D(Vector2(3, 4), Vector2(1, 1)));
    batch.DrawTransformed(Transform2D::None);
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"push", "pop", "draw"}),
              (std::vector<std::string>{"push", "draw 6", "pop", "push", "draw 6", "pop"}));
    batch.ResetLayerTransform(0);
    batch.ResetLayerTransform(1);
    recorder.Clear();
    batch.DrawTransformed(Transform2D::None);
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"push", "pop", "draw"}),
              (std::vector<std::string>{"draw 12"}));
}

TEST_F(SpritePersistentBatchTest, SpritesMayOutliveTheBatch)
{
    Sprite sprite(tileA, Vector2(10, 0), Color(), 0, 1);
    {
        PersistentBatch batch;
        batch.Add(&sprite, 0);
    }
    sprite.SetTile(tileB, false); // must not reach the dead batch
    EXPECT_EQ(sprite.TextureChanged().SubscriberCount(), 0u);
    EXPECT_EQ(sprite.Destroyed().SubscriberCount(), 0u);
}

} // namespace
