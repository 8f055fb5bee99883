// The blend and client-array cache, the raw strip draws and the vertex
// formats, checked against the recorded GL calls.
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/StripDraw.h"
#include "engine/graphics/VertexFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Vexel::Graphics;

namespace
{
class RenderStateTest : public ::testing::Test
{
protected:
    void SetUp() override { RenderState::ResetCache(); }
    void TearDown() override { RenderState::ResetCache(); }

    // The recorded calls, one ToString each.
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> out;
        for (GL::Call const& call : recorder.GetCalls())
            out.push_back(call.ToString());
        return out;
    }

    GL::Recorder recorder;
};

using Strings = std::vector<std::string>;

std::string BlendFunc(GLenum s, GLenum d)
{
    return "glBlendFunc(" + std::to_string(s) + ", " + std::to_string(d) + ")";
}
const std::string kEnableBlend = "glEnable(" + std::to_string(GL_BLEND) + ")";
const std::string kDisableBlend = "glDisable(" + std::to_string(GL_BLEND) + ")";
} // namespace

TEST_F(RenderStateTest, StartsWithBlendOnModeOneAndNoArrays)
{
    EXPECT_TRUE(RenderState::GetBlendEnabled());
    EXPECT_EQ(RenderState::GetBlendMode(), 1);
    EXPECT_EQ(RenderState::GetClientArrays(), ClientArrayState(false, false, false));
    EXPECT_TRUE(recorder.GetCalls().empty());
}

TEST_F(RenderStateTest, OpaqueModeSwitchesBlendingOffAndTheFlagAloneCallsNothing)
{
    RenderState::SetBlendMode(0);
    EXPECT_EQ(Calls(), (Strings{kDisableBlend, BlendFunc(GL_ONE, GL_ZERO)}));
    recorder.Clear();
    RenderState::SetBlendEnabled(false);
    EXPECT_TRUE(Calls().empty());
    RenderState::SetBlendMode(1);
    // The flag is off: nothing is enabled, only the factors change.
    EXPECT_EQ(Calls(), (Strings{BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)}));
}

TEST_F(RenderStateTest, EnablingWhileOpaqueCallsNothing)
{
    RenderState::SetBlendEnabled(false);
    RenderState::SetBlendMode(0);
    recorder.Clear();
    RenderState::SetBlendEnabled(true);
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(RenderState::GetBlendEnabled());
    // Leaving opaque mode with the flag on turns blending back on first.
    RenderState::SetBlendMode(2);
    EXPECT_EQ(Calls(), (Strings{kEnableBlend, BlendFunc(GL_SRC_ALPHA, GL_ONE)}));
}

TEST_F(RenderStateTest, FrameStepReassertionIssuesTheWholeState)
{
    RenderState::SetBlendEnabled(false);
    RenderState::SetBlendEnabled(true);
    RenderState::SetBlendMode(2);
    RenderState::SetBlendMode(1);
    EXPECT_EQ(Calls(), (Strings{kDisableBlend, kEnableBlend, BlendFunc(GL_SRC_ALPHA, GL_ONE),
                                BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)}));
}

