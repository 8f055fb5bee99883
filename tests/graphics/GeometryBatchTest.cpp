#include "engine/graphics/GeometryBatch.h"

#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "tests/graphics/BatchTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Vexel::Graphics;
using namespace Vexel::Graphics::Geometry;

// The namespace and the piece class share a name: one alias for the class.
typedef Vexel::Graphics::Geometry::Geometry<Vexel::Graphics::Geometry::VertexP2T2C> Piece;

namespace
{

// What a test piece's generator saw; outlives the piece.
struct Probe
{
    int calls = 0;
    int callsAfterDeath = 0;
    bool dead = false;
};

// A strip of n vertices at x = x0, x0 + 1, ... copied from its own source
// array (freed with the piece, so a call after death reads freed memory).
class StripPiece : public Piece
{
public:
    StripPiece(int n, float x0, Texture const& texture, int blendMode, Probe* probe,
               GenerationResponse::Enum response = GenerationResponse::Keep, int indexCount = 0)
        : Piece(n, indexCount, texture, blendMode), source(n), probe(probe), response(response)
    {
        for (int i = 0; i < n; ++i)
            source[i] = VertexP2T2C(x0 + float(i), float(i % 2), 0.0f, 0.0f, Color());
        SetGenerator(Generator(this, &StripPiece::Generate));
    }
    ~StripPiece() override { probe->dead = true; }

    GenerationResponse::Enum Generate(GenerationData<VertexP2T2C>& data)
    {
        ++probe->calls;
        if (probe->dead)
            ++probe->callsAfterDeath;
        const int n = lowerTo >= 0 ? lowerTo : *data.vertexCount;
        for (int i = 0; i < n; ++i)
            data.vertices[i] = source[i];
        *data.vertexCount = n;
        if (data.indices)
        {
            for (int i = 0; i < *data.indexCount; ++i)
                data.indices[i] = uint16_t(indexPattern.empty() ? i % n : indexPattern[i]);
        }
        return response;
    }

    std::vector<VertexP2T2C> source;
    Probe* probe;
    GenerationResponse::Enum response;
    int lowerTo = -1;
    std::vector<int> indexPattern;
};

class GeometryBatchTest : public ::testing::Test
{
protected:
    GeometryBatchTest() : texA(BatchTest::UploadedTexture(61)), texB(BatchTest::UploadedTexture(62)) {}

    void SetUp() override { RenderState::ResetCache(); }

    std::vector<std::string> Draws()
    {
        return BatchTest::Filter(BatchTest::Trace(recorder), {"draw", "arrays"});
    }

    // x of every vertex that each glDrawElements drew.
    std::vector<std::vector<float>> DrawnXs()
    {
        std::vector<std::vector<float>> out;
        const GL::Call* pointer = nullptr;
        for (auto const& call : recorder.GetCalls())
        {
            if (call.name == "glVertexPointer")
                pointer = &call;
            if (call.name == "glDrawElements" && pointer)
            {
                out.emplace_back();
                for (auto const& v : BatchTest::DrawnVertices(*pointer, call))
                    out.back().push_back(v.x);
            }
        }
        return out;
    }

