// The slider: value mapping, track and knob geometry, the number on the
// knob, the press highlight, and the order of its events.
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "game/widgets/UIPalette.h"
#include "game/widgets/UISlider.h"
#include "tests/ui/UITestSupport.h"
#include "tests/widgets/TextWidgetTestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

using namespace WidgetTest;
using TextWidgetTest::Drawn;
using TextWidgetTest::Replay;
using Vexel::Graphics::GL::Recorder;
namespace Tiles = Vexel::Graphics::Tiles;

namespace
{

// w 300, h 70: knob 78 x 70, its centre 32.76 from either end, a track of
// 234.48 for the whole range.
const Vector2 kDesign(300.0f, 70.0f);
const float kStart = 0.42f * 78.0f;
const float kTrack = 300.0f - 0.84f * 78.0f;

class SliderTest : public UITest::UIFixture
{
protected:
    std::unique_ptr<UISlider> Make(int min, int max, int value, bool showValue = true,
                                   Vector2 design = kDesign)
    {
        std::unique_ptr<UISlider> slider(new UISlider(UITest::Box(0, 0, design.x, design.y), design, &batch,
                                                      &glow, min, max, value, showValue));
        Place(*slider);
        slider->Changed.Subscribe(Vexel::Action<UISlider*, int>(&log, &EventLog::OnChanged));
        slider->ValueChanged.Subscribe(Vexel::Action<int>(&log, &EventLog::OnValueChanged));
        slider->TouchedUp.Subscribe(
            Vexel::Action<Vexel::UI::Element*, Vector2 const&, int>(&log, &EventLog::OnTouchedUp));
        return slider;
    }

    // The value a single touch at x gives.
    int TouchAt(UISlider& slider, float x)
    {
        log.lines.clear();
        slider.TouchDown(Vector2(x, 35.0f), 1);
        slider.TouchUp(Vector2(x, 35.0f));
        if (log.lines.empty())
            return INT_MIN;
        const std::string last = log.lines.back();
        return std::stoi(last.substr(last.find(' ') + 1));
    }

    // The knob: the last sprite of the normal pass, drawn at rect.
    Sprite Knob(UISlider& slider, Vexel::Rectangle rect = Vexel::Rectangle(0, 0, 300, 70))
    {
        batch.Reset();
        glow.Reset();
        slider.Draw(rect, 1.0f);
        std::vector<Sprite> sprites = batch.All();
        EXPECT_EQ(7u, sprites.size());
        return sprites.empty() ? Sprite() : sprites.back();
    }

    float GlowPhase(UISlider& slider)
    {
        batch.Reset();
        glow.Reset();
        slider.Draw(Vexel::Rectangle(0, 0, 300, 70), 1.0f);
        std::vector<Sprite> sprites = glow.All();
        if (sprites.empty())
            return 0.0f;
        EXPECT_EQ(7u, sprites.size());
        return (sprites.back().size.y / 70.0f - 1.005f) / 0.06f;
    }

