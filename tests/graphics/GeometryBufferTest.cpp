// GeometryBuffer: the index vectors of strips and polygons, capacity
// refusals, and what its draws hand to GL.
#include "engine/graphics/GL.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/RenderState.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Vexel::Graphics;
using Vexel::Graphics::Geometry::GeometryBuffer;
using Vexel::Graphics::Geometry::VertexP2T2;
using Vexel::Graphics::Geometry::VertexP2T2C;

namespace
{
using Indices = std::vector<uint16_t>;

template <class V> Indices Written(GeometryBuffer<V> const& buffer)
{
    return Indices(buffer.GetIndices(), buffer.GetIndices() + buffer.GetIndexCount());
}

VertexP2T2C Vertex(float x)
{
    return VertexP2T2C(x, 0.0f, 0.0f, 0.0f, Color(1, 2, 3, 4));
}
} // namespace

TEST(GeometryBuffer, FirstStripJoinsFromIndexZeroAndLaterStripsFromTheLastIndex)
{
    GeometryBuffer<VertexP2T2C> buffer(16, 32);
    ASSERT_EQ(buffer.AllocateStrip(3), buffer.GetVertices());
    EXPECT_EQ(Written(buffer), (Indices{0, 0, 0, 1, 2}));
    EXPECT_EQ(buffer.GetLastIndex(), 2);
    ASSERT_EQ(buffer.AllocateStrip(4), buffer.GetVertices() + 3);
    EXPECT_EQ(Written(buffer), (Indices{0, 0, 0, 1, 2, 2, 3, 3, 4, 5, 6}));
    EXPECT_EQ(buffer.GetVertexCount(), 7);
    buffer.Reset();
    EXPECT_EQ(buffer.GetIndexCount(), 0);
    buffer.AllocateStrip(3);
    EXPECT_EQ(Written(buffer), (Indices{0, 0, 0, 1, 2}));
}

TEST(GeometryBuffer, FullBufferRefusesAndStaysUnchanged)
{
    GeometryBuffer<VertexP2T2C> buffer(10, 12);
    ASSERT_NE(buffer.AllocateStrip(4), nullptr); // 6 indices left
    const Indices before = Written(buffer);
    EXPECT_EQ(buffer.AllocateStrip(5), nullptr); // needs 7: one index short
    EXPECT_EQ(buffer.AllocateStrip(7), nullptr); // needs 7 vertices, 6 left
    EXPECT_EQ(buffer.AllocatePolygon(5), nullptr);
    EXPECT_EQ(Written(buffer), before);
    EXPECT_EQ(buffer.GetVertexCount(), 4);
    EXPECT_EQ(buffer.GetLastIndex(), 3);
    EXPECT_NE(buffer.AllocateStrip(4), nullptr); // exactly fits
    EXPECT_EQ(buffer.GetIndexCount(), buffer.GetIndexCapacity());
}

TEST(GeometryBuffer, AddStripNeedsThreeVerticesAndCopiesThem)
{
    GeometryBuffer<VertexP2T2C> buffer(8, 16);
    const VertexP2T2C strip[3] = {Vertex(1), Vertex(2), Vertex(3)};
    EXPECT_FALSE(buffer.AddStrip(strip, 2));
    EXPECT_EQ(buffer.GetIndexCount(), 0);
    EXPECT_TRUE(buffer.AddStrip(strip, 3));
    EXPECT_EQ(buffer.GetVertices()[2].x, 3.0f);
    EXPECT_EQ(buffer.GetVertices()[2].color, Color(1, 2, 3, 4));
}

TEST(GeometryBuffer, AddIndexedStripOffsetsTheIndicesToWhereTheVerticesLand)
{
    GeometryBuffer<VertexP2T2C> buffer(16, 32);
    buffer.AllocateStrip(3);
    const VertexP2T2C piece[4] = {Vertex(10), Vertex(11), Vertex(12), Vertex(13)};
    const uint16_t indices[5] = {1, 0, 2, 3, 1};
    ASSERT_TRUE(buffer.AddIndexedStrip(piece, 4, indices, 5));
    EXPECT_EQ(Written(buffer), (Indices{0, 0, 0, 1, 2, 2, 4, 4, 3, 5, 6, 4}));
    EXPECT_EQ(buffer.GetLastIndex(), 4);
    EXPECT_EQ(buffer.GetVertices()[3].x, 10.0f);

    // Refusals leave everything as it was.
    const Indices before = Written(buffer);
    const uint16_t outside[3] = {0, 1, 4}; // index 4 of a 4-vertex piece
    EXPECT_FALSE(buffer.AddIndexedStrip(piece, 4, outside, 3));
    EXPECT_FALSE(buffer.AddIndexedStrip(piece, 4, indices, 0));
    EXPECT_FALSE(buffer.AddIndexedStrip(piece, 0, indices, 5));
    const uint16_t many[32] = {};
    EXPECT_FALSE(buffer.AddIndexedStrip(piece, 4, many, 32)); // more indices than room
    EXPECT_EQ(Written(buffer), before);
}

