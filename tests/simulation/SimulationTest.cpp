// The Simulation's lifecycle, frame loop, wave state machine, population
// growth and results.
#include "tests/simulation/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SimTest;

namespace
{
const uint64_t kStart = Simulation::kStartPopulation;
} // namespace

TEST(SimulationLifecycle, FreshSimulationIsTheMenuWorldWithOneDriftingRecord)
{
    std::unique_ptr<Simulation> sim = MakeSimulation(5489);
    SimulationView view = sim->View();
    EXPECT_EQ(0, view.Mode());
    EXPECT_EQ(1, view.WaveNumber());
    EXPECT_EQ(0, view.WaveState());
    EXPECT_TRUE(view.Waves().empty());
    EXPECT_FALSE(sim->IsGameOver());
    EXPECT_EQ(kStart, view.Population());
    EXPECT_EQ(1, view.Multiplier());
    ASSERT_EQ(1u, view.Spawns().size());
    SpawnRecord const& record = view.Spawns()[0];
    EXPECT_EQ(141, record.delay);
    EXPECT_EQ(244, record.angleStart);
    EXPECT_EQ(0, record.radiusMin);
    EXPECT_EQ(0, record.radiusMax);
    EXPECT_EQ(25, record.kind);
    EXPECT_EQ(1, record.count);
}

TEST(SimulationLifecycle, FrameTimeIsDividedInFloat)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->Update(0.1f, SimulationInput());
    // In float 0.1 / (1/30) is 3 (in double it would be 2.9999...).
    EXPECT_EQ(3, sim->View().StateTicks());
    const float remainder = 0.1f - 3.0f * kTick;
    EXPECT_EQ(remainder, sim->View().StepAccumulator());
    EXPECT_LT(std::fabs(remainder), 1e-6f);

    // Part-ticks add up across frames.
    std::unique_ptr<Simulation> slow = MakeSimulation();
    for (int i = 0; i < 4; i++)
        slow->Update(kTick * 0.5f, SimulationInput());
    EXPECT_EQ(2, slow->View().StateTicks());
}

TEST(SimulationLifecycle, BrokenFrameTimesRunNothing)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->Update(NAN, SimulationInput());
    sim->Update(-1.0f, SimulationInput());
    sim->Update(INFINITY, SimulationInput());
    EXPECT_EQ(0, sim->View().StateTicks());
    EXPECT_EQ(0.0f, sim->View().StepAccumulator());
}

TEST(SimulationLifecycle, SurrenderLosesTheGameAndBurnsThePlanet)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->StartGame(1, 1);
    Ticks(*sim, 10);
    EXPECT_FALSE(sim->IsGameOver());
    const uint64_t red = sim->View().Casualties(0);
    const uint64_t green = sim->View().Casualties(1);
    sim->Surrender();
    EXPECT_TRUE(sim->IsGameOver());
    EXPECT_TRUE(sim->HasLostPopulation());
    EXPECT_FALSE(sim->HasPopulation());
    EXPECT_EQ(red + 38127471282ull, sim->View().Casualties(0));
    EXPECT_EQ(green + 38127471282ull, sim->View().Casualties(1));
}

TEST(SimulationLifecycle, StartGameResetsTheGameButKeepsTheLocks)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->StartGame(1, 1);
    SimulationInput input;
    input.aims[0] = 0.5f;
    Ticks(*sim, 5, input);
    sim->Surrender();
    sim->StartGame(2, 12);
    SimulationView view = sim->View();
    EXPECT_EQ(kStart, view.Population());
    EXPECT_EQ(0u, view.Casualties(0));
    EXPECT_EQ(2, view.Mode());
    EXPECT_EQ(12, view.WaveNumber());
    EXPECT_EQ(3, view.CannonCharges());
    EXPECT_EQ(1u, view.Waves().size());
    EXPECT_EQ(1u, view.Locks().size());
    EXPECT_FALSE(sim->IsGameOver());
}

// Level 0 from StartGame: the intermission takes 73 ticks, and the first
// Peon comes on the tick after it ends.
TEST(SimulationWaves, FirstSpawnComesTheTickAfterTheIntermission)
{
    std::unique_ptr<Simulation> sim = MakeSimulation(3);
    sim->StartGame(1, 1);
    int firstSpawn = 0;
    for (int tick = 1; tick <= 80 && firstSpawn == 0; tick++)
    {
        Ticks(*sim, 1);
        if (tick == 73)
        {
            EXPECT_EQ(1, sim->View().WaveState());
            EXPECT_EQ(0, sim->View().EnemyCount());
        }
        if (sim->View().EnemyCount() > 0)
            firstSpawn = tick;
    }
    EXPECT_EQ(74, firstSpawn);
    EXPECT_EQ(0, sim->View().GetEnemy(0).kind);
}

