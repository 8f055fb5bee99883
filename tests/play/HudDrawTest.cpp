// The HUD drawn on a real OpenGL ES 1.1 context over a black frame: the
// highlight pulse, the wave banners, the kill goal, the cannon charges, the
// tutorial's texts, the population bar and the pause hint; every frame
// without a GL error. Pixel probes look at regions of the frame; the texts
// themselves are read back from what the HUD laid out.
#include "engine/graphics/GL.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/ui/UIHelper.h"
#include "game/play/SimInfoBar.h"
#include "game/scores/Awards.h"
#include "game/simulation/SimulationView.h"
#include "tests/simulation/DrawTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace
{

namespace GL = Vexel::Graphics::GL;

// What the Simulation hands its HUD, with a running Classic game's values.
struct HudValues
{
    float alpha = 1.0f;
    Color colour = Color(255, 255, 255, 255);
    int32_t kills = 0;
    uint64_t population = Simulation::kStartPopulation;
    uint64_t initialPopulation = Simulation::kStartPopulation;
    uint64_t score = 0;
    uint64_t multiplier = 1;
    int32_t wave = 1;
    int32_t extraWaves = 0;
    Award* award = nullptr;
    int32_t charges = 3;
    float banner = 0.0f;
    int32_t mode = 1;
    int32_t step = -1;
};

class HudDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        screen.reset(new DrawTest::Screen(320, 480));
        ASSERT_TRUE(screen->Ready()) << "no EGL pbuffer context";
    }

    void TearDown() override { screen.reset(); }

    float Scale() const { return float(screen->width) / 320.0f; }

    // One HUD draw into a black frame.
    void Draw(SimInfoBar& hud, HudValues const& v)
    {
        GLTest::SetUpFrame(screen->width, screen->height, Color(0, 0, 0, 255));
        hud.Draw(batch, v.alpha, Scale(), v.colour, screen->Area(), v.kills, v.population,
                 v.initialPopulation, v.score, v.multiplier, v.wave, v.extraWaves, v.award, ViewFrame(),
                 v.charges, v.banner, v.mode, v.step);
        GL::Finish();
        EXPECT_EQ(GLenum(GL_NO_ERROR), GL::GetError());
    }

    GLTest::Frame DrawAndRead(SimInfoBar& hud, HudValues const& v)
    {
        Draw(hud, v);
        return screen->Read();
    }

    // Draw calls of one HUD draw, on the recording seam.
    int CountDrawCalls(SimInfoBar& hud, HudValues const& v)
    {
        GL::Recorder recorder;
        hud.Draw(batch, v.alpha, Scale(), v.colour, screen->Area(), v.kills, v.population,
                 v.initialPopulation, v.score, v.multiplier, v.wave, v.extraWaves, v.award, ViewFrame(),
                 v.charges, v.banner, v.mode, v.step);
        return recorder.Count("glDrawElements") + recorder.Count("glDrawArrays");
    }

    // Lit pixels (brightest channel above 40) of an area.
    static int Lit(GLTest::Frame const& frame, Vexel::Rectangle const& area)
    {
        return frame.CountBrighterThan(area, 40);
    }

    static long Brightness(GLTest::Frame const& frame, Vexel::Rectangle const& area)
    {
        long sum = 0;
        for (int y = int(area.y); y < int(area.y + area.height); y++)
            for (int x = int(area.x); x < int(area.x + area.width); x++)
                sum += frame.At(x, y, 0) + frame.At(x, y, 1) + frame.At(x, y, 2);
        return sum;
    }

    std::unique_ptr<DrawTest::Screen> screen;
    Vexel::Graphics::Sprites::TransientBatch batch{512};
};

