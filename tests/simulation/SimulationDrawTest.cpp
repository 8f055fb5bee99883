// The world's drawing on a real OpenGL ES 1.1 context. Scenes are loaded
// from saved games; what one element adds to the picture is measured as the
// difference between two frames that differ only in that element (same
// seed, same stars, same camera), so the stars and the grid behind it do not
// count.
#include "engine/graphics/RenderState.h"
#include "game/simulation/SimulationView.h"
#include "tests/simulation/DrawTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace
{

using DrawTest::Screen;
using SimTest::EnemyRecord;
using SimTest::SavedGame;
namespace GL = Vexel::Graphics::GL;

class SimulationDraw : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetFlashes();
        screen.reset(new Screen(320, 480));
        ASSERT_TRUE(screen->Ready()) << "no EGL pbuffer context";
    }

    void TearDown() override
    {
        screen.reset();
        ResetFlashes();
    }

    // A still scene: a Classic wave that waits, nothing else unless asked.
    static SavedGame Scene()
    {
        SavedGame game;
        game.viewScale = 2.0f;
        return game;
    }

    GLTest::Frame Render(Simulation& sim)
    {
        screen->DrawFrame(sim);
        EXPECT_EQ(GLenum(GL_NO_ERROR), GL::GetError());
        return screen->Read();
    }

    std::unique_ptr<Screen> screen;
};

// The summed brightness that frame a has over frame b inside the area.
long Added(GLTest::Frame const& a, GLTest::Frame const& b, Vexel::Rectangle const& area)
{
    long sum = 0;
    for (int y = std::max(0, int(area.y)); y < std::min(a.height, int(area.Bottom())); y++)
        for (int x = std::max(0, int(area.x)); x < std::min(a.width, int(area.Right())); x++)
            for (int c = 0; c < 3; c++)
                sum += std::abs(a.At(x, y, c) - b.At(x, y, c));
    return sum;
}

Vexel::Rectangle Around(Vector2 centre, float half)
{
    return Vexel::Rectangle(centre.x - half, centre.y - half, 2.0f * half, 2.0f * half);
}

TEST_F(SimulationDraw, BulletsFadeOverTheirLastEightTicks)
{
    struct Case
    {
        int life;
        int alpha; // colour.a x life x 32 / 256 below 8
    };
    const Case cases[] = {{20, 255}, {8, 255}, {7, 223}, {4, 127}, {1, 31}};
    SavedGame game = Scene();
    SavedGame empty = Scene();
    std::vector<Vector2> positions;
    for (int i = 0; i < 5; i++)
    {
        positions.push_back(Vector2(-60.0f + 30.0f * float(i), -70.0f));
        game.bullets.push_back(SimTest::StillBullet(positions.back(), cases[i].life));
    }
    std::unique_ptr<Simulation> withBullets = SimTest::FromSave(game);
    std::unique_ptr<Simulation> without = SimTest::FromSave(empty);
    ASSERT_NE(nullptr, withBullets);
    ASSERT_NE(nullptr, without);
    const GLTest::Frame a = Render(*withBullets);
    const GLTest::Frame b = Render(*without);
    const long full = Added(a, b, Around(withBullets->WorldToScreen(positions[0]), 14.0f));
    ASSERT_GT(full, 1000);
    for (int i = 1; i < 5; i++)
    {
        const long added = Added(a, b, Around(withBullets->WorldToScreen(positions[i]), 14.0f));
        EXPECT_NEAR(double(cases[i].alpha) / 255.0, double(added) / double(full), 0.04)
            << "life " << cases[i].life;
    }
}

TEST_F(SimulationDraw, EnemiesFadeInOverSixteenSteps)
{
    const Vector2 at(0.0f, -90.0f);
    struct Case
    {
        uint16_t ticks;
        double share; // of the fully faded-in picture
    };
    const Case cases[] = {
        {0, 0.0}, {4, 4.0 * 256.0 / 4080.0}, {8, 8.0 * 256.0 / 4080.0}, {16, 1.0}, {40, 1.0}};
    std::unique_ptr<Simulation> none = SimTest::FromSave(Scene());
    const GLTest::Frame background = Render(*none);
    long full = 0;
    for (Case const& c : {cases[4], cases[0], cases[1], cases[2], cases[3]})
    {
        SavedGame game = Scene();
        game.enemies.push_back(EnemyRecord::At(2, at, c.ticks));
        std::unique_ptr<Simulation> sim = SimTest::FromSave(game);
        ASSERT_NE(nullptr, sim);
        const long added = Added(Render(*sim), background, Around(sim->WorldToScreen(at), 30.0f));
        if (c.ticks == 40)
        {
            full = added;
            ASSERT_GT(full, 1000);
        }
        else if (c.ticks == 0)
            EXPECT_EQ(0, added);
        else
            EXPECT_NEAR(c.share, double(added) / double(full), 0.05) << "ticks " << c.ticks;
    }
}

