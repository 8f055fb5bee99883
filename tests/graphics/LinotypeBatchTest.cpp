// The text batch: its own and shared buffers, clearing, and what it draws
// (checked with the GL call recorder).
#include "engine/graphics/GL.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/graphics/type/LinotypeBatchImpl.h"
#include "tests/graphics/TypeFileBuilder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Vexel::Graphics;
using Vexel::Rectangle;
using namespace Vexel::Graphics::Type;
using namespace TypeFileTesting;

namespace
{

typedef Geometry::GeometryBuffer<Geometry::VertexP2T2C> Buffer;

// A font over a face of its own, so texture uploads start from scratch.
std::unique_ptr<IFont> FreshFont()
{
    std::unique_ptr<IFont> font(CreateFont(WriteTempFile("batch", Build(StandardFace())), 40.0f));
    EXPECT_EQ(TypeState::Ready, font->Load());
    return font;
}

std::vector<GL::Call> CallsNamed(GL::Recorder const& recorder, std::string const& name)
{
    std::vector<GL::Call> found;
    for (GL::Call const& call : recorder.GetCalls())
        if (call.name == name)
            found.push_back(call);
    return found;
}

void FillQuads(Buffer& buffer, int quads)
{
    for (int i = 0; i < quads; ++i)
        ASSERT_NE(nullptr, buffer.AllocatePolygon(4));
}

} // namespace

TEST(LinotypeBatchTest, OwnBufferStartsEmpty)
{
    LinotypeBatch batch(32);
    EXPECT_EQ(0, batch.GetCharacterCount());
    EXPECT_EQ(32, batch.GetCapacity());
    EXPECT_EQ(0, batch.GetFirstIndex());
    EXPECT_FALSE(batch.IsShared());
    EXPECT_EQ(nullptr, batch.GetTypeface());
    EXPECT_EQ(nullptr, batch.GetTexture());
    EXPECT_EQ(Rectangle(), batch.GetBounds());
    EXPECT_EQ(128, batch.GetImpl()->buffer->GetVertexCapacity());
    EXPECT_EQ(192, batch.GetImpl()->buffer->GetIndexCapacity());
}

