// The page title: both faces laid out once at 0.9 of the height, drawn about
// the rectangle's centre with the squeeze and the outline's pulse, the flush
// before any drawing, and titles that measure nothing.
#include "game/widgets/TitleBarText.h"

#include "tests/widgets/TextWidgetTestSupport.h"

#include <cmath>
#include <cstring>
#include <functional>

using namespace TextWidgetTest;
using Vexel::Rectangle;
using Vexel::Graphics::RenderState;
using Vexel::Graphics::GL::Recorder;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const Color kOrange(255, 160, 40, 200);

ElementLayout TitleLayout(float width, float height)
{
    return ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(width, height));
}

class TitleBarTextTest : public ::testing::Test
{
protected:
    void SetUp() override { RenderState::ResetCache(); }

    FakeWidgetFonts fonts;
    CountingFlush flush;
};

// Every vertex of a draw lands where the layout point p maps to.
void ExpectMapped(Drawn const& drawn, std::function<Vector2(Vector2)> const& map, std::string const& what)
{
    ASSERT_EQ(drawn.vertices.size(), drawn.screen.size());
    for (size_t i = 0; i < drawn.vertices.size(); ++i)
    {
        const Vector2 expected = map(Vector2(drawn.vertices[i].x, drawn.vertices[i].y));
        EXPECT_NEAR(expected.x, drawn.screen[i].x, 1e-3f) << what << " vertex " << i;
        EXPECT_NEAR(expected.y, drawn.screen[i].y, 1e-3f) << what << " vertex " << i;
    }
}

} // namespace

TEST_F(TitleBarTextTest, LaysBothFacesOutOnceAtNineTenthsOfTheHeight)
{
    TitleBarText title(TitleLayout(320.0f, 40.0f), "Cobalt Keep", kOrange, &flush);

    // Outline first, then the plain face, whose size is kept.
    ASSERT_EQ(2u, fonts.made.size());
    EXPECT_EQ(kUIOutlineFontFile, fonts.files[0]);
    EXPECT_EQ(kUIFontFile, fonts.files[1]);
    EXPECT_FLOAT_EQ(36.0f, fonts.made[0]->size);
    EXPECT_FLOAT_EQ(36.0f, fonts.made[1]->size);
    EXPECT_EQ(1, fonts.made[0]->layouts);
    EXPECT_EQ(1, fonts.made[1]->layouts);
    EXPECT_FLOAT_EQ(11 * 18.0f, title.GetTextSize().x);
    EXPECT_FLOAT_EQ(36.0f, title.GetTextSize().y);
    EXPECT_EQ(Vexel::UI::TouchMode::Take, title.GetTouchMode());
    EXPECT_EQ(0, flush.first);

    // Drawing never lays out again.
    Recorder recorder;
    title.Draw(Rectangle(0.0f, 0.0f, 320.0f, 40.0f), 1.0f);
    title.Draw(Rectangle(0.0f, 0.0f, 320.0f, 40.0f), 1.0f);
    EXPECT_EQ(1, fonts.made[0]->layouts);
    EXPECT_EQ(1, fonts.made[1]->layouts);
}

TEST_F(TitleBarTextTest, DrawPlacesTheFacesAboutTheCentreWithSqueezeAndPulse)
{
    struct Case
    {
        const char* text;
        float width, height;
        float updateSeconds;
        float squeeze; // expected
        float k1, k2;  // expected outline scales
    };
    const Case cases[] = {
        // 198 px of text in 320: 0.72 * 320 / 198 > 1, never stretched.
        {"Cobalt Keep", 320.0f, 40.0f, 0.0f, 1.0f, 1.0175f, 1.035f},
        // 25 characters of 18 px: 450 px squeezed to 0.72 * 320 / 450.
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", 320.0f, 40.0f, 0.0f, 0.512f, 1.0175f, 1.035f},
        // 20 characters of 20 px: 400 px in 320 gives 0.576.
        {"ABCDEFGHIJKLMNOPQRST", 320.0f, 400.0f / 9.0f, 0.0f, 0.576f, 1.0175f, 1.035f},
        // Half a pulse later both passes are back to 1.
        {"Options", 300.0f, 50.0f, 0.5f / 0.48f, 1.0f, 1.0f, 1.0f},
        // A quarter pulse: cos = 0, so half the swell.
        {"Options", 300.0f, 50.0f, 0.25f / 0.48f, 1.0f, 1.00875f, 1.0175f},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.text);
        TitleBarText title(TitleLayout(c.width, c.height), c.text, kOrange, &flush);
        title.Update(c.updateSeconds);
        const Rectangle rect(12.0f, 70.0f, c.width, c.height);
        const Vector2 centre = rect.Center();
        const float w = title.GetTextSize().x;
        const float h = c.height;
        EXPECT_NEAR(c.squeeze, title.GetSqueeze(c.width), 1e-5f);

        Recorder recorder;
        flush.recorder = &recorder;
        flush.calls.clear();
        title.Draw(rect, 0.25f);
        flush.recorder = nullptr;
        ASSERT_EQ(std::vector<int>{0}, flush.calls) << "the flush comes before any GL call";
        EXPECT_EQ(2, RenderState::GetBlendMode());
        std::vector<Drawn> drawn = Replay(recorder);
        ASSERT_EQ(3u, drawn.size()) << recorder.Describe();

        const float sx = c.squeeze;
        EXPECT_EQ(int64_t(kPlainTextureName), drawn[0].texture);
        ExpectMapped(
            drawn[0],
            [&](Vector2 p) { return Vector2(centre.x + sx * (p.x - 0.5f * w), centre.y + p.y + 0.13f * h); },
            "plain");
        const float ks[2] = {c.k1, c.k2};
        for (int pass = 0; pass < 2; ++pass)
        {
            EXPECT_EQ(int64_t(kOutlineTextureName), drawn[size_t(1 + pass)].texture);
            const float k = ks[pass];
            ExpectMapped(
                drawn[size_t(1 + pass)],
                [&](Vector2 p) {
                    return Vector2(centre.x + sx * k * (p.x - 0.5f * w),
                                   centre.y - 0.2f * h + k * (p.y + 0.33f * h));
                },
                "outline pass " + std::to_string(pass));
        }
        // The drawing alpha is not applied: 70 % and 50 % of the colour's.
        EXPECT_EQ(140, drawn[0].vertices[0].color.a);
        EXPECT_EQ(100, drawn[1].vertices[0].color.a);
        EXPECT_EQ(255, drawn[1].vertices[0].color.r);
    }
}