TEST_F(SimulationDraw, HealthBarOnlyAbove749HitPointsOnceFivePercentIsLost)
{
    struct Case
    {
        const char* name;
        int kind;
        int health;
        bool bar;
    };
    const Case cases[] = {
        {"snake boss full", 23, 8500, false},  {"snake boss above 95%", 23, 8076, false},
        {"snake boss at 95%", 23, 8075, true}, {"snake boss half", 23, 4250, true},
        {"driller half", 14, 450, true},       {"lockdown ring nearly dead", 40, 20, false},
    };
    // Close enough for the bar above it to be on screen.
    const Vector2 at(0.0f, -60.0f);
    for (Case const& c : cases)
    {
        SavedGame full = Scene();
        full.enemies.push_back(EnemyRecord::At(c.kind, at, 40));
        SavedGame hurt = Scene();
        hurt.enemies.push_back(EnemyRecord::At(c.kind, at, 40, c.health));
        std::unique_ptr<Simulation> a = SimTest::FromSave(full);
        std::unique_ptr<Simulation> b = SimTest::FromSave(hurt);
        ASSERT_NE(nullptr, a) << c.name;
        ASSERT_NE(nullptr, b) << c.name;
        const long added = Added(Render(*b), Render(*a), screen->Area());
        if (c.bar)
            EXPECT_GT(added, 2000) << c.name;
        else
            EXPECT_EQ(0, added) << c.name;
    }
}

// The blend mode (1 alpha, 2 additive) under which each draw call of a
// recorded frame ran, in order, starting from the cached mode.
std::vector<int> BlendOfDraws(GL::Recorder const& recorder, int current)
{
    std::vector<int> modes;
    for (GL::Call const& call : recorder.GetCalls())
    {
        if (call.name == "glBlendFunc")
            current = call.ints[1] == GL_ONE ? 2 : 1;
        else if (call.name == "glDrawElements" || call.name == "glDrawArrays")
            modes.push_back(current);
    }
    return modes;
}

TEST_F(SimulationDraw, LayersDrawInTheirFixedOrder)
{
    // Trails, bullets, enemies, a held lock with its mark, the cannon aimed:
    // stars, trails, then the batch in the order added (grid, planet, the
    // additive world, the alpha-blended marks), with few draw calls.
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(4);
    sim->StartGameAtLevel(4, 3, 1);
    SimulationInput input;
    for (int i = 0; i < 405; i++)
    {
        input.aims.clear();
        input.marks.clear();
        SimulationView view = sim->View();
        if (view.EnemyCount() > 0)
        {
            input.aims[13] = view.GetEnemy(0).position.Angle();
            input.marks.push_back(AimMark{1, 1, view.GetEnemy(0).position * 0.5f});
        }
        // The cannon, armed at the end, holds the fire: the last bullets fly on.
        if (i >= 400)
        {
            input.cannonAim = Vector2(0.0f, -80.0f);
            input.cannonHeld = 1;
        }
        sim->Update(DrawTest::kFrame, input);
        screen->DrawFrame(*sim);
    }
    ASSERT_EQ(GLenum(GL_NO_ERROR), GL::GetError());
    ASSERT_GT(sim->View().BulletCount(), 0);
    ASSERT_EQ(1u, sim->View().Locks().size());
    ASSERT_EQ(1, sim->View().ChargeLineCount());

    const int blendBefore = Vexel::Graphics::RenderState::GetBlendMode();
    GL::Recorder recorder;
    sim->Draw(screen->Area(), 1.0f);
    std::vector<GL::Call> const& calls = recorder.GetCalls();
    std::vector<int> modes = BlendOfDraws(recorder, blendBefore);
    // Stars (two point draws), trails (one strip), the batch: grid additive,
    // planet alpha, the rest of the world additive, the marks alpha; then
    // the charge ring, additive.
    const std::vector<int> expected = {2, 2, 2, 2, 1, 2, 1, 2};
    EXPECT_EQ(expected, modes) << recorder.Describe();
    int points = 0;
    for (GL::Call const& call : calls)
        points += call.name == "glDrawArrays" && call.ints[0] == GL_POINTS;
    EXPECT_EQ(2, points);
    EXPECT_EQ(recorder.Count("glPushMatrix"), recorder.Count("glPopMatrix"));
}

TEST_F(SimulationDraw, NoGlErrorAndFewDrawCallsThroughABusyGame)
{
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(21);
    sim->StartGame(2, 30);
    SimulationInput input;
    int most = 0;
    for (int i = 0; i < 900; i++)
    {
        input.aims.clear();
        for (int k = 0; k < 6; k++)
            input.aims[13 + k] = float(i) * 0.02f + float(k);
        input.cannonAim = Vector2(0.0f, -90.0f);
        input.cannonHeld = (i % 120) < 60;
        sim->Update(DrawTest::kFrame, input);
        screen->DrawFrame(*sim);
        ASSERT_EQ(GLenum(GL_NO_ERROR), GL::GetError()) << "frame " << i;
        if (i % 60 == 59)
            most = std::max(most, DrawTest::CountDrawCalls(*sim, screen->Area()));
    }
    EXPECT_GT(sim->View().EnemyCount(), 0);
    EXPECT_LE(most, 40);
}

} // namespace