TEST(SimulationWaves, PopulationGrowsOnlyDuringTheIntermission)
{
    std::unique_ptr<Simulation> sim = MakeSimulation(8);
    sim->StartGame(1, 1);
    Ticks(*sim, 72);
    const uint64_t grown = sim->View().Population() - kStart;
    EXPECT_GE(grown, 72u * 175000u);
    EXPECT_LE(grown, 72u * 250000u);
    EXPECT_EQ(sim->View().Population(), sim->View().LossFreePopulation());
    Ticks(*sim, 1); // the wave starts: no growth any more
    EXPECT_EQ(kStart + grown, sim->View().Population());
    Ticks(*sim, 20);
    EXPECT_EQ(kStart + grown, sim->View().Population());
}

TEST(SimulationWaves, TheTutorialSkipsTheIntermission)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->StartTutorial(0);
    EXPECT_EQ(0, sim->View().WaveState());
    Ticks(*sim, 1);
    EXPECT_EQ(1, sim->View().WaveState());
}

struct WaveEndCase
{
    const char* name;
    int mode;
    int waveNumber;
    int waves; // wave-list entries already played
    int charges;
    bool blocker;
    // Expected after one tick.
    int waveNumberAfter;
    int stateAfter;
    int chargesAfter;
};

class SimulationWaveEnd : public ::testing::TestWithParam<WaveEndCase>
{
};