TEST_F(HudDrawTest, AKillPulsesTheKillsLineForNineDraws)
{
    SimInfoBar hud;
    HudValues v;
    for (int i = 0; i < 12; i++)
        Draw(hud, v);
    // The settled line, drawn once at its normal alpha.
    const Vexel::Rectangle killsArea(0.0f, 0.0f, 160.0f, 60.0f);
    const GLTest::Frame settled = DrawAndRead(hud, v);
    const Color normal = Color(127, 212, 255, 255).ScaleAlpha(0.85f);
    EXPECT_EQ(normal.a, hud.GetKillsColour().a);
    const int settledCalls = CountDrawCalls(hud, v);
    std::printf("HUD of a running Classic game: %d draw calls\n", settledCalls);

    v.kills = 1;
    for (int draw = 0; draw < 9; draw++)
    {
        const float pulse = 0.725f - 0.025f * float(draw);
        EXPECT_NEAR(pulse, SimInfoBar::Pulse(draw), 1e-6f);
        if (draw == 0)
        {
            const GLTest::Frame pulsing = DrawAndRead(hud, v);
            EXPECT_GT(Brightness(pulsing, killsArea), Brightness(settled, killsArea))
                << "drawn twice, additively, at 0.725 x 0.85 each";
        }
        else if (draw == 4)
        {
            EXPECT_EQ(settledCalls + 1, CountDrawCalls(hud, v)) << "the kills line is drawn twice";
        }
        else
        {
            Draw(hud, v);
        }
        EXPECT_EQ(Color(127, 212, 255, 255).ScaleAlpha(pulse).ScaleAlpha(0.85f).a, hud.GetKillsColour().a)
            << "draw " << draw;
        EXPECT_EQ(draw, hud.GetKillsAge());
    }
    // The tenth draw lays it out at its normal alpha, drawn once.
    Draw(hud, v);
    EXPECT_EQ(normal.a, hud.GetKillsColour().a);
    EXPECT_EQ(settledCalls, CountDrawCalls(hud, v));
    EXPECT_EQ("Kills: 1", hud.GetKillsLine());
}

TEST_F(HudDrawTest, BannerTexts)
{
    const struct
    {
        int mode, wave;
        const char* text;
    } cases[] = {
        {1, 10, "Wave 10!"},
        {1, 25, "Wave 25!!"},
        {2, 200, "Wave 200!!!!!"},
        {1, 9, "Wave 9"},
        {1, 50, "Wave 50!!!"},
        {2, 100, "Wave 100!!!!"},
        {5, 1, "8 Waves Left!"},
        {5, 7, "2 Waves Left!"},
        {5, 8, "Final Wave!"},
        {6, 1, "64 Waves Left!"},
        {6, 64, "Final Wave!"},
        {3, 1, "Final Wave!"},
        {4, 5, "Practice Mode"},
        {0, 1, ""},
        {7, 0, ""},
    };
    for (auto const& c : cases)
        EXPECT_EQ(c.text, SimInfoBar::BannerText(c.mode, c.wave)) << "mode " << c.mode << " wave " << c.wave;
    // Fast in, slow drift, fast out; continuous at both joins.
    EXPECT_NEAR(-2.15f, SimInfoBar::BannerSlide(0.0f), 1e-5f);
    EXPECT_NEAR(-0.83f, SimInfoBar::BannerSlide(0.2f), 1e-5f);
    EXPECT_NEAR(-0.83f, SimInfoBar::BannerSlide(0.19999f), 1e-3f);
    EXPECT_NEAR(0.17f, SimInfoBar::BannerSlide(0.8f), 1e-5f);
    EXPECT_NEAR(0.17f, SimInfoBar::BannerSlide(0.80001f), 1e-3f);
    EXPECT_NEAR(1.49f, SimInfoBar::BannerSlide(1.0f), 1e-5f);
    EXPECT_FLOAT_EQ(0.5f, SimInfoBar::BannerFade(0.1f));
    EXPECT_FLOAT_EQ(1.0f, SimInfoBar::BannerFade(0.5f));
    EXPECT_NEAR(0.5f, SimInfoBar::BannerFade(0.9f), 1e-5f);
}

TEST_F(HudDrawTest, TheBannerShowsOnlyDuringAnIntermission)
{
    SimInfoBar hud;
    HudValues v;
    v.wave = 10;
    const Vexel::Rectangle middle(0.0f, 180.0f, 320.0f, 120.0f);
    const struct
    {
        int mode;
        float progress;
        const char* text;
    } cases[] = {{1, 0.5f, "Wave 10!"}, {1, 0.0f, ""}, {1, 1.0f, ""}, {0, 0.5f, ""}, {7, 0.5f, ""}};
    for (auto const& c : cases)
    {
        v.mode = c.mode;
        v.banner = c.progress;
        v.step = c.mode == 7 ? 1 : -1;
        const GLTest::Frame frame = DrawAndRead(hud, v);
        EXPECT_EQ(c.text, hud.GetBannerLine()) << c.mode << " at " << c.progress;
        if (*c.text)
        {
            EXPECT_GT(Lit(frame, middle), 300) << c.mode << " at " << c.progress;
        }
        else if (c.mode != 7)
        {
            EXPECT_EQ(0, Lit(frame, middle)) << c.mode << " at " << c.progress;
        }
    }
}

