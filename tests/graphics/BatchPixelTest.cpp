// The batches on a real context: the headless OpenGL ES 1.1 pbuffer, or the
// windowed context VEXEL_TEST_GL names (CTest runs the desktop fallback under
// Xvfb too). Blend modes, a rotated quad, a sprite batch over three textures
// and a geometry batch, each checked with glReadPixels probes against values
// worked out here; every frame is saved as a PNG beside the test binary.
#include "engine/graphics/GL.h"
#include "engine/graphics/GeometryBatch.h"
#include "engine/graphics/GeometrySprite.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/Texture.h"
#include "engine/display/GLContext.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/PixelAssertions.h"

#include <gtest/gtest.h>
#include <lodepng.h>

#include <cmath>
#include <string>
#include <vector>

using namespace Vexel::Graphics;
using Vexel::Graphics::Sprites::SpriteState;
using Vexel::Platform::GLContext;

namespace
{
const int kSize = 128;
const Color kBackground(100, 50, 200, 255);
const Color kWhite(255, 255, 255, 255);

using GLTest::Near;
using GLTest::Rgb;

// The pixel whose top-left corner is (x, y), y pointing down.
Rgb Probe(int x, int y)
{
    return GLTest::Probe(x, y, kSize);
}

// A PNG in memory of w x h pixels from rows of RGBA bytes.
std::vector<uint8_t> EncodePng(std::vector<uint8_t> const& rgba, unsigned w, unsigned h)
{
    std::vector<uint8_t> png;
    EXPECT_EQ(lodepng::encode(png, rgba, w, h), 0u);
    return png;
}

Texture MakeTexture(std::string const& name, std::vector<uint8_t> const& rgba, unsigned w, unsigned h)
{
    const std::vector<uint8_t> png = EncodePng(rgba, w, h);
    return Texture(name, png.data(), 0, int(png.size()), TextureMode::Immediate);
}

class BatchPixelTest : public ::testing::Test
{
protected:
    // One context for the suite, kept to the end of the process: the cached
    // textures hold GL names of this context, and the driver stays loaded
    // for the leak checker's report on it. VEXEL_TEST_GL picks its kind.
    static void SetUpTestSuite()
    {
        if (!context)
            context = GLTest::CreateContext(kSize, kSize).release();
    }

    void SetUp() override
    {
        ASSERT_NE(context, nullptr) << "no " << GLTest::ContextLabel(GLTest::ChosenContext()) << " context";
        GLTest::SetUpFrame(kSize, kSize, kBackground);
    }

    void TearDown() override
    {
        if (context)
        {
            EXPECT_EQ(GL::CheckErrors(__FILE__, __LINE__, "batch pixel test"), GLenum(GL_NO_ERROR));
        }
    }

    // Named after the context kind, so the runs on different contexts keep
    // their own frames.
    static void SaveFrame(std::string const& name)
    {
        const std::string path = std::string(VEXEL_TEST_OUTPUT_DIR) + "/" + name + SuffixOfContext() + ".png";
        EXPECT_TRUE(GLTest::ReadFrame(kSize, kSize).SavePng(path)) << path;
    }

    static std::string SuffixOfContext()
    {
        const GLTest::ContextChoice::Enum choice = GLTest::ChosenContext();
        return choice == GLTest::ContextChoice::Headless ? std::string()
                                                         : std::string("-") + GLTest::ContextLabel(choice);
    }

    static Texture White()
    {
        static Texture white = MakeTexture("batch-pixel-white.png", std::vector<uint8_t>(4 * 4, 255), 2, 2);
        return white;
    }

