// The saved form: byte-identical round trips in every mode, and saved games
// that must be refused without a crash.
#include "tests/simulation/SimulationTestSupport.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

using namespace SimTest;

namespace
{
// A few thousand ticks of a game with turning aims, a cannon shot now and
// then and, in the tutorial, a continue tap every 200 ticks.
void PlayFor(Simulation& sim, int ticks)
{
    for (int tick = 0; tick < ticks; tick++)
    {
        SimulationInput input;
        for (int id = 0; id < 3; id++)
            input.aims[id] = std::remainder(0.021f * float(tick) + 2.1f * float(id), 6.2831855f);
        const int phase = tick % 150;
        if (phase >= 100 && phase < 110)
        {
            input.cannonAim = Vector2(70.0f, -40.0f);
            input.cannonHeld = phase < 109 ? 1 : 0;
        }
        if (tick % 200 == 199)
            sim.ContinueTutorial();
        if (tick % 500 == 250)
        {
            sim.SetPaused(true, true);
            sim.SetPaused(false, false);
        }
        sim.Update(kTick, input);
        sim.UpdateFiringSound(kTick);
    }
}

void Start(Simulation& sim, int mode)
{
    switch (mode)
    {
    case 0:
        break;
    case 1:
    case 2:
        sim.StartGame(mode, mode == 2 ? 15 : 1);
        break;
    case 7:
        sim.StartTutorial(0);
        break;
    default:
        sim.StartGameAtLevel(mode == 5 ? 32 : 29, mode, 1);
        break;
    }
}
} // namespace

class SimulationSaveRoundTrip : public ::testing::TestWithParam<int>
{
};

TEST_P(SimulationSaveRoundTrip, SaveLoadSaveIsByteIdentical)
{
    const int mode = GetParam();
    std::unique_ptr<Simulation> sim = MakeSimulation(1000 + unsigned(mode));
    Start(*sim, mode);
    PlayFor(*sim, 3000);
    const std::string saved = SaveBytes(*sim);

    std::unique_ptr<Simulation> loaded = MakeSimulation(7);
    TestSupport::LogCapture log;
    ASSERT_TRUE(LoadBytes(*loaded, saved));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(saved, SaveBytes(*loaded));

    SimulationView a = sim->View();
    SimulationView b = loaded->View();
    EXPECT_EQ(a.Population(), b.Population());
    EXPECT_EQ(a.Score(), b.Score());
    EXPECT_EQ(a.Multiplier(), b.Multiplier());
    EXPECT_EQ(a.WaveNumber(), b.WaveNumber());
    EXPECT_EQ(a.Waves(), b.Waves());
    EXPECT_EQ(a.EnemyCount(), b.EnemyCount());
    EXPECT_EQ(a.FollowerCount(), b.FollowerCount());
    EXPECT_EQ(a.BulletCount(), b.BulletCount());
    EXPECT_EQ(a.TutorialStep(), b.TutorialStep());
    EXPECT_TRUE(b.Locks().empty());
    EXPECT_FALSE(b.CannonArmed());

    // The loaded game runs on and saves again without fault.
    PlayFor(*loaded, 300);
    std::unique_ptr<Simulation> again = MakeSimulation(8);
    EXPECT_TRUE(LoadBytes(*again, SaveBytes(*loaded)));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SimulationSaveRoundTrip, ::testing::Range(0, 8));

TEST(SimulationSave, TheFixedHeaderIsWhereTheFormSaysAndAFreshWorldReloads)
{
    std::unique_ptr<Simulation> sim = MakeSimulation(5);
    const std::string saved = SaveBytes(*sim);
    int32_t version = 0;
    std::memcpy(&version, saved.data(), 4);
    EXPECT_EQ(1, version);
    uint64_t population = 0;
    std::memcpy(&population, saved.data() + 22, 8);
    EXPECT_EQ(Simulation::kStartPopulation, population);
    int64_t multiplier = 0;
    std::memcpy(&multiplier, saved.data() + 62, 8);
    EXPECT_EQ(1, multiplier);
    int32_t waves = -1;
    std::memcpy(&waves, saved.data() + 74, 4);
    EXPECT_EQ(0, waves);

    std::unique_ptr<Simulation> loaded = MakeSimulation(6);
    ASSERT_TRUE(LoadBytes(*loaded, saved));
    EXPECT_EQ(saved, SaveBytes(*loaded));
}