TEST_F(HudDrawTest, TheBannerCountsTheWavesLeftOfAGauntlet)
{
    // Through the Simulation's own numbers: the first intermission of a
    // gauntlet stage and of the full gauntlet, and of a Classic game.
    const struct
    {
        int mode, level;
        const char* text;
    } cases[] = {
        {5, 8, "8 Waves Left!"}, {6, 0, "64 Waves Left!"}, {1, 64, "Wave 1"}, {3, 12, "Final Wave!"}};
    for (auto const& c : cases)
    {
        Simulation sim(5);
        sim.SetHud(std::make_unique<SimInfoBar>());
        sim.StartGameAtLevel(c.level, c.mode, 1);
        for (int i = 0; i < 30; i++)
        {
            sim.Update(DrawTest::kFrame, SimulationInput());
            screen->DrawFrame(sim);
        }
        ASSERT_EQ(0, sim.View().WaveState());
        EXPECT_EQ(c.text, static_cast<SimInfoBar*>(sim.GetHud())->GetBannerLine()) << "mode " << c.mode;
        EXPECT_EQ(GLenum(GL_NO_ERROR), GL::GetError());
    }
}

TEST_F(HudDrawTest, TheKillsLineShowsAGoalOnlyWithAnAwardThatHasOne)
{
    SimInfoBar hud;
    HudValues v;
    v.kills = 5;
    Award none(0);
    Award goal(300);
    const struct
    {
        Award* award;
        const char* text;
    } cases[] = {{nullptr, "Kills: 5"}, {&none, "Kills: 5"}, {&goal, "Kills: 5/300"}};
    for (auto const& c : cases)
    {
        v.award = c.award;
        v.alpha = v.alpha == 1.0f ? 0.99f : 1.0f; // a fade change lays the line out again
        Draw(hud, v);
        EXPECT_EQ(c.text, hud.GetKillsLine());
    }
}

TEST_F(HudDrawTest, SevenChargesOrMoreShowOneIconAndTheCount)
{
    SimInfoBar hud;
    HudValues v;
    const float right = float(screen->width);
    // The column of icons at the right edge, two icons below the top.
    const Vexel::Rectangle column(right - 28.0f, 50.0f, 28.0f, 180.0f);
    const Vexel::Rectangle tab(right - 90.0f, 48.0f, 90.0f, 32.0f);
    const struct
    {
        int charges;
        int icons;
        const char* count;
    } cases[] = {{0, 0, ""}, {3, 3, ""}, {6, 6, ""}, {7, 1, "7"}, {12, 1, "12"}};
    int columnLit[7] = {0};
    for (auto const& c : cases)
    {
        v.charges = c.charges;
        const GLTest::Frame frame = DrawAndRead(hud, v);
        EXPECT_EQ(c.icons, hud.GetChargeIconCount()) << c.charges;
        EXPECT_EQ(c.count, hud.GetChargeCountLine()) << c.charges;
        if (c.charges < 7)
            columnLit[c.charges] = Lit(frame, column);
        else
            EXPECT_GT(Lit(frame, tab), 150) << c.charges;
        if (c.charges == 12)
            screen->SavePng("hud_twelve_charges");
    }
    EXPECT_EQ(0, columnLit[0]);
    EXPECT_GT(columnLit[3], 100);
    EXPECT_GT(columnLit[6], columnLit[3] * 3 / 2) << "a longer column";
}