    GL::Recorder recorder;
    Texture texA, texB;
    Probe probe;
};

TEST_F(GeometryBatchTest, TenPiecesOfOneTextureAndBlendAreOneDrawCall)
{
    TransientBatch batch;
    std::vector<std::unique_ptr<StripPiece>> pieces;
    for (int i = 0; i < 10; ++i)
    {
        pieces.emplace_back(new StripPiece(4, float(10 * i), texA, 1, &probe));
        batch.Add(pieces.back().get());
    }
    batch.Draw();
    EXPECT_EQ(Draws(), std::vector<std::string>{"draw 60"});
    // Strips joined by degenerate indices: the join repeats the last vertex
    // of the piece before and the first of the next.
    auto xs = DrawnXs().at(0);
    EXPECT_EQ(std::vector<float>(xs.begin(), xs.begin() + 12),
              (std::vector<float>{0, 0, 0, 1, 2, 3, 3, 10, 10, 11, 12, 13}));
}

TEST_F(GeometryBatchTest, TheSixtyFifthRunMovesToASecondImmediateBatch)
{
    TransientBatch batch;
    std::vector<std::unique_ptr<StripPiece>> pieces;
    for (int i = 0; i < 65; ++i)
    {
        pieces.emplace_back(new StripPiece(3, float(i), i % 2 ? texB : texA, 1, &probe));
        batch.Add(pieces.back().get());
    }
    batch.Draw();
    auto trace = BatchTest::Filter(BatchTest::Trace(recorder), {"draw", "bind"});
    std::vector<std::string> expected{texA < texB ? "bind 61" : "bind 62"};
    for (int i = 0; i < 65; ++i)
    {
        if (i > 0 || !(texA < texB))
            expected.push_back(i % 2 ? "bind 62" : "bind 61");
        expected.push_back("draw 5");
    }
    EXPECT_EQ(trace, expected);
    // Drawn in the order added, the last from the second batch's buffer.
    auto xs = DrawnXs();
    ASSERT_EQ(xs.size(), 65u);
    for (int i = 0; i < 65; ++i)
        EXPECT_EQ(xs[i].back(), float(i + 2)) << i;
    auto pointers = BatchTest::CallsNamed(recorder, "glVertexPointer");
    EXPECT_NE(pointers.front().ints[3], pointers.back().ints[3]);
}

TEST_F(GeometryBatchTest, AThreeHundredVertexStripIsHeldAndDrawnAfterItsBatch)
{
    TransientBatch batch;
    StripPiece before(3, 0, texA, 1, &probe), big(300, 1000, texB, 1, &probe), after(3, 10, texA, 1, &probe);
    batch.Add(&before);
    batch.Add(&big);
    batch.Add(&after);
    batch.Draw();
    auto trace = BatchTest::Filter(BatchTest::Trace(recorder), {"draw", "arrays", "bind"});
    std::vector<std::string> expected{texA < texB ? "bind 61" : "bind 62"};
    if (!(texA < texB))
        expected.push_back("bind 61");
    for (std::string line : {"draw 10", "bind 62", "arrays 0 300"})
        expected.push_back(line);
    EXPECT_EQ(trace, expected);
    // Released at the draw: the next frame has nothing.
    recorder.Clear();
    batch.Draw();
    EXPECT_TRUE(recorder.GetCalls().empty());
}

TEST_F(GeometryBatchTest, APieceDestroyedAfterAddIsStillDrawnOnce)
{
    struct Case
    {
        const char* name;
        int vertices;
        GenerationResponse::Enum response;
        std::string draw;
    };
    const Case cases[] = {
        {"copied small piece", 3, GenerationResponse::Generated, "draw 5"},
        {"held piece, result kept", 300, GenerationResponse::Keep, "arrays 0 300"},
        {"held piece, asks again", 300, GenerationResponse::Generated, "arrays 0 300"},
    };
    for (auto const& c : cases)
    {
        SCOPED_TRACE(c.name);
        recorder.Clear();
        Probe local;
        TransientBatch batch;
        StripPiece* piece = new StripPiece(c.vertices, 0, texA, 1, &local, c.response);
        batch.Add(piece);
        delete piece;
        batch.Draw();
        EXPECT_EQ(Draws(), std::vector<std::string>{c.draw});
        EXPECT_EQ(local.callsAfterDeath, 0);
        EXPECT_EQ(local.calls, 1);
    }
}

TEST_F(GeometryBatchTest, AHeldPieceResizedAndThenDestroyedDrawsNothing)
{
    TransientBatch batch;
    StripPiece* piece = new StripPiece(300, 0, texA, 1, &probe);
    batch.Add(piece);
    piece->Resize(200, 0); // its held result is stale now
    delete piece;
    batch.Draw();
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(probe.callsAfterDeath, 0);
}

TEST_F(GeometryBatchTest, AGeneratorAnsweringZeroLeavesNothingBehind)
{
    TransientBatch batch;
    StripPiece first(3, 0, texA, 1, &probe), nothing(8, 100, texA, 1, &probe, GenerationResponse::None),
        last(3, 10, texA, 1, &probe);
    batch.Add(&first);
    batch.Add(&nothing);
    batch.Add(&last);
    batch.Draw();
    // The empty piece sends the layer on to a fresh batch, where the last
    // piece starts a buffer of its own; no slot of the empty one is drawn.
    ASSERT_EQ(Draws(), (std::vector<std::string>{"draw 5", "draw 5"}));
    EXPECT_EQ(DrawnXs(), (std::vector<std::vector<float>>{{0, 0, 0, 1, 2}, {10, 10, 10, 11, 12}}));
}

TEST_F(GeometryBatchTest, AGeneratorLoweringItsCountDrawsOnlyWhatItWrote)
{
    TransientBatch batch;
    StripPiece lowered(10, 0, texA, 1, &probe), last(3, 50, texA, 1, &probe);
    lowered.lowerTo = 4;
    batch.Add(&lowered);
    batch.Add(&last);
    batch.Draw();
    ASSERT_EQ(Draws(), std::vector<std::string>{"draw 11"});
    EXPECT_EQ(DrawnXs().at(0), (std::vector<float>{0, 0, 0, 1, 2, 3, 3, 50, 50, 51, 52}));
    EXPECT_EQ(lowered.GetVertexCount(), 4);
}

TEST_F(GeometryBatchTest, DrawWithoutAddMakesNoCallAndKeepsTheBlendMode)
{
    TransientBatch batch;
    RenderState::SetBlendMode(2);
    recorder.Clear();
    batch.Draw();
    EXPECT_TRUE(recorder.GetCalls().empty());
    EXPECT_EQ(RenderState::GetBlendMode(), 2);
}

TEST_F(GeometryBatchTest, DrawRestoresTheBlendModeItFound)
{
    TransientBatch batch;
    StripPiece additive(3, 0, texA, 2, &probe), opaque(3, 0, texA, 0, &probe);
    batch.Add(&additive);
    batch.Add(&opaque);
    batch.Draw();
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"blend", "draw", "enable", "disable"}),
              (std::vector<std::string>{"blend 770 1", "draw 5", "disable 3042", "blend 1 0", "draw 5",
                                        "enable 3042", "blend 770 771"}));
    EXPECT_EQ(RenderState::GetBlendMode(), 1);
}

