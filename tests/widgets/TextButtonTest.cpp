// The text button: the sliced panel, the label's wrap, placement and
// colours, the highlight, and a button without a tile.
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "game/widgets/UITextButton.h"
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

// A 214 x 70 panel with 30-wide ends: 154 for the label. Font 0.65 h = 45.5,
// 22.75 a letter, so six letters fit a line.
const Vector2 kDesign(214.0f, 70.0f);
const float kCap = 30.0f;
const float kFont = 0.65f * 70.0f;
const float kAdvance = kFont * 0.5f;
const Color kLabel(127, 212, 255, 255);

class TextButtonTest : public UITest::UIFixture
{
protected:
    std::unique_ptr<UITextButton> Make(std::string const& label, TileInfo const* tile = Tiles::Tile153,
                                       int blendMode = 1)
    {
        std::unique_ptr<UITextButton> button(new UITextButton(UITest::Box(10, 20, kDesign.x, kDesign.y), tile,
                                                              kDesign, kCap, blendMode, &batch, &glow, label,
                                                              kLabel));
        Place(*button);
        return button;
    }

    // The label's drawn pieces (plain face, then outline face).
    std::vector<Drawn> DrawLabel(UITextButton& button, Vexel::Rectangle rect, float alpha = 1.0f)
    {
        Recorder recorder;
        button.Draw(rect, alpha);
        return Replay(recorder);
    }

    TextWidgetTest::FakeWidgetFonts fonts;
    RecordingBatch batch, glow;
};

// The fourth argument is the width of the panel's ends.
TEST_F(TextButtonTest, PanelIsSixSlicesWithEndsOfTheCapWidth)
{
    struct Case
    {
        Vexel::Rectangle rect;
        float alpha;
        float scale;
        int blendMode;
    };
    const Case cases[] = {
        {Vexel::Rectangle(10, 20, 214, 70), 1.0f, 1.0f, 1},
        {Vexel::Rectangle(0, 0, 428, 140), 0.5f, 2.0f, 2},
        {Vexel::Rectangle(0, 0, 428, 70), 1.0f, 1.0f, 1},
    };
    for (Case const& k : cases)
    {
        batch.Reset();
        auto button = Make("Play", Tiles::Tile161, k.blendMode);
        button->Draw(k.rect, k.alpha);
        EXPECT_EQ(1, batch.draws);
        EXPECT_TRUE(batch.pending.empty());
        ExpectSlices(batch.All(), 0, *Tiles::Tile161, k.rect.Center(), k.scale,
                     {-107.0f, -107.0f + kCap, 107.0f - kCap, 107.0f}, {-35.0f, 0.0f, 35.0f},
                     Color(255, 255, 255, 255).ScaleAlpha(k.alpha), k.blendMode);
        EXPECT_EQ(6u, batch.All().size());
    }
}

TEST_F(TextButtonTest, LabelsWrapAtTheRoomBetweenTheEnds)
{
    struct Case
    {
        std::string label;
        std::vector<std::string> lines; // as laid out, left-aligned
    };
    const Case cases[] = {
        {"Play", {"Play"}},
        {"Go on", {"Go on"}},                               // 5 letters: 113.75 fits 154
        {"Endless from here", {"Endless", "from", "here"}}, // "Endless" alone is 159.25, unbroken
        {"Go on now", {"Go on", "now"}},
        {"Go now", {"Go now"}},      // six letters: 136.5
        {"Go home", {"Go", "home"}}, // seven: 159.25 is too wide
        {" Tips", {"Tips"}}, // a leading space is lost
        {"a  b", {"a  b"}},  // two spaces: the empty word joins with a space
        {"", {}},
    };
    for (Case const& k : cases)
    {
        SCOPED_TRACE("\"" + k.label + "\"");
        auto button = Make(k.label);
        std::vector<Drawn> drawn = DrawLabel(*button, Vexel::Rectangle(10, 20, 214, 70));
        size_t letters = 0, widest = 0;
        for (std::string const& line : k.lines)
        {
            widest = std::max(widest, line.size());
            for (char c : line)
                letters += c != ' ';
        }
        if (letters == 0)
        {
            EXPECT_TRUE(drawn.empty());
            continue;
        }
        ASSERT_EQ(2u, drawn.size());
        EXPECT_EQ(TextWidgetTest::kPlainTextureName, drawn[0].texture);
        EXPECT_EQ(TextWidgetTest::kOutlineTextureName, drawn[1].texture);
        EXPECT_EQ(letters * 6, drawn[0].vertices.size());
        // The block is centred on the panel; every line starts at its left edge.
        const Vector2 block(widest * kAdvance, k.lines.size() * kFont);
        const Vexel::Rectangle extent = drawn[0].Extent();
        ExpectNear(Vector2(117, 55) - block * 0.5f, extent.Position(), "block", 2e-3f);
        ExpectNear(block, extent.Size(), "block size", 2e-3f);
        for (size_t line = 0; line < k.lines.size(); ++line)
        {
            const float top = extent.y + line * kFont;
            bool startsAtLeft = false;
            for (Vector2 const& p : drawn[0].screen)
                startsAtLeft =
                    startsAtLeft || (std::abs(p.y - top) < 1e-3f && std::abs(p.x - extent.x) < 1e-3f);
            EXPECT_TRUE(startsAtLeft) << "line " << line;
        }
    }
}