TEST_F(HudDrawTest, TheTutorialShowsOnlyItsTextsAndAtStepsThreeAndFourTheCannon)
{
    SimInfoBar hud;
    HudValues v;
    v.mode = 7;
    const Vexel::Rectangle bar(0.0f, 0.0f, 320.0f, 8.0f);
    const Vexel::Rectangle hint(0.0f, 380.0f, 320.0f, 40.0f);
    // The pause hint would show now, outside the tutorial.
    hud.waveStarted();
    for (int step = 0; step <= 6; step++)
    {
        v.step = step;
        const GLTest::Frame frame = DrawAndRead(hud, v);
        const bool cannon = step == 3 || step == 4;
        EXPECT_EQ(cannon ? 3 : 0, hud.GetChargeIconCount()) << "step " << step;
        // The tutorial text, plus the icons at steps 3 and 4: nothing else.
        EXPECT_EQ(cannon ? 2 : 1, CountDrawCalls(hud, v)) << "step " << step;
        EXPECT_EQ(0, Lit(frame, bar)) << "no population bar at step " << step;
        EXPECT_GT(Lit(frame, Vexel::Rectangle(0.0f, 0.0f, 320.0f, 120.0f)), 200) << "step " << step;
        if (step == 0)
            screen->SavePng("hud_tutorial_step0");
    }
    EXPECT_TRUE(hud.GetBannerLine().empty());
    // Outside the tutorial the bar and the hint are there.
    v.mode = 1;
    const GLTest::Frame classic = DrawAndRead(hud, v);
    EXPECT_GT(Lit(classic, bar), 300);
    EXPECT_GT(Lit(classic, hint), 100);
}

TEST_F(HudDrawTest, AnEmptyPlanetEmptiesTheBarFaster)
{
    const struct
    {
        uint64_t population;
        float factor;
    } cases[] = {{0, 0.2f}, {1, 0.08f}};
    for (auto const& c : cases)
    {
        SimInfoBar hud;
        HudValues v;
        for (int i = 0; i < 200; i++)
            Draw(hud, v);
        const float full = hud.GetPopulationFill();
        EXPECT_NEAR(1.0f, full, 1e-4f);
        v.population = c.population;
        Draw(hud, v);
        const float ratio = float(c.population) / float(Simulation::kStartPopulation);
        EXPECT_NEAR(full + (ratio - full) * c.factor, hud.GetPopulationFill(), 1e-6f) << c.population;
    }
    // No population to measure against: an empty bar, never a NaN.
    SimInfoBar hud;
    HudValues v;
    v.initialPopulation = 0;
    Draw(hud, v);
    EXPECT_EQ(0.0f, hud.GetPopulationFill());
}

TEST_F(HudDrawTest, ThePauseHintFadesOverThreeSeconds)
{
    SimInfoBar hud;
    EXPECT_EQ(0.0f, hud.GetHintTimer());
    hud.waveStarted();
    EXPECT_EQ(3.0f, hud.GetHintTimer());
    hud.Update(1.0f);
    EXPECT_FLOAT_EQ(2.0f, hud.GetHintTimer());
    HudValues v;
    const Vexel::Rectangle hint(0.0f, 380.0f, 320.0f, 40.0f);
    EXPECT_GT(Lit(DrawAndRead(hud, v), hint), 100);
    hud.Update(5.0f);
    EXPECT_EQ(0.0f, hud.GetHintTimer());
    EXPECT_EQ(0, Lit(DrawAndRead(hud, v), hint));
}

TEST_F(HudDrawTest, TheLinesShowTheGamesNumbers)
{
    SimInfoBar hud;
    HudValues v;
    v.population = 1234567;
    v.score = 9876543;
    v.multiplier = 12;
    v.wave = 4;
    v.extraWaves = 6;
    Draw(hud, v);
    EXPECT_EQ("Lives: 1,234,567", hud.GetLivesLine());
    EXPECT_EQ("x12  9,876,543", hud.GetScoreLine());
    EXPECT_EQ("Wave 4 +6", hud.GetWaveLine());
    v.extraWaves = 0;
    Draw(hud, v);
    EXPECT_EQ("Wave 4", hud.GetWaveLine());
    // Score and wave lines are right-aligned: lit pixels near the right edge.
    const GLTest::Frame frame = DrawAndRead(hud, v);
    screen->SavePng("hud_lines");
    EXPECT_GT(Lit(frame, Vexel::Rectangle(280.0f, 8.0f, 36.0f, 40.0f)), 40);
    // The pen stops 4 px from the edge (a glyph may overhang its advance).
    int rightmost = -1;
    for (int x = 0; x < screen->width; x++)
        if (Lit(frame, Vexel::Rectangle(float(x), 12.0f, 1.0f, 34.0f)) > 0)
            rightmost = x;
    EXPECT_GE(rightmost, 308);
    EXPECT_LE(rightmost, 318);
}

} // namespace