TEST(GeometryBuffer, PolygonFansJoinedByDegenerateIndices)
{
    struct Row
    {
        int n;
        Indices expected; // at base 0 after a fresh buffer (last index 0)
    };
    const Row rows[] = {
        {3, {0, 1, 1, 2, 0}},
        {4, {0, 1, 1, 2, 0, 3}},
        {5, {0, 1, 1, 2, 0, 3, 4}},
        {6, {0, 1, 1, 2, 0, 3, 4, 4, 5, 0}},
        {7, {0, 1, 1, 2, 0, 3, 4, 4, 5, 0, 6}},
        {8, {0, 1, 1, 2, 0, 3, 4, 4, 5, 0, 6, 7}},
        {9, {0, 1, 1, 2, 0, 3, 4, 4, 5, 0, 6, 7, 7, 8, 0}},
    };
    for (Row const& row : rows)
    {
        GeometryBuffer<VertexP2T2C> buffer(16, 32);
        ASSERT_NE(buffer.AllocatePolygon(row.n), nullptr) << row.n;
        EXPECT_EQ(Written(buffer), row.expected) << row.n;
        EXPECT_EQ(buffer.GetIndexCount(), row.n + 2 * (row.n / 3)) << row.n;
        EXPECT_EQ(buffer.GetLastIndex(), row.expected.back()) << row.n;
    }
}

TEST(GeometryBuffer, SecondQuadJoinsFromTheFirstQuadsLastIndex)
{
    GeometryBuffer<VertexP2T2C> buffer(8, 12);
    buffer.AllocatePolygon(4);
    ASSERT_EQ(buffer.AllocatePolygon(4), buffer.GetVertices() + 4);
    EXPECT_EQ(Written(buffer), (Indices{0, 1, 1, 2, 0, 3, 3, 5, 5, 6, 4, 7}));
}

TEST(GeometryBuffer, PolygonsOfFewerThanThreeVerticesAreRefused)
{
    GeometryBuffer<VertexP2T2C> buffer(8, 8);
    for (int n : {-1, 0, 1, 2})
        EXPECT_EQ(buffer.AllocatePolygon(n), nullptr) << n;
    EXPECT_EQ(buffer.AllocateStrip(0), nullptr);
    EXPECT_EQ(buffer.GetIndexCount(), 0);
}

TEST(GeometryBuffer, SizingConstructorKinds)
{
    GeometryBuffer<VertexP2T2> quad(1, 0, 10);
    EXPECT_EQ(quad.GetVertexCapacity(), 4);
    EXPECT_EQ(quad.GetIndexCapacity(), 6);
    GeometryBuffer<VertexP2T2C> triangles(2, 1, 0);
    EXPECT_EQ(triangles.GetVertexCapacity(), 6);
    EXPECT_EQ(triangles.GetIndexCapacity(), 10);
    GeometryBuffer<VertexP2T2C> polygons(3, 2, 5);
    EXPECT_EQ(polygons.GetVertexCapacity(), 15);
    EXPECT_EQ(polygons.GetIndexCapacity(), 21);
    EXPECT_EQ(GeometryBuffer<VertexP2T2C>::IndicesPerQuad(), 6);
    // A quad buffer takes exactly one polygon of four.
    EXPECT_NE(quad.AllocatePolygon(4), nullptr);
    EXPECT_EQ(quad.AllocatePolygon(4), nullptr);
}

TEST(GeometryBuffer, CallerOwnedArraysAreWrittenAndNotFreed)
{
    std::vector<VertexP2T2C> vertices(4);
    std::vector<uint16_t> indices(6, 99);
    {
        GeometryBuffer<VertexP2T2C> buffer(4, 6, vertices.data(), indices.data());
        VertexP2T2C* quad = buffer.AllocatePolygon(4);
        ASSERT_EQ(quad, vertices.data());
        quad[3] = Vertex(7);
    }
    EXPECT_EQ(indices, (Indices{0, 1, 1, 2, 0, 3}));
    EXPECT_EQ(vertices[3].x, 7.0f);
}