    TextWidgetTest::FakeWidgetFonts fonts;
    RecordingBatch batch, glow;
    EventLog log;
};

TEST_F(SliderTest, TouchPositionsMapToTheNearestStepWithinTheRange)
{
    auto slider = Make(0, 100, 50);
    const float step = kTrack / 100.0f;
    const float at40 = kStart + 40.0f * step;
    struct Case
    {
        float x;
        int value;
    };
    const Case cases[] = {
        {kStart, 0},
        {kStart + kTrack, 100},
        {at40 + 0.25f * step, 40},
        {at40 + 0.75f * step, 41},
        {at40 - 0.25f * step, 40},
        {at40 + 0.45f * step, 40}, // the nearer step
        {at40 + 0.55f * step, 41},
        {0.0f, 0},
        {kStart - 1.0f, 0},
        {kStart + kTrack + 1.0f, 100},
        {299.0f, 100},
        {-1e30f, 0},
        {1e30f, 100},
        {std::nanf(""), 0},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.value, TouchAt(*slider, c.x)) << "x = " << c.x;
}

TEST_F(SliderTest, TouchesAreMeasuredFromWhereTheSliderWasLastDrawn)
{
    auto slider = Make(0, 100, 50);
    // Nearly transparent: nothing drawn, but the place is taken.
    slider->Draw(Vexel::Rectangle(100, 50, 300, 70), 0.004f);
    EXPECT_TRUE(batch.All().empty());
    EXPECT_EQ(0, batch.draws);
    slider->TouchDown(Vector2(100 + kStart, 60), 1);
    slider->TouchUp(Vector2(100 + kStart + kTrack, 60));
    EXPECT_EQ((std::vector<std::string>{"Changed 0", "ValueChanged 0", "TouchedUp", "Changed 100",
                                        "ValueChanged 100"}),
              log.lines);
}

// Touch down, three moves and the release: both events on every step, also
// without movement; the element's touch-up comes before the release's value.
TEST_F(SliderTest, EveryTouchStepRaisesChangedThenValueChanged)
{
    auto slider = Make(0, 100, 50);
    const float x = kStart + 10.0f * kTrack / 100.0f;
    slider->TouchDown(Vector2(x, 35), 1);
    slider->TouchMove(Vector2(x, 35));
    slider->TouchMove(Vector2(x, 35));
    slider->TouchMove(Vector2(x + kTrack * 0.1f, 35));
    slider->TouchUp(Vector2(x + kTrack * 0.2f, 35));
    EXPECT_EQ((std::vector<std::string>{"Changed 10", "ValueChanged 10", "Changed 10", "ValueChanged 10",
                                        "Changed 10", "ValueChanged 10", "Changed 20", "ValueChanged 20",
                                        "TouchedUp", "Changed 30", "ValueChanged 30"}),
              log.lines);
}

TEST_F(SliderTest, AFingerOutsideKeepsDrivingTheValueAndTheHighlight)
{
    auto slider = Make(0, 100, 50);
    slider->TouchDown(Vector2(150, 35), 1);
    slider->TouchMove(Vector2(-200, 400)); // far off, below and left
    EXPECT_EQ("Changed 0", log.lines[log.lines.size() - 2]);
    for (int i = 0; i < 8; ++i)
        slider->UpdateTree(kFrame);
    EXPECT_NEAR(0.4f, GlowPhase(*slider), 1e-4f) << "held, though outside";
    slider->TouchMove(Vector2(900, -50));
    EXPECT_EQ("Changed 100", log.lines[log.lines.size() - 2]);
    slider->TouchUp(Vector2(900, -50));
    for (int i = 0; i < 14; ++i)
        slider->UpdateTree(kFrame);
    EXPECT_EQ(0.0f, GlowPhase(*slider)) << "the pulse ran out after the release";
}

TEST_F(SliderTest, TrackAndKnobGeometry)
{
    auto slider = Make(0, 100, 25);
    Recorder recorder;
    slider->Draw(Vexel::Rectangle(10, 20, 600, 140), 0.5f); // scale 2
    EXPECT_EQ(1, batch.draws);
    std::vector<Sprite> sprites = batch.All();
    ASSERT_EQ(7u, sprites.size());
    const Vector2 c(310, 90);
    const Color white(255, 255, 255, 127);
    // As long as the slider, half as high, ends 17.5 wide.
    ExpectSlices(sprites, 0, *Tiles::Tile153, c, 2.0f, {-150.0f, -132.5f, 132.5f, 150.0f},
                 {-17.5f, 0.0f, 17.5f}, white, 1);
    EXPECT_EQ(Tiles::Tile153, sprites[6].tile);
    ExpectNear(c + Vector2((kStart + 0.25f * kTrack - 150.0f) * 2.0f, 0.0f), sprites[6].position, "knob");
    ExpectNear(Vector2(78, 70) * 2.0f, sprites[6].size, "knob size");
    ExpectColor(white, sprites[6].color, "knob");
    EXPECT_EQ(1, sprites[6].blendMode);
    EXPECT_TRUE(glow.All().empty());
}

// The number: "25" centred on the knob, in palette 3, additive; font 0.54 h
// up to 99 and 0.46 h from 100.
TEST_F(SliderTest, TheNumberIsCentredOnTheKnob)
{
    struct Case
    {
        int value;
        float fontSize;
        int digits;
    };
    const Case cases[] = {
        {25, 0.54f * 70.0f, 2}, {99, 0.54f * 70.0f, 2}, {100, 0.46f * 70.0f, 3}, {-5, 0.54f * 70.0f, 2}};
    for (Case const& k : cases)
    {
        SCOPED_TRACE(k.value);
        auto slider = Make(-10, 200, k.value);
        Recorder recorder;
        const Sprite knob = Knob(*slider);
        std::vector<Drawn> drawn = Replay(recorder);
        ASSERT_EQ(1u, drawn.size());
        EXPECT_EQ(TextWidgetTest::kPlainTextureName, drawn[0].texture);
        const Vexel::Rectangle extent = drawn[0].Extent();
        EXPECT_NEAR(k.fontSize, extent.height, 1e-3f);
        EXPECT_NEAR(k.digits * k.fontSize * 0.5f, extent.width, 1e-3f);
        ExpectNear(knob.position, extent.Center(), "number centre");
        for (auto const& v : drawn[0].vertices)
            ExpectColor(UIPalette[3], v.color, "number");
        EXPECT_EQ(2, Vexel::Graphics::RenderState::GetBlendMode());
    }
}

TEST_F(SliderTest, WithoutTheNumberOnlyTrackAndKnobAreDrawn)
{
    auto slider = Make(0, 100, 25, false);
    Recorder recorder;
    slider->Draw(Vexel::Rectangle(0, 0, 300, 70), 1.0f);
    EXPECT_EQ(7u, batch.All().size());
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
    EXPECT_TRUE(fonts.made.empty());
}

// An initial value outside the range is drawn where the mapping puts it and
// kept until the first touch.
TEST_F(SliderTest, InitialValueIsKeptUntilTheFirstTouch)
{
    auto slider = Make(0, 100, 150, false);
    EXPECT_NEAR(kStart + 1.5f * kTrack, Knob(*slider).position.x, 1e-3f);
    EXPECT_EQ(100, TouchAt(*slider, 1000.0f));
}

// Held for a second: phase near 0.5, a highlight of the whole track and knob
// 1.035 times as large at 0.85 alpha, additive.
TEST_F(SliderTest, HeldForASecondTheHighlightIsHalfWay)
{
    auto slider = Make(0, 100, 0, false);
    slider->TouchDown(Vector2(kStart, 35), 1);
    for (int i = 0; i < 30; ++i)
        slider->UpdateTree(kFrame);
    EXPECT_NEAR(0.5f, GlowPhase(*slider), 1e-4f);
    std::vector<Sprite> sprites = glow.All();
    ASSERT_EQ(7u, sprites.size());
    for (Sprite const& s : sprites)
    {
        EXPECT_EQ(216, int(s.color.a));
        EXPECT_EQ(2, s.blendMode);
    }
    ExpectNear(Vector2(78, 70) * 1.035f, sprites[6].size, "highlight knob", 2e-3f);
}

// No division by zero: an empty or reversed range holds its minimum with the
// knob at the start; a slider narrower than its knob still maps touches.
TEST_F(SliderTest, DegenerateRangesAndTracksStayFinite)
{
    struct Case
    {
        int min, max, value;
        Vector2 design;
        int held; // what every touch gives
    };
    const Case cases[] = {
        {5, 5, 5, kDesign, 5},
        {10, 3, 7, kDesign, 10},
        {0, 0, 9, kDesign, 0},
    };
    for (Case const& k : cases)
    {
        SCOPED_TRACE(std::to_string(k.min) + ".." + std::to_string(k.max));
        auto slider = Make(k.min, k.max, k.value, true);
        const Sprite knob = Knob(*slider);
        EXPECT_NEAR(kStart - 150.0f + 150.0f, knob.position.x, 1e-3f) << "knob at the start";
        for (float x : {-50.0f, 0.0f, 150.0f, 400.0f})
            EXPECT_EQ(k.held, TouchAt(*slider, x));
    }

    // 50 wide with a 78-wide knob: the track counts as 1 pixel long.
    auto narrow = Make(0, 10, 5, false, Vector2(50, 70));
    const Sprite knob = Knob(*narrow, Vexel::Rectangle(0, 0, 50, 70));
    EXPECT_TRUE(std::isfinite(knob.position.x));
    EXPECT_NEAR(kStart + 0.5f, knob.position.x, 1e-3f);
    EXPECT_EQ(0, TouchAt(*narrow, kStart - 0.06f));
    EXPECT_EQ(10, TouchAt(*narrow, kStart + 0.96f));
    EXPECT_EQ(10, TouchAt(*narrow, 49.0f));

    // The whole int range: the ends are reached and nothing overflows.
    auto wide = Make(INT_MIN, INT_MAX, 0, true);
    EXPECT_EQ(INT_MIN, TouchAt(*wide, -1.0f));
    EXPECT_EQ(INT_MAX, TouchAt(*wide, 400.0f));
    EXPECT_NEAR(kStart + kTrack, Knob(*wide).position.x, 1e-2f);

    // A zero design size draws at scale 1.
    std::unique_ptr<UISlider> unsized(
        new UISlider(UITest::Box(0, 0, 0, 0), kDesign, &batch, &glow, 0, 100, 100, false));
    const Sprite knob0 = Knob(*unsized, Vexel::Rectangle(0, 0, 0, 0));
    ExpectNear(Vector2(78, 70), knob0.size, "unscaled knob");
}

struct Deleter
{
    UISlider* slider = nullptr;
    int values = 0;
    void OnChanged(UISlider*, int)
    {
        delete slider;
        slider = nullptr;
    }
    void OnValue(int) { ++values; }
};

TEST_F(SliderTest, AChangedHandlerMayDeleteTheSlider)
{
    Deleter deleter;
    deleter.slider = new UISlider(UITest::Box(0, 0, 300, 70), kDesign, &batch, &glow, 0, 100, 5, true);
    deleter.slider->Changed.Subscribe(Vexel::Action<UISlider*, int>(&deleter, &Deleter::OnChanged));
    deleter.slider->ValueChanged.Subscribe(Vexel::Action<int>(&deleter, &Deleter::OnValue));
    Place(*deleter.slider);
    deleter.slider->TouchDown(Vector2(100, 10), 1);
    EXPECT_EQ(nullptr, deleter.slider);
    EXPECT_EQ(0, deleter.values);
}

} // namespace
