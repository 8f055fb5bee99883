// Pixel tests on real contexts: the headless OpenGL ES 1.1 pbuffer always;
// the windowed ES 1.1 context and the desktop GL fallback when an X server is
// there (CTest runs those under Xvfb). Each draws textured quads of every
// upload format, the blend modes and a rotated quad, compares probes of
// glReadPixels with expected values and saves the frame as a PNG beside the
// test binary.
#include "engine/core/Transform2D.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureReference.h"
#include "engine/display/GLContext.h"

#include "tests/graphics/TextureFiles.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/PixelAssertions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

using namespace Vexel::Graphics;
using Vexel::Graphics::Geometry::GeometryBuffer;
using Vexel::Graphics::Geometry::VertexP2T2C;
using Vexel::Platform::GLContext;
using Vexel::Platform::GLContextKind;

namespace
{
const int kWidth = 96;
const int kHeight = 64;
const Color kBackground(100, 50, 200, 255);

using GLTest::Near;
using GLTest::Rgb;

Rgb Probe(int x, int y)
{
    return GLTest::Probe(x, y, kHeight);
}

// An axis-aligned quad of w x h pixels at (x, y), texture coordinates 0..1.
void DrawQuad(Texture const& texture, int blendMode, float x, float y, float w, float h, Color color,
              Transform2D const& transform = Transform2D::None)
{
    GeometryBuffer<VertexP2T2C> buffer(1, 0, 0);
    VertexP2T2C* v = buffer.AllocatePolygon(4);
    v[0] = VertexP2T2C(x, y, 0, 0, color);
    v[1] = VertexP2T2C(x + w, y, 1, 0, color);
    v[2] = VertexP2T2C(x + w, y + h, 1, 1, color);
    v[3] = VertexP2T2C(x, y + h, 0, 1, color);
    texture.EnsureUploaded();
    texture.Bind();
    RenderState::SetBlendMode(blendMode);
    if (!transform.IsNone())
        transform.Push();
    buffer.Draw();
    if (!transform.IsNone())
        Transform2D::Pop();
}

// Every raw format at 1:1 in the top row of the frame, then the blend modes,
// then a rotated quad; probes checked; the frame saved.
void DrawAndCheckFrame(std::string const& label)
{
    ASSERT_FALSE(TextureFiles::Folder().empty());
    GLTest::SetUpFrame(kWidth, kHeight, kBackground);
    ASSERT_EQ(GL::CheckErrors(__FILE__, __LINE__, "frame set-up"), GLenum(GL_NO_ERROR));

    // Each context has its own GL textures: fresh cache names per label.
    auto load = [&](const char* file)
    {
        const std::vector<uint8_t> bytes = TextureFiles::Read(file);
        return Texture(label + ":" + file, bytes.data(), 0, int(bytes.size()), TextureMode::Immediate);
    };
    const Color white(255, 255, 255, 255);

    // RGB 8 x 8 at 1:1: every texel lands on one pixel exactly.
    const Texture rgb8 = load("raw_rgb_8x8.raw");
    DrawQuad(rgb8, 0, 2, 2, 8, 8, white);
    ASSERT_TRUE(rgb8.IsUploaded()) << label;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_TRUE(Near(
                Probe(2 + x, 2 + y),
                Rgb{TextureFiles::Value(x, y, 0), TextureFiles::Value(x, y, 1), TextureFiles::Value(x, y, 2)},
                1))
                << label << " rgb texel " << x << "," << y;

    // The 3 x 2 images have rows of odd byte length: right only with an
    // unpack alignment of 1.
    struct FormatCase
    {
        const char* file;
        int blendMode;
        Rgb (*expected)(int x, int y);
    };
    const FormatCase formats[] = {
        {"raw_rgba_3x2.raw", 0,
         [](int x, int y) {
             return Rgb{TextureFiles::Value(x, y, 0), TextureFiles::Value(x, y, 1),
                        TextureFiles::Value(x, y, 2)};
         }},
        {"raw_rgb_3x2.raw", 0,
         [](int x, int y) {
             return Rgb{TextureFiles::Value(x, y, 0), TextureFiles::Value(x, y, 1),
                        TextureFiles::Value(x, y, 2)};
         }},
        // Stored blue, green, red.
        {"raw_bgr_3x2.raw", 0,
         [](int x, int y) {
             return Rgb{TextureFiles::Value(x, y, 2), TextureFiles::Value(x, y, 1),
                        TextureFiles::Value(x, y, 0)};
         }},
        {"raw_luminance_alpha_3x2.raw", 0,
         [](int x, int y) {
             return Rgb{TextureFiles::Value(x, y, 0), TextureFiles::Value(x, y, 0),
                        TextureFiles::Value(x, y, 0)};
         }},
        // White vertices through an alpha texture over black: the alpha shows.
        {"raw_alpha_3x2.raw", 1,
         [](int x, int y) {
             return Rgb{TextureFiles::Value(x, y, 0), TextureFiles::Value(x, y, 0),
                        TextureFiles::Value(x, y, 0)};
         }},
        {"rgba_3x2.png", 0,
         [](int x, int y) {
             return Rgb{TextureFiles::Value(x, y, 0), TextureFiles::Value(x, y, 1),
                        TextureFiles::Value(x, y, 2)};
         }},
        {"pvr32_4x2.pvr", 0,
         [](int x, int y)
         {
             const int i = (y * 4 + x) * 4;
             return Rgb{(i * 13 + 5) % 256, ((i + 1) * 13 + 5) % 256, ((i + 2) * 13 + 5) % 256};
         }},
    };
    int left = 14;
    for (FormatCase const& format : formats)
    {
        const Texture texture = load(format.file);
        const int w = texture.GetWidth();
        // A black backing for the alpha case.
        DrawQuad(Texture::Empty, 0, float(left), 2, float(w), 2, Color(0, 0, 0, 255));
        DrawQuad(texture, format.blendMode, float(left), 2, float(w), 2, white);
        ASSERT_TRUE(texture.IsUploaded()) << label << " " << format.file;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_TRUE(Near(Probe(left + x, 2 + y), format.expected(x, y), 1))
                    << label << " " << format.file << " texel " << x << "," << y;
        left += w + 2;
    }
    EXPECT_EQ(GL::CheckErrors(__FILE__, __LINE__, "format quads"), GLenum(GL_NO_ERROR));

    // Blend modes over the clear colour; untextured quads (texture 0).
    const Color paint(200, 100, 0, 128);
    const double a = 128.0 / 255.0;
    const Rgb bg{kBackground.r, kBackground.g, kBackground.b};
    struct BlendCase
    {
        int mode;
        Rgb expected;
    };
    const BlendCase blends[] = {
        {0, Rgb{200, 100, 0}},
        {1, Rgb{int(std::lround(200 * a + bg.r * (1 - a))), int(std::lround(100 * a + bg.g * (1 - a))),
                int(std::lround(0 * a + bg.b * (1 - a)))}},
        {2, Rgb{std::min(255, int(std::lround(200 * a + bg.r))),
                std::min(255, int(std::lround(100 * a + bg.g))), int(std::lround(bg.b))}},
        {3, Rgb{int(std::lround(200 * bg.r / 255.0)), int(std::lround(100 * bg.g / 255.0)), 0}},
    };
    for (BlendCase const& blend : blends)
    {
        const float x = 2.0f + 12.0f * blend.mode;
        DrawQuad(Texture::Empty, blend.mode, x, 14, 10, 10, paint);
        EXPECT_TRUE(Near(Probe(int(x) + 5, 19), blend.expected, 2))
            << label + " blend mode " + std::to_string(blend.mode);
    }
    RenderState::SetBlendMode(1);

    // A 20 x 10 quad rotated about its centre by a transform: points just
    // inside its corners are painted, points just outside are not.
    const Transform2D rotation(Vector2(70.0f, 40.0f), 0.6f, Vector2(1.0f, 1.0f));
    DrawQuad(Texture::Empty, 0, -10, -5, 20, 10, Color(255, 255, 0, 255), rotation);
    const Rgb yellow{255, 255, 0};
    for (Vector2 corner : {Vector2(10, 5), Vector2(-10, 5), Vector2(10, -5), Vector2(-10, -5)})
    {
        const Vector2 inside = rotation.Apply(corner * 0.8f);
        const Vector2 outside = rotation.Apply(corner * 1.25f);
        EXPECT_TRUE(Near(Probe(int(std::floor(inside.x)), int(std::floor(inside.y))), yellow, 0))
            << label + " inside corner";
        EXPECT_TRUE(Near(Probe(int(std::floor(outside.x)), int(std::floor(outside.y))), bg, 0))
            << label + " outside corner";
    }
    EXPECT_EQ(GL::CheckErrors(__FILE__, __LINE__, "frame"), GLenum(GL_NO_ERROR));
    const std::string path = std::string(VEXEL_TEST_OUTPUT_DIR) + "/frame-" + label + ".png";
    EXPECT_TRUE(GLTest::ReadFrame(kWidth, kHeight).SavePng(path)) << path;
}

// Window tests need an X server; CTest gives them one under Xvfb.
void RunWindowed(GLTest::ContextChoice::Enum choice, GLContextKind::Enum expectedKind)
{
    const std::string label = GLTest::ContextLabel(choice);
    if (!GLTest::HaveDisplay())
    {
        if (std::getenv("VEXEL_REQUIRE_DISPLAY") != nullptr)
            FAIL() << "no X server although one was promised";
        GTEST_SKIP() << "no X server (DISPLAY unset): run under xvfb-run for the windowed contexts";
    }
    std::unique_ptr<GLContext> context = GLTest::CreateContext(choice, kWidth, kHeight);
    ASSERT_NE(context, nullptr) << label;
    EXPECT_EQ(context->GetKind(), expectedKind);
    std::printf("%s: %s\n", label.c_str(), context->GetVersion());
    DrawAndCheckFrame(label);
    context->SwapBuffers(); // the frame shows in the window
}
} // namespace

