// The check button: face, plate and mark geometry, the label's wrap,
// placement and colours, the press highlight, and the click events.
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UIPalette.h"
#include "tests/ui/UITestSupport.h"
#include "tests/widgets/TextWidgetTestSupport.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace WidgetTest;
using TextWidgetTest::Drawn;
using TextWidgetTest::Replay;
using Vexel::Graphics::GL::Recorder;
namespace Tiles = Vexel::Graphics::Tiles;

namespace
{

const Vector2 kDesign(300.0f, 70.0f); // face 78 wide, caps 35, label room 152
const float kFace = 78.0f;
const Color kPlate(221, 221, 221, 255);

class CheckButtonTest : public UITest::UIFixture
{
protected:
    std::unique_ptr<UICheckButton> Make(bool checked, std::string const& on = "Sound Enabled",
                                        std::string const& off = "Sound Disabled",
                                        Vexel::UI::ElementLayout layout = UITest::Box(10, 100, 300, 70))
    {
        std::unique_ptr<UICheckButton> button(
            new UICheckButton(layout, kDesign, &batch, &glow, on, off, checked));
        Place(*button);
        return button;
    }

    // The highlight phase, read back from the size of the highlight's face
    // drawn at scale 1 (the mark is the smaller one).
    float GlowPhase(UICheckButton& button)
    {
        batch.Reset();
        glow.Reset();
        button.Draw(Vexel::Rectangle(0, 0, 300, 70), 1.0f);
        float phase = 0.0f;
        for (Sprite const& s : glow.All())
        {
            if (s.tile && s.size.x > kFace * 0.6f)
                phase = (s.size.x / kFace - 1.005f) / 0.06f;
        }
        batch.Reset();
        glow.Reset();
        return phase;
    }

