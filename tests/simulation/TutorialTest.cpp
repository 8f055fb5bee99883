// The tutorial from step 0 to step 6 under scripted input, and its texts.
#include "tests/simulation/SimulationTestSupport.h"

#include "game/scores/GamePrefs.h"
#include "game/simulation/Tutorial.h"

#include <gtest/gtest.h>

using namespace SimTest;

namespace
{
// Aims at the first few enemies, the way a player would touch them.
SimulationInput AimAtEnemies(Simulation const& sim)
{
    SimulationInput input;
    SimulationView view = sim.View();
    for (int i = 0; i < view.EnemyCount() && i < 5; i++)
        input.aims[i] = view.GetEnemy(i).angle;
    return input;
}

void ShootCannon(Simulation& sim)
{
    SimulationInput held;
    held.cannonAim = Vector2(0.0f, -120.0f);
    held.cannonHeld = 1;
    Ticks(sim, 1, held);
    SimulationInput released;
    released.cannonAim = held.cannonAim;
    Ticks(sim, 1, released);
}

// Runs ticks with a script until the step changes; false after too long.
template <class Script> bool RunUntilStep(Simulation& sim, int step, int limit, Script script)
{
    for (int i = 0; i < limit; i++)
    {
        if (sim.View().TutorialStep() == step)
            return true;
        Ticks(sim, 1, script(sim));
        EXPECT_GE(sim.View().Population(), 1u);
    }
    return sim.View().TutorialStep() == step;
}
} // namespace

TEST(Tutorial, FromTheFirstStepToTheLast)
{
    ResetFlashes();
    std::unique_ptr<Simulation> sim = MakeSimulation(21);
    sim->StartTutorial(0);
    EXPECT_EQ(7, sim->GetMode());
    EXPECT_EQ(0, sim->View().TutorialStep());
    EXPECT_TRUE(sim->IsWaitingForTap());
    EXPECT_TRUE(sim->IsCannonLockedByTutorial());
    EXPECT_EQ(0, sim->View().WaveNumber());
    Ticks(*sim, 5);
    EXPECT_EQ(0, sim->View().TutorialStep());
    EXPECT_EQ(0, sim->View().EnemyCount());

    // Step 0 ends with the continue tap; step 1 brings its targets.
    sim->ContinueTutorial();
    Ticks(*sim, 1);
    ASSERT_EQ(1, sim->View().TutorialStep());
    EXPECT_FALSE(sim->IsWaitingForTap());
    EXPECT_EQ(10, sim->View().TutorialWave());
    EXPECT_EQ(1, sim->View().WaveNumber());
    EXPECT_EQ(5u, sim->View().Spawns().size());
    EXPECT_EQ(1, GetActiveFlashCount());
    ResetFlashes();

    // A tap while nothing waits for one does nothing.
    Ticks(*sim, 40);
    ASSERT_GT(sim->View().EnemyCount(), 0);
    sim->ContinueTutorial();
    Ticks(*sim, 1);
    EXPECT_EQ(1, sim->View().TutorialStep());
    EXPECT_GT(sim->View().EnemyCount(), 0);

    // Step 1 ends when every enemy of its wave is gone.
    ASSERT_TRUE(RunUntilStep(*sim, 2, 6000, AimAtEnemies));
    EXPECT_EQ(0, sim->View().EnemyCount());
    EXPECT_TRUE(sim->IsWaitingForTap());
    ResetFlashes();

    // Step 2 shows multitouch: fire without enemies.
    SimulationInput twoFingers;
    twoFingers.aims[0] = 0.5f;
    twoFingers.aims[1] = -2.0f;
    Ticks(*sim, 10, twoFingers);
    EXPECT_GT(sim->View().BulletCount(), 0);
    EXPECT_EQ(0, sim->View().EnemyCount());
    sim->ContinueTutorial();
    Ticks(*sim, 1, twoFingers);
    ASSERT_EQ(3, sim->View().TutorialStep());
    EXPECT_EQ(20, sim->View().TutorialWave());
    EXPECT_FALSE(sim->IsCannonLockedByTutorial());
    EXPECT_EQ(0, sim->View().BulletCount()); // the tap cleared the field

    // Step 3: auto-fire waits while the cannon has shots.
    Ticks(*sim, 70, twoFingers);
    EXPECT_GT(sim->View().EnemyCount(), 0);
    EXPECT_EQ(0, sim->View().BulletCount());
    EXPECT_EQ(3, sim->View().CannonCharges());
    ShootCannon(*sim);
    EXPECT_EQ(2, sim->View().CannonCharges());
    Ticks(*sim, 30);
    ShootCannon(*sim);
    Ticks(*sim, 30);
    EXPECT_EQ(3, sim->View().TutorialStep());
    ResetFlashes();
    // The step ends in the tick of the third shot.
    ShootCannon(*sim);
    EXPECT_TRUE(sim->View().CannonFired());
    EXPECT_EQ(0, sim->View().CannonCharges());
    EXPECT_EQ(4, sim->View().TutorialStep());
    EXPECT_TRUE(sim->IsWaitingForTap());
    EXPECT_EQ(1, GetActiveFlashCount());

    // Step 4 ends with the tap, which clears the field.
    Ticks(*sim, 5);
    sim->ContinueTutorial();
    Ticks(*sim, 1);
    ASSERT_EQ(5, sim->View().TutorialStep());
    EXPECT_EQ(0, sim->View().EnemyCount());
    EXPECT_EQ(0, sim->View().BulletCount());
    EXPECT_TRUE(sim->View().Spawns().empty());
    EXPECT_FALSE(sim->IsWaitingForTap());

    // Step 5 ends after the player paused once; a pause not by the player
    // does not count.
    Ticks(*sim, 5);
    sim->SetPaused(true, false);
    sim->SetPaused(false, false);
    Ticks(*sim, 2);
    EXPECT_EQ(5, sim->View().TutorialStep());
    sim->SetPaused(true, true);
    sim->SetPaused(false, false);
    Ticks(*sim, 1);
    ASSERT_EQ(6, sim->View().TutorialStep());
    EXPECT_TRUE(sim->IsTutorialFinished());
    EXPECT_TRUE(sim->IsWaitingForTap());
    Ticks(*sim, 30);
    EXPECT_EQ(6, sim->View().TutorialStep());
    EXPECT_FALSE(sim->IsGameOver());
    ResetFlashes();
}