TEST_F(GeometryBatchTest, AKeptResultIsGeneratedOnceUntilResize)
{
    TransientBatch batch;
    StripPiece piece(4, 0, texA, 1, &probe);
    for (int frame = 0; frame < 3; ++frame)
    {
        batch.Add(&piece);
        batch.Draw();
    }
    EXPECT_EQ(probe.calls, 1);
    piece.Resize(4, 0);
    batch.Add(&piece);
    batch.Draw();
    EXPECT_EQ(probe.calls, 2);
    EXPECT_EQ(Draws().size(), 4u);

    Probe again;
    StripPiece asking(4, 0, texA, 1, &again, GenerationResponse::Generated);
    for (int frame = 0; frame < 3; ++frame)
    {
        batch.Add(&asking);
        batch.Draw();
    }
    EXPECT_EQ(again.calls, 3);
}

TEST_F(GeometryBatchTest, APieceOfTwoVerticesIsNeverDrawn)
{
    TransientBatch batch;
    StripPiece two(2, 0, texA, 1, &probe);
    batch.Add(&two);
    batch.Draw();
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(probe.calls, 0);
    two.DrawTo();
    EXPECT_TRUE(Draws().empty());
}

TEST_F(GeometryBatchTest, IndexedPiecesAreOffsetToWhereTheirVerticesLand)
{
    TransientBatch batch;
    StripPiece first(3, 0, texA, 1, &probe);
    StripPiece quad(4, 20, texA, 1, &probe, GenerationResponse::Keep, 4);
    quad.indexPattern = {1, 2, 0, 3};
    batch.Add(&first);
    batch.Add(&quad);
    batch.Draw();
    ASSERT_EQ(Draws(), std::vector<std::string>{"draw 11"});
    EXPECT_EQ(DrawnXs().at(0), (std::vector<float>{0, 0, 0, 1, 2, 2, 21, 21, 22, 20, 23}));
}

TEST_F(GeometryBatchTest, AnIndexPastItsVerticesIsRefused)
{
    TransientBatch batch;
    StripPiece bad(4, 0, texA, 1, &probe, GenerationResponse::Keep, 4);
    bad.indexPattern = {0, 1, 2, 9};
    batch.Add(&bad);
    batch.Draw();
    bad.DrawTo();
    EXPECT_TRUE(Draws().empty());
}

TEST_F(GeometryBatchTest, CloneStealsOrCopiesTheResult)
{
    StripPiece piece(4, 5, texB, 2, &probe);
    std::unique_ptr<Piece> copy(piece.Clone(false));
    EXPECT_EQ(probe.calls, 1);
    ASSERT_TRUE(copy->IsGenerated());
    EXPECT_EQ(copy->GetVertices()[3].x, 8.0f);
    EXPECT_EQ(copy->GetTexture(), texB);
    EXPECT_EQ(copy->GetBlendMode(), 2);
    ASSERT_TRUE(piece.IsGenerated());
    EXPECT_EQ(piece.GetVertices()[3].x, 8.0f);
    EXPECT_NE(piece.GetVertices(), copy->GetVertices());

    std::unique_ptr<Piece> stolen(piece.Clone(true));
    EXPECT_EQ(stolen->GetVertices()[0].x, 5.0f);
    EXPECT_FALSE(piece.IsGenerated());
    EXPECT_EQ(piece.GetVertices(), nullptr);
    EXPECT_EQ(probe.calls, 1);

    Probe none;
    StripPiece nothing(4, 0, texA, 3, &none, GenerationResponse::None);
    std::unique_ptr<Piece> empty(nothing.Clone(true));
    EXPECT_EQ(empty->GetVertexCount(), 1);
    EXPECT_EQ(empty->GetIndexCount(), 0);
    EXPECT_EQ(empty->GetBlendMode(), 3);
    empty->DrawTo();
    EXPECT_TRUE(Draws().empty());
}