    TextWidgetTest::FakeWidgetFonts fonts;
    RecordingBatch batch, glow;
};

TEST_F(CheckButtonTest, CheckedFacePlateAndMark)
{
    auto button = Make(true);
    Recorder recorder;
    button->Draw(Vexel::Rectangle(10, 100, 300, 70), 1.0f);

    // Everything went into the first batch before it was drawn, at once.
    EXPECT_EQ(1, batch.draws);
    EXPECT_TRUE(batch.pending.empty());
    std::vector<Sprite> sprites = batch.All();
    ASSERT_EQ(7u, sprites.size());
    const Vector2 c(160.0f, 135.0f);
    EXPECT_EQ(Tiles::Tile154, sprites[0].tile);
    ExpectNear(c + Vector2((kFace - 300.0f) * 0.5f, 0.0f), sprites[0].position, "face position");
    ExpectNear(Vector2(kFace, 70.0f), sprites[0].size, "face size");
    ExpectColor(kPlate, sprites[0].color, "face");
    EXPECT_EQ(1, sprites[0].blendMode);
    ExpectSlices(sprites, 1, *Tiles::Tile154, c, 1.0f,
                 {-150.0f + kFace, -150.0f + kFace + 35.0f, 115.0f, 150.0f}, {-35.0f, 0.0f, 35.0f}, kPlate,
                 1);

    // The mark: the face again, smaller, added in the highlight batch.
    ASSERT_EQ(1u, glow.All().size());
    const Sprite mark = glow.All()[0];
    EXPECT_EQ(Tiles::Tile154, mark.tile);
    ExpectNear(sprites[0].position, mark.position, "mark position");
    ExpectNear(Vector2(kFace, 70.0f) * 0.55f, mark.size, "mark size");
    ExpectColor(kPlate, mark.color, "mark");
    EXPECT_EQ(2, mark.blendMode);
    EXPECT_EQ(0, glow.draws) << "the owner draws the highlight batch";
}

TEST_F(CheckButtonTest, UncheckedFaceIsOpenAndUnmarked)
{
    auto button = Make(false);
    button->Draw(Vexel::Rectangle(10, 100, 300, 70), 1.0f);
    std::vector<Sprite> sprites = batch.All();
    ASSERT_EQ(7u, sprites.size());
    EXPECT_EQ(Tiles::Tile155, sprites[0].tile);
    ExpectColor(Color(255, 255, 255, 255), sprites[0].color, "open face");
    ExpectSlices(sprites, 1, *Tiles::Tile155, Vector2(160, 135), 1.0f, {-72.0f, -37.0f, 115.0f, 150.0f},
                 {-35.0f, 0.0f, 35.0f}, kPlate, 1);
    EXPECT_TRUE(glow.All().empty());
}

TEST_F(CheckButtonTest, ColoursFollowEnabledAndAlpha)
{
    struct Case
    {
        bool checked, enabled;
        float alpha;
        Color face, plate, label;
    };
    // Labels: palette 12 (on) or 8 (off), alpha 0.6, then the text alpha
    // (half the alpha when disabled), each step truncated.
    const Case cases[] = {
        {true, true, 1.0f, Color(221, 221, 221, 255), Color(221, 221, 221, 255), Color(127, 255, 212, 153)},
        {false, true, 1.0f, Color(255, 255, 255, 255), Color(221, 221, 221, 255), Color(255, 127, 127, 153)},
        {true, false, 1.0f, Color(119, 119, 119, 255), Color(119, 119, 119, 255), Color(127, 255, 212, 76)},
        {false, false, 1.0f, Color(153, 153, 153, 255), Color(119, 119, 119, 255), Color(255, 127, 127, 76)},
        {false, true, 0.5f, Color(255, 255, 255, 127), Color(221, 221, 221, 127), Color(255, 127, 127, 76)},
        {true, false, 0.5f, Color(119, 119, 119, 127), Color(119, 119, 119, 127), Color(127, 255, 212, 38)},
    };
    for (Case const& k : cases)
    {
        SCOPED_TRACE(std::string(k.checked ? "on" : "off") + (k.enabled ? " enabled " : " disabled ") +
                     std::to_string(k.alpha));
        batch.Reset();
        glow.Reset();
        auto button = Make(k.checked);
        button->SetEnabled(k.enabled);
        Recorder recorder;
        button->Draw(RectOf(*button), k.alpha);
        std::vector<Sprite> sprites = batch.All();
        ASSERT_EQ(7u, sprites.size());
        ExpectColor(k.face, sprites[0].color, "face");
        for (size_t i = 1; i < 7; ++i)
            ExpectColor(k.plate, sprites[i].color, "plate");
        std::vector<Drawn> drawn = Replay(recorder);
        ASSERT_EQ(2u, drawn.size());
        for (auto const& v : drawn[0].vertices)
            ExpectColor(k.label, v.color, "label");
    }
}

// The label: wrapped at w - h - face width, the block centred on the plate,
// drawn additively with the plain face, then with the outline face.
TEST_F(CheckButtonTest, LabelIsWrappedCentredOnThePlateAndDrawnWithBothFaces)
{
    auto button = Make(true);
    Recorder recorder;
    button->Draw(Vexel::Rectangle(10, 100, 300, 70), 1.0f);
    EXPECT_EQ(2, Vexel::Graphics::RenderState::GetBlendMode());
    std::vector<Drawn> drawn = Replay(recorder);
    ASSERT_EQ(2u, drawn.size());
    EXPECT_EQ(TextWidgetTest::kPlainTextureName, drawn[0].texture);
    EXPECT_EQ(TextWidgetTest::kOutlineTextureName, drawn[1].texture);

    // Font 0.63 h = 44.1, 22.05 a letter: "Sound Enabled" (286.65) does not
    // fit 152, so "Sound" and "Enabled" (154.35, alone, unbroken) stand on
    // two lines one font size apart.
    const float size = 0.63f * 70.0f, advance = size * 0.5f;
    const Vector2 block(7 * advance, 2 * size);
    const Vector2 topLeft = Vector2(160.0f, 135.0f) - (block - Vector2(kFace, 0.0f)) * 0.5f;
    for (Drawn const& d : drawn)
    {
        const Vexel::Rectangle extent = d.Extent();
        EXPECT_NEAR(topLeft.x, extent.x, 1e-3f);
        EXPECT_NEAR(topLeft.y, extent.y, 1e-3f);
        EXPECT_NEAR(block.x, extent.width, 1e-3f);
        EXPECT_NEAR(block.y, extent.height, 1e-3f);
    }
    // Twelve letters: "Sound" on the first line, "Enabled" starting at the block's left edge below it.
    EXPECT_EQ(size_t(12 * 6), drawn[0].vertices.size()) << "twelve letters, six indices each";
}

// The room for a line is w - h - face width = 152: six letters (132.3) fit,
// seven (154.35) do not.
TEST_F(CheckButtonTest, LinesBreakAtTheRoomRightOfTheFace)
{
    struct Case
    {
        const char* label;
        int lines, widest;
    };
    const Case cases[] = {{"Go now", 1, 6}, {"Go home", 2, 4}, {"a b c d e f g", 3, 5}};
    const float size = 0.63f * 70.0f, advance = size * 0.5f;
    for (Case const& k : cases)
    {
        SCOPED_TRACE(k.label);
        auto button = Make(true, k.label, k.label);
        Recorder recorder;
        button->Draw(Vexel::Rectangle(10, 100, 300, 70), 1.0f);
        std::vector<Drawn> drawn = Replay(recorder);
        ASSERT_EQ(2u, drawn.size());
        EXPECT_NEAR(k.lines * size, drawn[0].Extent().height, 1e-3f);
        EXPECT_NEAR(k.widest * advance, drawn[0].Extent().width, 1e-3f);
    }
}

TEST_F(CheckButtonTest, DrawnScaleIsTheSmallerRatioToTheDesignSize)
{
    struct Case
    {
        Vexel::Rectangle rect;
        float scale;
    };
    const Case cases[] = {
        {Vexel::Rectangle(0, 0, 600, 140), 2.0f},
        {Vexel::Rectangle(0, 0, 600, 70), 1.0f},
        {Vexel::Rectangle(0, 0, 150, 70), 0.5f},
    };
    for (Case const& k : cases)
    {
        batch.Reset();
        glow.Reset();
        auto button = Make(true);
        button->Draw(k.rect, 1.0f);
        std::vector<Sprite> sprites = batch.All();
        ASSERT_EQ(7u, sprites.size());
        ExpectNear(Vector2(kFace, 70.0f) * k.scale, sprites[0].size, "face size");
        ExpectNear(k.rect.Center() + Vector2((kFace - 300.0f) * 0.5f * k.scale, 0.0f), sprites[0].position,
                   "face position");
        ExpectSlices(sprites, 1, *Tiles::Tile154, k.rect.Center(), k.scale, {-72.0f, -37.0f, 115.0f, 150.0f},
                     {-35.0f, 0.0f, 35.0f}, kPlate, 1);
    }
}

TEST_F(CheckButtonTest, NearlyTransparentDrawsNothingAndKeepsTheLabelColour)
{
    auto button = Make(false);
    Recorder recorder;
    button->Draw(RectOf(*button), 0.5f);
    const size_t first = recorder.GetCalls().size();
    batch.Reset();
    button->Draw(RectOf(*button), 0.004f);
    EXPECT_EQ(first, recorder.GetCalls().size()) << "no GL call at alpha 0.004";
    EXPECT_TRUE(batch.All().empty());
    EXPECT_EQ(0, batch.draws);
    EXPECT_TRUE(glow.All().empty());
    // The vertices the first draw used still carry the colour for alpha 0.5.
    std::vector<Drawn> drawn = Replay(recorder);
    ASSERT_EQ(2u, drawn.size());
    for (auto const& v : drawn[0].vertices)
        ExpectColor(Color(255, 127, 127, 76), v.color, "label");
}

TEST_F(CheckButtonTest, TheFirstDrawAfterAFlipRecoloursTheNewLabel)
{
    auto button = Make(false, "On", "Off");
    button->Draw(RectOf(*button), 1.0f);
    button->TouchDown(Vector2(160, 135), 1);
    button->TouchUp(Vector2(160, 135));
    Recorder recorder;
    button->Draw(RectOf(*button), 1.0f);
    std::vector<Drawn> drawn = Replay(recorder);
    ASSERT_EQ(2u, drawn.size());
    EXPECT_EQ(size_t(2 * 6), drawn[0].vertices.size()) << "\"On\": two quads";
    for (auto const& v : drawn[0].vertices)
        ExpectColor(UIPalette[12].ScaleAlpha(0.6f), v.color, "checked label");
}

TEST_F(CheckButtonTest, EmptyLabelStillDrawsFaceAndPlate)
{
    auto button = Make(true, "", "");
    Recorder recorder;
    button->Draw(RectOf(*button), 1.0f);
    EXPECT_EQ(7u, batch.All().size());
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
}

TEST_F(CheckButtonTest, ClickFlipsThenRaisesToggledThenCheckedChanged)
{
    auto button = Make(false);
    EventLog log;
    button->Clicked.Subscribe(Vexel::Action<Vexel::UI::Element*, Vector2 const&>(&log, &EventLog::OnClicked));
    button->Toggled.Subscribe(Vexel::Action<UICheckButton*, bool>(&log, &EventLog::OnToggled));
    button->CheckedChanged.Subscribe(Vexel::Action<bool>(&log, &EventLog::OnCheckedChanged));
    for (int i = 0; i < 2; ++i)
    {
        button->TouchDown(Vector2(100, 120), 1);
        button->TouchUp(Vector2(101, 121));
    }
    EXPECT_EQ((std::vector<std::string>{"Clicked", "Toggled 1", "CheckedChanged 1", "Clicked", "Toggled 0",
                                        "CheckedChanged 0"}),
              log.lines);
}

TEST_F(CheckButtonTest, ReleasedOutsideFlipsNothingAndThePulseRunsOut)
{
    auto button = Make(false);
    EventLog log;
    button->Toggled.Subscribe(Vexel::Action<UICheckButton*, bool>(&log, &EventLog::OnToggled));
    button->TouchDown(Vector2(100, 120), 1);
    for (int i = 0; i < 6; ++i)
        button->UpdateTree(kFrame);
    const float held = GlowPhase(*button);
    EXPECT_NEAR(0.3f, held, 1e-4f);
    button->TouchMove(Vector2(100, 300)); // out of the button
    button->UpdateTree(kFrame);
    EXPECT_NEAR(0.35f, GlowPhase(*button), 1e-4f) << "the pulse goes on to its end";
    button->TouchUp(Vector2(100, 300));
    int frames = 1;
    while (GlowPhase(*button) != 0.0f && frames < 100)
    {
        button->UpdateTree(kFrame);
        ++frames;
    }
    // From 0.35 to 1 in steps of 0.05 (float sums may need one more).
    EXPECT_GE(frames, 14);
    EXPECT_LE(frames, 15);
    EXPECT_TRUE(log.lines.empty());
}

// Held for a second: the phase passed 1 after 20 frames and kept its
// fraction, so it stands near 0.5: the highlight is 1.035 times the face at
// 0.85 alpha, with a second mark.
TEST_F(CheckButtonTest, HeldForASecondTheHighlightIsHalfWay)
{
    auto button = Make(true);
    button->TouchDown(Vector2(100, 120), 1);
    for (int i = 0; i < 30; ++i)
        button->UpdateTree(kFrame);
    EXPECT_NEAR(0.5f, GlowPhase(*button), 1e-4f);

    batch.Reset();
    glow.Reset();
    button->Draw(Vexel::Rectangle(10, 100, 300, 70), 1.0f);
    std::vector<Sprite> sprites = glow.All();
    ASSERT_EQ(9u, sprites.size()) << "the mark, then face, mark and six slices of the highlight";
    const float k = 1.035f;
    const Vector2 c(160, 135);
    EXPECT_EQ(Tiles::Tile154, sprites[1].tile);
    ExpectNear(c + Vector2((kFace - 300.0f) * k * 0.5f, 0.0f), sprites[1].position, "highlight face", 2e-3f);
    ExpectNear(Vector2(kFace, 70.0f) * k, sprites[1].size, "highlight face size", 2e-3f);
    EXPECT_EQ(216, int(sprites[1].color.a));
    EXPECT_EQ(2, sprites[1].blendMode);
    ExpectNear(Vector2(kFace, 70.0f) * k * 0.55f, sprites[2].size, "highlight mark", 2e-3f);
    for (size_t i = 3; i < 9; ++i)
    {
        EXPECT_EQ(216, int(sprites[i].color.a));
        EXPECT_EQ(2, sprites[i].blendMode);
    }
}

// A page may drop a button from a Toggled handler; the value-only event is
// then not raised on what is gone.
struct Deleter
{
    UICheckButton* button = nullptr;
    void OnToggled(UICheckButton* b, bool)
    {
        EXPECT_EQ(button, b);
        delete button;
        button = nullptr;
    }
    int values = 0;
    void OnValue(bool) { ++values; }
};

TEST_F(CheckButtonTest, AToggledHandlerMayDeleteTheButton)
{
    Deleter deleter;
    deleter.button = Make(false).release();
    deleter.button->Toggled.Subscribe(Vexel::Action<UICheckButton*, bool>(&deleter, &Deleter::OnToggled));
    deleter.button->CheckedChanged.Subscribe(Vexel::Action<bool>(&deleter, &Deleter::OnValue));
    deleter.button->TouchDown(Vector2(100, 120), 1);
    deleter.button->TouchUp(Vector2(100, 120));
    EXPECT_EQ(nullptr, deleter.button);
    EXPECT_EQ(0, deleter.values);
}

} // namespace