TEST(GeometryBuffer, ReinitialiseFreesTheOldArraysAndEmpties)
{
    GeometryBuffer<VertexP2T2C> buffer(4, 6);
    buffer.AllocatePolygon(4);
    buffer.Initialize(8, 12, true);
    EXPECT_EQ(buffer.GetVertexCapacity(), 8);
    EXPECT_EQ(buffer.GetIndexCount(), 0);
    EXPECT_EQ(buffer.GetLastIndex(), 0);
    EXPECT_EQ(buffer.GetVertices()[5].color, Color(255, 255, 255, 255)); // default vertices
}

TEST(GeometryBuffer, NoVertexPastWhatSixteenBitIndicesReach)
{
    GeometryBuffer<VertexP2T2C> buffer(70000, 70000);
    ASSERT_NE(buffer.AllocateStrip(65530), nullptr);
    EXPECT_NE(buffer.AllocateStrip(6), nullptr); // vertices 65530..65535
    EXPECT_EQ(buffer.GetLastIndex(), 65535);
    EXPECT_EQ(buffer.AllocateStrip(1), nullptr);
    EXPECT_EQ(buffer.AllocatePolygon(3), nullptr);
    const VertexP2T2C piece[3];
    const uint16_t indices[3] = {0, 1, 2};
    EXPECT_FALSE(buffer.AddIndexedStrip(piece, 3, indices, 3));
    EXPECT_EQ(buffer.GetVertexCount(), 65536);
}

namespace
{
class GeometryBufferDrawTest : public ::testing::Test
{
protected:
    void SetUp() override { RenderState::ResetCache(); }
    void TearDown() override { RenderState::ResetCache(); }

    // (first index address, count) of each recorded glDrawElements.
    std::vector<std::pair<int64_t, int64_t>> Draws() const
    {
        std::vector<std::pair<int64_t, int64_t>> out;
        for (GL::Call const& call : recorder.GetCalls())
            if (call.name == "glDrawElements")
                out.emplace_back(call.ints[3], call.ints[1]);
        return out;
    }

    GL::Recorder recorder;
};

int64_t Address(const uint16_t* p)
{
    return int64_t(reinterpret_cast<uintptr_t>(p));
}
} // namespace

TEST_F(GeometryBufferDrawTest, EmptyBufferDrawsNothing)
{
    GeometryBuffer<VertexP2T2C> buffer(8, 8);
    buffer.Draw();
    buffer.DrawRange(0, 5);
    EXPECT_TRUE(recorder.GetCalls().empty()) << recorder.Describe();
}

TEST_F(GeometryBufferDrawTest, DrawIsOneStripOverEverythingWritten)
{
    GeometryBuffer<VertexP2T2C> buffer(16, 32);
    buffer.AllocateStrip(3);
    buffer.AllocatePolygon(4);
    buffer.Draw();
    EXPECT_EQ(Draws(), (std::vector<std::pair<int64_t, int64_t>>{{Address(buffer.GetIndices()), 11}}));
}

TEST_F(GeometryBufferDrawTest, DrawRangeIsCutToWhatWasWritten)
{
    GeometryBuffer<VertexP2T2C> buffer(16, 32);
    buffer.AllocateStrip(4); // 6 indices
    const uint16_t* base = buffer.GetIndices();
    buffer.DrawRange(2, 3);
    buffer.DrawRange(4, 100);
    buffer.DrawRange(1, 2147483647);
    buffer.DrawRange(6, 1);  // at the end: nothing
    buffer.DrawRange(9, 1);  // past the end: nothing
    buffer.DrawRange(-1, 3); // before the start: nothing
    buffer.DrawRange(2, 0);
    EXPECT_EQ(Draws(), (std::vector<std::pair<int64_t, int64_t>>{
                           {Address(base + 2), 3}, {Address(base + 4), 2}, {Address(base + 1), 5}}));
}

TEST_F(GeometryBufferDrawTest, EachBufferDrawsInItsOwnVertexFormat)
{
    GeometryBuffer<VertexP2T2> buffer(1, 0, 10);
    buffer.AllocatePolygon(4);
    buffer.DrawRange(0, 6);
    bool sawVertexPointer = false;
    for (GL::Call const& call : recorder.GetCalls())
    {
        if (call.name == "glVertexPointer")
        {
            sawVertexPointer = true;
            EXPECT_EQ(call.ints[2], 16); // the P2T2 stride
        }
        EXPECT_FALSE(call.name == "glEnableClientState" && call.ints[0] == GL_COLOR_ARRAY);
    }
    EXPECT_TRUE(sawVertexPointer);
}