TEST_F(GeometryBatchTest, BatchesOutlivedByTheirPiecesLeaveNoSubscription)
{
    StripPiece big(300, 0, texA, 1, &probe), small(3, 0, texA, 1, &probe);
    {
        TransientBatch transient;
        transient.Add(&big); // held, never drawn
        PersistentBatch persistent;
        persistent.Add(&small, 0);
    }
    EXPECT_EQ(big.Destroyed().SubscriberCount(), 0u);
    EXPECT_EQ(small.Destroyed().SubscriberCount(), 0u);
    EXPECT_EQ(small.TextureChanged().SubscriberCount(), 0u);
}

class GeometryPersistentBatchTest : public GeometryBatchTest
{
};

TEST_F(GeometryPersistentBatchTest, DrawsLayersInOrderAndKeepsPiecesAcrossFrames)
{
    PersistentBatch batch;
    StripPiece a(3, 0, texA, 1, &probe), b(3, 10, texA, 1, &probe), c(3, 20, texA, 1, &probe);
    EXPECT_TRUE(batch.Add(&a, 3));
    EXPECT_TRUE(batch.Add(&b, -2));
    EXPECT_TRUE(batch.Add(&c, 3));
    EXPECT_FALSE(batch.Add(&c, 3));
    for (int frame = 0; frame < 2; ++frame)
    {
        recorder.Clear();
        batch.Draw();
        ASSERT_EQ(Draws(), std::vector<std::string>{"draw 15"});
        EXPECT_EQ(DrawnXs().at(0),
                  (std::vector<float>{10, 10, 10, 11, 12, 12, 0, 0, 1, 2, 2, 20, 20, 21, 22}));
    }
    EXPECT_EQ(probe.calls, 3);
    EXPECT_TRUE(batch.Add(&b, 4)); // moves to the end
    EXPECT_TRUE(batch.Remove(&a));
    EXPECT_FALSE(batch.Remove(&a));
    EXPECT_FALSE(batch.Contains(&a));
    EXPECT_TRUE(batch.Contains(&b));
    recorder.Clear();
    batch.Draw();
    EXPECT_EQ(DrawnXs().at(0), (std::vector<float>{20, 20, 20, 21, 22, 22, 10, 10, 11, 12}));
}

TEST_F(GeometryPersistentBatchTest, DestroyedPiecesLeaveAndTextureChangesAreFollowed)
{
    PersistentBatch batch;
    StripPiece kept(3, 0, texA, 1, &probe);
    StripPiece* gone = new StripPiece(3, 10, texA, 1, &probe);
    batch.Add(&kept, 0);
    batch.Add(gone, 0);
    delete gone;
    kept.SetTexture(texB);
    batch.Draw();
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"bind", "draw"}),
              (std::vector<std::string>{"bind 62", "draw 5"}));
    batch.Remove(&kept);
    recorder.Clear();
    batch.Draw();
    EXPECT_TRUE(recorder.GetCalls().empty());
}

TEST_F(GeometryPersistentBatchTest, LayerTransformsWrapTheirLayers)
{
    PersistentBatch batch;
    StripPiece a(3, 0, texA, 1, &probe), b(3, 10, texA, 1, &probe);
    batch.Add(&a, 0);
    batch.Add(&b, 1);
    batch.SetLayerTransform(1, Transform2D(Vector2(7, 8), Vector2(2, 2)));
    EXPECT_EQ(batch.GetLayerTransform(1), Transform2D(Vector2(7, 8), Vector2(2, 2)));
    EXPECT_EQ(batch.GetLayerTransform(5), Transform2D::None);
    batch.Draw(Vector2(1, 1), Vector2(1, 1));
    // Batch transform, layer 0 (identity), then layer 1 in its place.
    EXPECT_EQ(BatchTest::Filter(BatchTest::Trace(recorder), {"push", "pop", "draw"}),
              (std::vector<std::string>{"push", "push", "draw 5", "pop", "push", "draw 5", "pop", "pop"}));
    auto mults = BatchTest::CallsNamed(recorder, "glMultMatrixf");
    ASSERT_EQ(mults.size(), 3u);
    EXPECT_EQ(mults[2].floats[12], 7.0f);
    EXPECT_EQ(mults[2].floats[0], 2.0f);
}

TEST_F(GeometryPersistentBatchTest, APieceLargerThanTheSharedBufferIsDrawnOnItsOwn)
{
    PersistentBatch batch;
    StripPiece small(3, 0, texA, 1, &probe), huge(3000, 0, texA, 1, &probe), tail(3, 5, texA, 1, &probe);
    batch.Add(&small, 0);
    batch.Add(&huge, 0);
    batch.Add(&tail, 0);
    batch.Draw();
    EXPECT_EQ(Draws(), (std::vector<std::string>{"draw 5", "arrays 0 3000", "draw 5"}));
}

} // namespace