TEST_P(SimulationWaveEnd, EndsWhenEverythingIsSpentAndDead)
{
    WaveEndCase const& c = GetParam();
    SavedGame game;
    game.mode = c.mode;
    game.waveNumber = c.waveNumber;
    game.waves.clear();
    for (int i = 0; i < c.waves; i++)
        game.waves.push_back(i % 64);
    game.cannonCharges = c.charges;
    game.spawns.clear();
    if (c.blocker)
        game.blockers.push_back(EnemyRecord::At(10, Vector2(0.0f, -600.0f)));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    SimulationView view = sim->View();
    EXPECT_EQ(c.waveNumberAfter, view.WaveNumber());
    EXPECT_EQ(c.stateAfter, view.WaveState());
    EXPECT_EQ(c.chargesAfter, view.CannonCharges());
    if (c.stateAfter == 2)
    {
        EXPECT_EQ(64, view.Waves().back());
        EXPECT_TRUE(sim->IsGameOver());
    }
    if (c.stateAfter == 0)
    {
        EXPECT_EQ(0, view.StateTicks());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimulationWaveEnd,
    ::testing::Values(WaveEndCase{"ClassicNextWave", 1, 3, 3, 3, false, 4, 0, 3},
                      WaveEndCase{"ClassicTenthWaveAddsACharge", 1, 9, 9, 3, false, 10, 0, 4},
                      WaveEndCase{"QuickstartTenthWave", 2, 19, 5, 1, false, 20, 0, 2},
                      WaveEndCase{"GauntletTenthWave", 6, 9, 9, 0, false, 10, 0, 1},
                      WaveEndCase{"StageEighthWaveNoCharge", 5, 9, 1, 2, false, 10, 0, 2},
                      WaveEndCase{"PracticeRefillsCharges", 4, 1, 1, 0, false, 2, 0, 3},
                      WaveEndCase{"BlockersDoNotHoldAClassicWave", 1, 2, 2, 3, true, 3, 0, 3},
                      WaveEndCase{"BlockersHoldADesignedLevel", 3, 1, 1, 3, true, 1, 1, 3},
                      WaveEndCase{"DesignedLevelIsWon", 3, 1, 1, 3, false, 2, 2, 3},
                      WaveEndCase{"StageIsWonAfterEight", 5, 8, 8, 3, false, 9, 2, 3},
                      WaveEndCase{"FullGauntletIsWonAfter64", 6, 64, 64, 3, false, 65, 2, 3}),
    [](::testing::TestParamInfo<WaveEndCase> const& info) { return std::string(info.param.name); });

TEST(SimulationWaves, AWaveDoesNotEndWhileRecordsWaitOrThePlanetIsDead)
{
    SavedGame game; // the default scene holds a record that waits
    std::unique_ptr<Simulation> waiting = FromSave(game);
    ASSERT_TRUE(waiting);
    Ticks(*waiting, 5);
    EXPECT_EQ(1, waiting->View().WaveNumber());

    game.spawns.clear();
    game.population = 0;
    std::unique_ptr<Simulation> lost = FromSave(game);
    ASSERT_TRUE(lost);
    Ticks(*lost, 5);
    EXPECT_EQ(1, lost->View().WaveNumber());
    EXPECT_EQ(1, lost->View().WaveState());
}

TEST(SimulationResults, ScoreEntryCountsTheWavesPlayedAndBeyond)
{
    SavedGame level;
    level.mode = 3;
    level.waves = {17, 64};
    level.waveState = 2;
    level.waveNumber = 2;
    level.score = 1234;
    level.kills = 56;
    level.seconds = 78;
    std::unique_ptr<Simulation> sim = FromSave(level);
    ASSERT_TRUE(sim);
    HighScores::ScoreStats entry = sim->GetScoreEntry();
    EXPECT_EQ(1234, entry.score);
    EXPECT_EQ(56, entry.kills);
    EXPECT_EQ(1, entry.lastWaveIndex);
    EXPECT_EQ(0, entry.extraWaves);
    EXPECT_EQ(78, entry.seconds);
    EXPECT_TRUE(sim->IsGameOver());
    EXPECT_FALSE(sim->IsGauntletWon());

    SavedGame endless;
    endless.waveNumber = 30;
    endless.waves.assign(29, 3);
    sim = FromSave(endless);
    ASSERT_TRUE(sim);
    entry = sim->GetScoreEntry();
    EXPECT_EQ(28, entry.lastWaveIndex);
    EXPECT_EQ(1, entry.extraWaves);

    endless.waveNumber = 400;
    sim = FromSave(endless);
    ASSERT_TRUE(sim);
    EXPECT_EQ(255, sim->GetScoreEntry().extraWaves);
}

TEST(SimulationResults, NoTableAndNoAwardOutsideScoredModes)
{
    for (int mode : {0, 4, 7})
    {
        SavedGame game;
        game.mode = mode;
        std::unique_ptr<Simulation> sim = FromSave(game);
        ASSERT_TRUE(sim);
        EXPECT_EQ(nullptr, sim->GetHighScores()) << mode;
        EXPECT_EQ(nullptr, sim->GetAward()) << mode;
    }
}

TEST(SimulationResults, GauntletIsWonOnlyWithPopulation)
{
    SavedGame game;
    game.mode = 5;
    game.waves = {8, 9, 10, 11, 12, 13, 14, 15, 64};
    game.waveState = 2;
    game.waveNumber = 9;
    std::unique_ptr<Simulation> won = FromSave(game);
    ASSERT_TRUE(won);
    EXPECT_TRUE(won->IsGauntletWon());
    game.population = 0;
    std::unique_ptr<Simulation> lost = FromSave(game);
    ASSERT_TRUE(lost);
    EXPECT_FALSE(lost->IsGauntletWon());
    EXPECT_TRUE(lost->IsGameOver());
}

TEST(SimulationLifecycle, ScreenAndWorldMapThroughTheView)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    ViewFrame const& view = sim->View().View();
    const Vector2 world(12.5f, -3.0f);
    const Vector2 screen = sim->WorldToScreen(world);
    EXPECT_EQ(view.Origin().x + world.x * view.scale, screen.x);
    EXPECT_EQ(view.Origin().y + world.y * view.scale, screen.y);
    const Vector2 back = sim->ScreenToWorld(screen);
    EXPECT_NEAR(world.x, back.x, 1e-5f);
    EXPECT_NEAR(world.y, back.y, 1e-5f);
}

TEST(SimulationLifecycle, PauseByThePlayerIsRememberedForTheTutorial)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->SetPaused(true, false);
    EXPECT_TRUE(sim->View().Paused());
    sim->SetPaused(false, false);
    EXPECT_FALSE(sim->View().Paused());
    EXPECT_FALSE(sim->IsCannonLockedByTutorial());
    EXPECT_FALSE(sim->IsPlanetTapBlocked());
}