    static GLContext* context;
};

GLContext* BatchPixelTest::context = nullptr;

// Half-transparent red over the clear colour in each blend mode, in one batch.
TEST_F(BatchPixelTest, BlendModesOverTheBackground)
{
    Sprites::TransientBatch batch(512);
    const Color paint(255, 0, 0, 128);
    for (int mode = 0; mode < 4; ++mode)
        batch.AddRegionSized(White(), Vexel::Rectangle(0, 0, 1, 1), Vector2(16.0f + 32.0f * mode, 64.0f),
                             Vector2(28, 100), paint, mode);
    batch.Draw();
    EXPECT_EQ(RenderState::GetBlendMode(), 1);
    SaveFrame("batch_blend_modes");

    const double a = 128.0 / 255.0;
    auto mix = [&](int src, int dst) { return int(std::lround(src * a + dst * (1.0 - a))); };
    const Rgb expected[4] = {
        {255, 0, 0},                                                                              // opaque
        {mix(255, kBackground.r), mix(0, kBackground.g), mix(0, kBackground.b)},                  // alpha
        {std::min(255, int(std::lround(255 * a)) + kBackground.r), kBackground.g, kBackground.b}, // additive
        {kBackground.r, 0, 0}, // multiplied
    };
    for (int mode = 0; mode < 4; ++mode)
        EXPECT_TRUE(Near(Probe(16 + 32 * mode, 64), expected[mode], 2)) << "mode " << mode;
    // Alpha and additive differ where the paint is: the additive one is brighter.
    EXPECT_GT(Probe(80, 64).r, Probe(48, 64).r);
    EXPECT_TRUE(Near(Probe(16, 5), Rgb{kBackground.r, kBackground.g, kBackground.b}, 0));
}

// A 60 x 24 quad turned by 0.5 rad: every probe away from its edges is
// inside or outside as the inverse rotation of the pixel centre says.
TEST_F(BatchPixelTest, RotatedQuadCoversItsTurnedCorners)
{
    const float rotation = 0.5f;
    const Vector2 centre(64, 64);
    const Vector2 half(30, 12);
    Sprites::TransientBatch batch(16);
    batch.AddRegionSizedRotated(White(), rotation, Vexel::Rectangle(0, 0, 1, 1), centre, half * 2.0f, kWhite,
                                0);
    batch.Draw();
    SaveFrame("batch_rotated_quad");

    const Rgb white{255, 255, 255};
    const Rgb background{kBackground.r, kBackground.g, kBackground.b};
    int inside = 0, outside = 0;
    for (int y = 20; y < 108; y += 2)
    {
        for (int x = 20; x < 108; x += 2)
        {
            const double dx = x + 0.5 - centre.x, dy = y + 0.5 - centre.y;
            // Undo the turn (counter-clockwise in maths axes, as Vector2::Rotate).
            const double lx = dx * std::cos(-rotation) - dy * std::sin(-rotation);
            const double ly = dx * std::sin(-rotation) + dy * std::cos(-rotation);
            const double margin = std::max(std::abs(lx) - half.x, std::abs(ly) - half.y);
            if (std::abs(margin) < 1.5)
                continue;
            const bool in = margin < 0;
            (in ? inside : outside)++;
            EXPECT_TRUE(Near(Probe(x, y), in ? white : background, 0)) << x << "," << y;
        }
    }
    EXPECT_GT(inside, 100);
    EXPECT_GT(outside, 100);
    // The corner the first vertex went to: centre - Rotate(half), two pixels in.
    const Vector2 b = half.Rotate(rotation);
    const Vector2 corner = centre - b + (b * (2.5f / b.Length()));
    EXPECT_TRUE(Near(Probe(int(corner.x), int(corner.y)), white, 0));
    // The unturned corner lies outside the turned quad.
    EXPECT_TRUE(Near(Probe(int(centre.x + half.x) - 1, int(centre.y - half.y)), background, 0));
}

// Quads over three textures, A B C A, in one batch: each quad shows its own
// texture, the first one its four texels in place.
TEST_F(BatchPixelTest, SpriteBatchOfThreeTextures)
{
    const std::vector<uint8_t> quadrants = {255, 0, 0,   255, 0,   255, 0,   255,
                                            0,   0, 255, 255, 255, 255, 255, 255};
    const Texture a = MakeTexture("batch-pixel-quadrants.png", quadrants, 2, 2);
    std::vector<uint8_t> yellow, cyan;
    for (int i = 0; i < 4; ++i)
    {
        yellow.insert(yellow.end(), {255, 255, 0, 255});
        cyan.insert(cyan.end(), {0, 255, 255, 255});
    }
    Texture b = MakeTexture("batch-pixel-yellow.png", yellow, 2, 2);
    const Texture c = MakeTexture("batch-pixel-cyan.png", cyan, 2, 2);
    Sprites::TransientBatch batch(512);
    const Vexel::Rectangle whole(0, 0, 1, 1);
    batch.AddRegionSized(a, whole, Vector2(24, 24), Vector2(40, 40), kWhite, 1);
    batch.AddRegionSized(b, whole, Vector2(64, 24), Vector2(40, 40), kWhite, 1);
    batch.AddRegionSized(c, whole, Vector2(104, 24), Vector2(40, 40), kWhite, 1);
    // The top-left texel alone, stretched.
    batch.AddRegionSized(a, Vexel::Rectangle(0, 0, 0.5f, 0.5f), Vector2(24, 70), Vector2(40, 40), kWhite, 1);
    // Drawn later: covers the yellow quad's lower half.
    batch.AddRegionSized(c, whole, Vector2(64, 44), Vector2(40, 20), Color(255, 255, 255, 255), 1);
    batch.Draw();

    // And a geometry sprite through a geometry batch, below.
    const TileInfo tile(&b, 0, Vector2(40, 20), whole);
    Geometry::Sprite sprite(tile, Vector2(94, 100), Color(255, 0, 255, 255), 0.0f, 1);
    Geometry::TransientBatch geometryBatch;
    geometryBatch.Add(&sprite);
    geometryBatch.Draw();
    SaveFrame("batch_three_textures");

    // The 2 x 2 texture magnified with GL_LINEAR (and GL_REPEAT, GL's
    // default wrap) onto a 40 x 40 quad at (left, top) showing the texture
    // area from (0, 0) of the given extent: the bilinear sample at a pixel.
    auto sample = [&](int x, int y, double left, double top, double extent)
    {
        const double s = (x + 0.5 - left) / 40.0 * extent * 2.0 - 0.5;
        const double t = (y + 0.5 - top) / 40.0 * extent * 2.0 - 0.5;
        const double s0 = std::floor(s), t0 = std::floor(t);
        double rgb[3] = {0, 0, 0};
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
            {
                const double weight = (i ? s - s0 : 1.0 - (s - s0)) * (j ? t - t0 : 1.0 - (t - t0));
                const int texel = ((int(t0) + j) & 1) * 2 + ((int(s0) + i) & 1);
                for (int k = 0; k < 3; ++k)
                    rgb[k] += weight * quadrants[texel * 4 + k];
            }
        return Rgb{int(std::lround(rgb[0])), int(std::lround(rgb[1])), int(std::lround(rgb[2]))};
    };
    for (auto const& p :
         std::vector<std::pair<int, int>>{{14, 14}, {33, 14}, {14, 33}, {33, 33}, {23, 23}, {20, 30}})
    {
        EXPECT_TRUE(Near(Probe(p.first, p.second), sample(p.first, p.second, 4, 4, 1.0), 2))
            << p.first << "," << p.second;
    }
    EXPECT_TRUE(Near(sample(14, 14, 4, 4, 1.0), Rgb{242, 6, 6}, 1)); // texel centres lie 10 px in
    // The top-left texel's quarter: red at its centre, its neighbours
    // (wrapped) leaking in towards the edges.
    for (auto const& p : std::vector<std::pair<int, int>>{{24, 70}, {8, 54}, {40, 86}, {30, 60}})
    {
        EXPECT_TRUE(Near(Probe(p.first, p.second), sample(p.first, p.second, 4, 50, 0.5), 2))
            << p.first << "," << p.second;
    }
    EXPECT_TRUE(Near(Probe(64, 14), Rgb{255, 255, 0}, 0));
    EXPECT_TRUE(Near(Probe(64, 44), Rgb{0, 255, 255}, 0));
    EXPECT_TRUE(Near(Probe(104, 24), Rgb{0, 255, 255}, 0));
    // Yellow tinted magenta: red only.
    EXPECT_TRUE(Near(Probe(94, 100), Rgb{255, 0, 0}, 0));
    EXPECT_TRUE(Near(Probe(70, 100), Rgb{kBackground.r, kBackground.g, kBackground.b}, 0));
}

} // namespace
