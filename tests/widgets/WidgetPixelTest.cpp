// Check buttons and a slider drawn on a real OpenGL ES 1.1 context (EGL
// pbuffer) with the generated atlases and fonts, through two sprite batches
// as the menus draw them. Probe pixels away from the text are compared with
// the same sprites composited in software from the atlas image; the labels
// and the number are checked for their colours. The frame is saved as
// "widgets_pixels.png" in this build folder.
#include "engine/core/AppEvents.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/Texture.h"
#include "engine/display/GLContext.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UISlider.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"
#include "tests/ui/UITestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>
#include <lodepng.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

using namespace Vexel::Graphics;
using WidgetTest::RecordingBatch;
using WidgetTest::Sprite;

namespace
{

const int kWidth = 480, kHeight = 300;

// Hands every sprite to the real batch and keeps a copy for the software
// composite.
class TeeBatch : public RecordingBatch
{
public:
    explicit TeeBatch(Sprites::TransientBatch* real) : real(real) {}
    void AddRegionSized(Texture const& texture, Vexel::Rectangle const& region, Vector2 position,
                        Vector2 size, Color color, int blendMode) override
    {
        RecordingBatch::AddRegionSized(texture, region, position, size, color, blendMode);
        real->AddRegionSized(texture, region, position, size, color, blendMode);
    }
    void AddTileSized(TileInfo const& tile, Vector2 position, Vector2 size, Color color,
                      int blendMode) override
    {
        RecordingBatch::AddTileSized(tile, position, size, color, blendMode);
        real->AddTileSized(tile, position, size, color, blendMode);
    }
    void Draw() override
    {
        RecordingBatch::Draw();
        real->Draw();
    }

private:
    Sprites::TransientBatch* real;
};

struct Image
{
    std::vector<uint8_t> rgba;
    unsigned width = 0, height = 0;

    float At(int x, int y, int channel) const
    {
        x = std::max(0, std::min(int(width) - 1, x));
        y = std::max(0, std::min(int(height) - 1, y));
        return rgba[(size_t(y) * width + size_t(x)) * 4 + size_t(channel)] / 255.0f;
    }
    // GL_LINEAR at texture coordinate (u, v).
    float Sample(float u, float v, int channel) const
    {
        const float x = u * float(width) - 0.5f, y = v * float(height) - 0.5f;
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        const float fx = x - float(x0), fy = y - float(y0);
        return (At(x0, y0, channel) * (1 - fx) + At(x0 + 1, y0, channel) * fx) * (1 - fy) +
               (At(x0, y0 + 1, channel) * (1 - fx) + At(x0 + 1, y0 + 1, channel) * fx) * fy;
    }
};

// The colour the sprites give the pixel centre (x + 0.5, y + 0.5) over black,
// each sprite modulated by its vertex colour and blended by its mode.
void Composite(std::vector<Sprite> const& sprites, Image const& atlas, int x, int y, float out[3])
{
    out[0] = out[1] = out[2] = 0.0f;
    const float px = float(x) + 0.5f, py = float(y) + 0.5f;
    for (Sprite const& s : sprites)
    {
        const float left = s.position.x - s.size.x * 0.5f, top = s.position.y - s.size.y * 0.5f;
        const float fx = (px - left) / s.size.x, fy = (py - top) / s.size.y;
        if (fx < 0.0f || fx >= 1.0f || fy < 0.0f || fy >= 1.0f)
            continue;
        const float u = s.region.x + fx * s.region.width, v = s.region.y + fy * s.region.height;
        const float a = atlas.Sample(u, v, 3) * s.color.a / 255.0f;
        const float c[3] = {s.color.r / 255.0f, s.color.g / 255.0f, s.color.b / 255.0f};
        for (int k = 0; k < 3; ++k)
        {
            const float src = atlas.Sample(u, v, k) * c[k];
            out[k] = s.blendMode == 2 ? std::min(1.0f, out[k] + src * a) : src * a + out[k] * (1.0f - a);
        }
    }
}

} // namespace

