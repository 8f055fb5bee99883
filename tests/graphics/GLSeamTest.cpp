// The GL seam: the recorder, the null table, extension matching, and the
// Transform2D matrix calls that go through it.
#include "engine/core/Transform2D.h"
#include "engine/graphics/GL.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Vexel::Graphics;

TEST(GLSeam, RecorderLogsNamesAndArgumentsInOrder)
{
    GL::Recorder recorder;
    EXPECT_EQ(GL::GetBackend(), GL::Backend::Recording);
    GL::BlendFunc(GL_SRC_ALPHA, GL_ONE);
    GL::ClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    int marker = 0;
    GL::VertexPointer(2, GL_FLOAT, 20, &marker);
    ASSERT_EQ(recorder.GetCalls().size(), 3u) << recorder.Describe();
    EXPECT_EQ(recorder.GetCalls()[0].ToString(), "glBlendFunc(770, 1)");
    EXPECT_EQ(recorder.GetCalls()[1].ToString(), "glClearColor(0.25, 0.5, 0.75, 1)");
    GL::Call const& pointer = recorder.GetCalls()[2];
    ASSERT_EQ(pointer.ints.size(), 4u);
    EXPECT_EQ(pointer.ints[3], int64_t(reinterpret_cast<uintptr_t>(&marker)));
    EXPECT_EQ(recorder.Count("glBlendFunc"), 1);
    recorder.Clear();
    EXPECT_TRUE(recorder.GetCalls().empty());
}

TEST(GLSeam, RecorderHandsOutTextureNamesAndQueuedErrors)
{
    GL::Recorder recorder;
    GLuint names[2] = {0, 0};
    GL::GenTextures(2, names);
    EXPECT_EQ(names[0], 1u);
    EXPECT_EQ(names[1], 2u);
    recorder.QueueError(GL_INVALID_ENUM);
    EXPECT_EQ(GL::GetError(), GLenum(GL_INVALID_ENUM));
    EXPECT_EQ(GL::GetError(), GLenum(GL_NO_ERROR));
}

TEST(GLSeam, RecorderRestoresThePreviousTable)
{
    const GL::Backend::Enum before = GL::GetBackend();
    {
        GL::Recorder recorder("GL_OES_x");
        EXPECT_TRUE(GL::HasExtension("GL_OES_x"));
    }
    EXPECT_EQ(GL::GetBackend(), before);
    EXPECT_FALSE(GL::HasExtension("GL_OES_x"));
}

TEST(GLSeam, NullTableDoesNothingAndMakesNoTextures)
{
    GL::UseNullBackend();
    GLuint name = 77;
    GL::GenTextures(1, &name);
    EXPECT_EQ(name, 0u);
    EXPECT_EQ(GL::GetError(), GLenum(GL_NO_ERROR));
    GL::DrawArrays(GL_TRIANGLE_STRIP, 0, 4); // no context: must not crash
}

TEST(GLSeam, ExtensionsMatchWholeWordsOnly)
{
    GL::Recorder recorder("GL_OES_a GL_IMG_texture_compression_pvrtc2 GL_EXT_b");
    EXPECT_FALSE(GL::HasExtension(GL::kPvrtcExtension)); // only a longer name is there
    EXPECT_TRUE(GL::HasExtension("GL_OES_a"));
    EXPECT_TRUE(GL::HasExtension("GL_EXT_b"));
    EXPECT_FALSE(GL::HasExtension("GL_OES"));
    EXPECT_FALSE(GL::HasExtension(""));
    recorder.SetExtensions(GL::kPvrtcExtension);
    EXPECT_TRUE(GL::HasExtension(GL::kPvrtcExtension));
}

TEST(GLSeam, CheckErrorsReportsTheFirstPendingError)
{
    GL::Recorder recorder;
    recorder.QueueError(GL_OUT_OF_MEMORY);
    recorder.QueueError(GL_INVALID_VALUE);
    EXPECT_EQ(GL::CheckErrors(__FILE__, __LINE__, "test"), GLenum(GL_OUT_OF_MEMORY));
    EXPECT_EQ(GL::CheckErrors(__FILE__, __LINE__, "test"), GLenum(GL_NO_ERROR));
}

TEST(Transform2DGL, PushMultipliesTheColumnMajorMatrixAndPopPops)
{
    GL::Recorder recorder;
    const Transform2D t(Vector2(10.0f, -4.0f), 0.5f, Vector2(2.0f, 3.0f));
    t.Push();
    Transform2D::Pop();
    ASSERT_EQ(recorder.GetCalls().size(), 3u) << recorder.Describe();
    EXPECT_EQ(recorder.GetCalls()[0].name, "glPushMatrix");
    GL::Call const& multiply = recorder.GetCalls()[1];
    EXPECT_EQ(multiply.name, "glMultMatrixf");
    const float expected[16] = {t.f[0], t.f[1], 0, 0, t.f[2], t.f[3], 0, 0, 0, 0, 1, 0, 10.0f, -4.0f, 0, 1};
    ASSERT_EQ(multiply.floats.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(multiply.floats[i], expected[i]) << "element " << i;
    EXPECT_FLOAT_EQ(multiply.floats[0], 2.0f * std::cos(0.5f));
    EXPECT_EQ(recorder.GetCalls()[2].name, "glPopMatrix");
}