TEST_F(TitleBarTextTest, PulseAdvancesAtRateOfPointFourEightAndWraps)
{
    struct Case
    {
        std::vector<float> steps;
        float phase;
    };
    const Case cases[] = {
        {{2.5f}, 0.2f},
        {{0.5f, 1.0f}, 0.72f},
        {std::vector<float>(30, 1.0f / 30.0f), 0.48f},
        {std::vector<float>(90, 1.0f / 30.0f), 0.44f},
        {{0.0f}, 0.0f},
    };
    for (Case const& c : cases)
    {
        TitleBarText title(TitleLayout(320.0f, 40.0f), "Help", kOrange, &flush);
        for (float dt : c.steps)
        {
            title.Update(dt);
            ASSERT_GE(title.GetPulsePhase(), 0.0f);
            ASSERT_LT(title.GetPulsePhase(), 1.0f);
        }
        EXPECT_NEAR(c.phase, title.GetPulsePhase(), 1e-4f);
    }
}

TEST_F(TitleBarTextTest, TitlesThatMeasureNothingDrawUnsquashedWithoutNaN)
{
    // Empty, and characters the face does not have: no quads, no width.
    for (const char* text : {"", "\x01\x02\x03"})
    {
        for (float width : {320.0f, 0.0f})
        {
            SCOPED_TRACE(std::string("text of ") + std::to_string(std::strlen(text)) + " in width " +
                         std::to_string(width));
            TitleBarText title(TitleLayout(width, 40.0f), text, kOrange, &flush);
            EXPECT_EQ(0.0f, title.GetTextSize().x);
            EXPECT_EQ(1.0f, title.GetSqueeze(width));

            Recorder recorder;
            const int flushesBefore = flush.first;
            title.Draw(Rectangle(0.0f, 0.0f, width, 40.0f), 1.0f);
            EXPECT_EQ(flushesBefore + 1, flush.first);
            EXPECT_EQ(2, RenderState::GetBlendMode());
            EXPECT_EQ(0, recorder.Count("glDrawElements"));
            for (auto const& call : recorder.GetCalls())
                for (float f : call.floats)
                    EXPECT_TRUE(std::isfinite(f)) << call.ToString();
            EXPECT_TRUE(Replay(recorder).empty());
            RenderState::ResetCache();
        }
    }
}

TEST_F(TitleBarTextTest, FirstDrawMakesTheSizeTenFontsOfBothFaces)
{
    TitleBarText title(TitleLayout(320.0f, 40.0f), "Scores", kOrange, &flush);
    ASSERT_EQ(2u, fonts.made.size());
    Recorder recorder;
    title.Draw(Rectangle(0.0f, 0.0f, 320.0f, 40.0f), 1.0f);
    ASSERT_EQ(4u, fonts.made.size());
    EXPECT_EQ(kUIFontFile, fonts.files[2]);
    EXPECT_FLOAT_EQ(10.0f, fonts.made[2]->size);
    EXPECT_EQ(kUIOutlineFontFile, fonts.files[3]);
    EXPECT_FLOAT_EQ(10.0f, fonts.made[3]->size);
    title.Draw(Rectangle(0.0f, 0.0f, 320.0f, 40.0f), 1.0f);
    EXPECT_EQ(4u, fonts.made.size());
}

TEST_F(TitleBarTextTest, MissingFacesAndNoFlusherDrawNothingAndDoNotCrash)
{
    fonts.missingFaces = true;
    TitleBarText title(TitleLayout(320.0f, 40.0f), "Cobalt Keep", kOrange, nullptr);
    EXPECT_EQ(0.0f, title.GetTextSize().x);
    Recorder recorder;
    title.Draw(Rectangle(0.0f, 0.0f, 320.0f, 40.0f), 1.0f);
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
    EXPECT_EQ(0, recorder.Count("glBindTexture"));
}

TEST_F(TitleBarTextTest, DrawTreeUsesTheElementRectangleAndSkipsWhenFaded)
{
    TitleBarText* title =
        new TitleBarText(ElementLayout(ElementPosition(Vector2(10.0f, 20.0f)), Vector2(200.0f, 40.0f)),
                         "Play", kOrange, &flush);
    Vexel::UI::Element root(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(320.0f, 480.0f)), 0);
    root.AddChild(title);
    {
        Recorder recorder;
        root.DrawTree(Vector2(5.0f, 5.0f), 1.0f);
        std::vector<Drawn> drawn = Replay(recorder);
        ASSERT_EQ(3u, drawn.size());
        // Centre of (15, 25, 200, 40); 4 characters of 18 px.
        EXPECT_NEAR(115.0f - 36.0f, drawn[0].Extent().x, 1e-3f);
        EXPECT_NEAR(72.0f, drawn[0].Extent().width, 1e-3f);
    }
    const int flushes = flush.first;
    Recorder recorder;
    root.DrawTree(Vector2(0.0f, 0.0f), 0.0005f);
    EXPECT_EQ(flushes, flush.first);
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
}