TEST_F(RenderStateTest, BlendTableFactors)
{
    struct Row
    {
        int mode;
        GLenum source, destination;
    };
    const Row rows[] = {{2, GL_SRC_ALPHA, GL_ONE},
                        {3, GL_DST_COLOR, GL_ZERO},
                        {1, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                        {0, GL_ONE, GL_ZERO}};
    for (Row const& row : rows)
    {
        recorder.Clear();
        RenderState::SetBlendMode(row.mode);
        EXPECT_EQ(Calls().back(), BlendFunc(row.source, row.destination)) << "mode " << row.mode;
        EXPECT_EQ(RenderState::GetBlendMode(), row.mode);
    }
}

TEST_F(RenderStateTest, UnchangedValuesAndModesOutsideTheTableCallNothing)
{
    RenderState::SetBlendEnabled(true);
    RenderState::SetBlendMode(1);
    RenderState::SetClientArrays(false, false, false);
    RenderState::SetVertexArrayEnabled(false);
    for (int mode : {-1, 4, 100, -2147483647 - 1})
        RenderState::SetBlendMode(mode);
    EXPECT_TRUE(Calls().empty()) << recorder.Describe();
    EXPECT_EQ(RenderState::GetBlendMode(), 1);
}

TEST_F(RenderStateTest, ClientArraysChangeInVertexColourTexCoordOrder)
{
    RenderState::SetClientArrays(true, true, true);
    RenderState::SetClientArrays(ClientArrayState(false, true, false));
    RenderState::SetTexCoordArrayEnabled(true);
    RenderState::SetColorArrayEnabled(true);
    const std::string v = std::to_string(GL_VERTEX_ARRAY);
    const std::string c = std::to_string(GL_COLOR_ARRAY);
    const std::string t = std::to_string(GL_TEXTURE_COORD_ARRAY);
    EXPECT_EQ(Calls(), (Strings{"glEnableClientState(" + v + ")", "glEnableClientState(" + c + ")",
                                "glEnableClientState(" + t + ")", "glDisableClientState(" + v + ")",
                                "glDisableClientState(" + t + ")", "glEnableClientState(" + t + ")"}));
    EXPECT_FALSE(RenderState::GetVertexArrayEnabled());
    EXPECT_EQ(RenderState::GetClientArrays(), ClientArrayState(false, true, true));
}

TEST_F(RenderStateTest, IndexedStripSetsAllPointersDrawsAndRestoresTheArrays)
{
    const Geometry::VertexP2T2C vertices[3];
    const uint16_t indices[6] = {0, 0, 0, 1, 2, 2};
    DrawIndexedStrip(vertices, indices, 1, 4, VertexFormat::P2T2C);
    const int64_t base = int64_t(reinterpret_cast<uintptr_t>(vertices));
    const int64_t first = int64_t(reinterpret_cast<uintptr_t>(indices + 1));
    const std::string v = std::to_string(GL_VERTEX_ARRAY);
    const std::string c = std::to_string(GL_COLOR_ARRAY);
    const std::string t = std::to_string(GL_TEXTURE_COORD_ARRAY);
    const std::string f = std::to_string(GL_FLOAT);
    EXPECT_EQ(Calls(), (Strings{"glEnableClientState(" + v + ")", "glEnableClientState(" + c + ")",
                                "glEnableClientState(" + t + ")",
                                "glVertexPointer(2, " + f + ", 20, " + std::to_string(base) + ")",
                                "glTexCoordPointer(2, " + f + ", 20, " + std::to_string(base + 8) + ")",
                                "glColorPointer(4, " + std::to_string(GL_UNSIGNED_BYTE) + ", 20, " +
                                    std::to_string(base + 16) + ")",
                                "glDrawElements(" + std::to_string(GL_TRIANGLE_STRIP) + ", 4, " +
                                    std::to_string(GL_UNSIGNED_SHORT) + ", " + std::to_string(first) + ")",
                                "glDisableClientState(" + v + ")", "glDisableClientState(" + c + ")",
                                "glDisableClientState(" + t + ")"}));
    EXPECT_EQ(RenderState::GetClientArrays(), ClientArrayState(false, false, false));
}

TEST_F(RenderStateTest, ArrayStripWithoutColourKeepsTheColourArrayAsItWas)
{
    RenderState::SetClientArrays(true, true, false);
    recorder.Clear();
    const Geometry::VertexP2T2 vertices[4];
    DrawArrayStrip(vertices, 1, 3, VertexFormat::P2T2);
    const std::string c = std::to_string(GL_COLOR_ARRAY);
    const std::string t = std::to_string(GL_TEXTURE_COORD_ARRAY);
    ASSERT_EQ(recorder.GetCalls().size(), 8u) << recorder.Describe();
    EXPECT_EQ(Calls()[0], "glDisableClientState(" + c + ")");
    EXPECT_EQ(Calls()[1], "glEnableClientState(" + t + ")");
    EXPECT_EQ(recorder.GetCalls()[2].name, "glVertexPointer");
    EXPECT_EQ(recorder.GetCalls()[3].name, "glTexCoordPointer");
    EXPECT_EQ(recorder.GetCalls()[4].name, "glColorPointer");
    EXPECT_EQ(Calls()[5], "glDrawArrays(" + std::to_string(GL_TRIANGLE_STRIP) + ", 1, 3)");
    EXPECT_EQ(Calls()[6], "glEnableClientState(" + c + ")");
    EXPECT_EQ(Calls()[7], "glDisableClientState(" + t + ")");
    EXPECT_EQ(RenderState::GetClientArrays(), ClientArrayState(true, true, false));
}

TEST(VertexFormat, TableOfTheFourLayouts)
{
    struct Row
    {
        VertexFormat format;
        int stride, positionOffset, positionCount, texCoordOffset, texCoordCount, colorOffset;
    };
    const Row rows[] = {{VertexFormat::P2T2C, 20, 0, 2, 8, 2, 16},
                        {VertexFormat::P2T2, 16, 0, 2, 8, 2, -1},
                        {VertexFormat::P2C, 12, 0, 2, 0, 0, 8},
                        {VertexFormat::P2, 8, 0, 2, 0, 0, -1}};
    for (Row const& row : rows)
    {
        EXPECT_EQ(row.format.stride, row.stride);
        EXPECT_EQ(row.format.positionOffset, row.positionOffset);
        EXPECT_EQ(row.format.positionCount, row.positionCount);
        EXPECT_EQ(row.format.texCoordOffset, row.texCoordOffset);
        EXPECT_EQ(row.format.texCoordCount, row.texCoordCount);
        EXPECT_EQ(row.format.colorOffset, row.colorOffset);
    }
    // The vertex types agree with their formats.
    Geometry::VertexP2T2C v;
    EXPECT_EQ(reinterpret_cast<char*>(&v.u) - reinterpret_cast<char*>(&v), 8);
    EXPECT_EQ(reinterpret_cast<char*>(&v.color) - reinterpret_cast<char*>(&v), 16);
    EXPECT_EQ(v.color, Color(255, 255, 255, 255));
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(Geometry::VertexP2T2().v, 0.0f);
}