TEST(Tutorial, IsFinishedOnlyInTutorialMode)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->StartTutorial(6);
    EXPECT_TRUE(sim->IsTutorialFinished());
    sim->StartGame(1, 1);
    EXPECT_FALSE(sim->IsTutorialFinished());
}

TEST(Tutorial, TextsAndPrompts)
{
    GamePrefs::SetTiltControls(false);
    EXPECT_EQ("Touch the screen to direct shots at\nthe red enemies, and destroy\nthem before they hit your "
              "planet!",
              GetTutorialText(1));
    GamePrefs::SetTiltControls(true);
    EXPECT_EQ(
        "Tilt the device to direct shots at\nthe red enemies, and destroy\nthem before they hit your planet!",
        GetTutorialText(1));
    EXPECT_EQ("Welcome to the tutorial!\n\nThis is your planet.\nDon't let it die.", GetTutorialText(0));
    EXPECT_EQ("You can pause the game at any time\nby double-tapping the planet.\n\nThis opens the options "
              "screen,\n"
              "where you can adjust controls\nand sound, view information,\nor quit the tutorial.",
              GetTutorialText(5));
    EXPECT_EQ(
        "You have completed the\ninteractive tutorial!\n\nYou can get more information\nat any time by going "
        "to\nOptions -> Information.",
        GetTutorialText(6));
    EXPECT_EQ("", GetTutorialText(7));
    EXPECT_EQ("", GetTutorialText(-1));
    for (int step : {0, 2, 4})
        EXPECT_EQ("Continue when ready...\n\n\n\n", GetTutorialPrompt(step));
    EXPECT_EQ("Fire all remaining cannon\nshots to continue.", GetTutorialPrompt(3));
    EXPECT_EQ("Pause the game once and return\nto finish the tutorial.", GetTutorialPrompt(5));
    EXPECT_EQ("", GetTutorialPrompt(-1));
    EXPECT_EQ("", GetTutorialPrompt(7));
}
