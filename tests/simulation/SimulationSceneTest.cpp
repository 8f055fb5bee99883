// Scripted scenes of the world played and drawn frame by frame, with its
// HUD, on a real OpenGL ES 1.1 context, at the reference phone's size and at
// twice it. Each
// scene's last frame is saved as scene_<name>-<w>x<h>.png in this build
// folder for a person to look at; the checks here only make sure that every
// frame drew without a GL error and that the scene reached what it shows.
#include "game/play/SimInfoBar.h"
#include "game/simulation/SimulationView.h"
#include "tests/simulation/DrawTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using DrawTest::Screen;
namespace GL = Vexel::Graphics::GL;

struct Size
{
    int width, height;
};

class SceneTest : public ::testing::TestWithParam<Size>
{
protected:
    void SetUp() override
    {
        ResetFlashes();
        screen.reset(new Screen(GetParam().width, GetParam().height));
        ASSERT_TRUE(screen->Ready()) << "no EGL pbuffer context";
    }

    void TearDown() override
    {
        screen.reset();
        ResetFlashes();
    }

    // Frames of one tick each: the world moves, then is drawn.
    void Play(Simulation& sim, int frames, SimulationInput const& input = SimulationInput())
    {
        if (!sim.GetHud())
            sim.SetHud(std::unique_ptr<ISimulationHud>(new SimInfoBar()));
        for (int i = 0; i < frames; i++)
        {
            sim.Update(DrawTest::kFrame, input);
            screen->DrawFrame(sim);
            ASSERT_EQ(GLenum(GL_NO_ERROR), GL::GetError()) << "frame " << i;
        }
    }

    void Save(std::string const& name)
    {
        const std::string path = screen->SavePng("scene_" + name);
        EXPECT_FALSE(path.empty());
    }

    std::unique_ptr<Screen> screen;
};

// An aim at the angle of an enemy.
float AimAt(Vector2 position)
{
    return position.Angle();
}

TEST_P(SceneTest, DesignedLevelWithSnakes)
{
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(7);
    sim->StartGameAtLevel(4, 3, 1);
    int trailing = 0;
    for (int i = 0; i < 900 && trailing < 3; i++)
    {
        Play(*sim, 1);
        trailing = 0;
        SimulationView view = sim->View();
        for (int e = 0; e < view.EnemyCount(); e++)
            trailing += view.GetEnemy(e).trail && view.GetEnemy(e).trail->GetCount() > 8;
    }
    // A few more frames with a finger held out towards the first snake and
    // a lock left on the second, as the play screen marks them.
    SimulationInput input;
    for (int i = 0; i < 40; i++)
    {
        SimulationView view = sim->View();
        const Vector2 first = view.GetEnemy(0).position;
        const Vector2 second = view.GetEnemy(view.EnemyCount() > 1 ? 1 : 0).position;
        input.aims.clear();
        input.marks.clear();
        input.aims[0] = AimAt(first);
        input.aims[13] = AimAt(second);
        input.marks.push_back(AimMark{1, 0, first.Normalized() * 70.0f});
        input.marks.push_back(AimMark{0, 1, second});
        Play(*sim, 1, input);
    }
    EXPECT_GE(trailing, 3);
    EXPECT_GT(sim->View().FollowerCount(), 0);
    Save("snakes");
}

TEST_P(SceneTest, GreenFleet)
{
    // Converters, a lockdown with its rings, starbursts and beacons.
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(13);
    sim->StartGameAtLevel(23, 3, 1);
    SimulationInput input;
    for (int i = 0; i < 420; i++)
    {
        input.aims.clear();
        SimulationView view = sim->View();
        if (view.EnemyCount() > 0)
            input.aims[13] = AimAt(view.GetEnemy(view.EnemyCount() - 1).position);
        Play(*sim, 1, input);
    }
    EXPECT_GT(sim->View().EnemyCount() + sim->View().FollowerCount(), 3);
    Save("green");
}

TEST_P(SceneTest, BossWithHealthBar)
{
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(11);
    sim->StartGameAtLevel(2, 3, 1);
    // Fire at the boss until it has lost a fifth of its health.
    int boss = -1;
    for (int i = 0; i < 1500; i++)
    {
        SimulationView view = sim->View();
        boss = -1;
        for (int e = 0; e < view.EnemyCount(); e++)
            if (view.GetEnemy(e).GetType().hitPoints > 749)
                boss = e;
        SimulationInput input;
        if (boss >= 0)
        {
            Enemy const& enemy = view.GetEnemy(boss);
            if (float(enemy.health) < float(enemy.GetType().hitPoints) * 0.8f)
                break;
            input.aims[0] = AimAt(enemy.position);
            input.aims[1] = AimAt(enemy.position) + 0.05f;
        }
        Play(*sim, 1, input);
    }
    ASSERT_GE(boss, 0);
    Save("boss");
}

TEST_P(SceneTest, CannonShotWithFlashAndBeam)
{
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(3);
    sim->StartGame(1, 3);
    Play(*sim, 260);
    // Drag from the planet towards the nearest enemy, hold, let go.
    SimulationInput input;
    SimulationView view = sim->View();
    Vector2 target(0.0f, -100.0f);
    if (view.EnemyCount() > 0)
        target = view.GetEnemy(0).position;
    input.cannonAim = target.Normalized() * 120.0f;
    input.cannonHeld = 1;
    Play(*sim, 30, input);
    input.cannonHeld = 0;
    Play(*sim, 4, input);
    EXPECT_TRUE(sim->View().CannonUsed());
    EXPECT_GT(sim->View().CannonCooldown(), 0.0f);
    Save("cannon");
}

TEST_P(SceneTest, LostPlanetSmoking)
{
    std::unique_ptr<Simulation> sim = SimTest::MakeSimulation(5);
    sim->StartGame(1, 1);
    Play(*sim, 120);
    sim->Surrender();
    Play(*sim, 90);
    EXPECT_TRUE(sim->IsGameOver());
    EXPECT_GT(sim->View().Particles().GetSmokeCount(), 0);
    Save("lost");
}

TEST_P(SceneTest, WonGauntletFireworks)
{
    SimTest::SavedGame game;
    game.mode = 5;
    game.waves = {0, 1, 2, 3, 4, 5, 6, 7, 64};
    game.waveNumber = 9;
    game.waveState = 2;
    game.spawns.clear();
    game.viewScale = float(GetParam().width) / 160.0f;
    std::unique_ptr<Simulation> sim = SimTest::FromSave(game, 9);
    ASSERT_NE(nullptr, sim);
    ASSERT_TRUE(sim->IsGauntletWon());
    Play(*sim, 150);
    EXPECT_GT(sim->View().FireworksCount(), 0);
    Save("fireworks");
}

// Both phone sizes; the ThreadSanitizer build, some ten times slower, draws
// the scenes once: the second size runs the same threads.
#ifdef VEXEL_TEST_ONE_SCREEN_SIZE
const Size kSceneSizes[] = {Size{320, 480}};
#else
const Size kSceneSizes[] = {Size{320, 480}, Size{640, 960}};
#endif

INSTANTIATE_TEST_SUITE_P(Phones, SceneTest, ::testing::ValuesIn(kSceneSizes),
                         [](::testing::TestParamInfo<Size> const& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

} // namespace