TEST(WidgetPixels, CheckButtonsAndSliderOnEs11)
{
    std::unique_ptr<Vexel::Platform::GLContext> context = GLTest::CreateContext(kWidth, kHeight);
    ASSERT_NE(nullptr, context) << "no EGL pbuffer context";
    GLTest::UseGameData(VEXEL_DATA_DIR);
    GetReferenceTiles();
    Vexel::AppEvents::Startup().Raise();
    ASSERT_EQ(21u, GetReferenceTextures().size());
    UITest::ResetUIState();

    Image atlas;
    ASSERT_EQ(0u, lodepng::decode(atlas.rgba, atlas.width, atlas.height,
                                  std::string(VEXEL_DATA_DIR) + "/argb_main4.png"));

    GLTest::SetUpFrame(kWidth, kHeight, Color(0, 0, 0, 255));

    Sprites::TransientBatch normalBatch(512), glowBatch(512);
    TeeBatch normal(&normalBatch), glow(&glowBatch);
    using UITest::Box;
    std::unique_ptr<UICheckButton> on(new UICheckButton(Box(20, 20, 440, 60), Vector2(440, 60), &normal,
                                                        &glow, "Sound Enabled", "Sound Disabled", true));
    std::unique_ptr<UICheckButton> off(new UICheckButton(Box(20, 100, 440, 60), Vector2(440, 60), &normal,
                                                         &glow, "Vibration: On", "Vibration: Off", false));
    std::unique_ptr<UISlider> slider(
        new UISlider(Box(20, 190, 440, 80), Vector2(440, 80), &normal, &glow, 0, 100, 25, true));
    for (Vexel::UI::Element* e :
         std::initializer_list<Vexel::UI::Element*>{on.get(), off.get(), slider.get()})
    {
        WidgetTest::Place(*e);
        e->DrawTree(Vector2(), 1.0f);
    }
    normal.Draw();
    glow.Draw();
    GL::Finish();
    EXPECT_EQ(GLenum(GL_NO_ERROR), GL::CheckErrors(__FILE__, __LINE__, "widget frame"));

    const GLTest::Frame frame = GLTest::ReadFrame(kWidth, kHeight);
    const std::string png = std::string(VEXEL_TEST_OUTPUT_DIR) + "/widgets_pixels.png";
    EXPECT_TRUE(frame.SavePng(png)) << png;

    std::vector<Sprite> sprites = normal.All();
    std::vector<Sprite> marks = glow.All();
    sprites.insert(sprites.end(), marks.begin(), marks.end());
    ASSERT_EQ(7u + 7u + 7u + 1u, sprites.size()) << "two buttons, track and knob, one mark";

    // Knob of value 25: 89.14 wide, its centre 37.44 + 365.12 / 4 from the left.
    const float knobX = 20.0f + 0.42f * 89.142857f + (440.0f - 0.84f * 89.142857f) * 0.25f;
    struct Probe
    {
        int x, y;
        const char* what;
    };
    const Probe probes[] = {
        {28, 50, "checked face, left"},
        {53, 50, "checked face under its mark"},
        {53, 28, "checked face, top"},
        {450, 35, "checked plate, right end"},
        {300, 24, "checked plate, stretched middle"},
        {100, 45, "checked plate, left end"},
        {28, 130, "open face, left"},
        {53, 130, "open face, centre"},
        {450, 115, "open plate, right end"},
        {300, 104, "open plate, stretched middle"},
        {30, 220, "track, left end"},
        {450, 225, "track, right end"},
        {300, 214, "track, middle"},
        {int(knobX) - 33, 230, "knob over the track"},
        {int(knobX), 194, "knob, top"},
    };
    int lit = 0;
    for (Probe const& p : probes)
    {
        float expected[3];
        Composite(sprites, atlas, p.x, p.y, expected);
        const uint8_t* got = frame.Pixel(p.x, p.y);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(expected[k] * 255.0f, float(got[k]), 5.0f)
                << p.what << " at (" << p.x << ", " << p.y << ") channel " << k;
        lit += std::max(got[0], std::max(got[1], got[2])) > 40 ? 1 : 0;
    }
    EXPECT_GE(lit, 12) << "the probes lie on visible art";

    // The labels: green while on, red while off, on the plate right of the face.
    EXPECT_GT(frame.Count(Vexel::Rectangle(100, 25, 350, 50),
                          [](uint8_t const* p) { return p[1] > 150 && p[1] > p[0] + 60; }),
              300);
    EXPECT_GT(frame.Count(Vexel::Rectangle(100, 105, 350, 50),
                          [](uint8_t const* p) { return p[0] > 150 && p[0] > p[1] + 50; }),
              300);
    EXPECT_EQ(0, frame.Count(Vexel::Rectangle(100, 105, 350, 50),
                             [](uint8_t const* p) { return p[1] > 150 && p[1] > p[0] + 60; }))
        << "no green in the open button's label";
    // The number on the knob, light blue.
    EXPECT_GT(frame.Count(Vexel::Rectangle(knobX - 30, 205, 60, 50),
                          [](uint8_t const* p) { return p[2] > 200 && p[1] > 150 && p[0] < p[2] - 40; }),
              60);

    on.reset();
    off.reset();
    slider.reset();
    ShutdownUIHelper();
}