TEST(LinotypeBatchTest, SharedBufferStartsAtItsFreeTail)
{
    Buffer buffer(40, 60);
    FillQuads(buffer, 2); // 12 of 60 indices written
    LinotypeBatch batch(buffer);
    EXPECT_TRUE(batch.IsShared());
    EXPECT_EQ(12, batch.GetFirstIndex());
    EXPECT_EQ(8, batch.GetCapacity());

    std::unique_ptr<IFont> font = FreshFont();
    font->Layout(batch, std::string("ABCDEABCDE"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(8, batch.GetCharacterCount());
    EXPECT_EQ(60, buffer.GetIndexCount());
}

TEST(LinotypeBatchTest, SharedTailThatStartsMidQuadStillDrawsItsOwnQuads)
{
    Buffer buffer(40, 60);
    ASSERT_NE(nullptr, buffer.AllocatePolygon(3)); // a triangle: 5 indices
    LinotypeBatch batch(buffer);
    EXPECT_EQ(5, batch.GetFirstIndex());
    EXPECT_EQ(9, batch.GetCapacity());
    std::unique_ptr<IFont> font = FreshFont();
    font->Layout(batch, std::string("AB"), Vector2(0.0f, 0.0f));
    GL::Recorder recorder;
    batch.Draw();
    std::vector<GL::Call> draws = CallsNamed(recorder, "glDrawElements");
    ASSERT_EQ(1u, draws.size()) << recorder.Describe();
    EXPECT_EQ(12, draws[0].ints[1]);
    EXPECT_EQ(int64_t(reinterpret_cast<intptr_t>(buffer.GetIndices() + 5)), draws[0].ints[3]);
}

TEST(LinotypeBatchTest, SharedBufferFilledByOthersDropsTheQuad)
{
    Buffer buffer(40, 60);
    LinotypeBatch batch(buffer);
    std::unique_ptr<IFont> font = FreshFont();
    font->Layout(batch, std::string("A"), Vector2(0.0f, 0.0f));
    FillQuads(buffer, 1); // someone else writes after our quad
    font->Layout(batch, std::string("B"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(1, batch.GetCharacterCount());
    EXPECT_EQ(12, buffer.GetIndexCount());

    // The owner fills the rest: the batch is below its capacity but the
    // buffer has no room.
    Buffer tight(8, 12);
    LinotypeBatch late(tight);
    FillQuads(tight, 2);
    font->Layout(late, std::string("AB"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(0, late.GetCharacterCount());
}

TEST(LinotypeBatchTest, ClearOnASharedBatchKeepsTheOwnersGeometry)
{
    Buffer buffer(40, 60);
    FillQuads(buffer, 1);
    LinotypeBatch batch(buffer);
    std::unique_ptr<IFont> font = FreshFont();
    font->Layout(batch, std::string("AB"), Vector2(0.0f, 0.0f));
    ASSERT_EQ(18, buffer.GetIndexCount());
    batch.Clear();
    EXPECT_EQ(18, buffer.GetIndexCount());
    EXPECT_EQ(0, batch.GetCharacterCount());
    EXPECT_EQ(Rectangle(), batch.GetBounds());
    EXPECT_EQ(18, batch.GetFirstIndex());
    EXPECT_EQ(7, batch.GetCapacity());
    font->Layout(batch, std::string("C"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(1, batch.GetCharacterCount());
}

TEST(LinotypeBatchTest, ClearOnAnOwnBatchEmptiesItsBuffer)
{
    LinotypeBatch batch(4);
    std::unique_ptr<IFont> font = FreshFont();
    font->Layout(batch, std::string("ABCD"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(4, batch.GetCharacterCount());
    batch.Clear();
    EXPECT_EQ(0, batch.GetImpl()->buffer->GetIndexCount());
    font->Layout(batch, std::string("ABCD"), Vector2(0.0f, 0.0f));
    EXPECT_EQ(4, batch.GetCharacterCount());
}

TEST(LinotypeBatchTest, DrawAndDrawRange)
{
    LinotypeBatch batch(8);
    std::unique_ptr<IFont> font = FreshFont();
    {
        GL::Recorder recorder;
        batch.Draw(); // before any layout: nothing
        batch.DrawRange(0, 4);
        EXPECT_EQ(0, recorder.Count("glDrawElements"));
        EXPECT_EQ(0, recorder.Count("glBindTexture"));
    }
    font->Layout(batch, std::string("ABCDE"), Vector2(0.0f, 0.0f));
    const uint16_t* indices = batch.GetImpl()->buffer->GetIndices();

    GL::Recorder recorder;
    batch.Draw();
    std::vector<GL::Call> draws = CallsNamed(recorder, "glDrawElements");
    ASSERT_EQ(1u, draws.size());
    EXPECT_EQ(GL_TRIANGLE_STRIP, draws[0].ints[0]);
    EXPECT_EQ(30, draws[0].ints[1]);
    EXPECT_EQ(GL_UNSIGNED_SHORT, draws[0].ints[2]);
    EXPECT_EQ(int64_t(reinterpret_cast<intptr_t>(indices)), draws[0].ints[3]);

    struct Case
    {
        int start, count, expectedIndices, expectedFirst;
    };
    const Case cases[] = {{2, 100, 18, 12}, {0, 1, 6, 0},  {4, 1, 6, 24},
                          {5, 1, 0, 0},     {-1, 3, 0, 0}, {1, 0, 0, 0}};
    for (Case const& c : cases)
    {
        recorder.Clear();
        batch.DrawRange(c.start, c.count);
        draws = CallsNamed(recorder, "glDrawElements");
        if (c.expectedIndices == 0)
        {
            EXPECT_TRUE(draws.empty()) << c.start << "," << c.count;
            continue;
        }
        ASSERT_EQ(1u, draws.size()) << c.start << "," << c.count;
        EXPECT_EQ(c.expectedIndices, draws[0].ints[1]) << c.start;
        EXPECT_EQ(int64_t(reinterpret_cast<intptr_t>(indices + c.expectedFirst)), draws[0].ints[3])
            << c.start;
    }
}

TEST(LinotypeBatchTest, FirstDrawUploadsTheTextureOnce)
{
    std::unique_ptr<IFont> font = FreshFont();
    LinotypeBatch batch(8);
    font->Layout(batch, std::string("AB"), Vector2(0.0f, 0.0f));
    Texture* texture = batch.GetTexture();
    ASSERT_NE(nullptr, texture);
    GL::Recorder recorder;
    batch.Draw();
    EXPECT_TRUE(texture->IsUploaded());
    EXPECT_EQ(1, recorder.Count("glTexImage2D")) << recorder.Describe();
    std::vector<GL::Call> binds = CallsNamed(recorder, "glBindTexture");
    ASSERT_FALSE(binds.empty());
    EXPECT_EQ(int64_t(texture->GetTextureName()), binds.back().ints[1]);
    recorder.Clear();
    batch.Draw();
    EXPECT_EQ(0, recorder.Count("glTexImage2D"));
    EXPECT_EQ(1, recorder.Count("glDrawElements"));
}