namespace
{
// A small saved game with something in every list: a wave, a spawn record,
// a bullet, an enemy with a trail, a follower and a blocker.
SavedGame SmallGame()
{
    SavedGame game;
    game.waves = {5, 6};
    game.waveNumber = 2;
    game.bullets.push_back(StillBullet(Vector2(10.0f, 60.0f)));
    game.enemies.push_back(EnemyRecord::At(1, Vector2(0.0f, -300.0f)));  // a Drifter, with a trail
    game.enemies.push_back(EnemyRecord::At(5, Vector2(50.0f, -400.0f))); // a Snake, with a trail
    game.followers.push_back(EnemyRecord::Make(SpawnRequest(Vector2(50.0f, -410.0f), 0.0f, 8, 128, 1, 20)));
    game.blockers.push_back(EnemyRecord::At(10, Vector2(-200.0f, 0.0f)));
    return game;
}

// Offsets inside an enemy record as Enemy::Save writes it.
const size_t kKindAt = 25;
const size_t kLeaderAt = 24;
const size_t kBehaviourAt = 28;
const size_t kTrailFlagAt = 44;
const size_t kTrailCapacityAt = 45;

template <class T> void Patch(std::string& bytes, size_t at, T value)
{
    std::memcpy(&bytes[at], &value, sizeof(T));
}

struct CorruptCase
{
    const char* name;
    void (*spoil)(SavedGame&);
    const char* reason; // part of the one log line
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

const CorruptCase kCorruptCases[] = {
    {"Version2", [](SavedGame& g) { g.version = 2; }, "version 2"},
    {"Version0", [](SavedGame& g) { g.version = 0; }, "version 0"},
    {"ViewScaleZero", [](SavedGame& g) { g.viewScale = 0.0f; }, "view scale"},
    {"ViewScaleNegative", [](SavedGame& g) { g.viewScale = -2.0f; }, "view scale"},
    {"ViewScaleNaN", [](SavedGame& g) { g.viewScale = kNaN; }, "view scale"},
    {"ViewOriginInfinite", [](SavedGame& g) { g.viewOrigin.x = INFINITY; }, "view origin"},
    {"AccumulatorNaN", [](SavedGame& g) { g.stepAccumulator = kNaN; }, "step accumulator"},
    {"AccumulatorOfManyTicks", [](SavedGame& g) { g.stepAccumulator = 1e6f; }, "step accumulator"},
    {"PausedFlagTwo", [](SavedGame& g) { g.paused = 2; }, "paused"},
    {"PopulationAboveLossFree", [](SavedGame& g) { g.population = g.lossFreePopulation + 1; }, "loss-free"},
    {"LossFreeZero", [](SavedGame& g) { g.population = g.lossFreePopulation = 0; }, "loss-free"},
    {"MultiplierZero", [](SavedGame& g) { g.multiplier = 0; }, "multiplier"},
    {"KillsNegative", [](SavedGame& g) { g.kills = -1; }, "kills"},
    {"WaveCountNegative", [](SavedGame& g) { g.waveCountOverride = -1; }, "wave list count"},
    {"WaveCountAbove65535", [](SavedGame& g) { g.waveCountOverride = 65536; }, "wave list count"},
    {"WaveEntryNotALevel", [](SavedGame& g) { g.waves[0] = 65; }, "wave list entry"},
    {"WaveEntryNegative", [](SavedGame& g) { g.waves[1] = -1; }, "wave list entry"},
    {"EndMarkerInARunningGame", [](SavedGame& g) { g.waves[1] = 64; }, "end marker"},
    {"WaveState3", [](SavedGame& g) { g.waveState = 3; }, "wave state"},
    {"Mode8", [](SavedGame& g) { g.mode = 8; }, "mode 8"},
    {"ModeNegative", [](SavedGame& g) { g.mode = -1; }, "mode -1"},
    {"StateTicksNegative", [](SavedGame& g) { g.stateTicks = -5; }, "state ticks"},
    {"SpawnKind55", [](SavedGame& g) { g.spawns[0].kind = 55; }, "kind 55"},
    {"SecondTicks31", [](SavedGame& g) { g.secondTicks = 31; }, "second ticks"},
    {"BulletCount129", [](SavedGame& g) { g.bulletCountOverride = 129; }, "bullet count"},
    {"BulletCountNegative", [](SavedGame& g) { g.bulletCountOverride = -1; }, "bullet count"},
    {"BulletPositionNaN", [](SavedGame& g) { g.bullets[0].position.y = kNaN; }, "bullet position"},
    {"BulletVelocityHuge", [](SavedGame& g) { g.bullets[0].velocity.x = 1e30f; }, "bullet velocity"},
    {"BulletLifeForever", [](SavedGame& g) { g.bullets[0].life = 1000000; }, "bullet life"},
    {"CannonChargesNegative", [](SavedGame& g) { g.cannonCharges = -1; }, "cannon charges"},
    {"CannonCooldownNaN", [](SavedGame& g) { g.cannonCooldown = kNaN; }, "cannon cooldown"},
    {"EnemyCount161", [](SavedGame& g) { g.enemyCountOverride = 161; }, "enemy count"},
    {"EnemyCountNegative", [](SavedGame& g) { g.enemyCountOverride = -3; }, "enemy count"},
    {"FollowerCount129",
     [](SavedGame& g)
     {
         for (int i = 0; i < 128; i++)
             g.followers.push_back(g.followers[0]);
     },
     "follower count"},
    {"BlockerCount65",
     [](SavedGame& g)
     {
         for (int i = 0; i < 64; i++)
             g.blockers.push_back(g.blockers[0]);
     },
     "blocker count"},
    {"EnemyKind55", [](SavedGame& g) { g.enemies[0].bytes[kKindAt] = char(55); }, "enemy 0 is not"},
    {"EnemyBehaviour19", [](SavedGame& g) { g.enemies[0].bytes[kBehaviourAt] = char(19); }, "enemy 0 is not"},
    {"EnemyPositionNaN", [](SavedGame& g) { Patch(g.enemies[0].bytes, 8, kNaN); }, "enemy 0 is not"},
    {"EnemyFarOutside", [](SavedGame& g) { Patch(g.enemies[0].bytes, 12, 1e30f); }, "outside the world"},
    {"EnemyDistanceHuge", [](SavedGame& g) { Patch(g.enemies[1].bytes, 4, 3e38f); }, "outside the world"},
    {"TrailPointFarOutside", [](SavedGame& g) { Patch(g.enemies[1].bytes, kTrailCapacityAt + 4 + 8, 2e37f); },
     "outside the world"},
    {"TrailPhaseHuge",
     [](SavedGame& g) { Patch(g.enemies[0].bytes, kTrailCapacityAt + 4 + 6 * 8 + 16, 1e30f); },
     "outside the world"},
    {"EnemyLeader200", [](SavedGame& g) { g.enemies[0].bytes[kLeaderAt] = char(200); },
     "leader is out of range"},
    {"FollowerLeaderPastTheEnemies", [](SavedGame& g) { g.followers[0].bytes[kLeaderAt] = char(2); },
     "not a live enemy"},
    {"FollowerWithoutLeader", [](SavedGame& g) { g.followers[0].bytes[kLeaderAt] = char(255); },
     "not a live enemy"},
    {"TrailCapacityWrong", [](SavedGame& g) { Patch(g.enemies[0].bytes, kTrailCapacityAt, int32_t(7)); },
     "enemy 0 is not"},
    {"TrailOnAKindWithout", [](SavedGame& g) { g.blockers[0].bytes[kTrailFlagAt] = 1; }, "blocker 0 is not"},
    {"TrailCountZero",
     [](SavedGame& g) { Patch(g.enemies[0].bytes, kTrailCapacityAt + 4 + 6 * 8, int32_t(0)); },
     "enemy 0 is not"},
    {"TrailCountAboveCapacity",
     [](SavedGame& g) { Patch(g.enemies[0].bytes, kTrailCapacityAt + 4 + 6 * 8, int32_t(7)); },
     "enemy 0 is not"},
    {"TrailNewestOutside",
     [](SavedGame& g) { Patch(g.enemies[0].bytes, kTrailCapacityAt + 4 + 6 * 8 + 8, int32_t(6)); },
     "enemy 0 is not"},
    {"TrailPointNaN", [](SavedGame& g) { Patch(g.enemies[0].bytes, kTrailCapacityAt + 4, kNaN); },
     "enemy 0 is not"},
    {"TutorialStep7", [](SavedGame& g) { g.tutorialStep = 7; }, "tutorial step"},
    {"TutorialWave15", [](SavedGame& g) { g.tutorialWave = 15; }, "tutorial wave"},
    {"GlowLevelNaN", [](SavedGame& g) { g.glowLevel = kNaN; }, "glow level"},
    {"GlowLevelAboveHalf", [](SavedGame& g) { g.glowLevel = 0.75f; }, "glow level"},
};

std::string CorruptBytes(CorruptCase const& c)
{
    SavedGame game = SmallGame();
    c.spoil(game);
    return game.Bytes();
}

// A refused saved game leaves exactly the world of a new Simulation.
void ExpectFresh(Simulation const& sim, unsigned seed)
{
    std::unique_ptr<Simulation> fresh = MakeSimulation(seed);
    EXPECT_EQ(SaveBytes(*fresh), SaveBytes(sim));
    EXPECT_EQ(0, sim.GetMode());
    EXPECT_EQ(0, sim.View().EnemyCount());
}
} // namespace

TEST(SimulationSave, TheSmallGameLoads)
{
    std::unique_ptr<Simulation> sim = FromSave(SmallGame());
    ASSERT_TRUE(sim);
    EXPECT_EQ(2, sim->View().EnemyCount());
    EXPECT_EQ(1, sim->View().FollowerCount());
    EXPECT_EQ(1, sim->View().BlockerCount());
    ASSERT_NE(nullptr, sim->View().GetEnemy(0).GetTrail());
    EXPECT_EQ(SmallGame().Bytes(), SaveBytes(*sim));
}

TEST(SimulationSave, CorruptSavedGamesAreRefusedWithOneLine)
{
    for (CorruptCase const& c : kCorruptCases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Simulation> sim = MakeSimulation(77);
        sim->StartGame(1, 1);
        TestSupport::LogCapture log;
        EXPECT_FALSE(LoadBytes(*sim, CorruptBytes(c)));
        ASSERT_EQ(1u, log.Lines().size());
        EXPECT_NE(std::string::npos, log.Lines()[0].message.find(c.reason)) << log.Lines()[0].message;
        EXPECT_EQ(Vexel::Log::Level::Error, log.Lines()[0].level);
        EXPECT_EQ("simulation", log.Lines()[0].tag);
        ExpectFresh(*sim, 77);
        Ticks(*sim, 3); // and it runs
    }
}

TEST(SimulationSave, EveryTruncationIsRefused)
{
    const std::string whole = SmallGame().Bytes();
    std::unique_ptr<Simulation> sim = MakeSimulation(3);
    for (size_t length = 0; length < whole.size(); length++)
    {
        TestSupport::LogCapture log;
        ASSERT_FALSE(LoadBytes(*sim, whole.substr(0, length))) << length;
        ASSERT_EQ(1u, log.Lines().size()) << length;
        // Where the bytes ran out, counted from the saved game's start.
        const std::string at = "near byte " + std::to_string(length) + ":";
        EXPECT_NE(std::string::npos, log.Lines()[0].message.find(at)) << log.Lines()[0].message;
    }
    ExpectFresh(*sim, 3);
    EXPECT_TRUE(LoadBytes(*sim, whole));

    // A saved game inside a larger file counts from its own first byte, and
    // the stream is left failed for its reader to see.
    std::istringstream in("head" + whole.substr(0, 100));
    in.seekg(4);
    TestSupport::LogCapture log;
    EXPECT_FALSE(sim->Load(in));
    ASSERT_EQ(1u, log.Lines().size());
    EXPECT_NE(std::string::npos, log.Lines()[0].message.find("near byte 100:")) << log.Lines()[0].message;
    EXPECT_TRUE(in.fail());
}