TEST(HeadlessContext, IsOpenGLES11WithUnpackAlignmentOne)
{
    std::unique_ptr<GLContext> context(GLContext::CreateHeadless(kWidth, kHeight));
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->GetKind(), GLContextKind::Headless);
    EXPECT_EQ(GL::GetBackend(), GL::Backend::OpenGLES1);
    EXPECT_NE(std::string(context->GetVersion()).find("OpenGL ES-CM 1.1"), std::string::npos)
        << context->GetVersion();
    GLint alignment = 0;
    GL::GetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
    context.reset();
    EXPECT_EQ(GL::GetBackend(), GL::Backend::Null);
}

TEST(HeadlessContext, RejectsAnEmptySize)
{
    EXPECT_EQ(GLContext::CreateHeadless(0, 10), nullptr);
}

TEST(HeadlessContext, DrawsTheExpectedPixels)
{
    std::unique_ptr<GLContext> context(GLContext::CreateHeadless(kWidth, kHeight));
    ASSERT_NE(context, nullptr);
    DrawAndCheckFrame(GLTest::ContextLabel(GLTest::ContextChoice::Headless));
}

TEST(HeadlessContext, PvrtcIsRefusedWhereTheContextLacksIt)
{
    std::unique_ptr<GLContext> context(GLContext::CreateHeadless(kWidth, kHeight));
    ASSERT_NE(context, nullptr);
    if (GL::HasExtension(GL::kPvrtcExtension))
        GTEST_SKIP() << "this driver has PVRTC";
    const std::vector<uint8_t> bytes = TextureFiles::Read("pvrtc4_8x8.pvr");
    Texture texture("headless:pvrtc", bytes.data(), 0, int(bytes.size()), TextureMode::Immediate);
    texture.EnsureUploaded();
    EXPECT_FALSE(texture.IsUploaded());
    EXPECT_EQ(texture.GetReference()->GetState(), TextureState::Loading);
    EXPECT_EQ(GL::CheckErrors(__FILE__, __LINE__, "pvrtc"), GLenum(GL_NO_ERROR));
}

TEST(WindowContext, Es1ThroughEglOnTheSdlWindow)
{
    RunWindowed(GLTest::ContextChoice::WindowEs1, GLContextKind::WindowEs1);
}

TEST(WindowContext, DesktopFallbackRunsTheSameCalls)
{
    RunWindowed(GLTest::ContextChoice::WindowDesktop, GLContextKind::WindowDesktop);
}