TEST_F(TextButtonTest, LabelScalesWithThePanelAndIsRecolouredOnlyWhenTheAlphaChanges)
{
    auto button = Make("Go");
    Recorder recorder;
    button->Draw(Vexel::Rectangle(0, 0, 428, 140), 0.5f);
    std::vector<Drawn> drawn = Replay(recorder);
    ASSERT_EQ(2u, drawn.size());
    ExpectNear(Vector2(2 * kAdvance, kFont) * 2.0f, drawn[0].Extent().Size(), "scaled label", 2e-3f);
    ExpectNear(Vector2(214, 70) - Vector2(2 * kAdvance, kFont), drawn[0].Extent().Position(), "scaled label",
               2e-3f);
    for (auto const& v : drawn[0].vertices)
        ExpectColor(kLabel.ScaleAlpha(0.5f), v.color, "label");
    EXPECT_EQ(2, Vexel::Graphics::RenderState::GetBlendMode());

    // Nearly transparent: no panel, no label, and the label's vertices (read
    // again where the first draw found them) keep their colour.
    const size_t calls = recorder.GetCalls().size();
    batch.Reset();
    button->Draw(Vexel::Rectangle(0, 0, 428, 140), 0.004f);
    EXPECT_EQ(calls, recorder.GetCalls().size());
    EXPECT_TRUE(batch.All().empty());
    drawn = Replay(recorder);
    for (auto const& v : drawn[0].vertices)
        ExpectColor(kLabel.ScaleAlpha(0.5f), v.color, "label after alpha 0.004");

    // Another alpha recolours every vertex.
    button->Draw(Vexel::Rectangle(0, 0, 428, 140), 1.0f);
    drawn = Replay(recorder);
    for (auto const& v : drawn[0].vertices)
        ExpectColor(kLabel, v.color, "label at full alpha");
}

// Without a tile: disabled, no panel, no highlight, but the label is drawn.
TEST_F(TextButtonTest, WithoutATileOnlyTheLabelIsDrawn)
{
    auto button = Make("Help", nullptr);
    EXPECT_FALSE(button->IsEnabled());
    Vexel::UI::Element* target = nullptr;
    EXPECT_FALSE(button->FindTouchTarget(Vector2(50, 40), &target));
    std::vector<Drawn> drawn = DrawLabel(*button, RectOf(*button));
    EXPECT_TRUE(batch.All().empty());
    EXPECT_EQ(1, batch.draws) << "the page's queued sprites still go under the label";
    ASSERT_EQ(2u, drawn.size());
    EXPECT_EQ(size_t(4 * 6), drawn[0].vertices.size());
}

// Held for 30 frames: phase near 0.5; the highlight panel is 1.035 times
// the panel's scale at alpha 0.85 (216), additive, in the second batch.
// Released, the phase runs on to 1 and drops to 0.
TEST_F(TextButtonTest, HeldTheHighlightPanelPulses)
{
    auto button = Make("Play", Tiles::Tile161);
    button->TouchDown(Vector2(60, 40), 1);
    for (int i = 0; i < 30; ++i)
        button->UpdateTree(kFrame);
    button->Draw(Vexel::Rectangle(0, 0, 428, 140), 1.0f);
    std::vector<Sprite> sprites = glow.All();
    ASSERT_EQ(6u, sprites.size());
    const float phase = (sprites[0].size.x / (kCap * 2.0f) - 1.005f) / 0.06f;
    EXPECT_NEAR(0.5f, phase, 1e-4f);
    ExpectSlices(sprites, 0, *Tiles::Tile161, Vector2(214, 70), 2.0f * (phase * 0.06f + 1.005f),
                 {-107.0f, -107.0f + kCap, 107.0f - kCap, 107.0f}, {-35.0f, 0.0f, 35.0f},
                 Color(255, 255, 255, 216), 2);

    button->TouchUp(Vector2(60, 40));
    int frames = 0;
    do
    {
        button->UpdateTree(kFrame);
        ++frames;
        glow.Reset();
        button->Draw(Vexel::Rectangle(0, 0, 428, 140), 1.0f);
    } while (!glow.All().empty() && frames < 100);
    EXPECT_GE(frames, 10);
    EXPECT_LE(frames, 11);
}

// A finger that slides off the button stops the pulsing (its pulse runs out)
// and releasing outside is no click.
TEST_F(TextButtonTest, SlidingOffIsNoClick)
{
    auto button = Make("Play", Tiles::Tile161);
    EventLog log;
    button->Clicked.Subscribe(Vexel::Action<Vexel::UI::Element*, Vector2 const&>(&log, &EventLog::OnClicked));
    button->TouchDown(Vector2(60, 40), 1);
    button->TouchMove(Vector2(60, 400));
    button->TouchUp(Vector2(60, 400));
    EXPECT_TRUE(log.lines.empty());
    button->TouchDown(Vector2(60, 40), 1);
    button->TouchUp(Vector2(61, 41));
    EXPECT_EQ(std::vector<std::string>{"Clicked"}, log.lines);
}

} // namespace
