// Bullets, auto-fire, hits, scoring and the multiplier, landings, the planet
// cannon and its beam.
#include "tests/simulation/SimulationTestSupport.h"

#include "game/scores/GamePrefs.h"

#include <gtest/gtest.h>

using namespace SimTest;

namespace
{
const uint64_t kStart = Simulation::kStartPopulation;
const int kPeon = 0;
const int kHulk = 2;
const int kSnakeBoss = 23;
const int kLockdownRing = 40;

// A Classic game at wave w with the multiplier m and one enemy of a kind at
// (0, -d), which a still bullet at its centre hits on the next tick.
SavedGame OneShotScene(int kind, int health, int64_t multiplier, int wave)
{
    SavedGame game;
    game.multiplier = multiplier;
    game.waveNumber = wave;
    game.waves.assign(size_t(wave), 0);
    const Vector2 at(0.0f, -300.0f);
    game.enemies.push_back(EnemyRecord::At(kind, at, 10, health));
    game.bullets.push_back(StillBullet(at));
    return game;
}
} // namespace

TEST(SimulationScoring, AKillScoresWithTheOldMultiplierThenRaisesIt)
{
    SoundRecorder sounds;
    std::unique_ptr<Simulation> sim = FromSave(OneShotScene(kHulk, 10, 7, 3));
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    SimulationView view = sim->View();
    EXPECT_EQ(0, view.EnemyCount());
    EXPECT_EQ(1, view.Kills());
    EXPECT_EQ(7u * 5u, view.Score());        // Hulk: 5 points
    EXPECT_EQ(7 + 3 * 3, view.Multiplier()); // wave 3 x step 3
    EXPECT_EQ(0, view.BulletCount());
    EXPECT_EQ(1, sounds.CountPlays(4)); // the hit, once per tick
    ASSERT_EQ(1, sounds.CountPlays(1)); // the Hulk's death sound
    for (SoundRecorder::Call const& call : sounds.calls)
        if (call.what == 'p' && call.id == 1)
        {
            EXPECT_EQ(1.0f, call.volume);
        }
}

TEST(SimulationScoring, AHitTakesTenAndTheEnemyLives)
{
    std::unique_ptr<Simulation> sim = FromSave(OneShotScene(kHulk, 50, 1, 1));
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    ASSERT_EQ(1, sim->View().EnemyCount());
    EXPECT_EQ(40, sim->View().GetEnemy(0).health);
    EXPECT_EQ(0u, sim->View().Score());
}

TEST(SimulationScoring, DeathsAfterALostGameOrBehindTheMenusScoreNothingAndSoundQuieter)
{
    for (int mode : {1, 0})
    {
        SoundRecorder sounds;
        SavedGame game = OneShotScene(kHulk, 10, 4, 1);
        game.mode = mode;
        if (mode == 1)
            game.population = 0;
        std::unique_ptr<Simulation> sim = FromSave(game);
        ASSERT_TRUE(sim);
        Ticks(*sim, 1);
        EXPECT_EQ(0, sim->View().EnemyCount());
        EXPECT_EQ(mode == 0 ? 1 : 0, sim->View().Kills()) << mode;
        if (mode == 1)
        {
            EXPECT_EQ(0u, sim->View().Score());
        }
        bool heard = false;
        for (SoundRecorder::Call const& call : sounds.calls)
            if (call.what == 'p' && call.id == 1)
            {
                heard = true;
                EXPECT_EQ(0.52f, call.volume);
            }
        EXPECT_TRUE(heard);
    }
}

TEST(SimulationScoring, ABulletHitsOneEnemyOnly)
{
    SavedGame game = OneShotScene(kHulk, 50, 1, 1);
    game.enemies.push_back(EnemyRecord::At(kHulk, Vector2(0.0f, -300.0f)));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    ASSERT_EQ(2, sim->View().EnemyCount());
    EXPECT_EQ(90, sim->View().GetEnemy(0).health + sim->View().GetEnemy(1).health);
}

// A bullet that expires hands its slot to the last bullet before the tree is
// built: the bullet that then hits is the one removed.
TEST(SimulationScoring, TheBulletThatHitsIsTheOneRemoved)
{
    const Vector2 target(0.0f, -300.0f);
    SavedGame game;
    game.enemies.push_back(EnemyRecord::At(kHulk, target));
    game.bullets.push_back(StillBullet(Vector2(200.0f, 200.0f), 1)); // expires now
    game.bullets.push_back(StillBullet(Vector2(-250.0f, 100.0f), 30));
    game.bullets.push_back(StillBullet(target, 30)); // the last one, on the Hulk
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    EXPECT_EQ(40, sim->View().GetEnemy(0).health);
    ASSERT_EQ(1, sim->View().BulletCount());
    EXPECT_EQ(-250.0f, sim->View().GetBullet(0).position.x);
    Ticks(*sim, 1);
    EXPECT_EQ(40, sim->View().GetEnemy(0).health); // nothing left on the Hulk
}

TEST(SimulationScoring, YoungEnemiesCannotBeShot)
{
    SavedGame game = OneShotScene(kHulk, 50, 1, 1);
    game.enemies[0] = EnemyRecord::At(kHulk, Vector2(0.0f, -300.0f), 4);
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    EXPECT_EQ(50, sim->View().GetEnemy(0).health);
    EXPECT_EQ(1, sim->View().BulletCount());
}

TEST(SimulationBullets, AutoFireCyclesThroughTheLocksOneShotPerTick)
{
    SavedGame game;
    game.enemies.push_back(EnemyRecord::At(kPeon, Vector2(0.0f, -900.0f)));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    SimulationInput input;
    input.aims[0] = 0.0f;
    input.aims[1] = 3.0f;
    Ticks(*sim, 1, input);
    Ticks(*sim, 1, input);
    ASSERT_EQ(2, sim->View().BulletCount());
    // One bullet near each lock's angle (within the aim jitter and the glide).
    const float a0 = sim->View().GetBullet(0).angle;
    const float a1 = sim->View().GetBullet(1).angle;
    EXPECT_NEAR(0.0f, a0, 0.06f);
    EXPECT_GT(a1, 0.1f);
    EXPECT_EQ(64 - 1, sim->View().GetBullet(0).life);
    EXPECT_EQ(64, sim->View().GetBullet(1).life);
    EXPECT_GT(sim->View().FiringLevel(), 0.6f);

    // Without enemies nothing fires.
    SavedGame empty;
    std::unique_ptr<Simulation> idle = FromSave(empty);
    ASSERT_TRUE(idle);
    Ticks(*idle, 5, input);
    EXPECT_EQ(0, idle->View().BulletCount());
}

TEST(SimulationBullets, BulletsStartNearThePlanetAndLiveTheirTicks)
{
    SavedGame game;
    game.enemies.push_back(EnemyRecord::At(kPeon, Vector2(0.0f, 1000.0f)));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    SimulationInput input;
    input.aims[0] = 3.1f;
    Ticks(*sim, 1, input);
    ASSERT_EQ(1, sim->View().BulletCount());
    Bullet const first = sim->View().GetBullet(0);
    const float startDistance = first.position.Length();
    EXPECT_GE(startDistance, 47.0f);
    EXPECT_LT(startDistance, 47.0f + 4.6933333f + 1e-4f);
    EXPECT_NEAR(7.3333335f, first.velocity.Length(), 1e-5f);
    EXPECT_EQ(64, first.life);

    // A bullet with three ticks left flies two more and is gone on the third.
    SavedGame quiet;
    quiet.bullets.push_back(StillBullet(Vector2(0.0f, 200.0f), 3));
    quiet.bullets[0].velocity = Vector2(0.0f, 7.0f);
    sim = FromSave(quiet);
    ASSERT_TRUE(sim);
    Ticks(*sim, 2);
    ASSERT_EQ(1, sim->View().BulletCount());
    EXPECT_EQ(214.0f, sim->View().GetBullet(0).position.y);
    Ticks(*sim, 1);
    EXPECT_EQ(0, sim->View().BulletCount());
}

TEST(SimulationBullets, AtMost128Bullets)
{
    SavedGame game;
    game.enemies.push_back(EnemyRecord::At(kPeon, Vector2(0.0f, 1000.0f)));
    for (int i = 0; i < 128; i++)
        game.bullets.push_back(StillBullet(Vector2(float(i), 500.0f), 60));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    SimulationInput input;
    input.aims[0] = 1.0f;
    Ticks(*sim, 1, input);
    EXPECT_EQ(128, sim->View().BulletCount());
    EXPECT_GT(sim->View().FiringLevel(), 0.6f); // the loop still sounds
}

TEST(SimulationBullets, TheFiringLoopFadesAfterTheLastShot)
{
    SoundRecorder sounds;
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->UpdateFiringSound(kTick);
    EXPECT_TRUE(sounds.calls.empty());

    SavedGame game;
    game.enemies.push_back(EnemyRecord::At(kPeon, Vector2(0.0f, 1000.0f)));
    sim = FromSave(game);
    ASSERT_TRUE(sim);
    SimulationInput input;
    input.aims[0] = 1.0f;
    Ticks(*sim, 1, input);
    sim->UpdateFiringSound(kTick);
    ASSERT_FALSE(sounds.calls.empty());
    EXPECT_EQ('p', sounds.calls[0].what);
    EXPECT_EQ(7, sounds.calls[0].id);
    EXPECT_FLOAT_EQ(0.65f, sounds.calls[0].volume);
    EXPECT_FLOAT_EQ(0.9f, sounds.calls[0].pitch);
    // 0.65 at 1.75 a second: gone after about 0.37 s.
    for (int i = 0; i < 12; i++)
        sim->UpdateFiringSound(kTick);
    EXPECT_EQ(0.0f, sim->View().FiringLevel());
}

struct LandingCase
{
    const char* name;
    int mode;
    int kind;
    uint64_t population;
    int64_t multiplier;
    bool vibrationPref;
    // Expected.
    uint64_t populationAfter;
    uint64_t casualtiesAfter; // of the kind's faction
    int64_t multiplierAfter;
    int vibrations;
    int marks;
};

class SimulationLanding : public ::testing::TestWithParam<LandingCase>
{
};

TEST_P(SimulationLanding, CostsPopulationAndMultiplier)
{
    LandingCase const& c = GetParam();
    VibrationCounter vibration;
    SavedGame game;
    game.mode = c.mode;
    game.population = c.population;
    game.multiplier = c.multiplier;
    game.enemies.push_back(EnemyRecord::At(c.kind, Vector2(0.0f, 40.5f)));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    GamePrefs::SetVibration(c.vibrationPref);
    Ticks(*sim, 1);
    GamePrefs::SetVibration(true);
    SimulationView view = sim->View();
    const int faction = int(EnemyType::Get(c.kind).faction);
    EXPECT_EQ(0, view.EnemyCount());
    EXPECT_EQ(c.populationAfter, view.Population());
    EXPECT_EQ(c.casualtiesAfter, view.Casualties(faction));
    EXPECT_EQ(c.multiplierAfter, view.Multiplier());
    EXPECT_EQ(c.vibrations, vibration.Calls());
    EXPECT_EQ(c.marks, view.Particles().GetMarkCount());
    EXPECT_EQ(0, view.Kills());
    EXPECT_EQ(0u, view.Score());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimulationLanding,
    ::testing::Values(LandingCase{"PeonCutsFiveToThree", 1, kPeon, kStart, 5, true, kStart - 310230171u,
                                  310230171u, 3, 1, 1},
                      LandingCase{"MultiplierOneStaysOne", 1, kPeon, kStart, 1, true, kStart - 310230171u,
                                  310230171u, 1, 1, 1},
                      LandingCase{"NoVibrationWhenOff", 1, kPeon, kStart, 1, false, kStart - 310230171u,
                                  310230171u, 1, 0, 1},
                      LandingCase{"NoVibrationBehindTheMenus", 0, kPeon, kStart, 1, true, kStart - 310230171u,
                                  310230171u, 1, 0, 1},
                      LandingCase{"LossLargerThanThePopulationTakesIt", 1, kHulk, 1000, 8, true, 0, 1000, 6,
                                  1, 1},
                      LandingCase{"TheTutorialPlanetKeepsOne", 7, kHulk, 1000, 8, true, 1, 1000, 6, 1, 1},
                      LandingCase{"ALostPlanetCountsNothing", 1, kPeon, 0, 8, true, 0, 0, 8, 0, 1},
                      LandingCase{"ARingCostsNoPeopleButCutsTheMultiplier", 1, kLockdownRing, kStart, 8, true,
                                  kStart, 0, 6, 1, 0}),
    [](::testing::TestParamInfo<LandingCase> const& info) { return std::string(info.param.name); });

TEST(SimulationCannon, BeamStrikeHealthIn16Bits)
{
    EXPECT_EQ(-475, BeamStrikeHealth(50, 50));     // Hulk
    EXPECT_EQ(3750, BeamStrikeHealth(8500, 8500)); // Snake Boss
    EXPECT_EQ(-495, BeamStrikeHealth(10, 10));     // Peon
    EXPECT_EQ(32767 - 32767 / 2 - 500, BeamStrikeHealth(32767, 32767));
}

namespace
{
// Holds the cannon drag at a point for a tick, then releases it.
void ShootCannon(Simulation& sim, Vector2 aim)
{
    SimulationInput held;
    held.cannonAim = aim;
    held.cannonHeld = 1;
    Ticks(sim, 1, held);
    SimulationInput released;
    released.cannonAim = aim;
    Ticks(sim, 1, released);
}
} // namespace

TEST(SimulationCannon, TheBeamStrikesAlongItsAxisAndAroundThePlanet)
{
    SavedGame game;
    game.multiplier = 2;
    game.enemies.push_back(EnemyRecord::At(kSnakeBoss, Vector2(0.0f, 400.0f)));
    game.enemies.push_back(EnemyRecord::At(kHulk, Vector2(0.0f, -80.0f)));   // behind, in the blast
    game.enemies.push_back(EnemyRecord::At(kHulk, Vector2(0.0f, -300.0f)));  // behind, out of reach
    game.enemies.push_back(EnemyRecord::At(kHulk, Vector2(400.0f, 300.0f))); // beside the beam
    ResetFlashes();
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    ShootCannon(*sim, Vector2(0.0f, 100.0f));
    SimulationView view = sim->View();
    EXPECT_TRUE(view.CannonFired());
    EXPECT_TRUE(view.CannonUsed());
    EXPECT_EQ(2, view.CannonCharges());
    ASSERT_EQ(3, view.EnemyCount());
    int bossHealth = 0;
    int untouched = 0;
    for (int i = 0; i < view.EnemyCount(); i++)
    {
        Enemy const& enemy = view.GetEnemy(i);
        if (enemy.kind == kSnakeBoss)
            bossHealth = enemy.health;
        else
            untouched += enemy.health == 50;
    }
    EXPECT_EQ(3750, bossHealth);
    EXPECT_EQ(2, untouched);
    // The Hulk in the blast died hit: it scored at the old multiplier.
    EXPECT_EQ(1, view.Kills());
    EXPECT_EQ(2u * 5u, view.Score());
    EXPECT_EQ(1, GetActiveFlashCount());
    const Color flash = GetFlashColour();
    EXPECT_EQ(55, flash.r);
    EXPECT_EQ(93, flash.g);
    EXPECT_EQ(112, flash.b);
    EXPECT_EQ(255, flash.a);
    ResetFlashes();
}

TEST(SimulationCannon, ArmsFiresAndCoolsDownFor27Ticks)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->StartGame(1, 1);
    SimulationInput held;
    held.cannonAim = Vector2(0.0f, 100.0f);
    held.cannonHeld = 1;
    Ticks(*sim, 1, held);
    EXPECT_TRUE(sim->View().CannonArmed());
    EXPECT_EQ(1, sim->View().ChargeLineCount());
    EXPECT_FLOAT_EQ(0.016f, sim->View().CannonGlowLevel());
    EXPECT_FALSE(sim->View().CannonFired());

    SimulationInput released;
    released.cannonAim = held.cannonAim;
    Ticks(*sim, 1, released);
    EXPECT_TRUE(sim->View().CannonFired());
    EXPECT_EQ(2, sim->View().CannonCharges());
    EXPECT_FLOAT_EQ(0.9f, sim->View().CannonCooldown());
    EXPECT_FALSE(sim->View().CannonArmed());
    // The aim stays while the beam fires.
    EXPECT_EQ(held.cannonAim, sim->View().CannonAim());

    int armedAfter = 0;
    for (int tick = 1; tick <= 40 && armedAfter == 0; tick++)
    {
        Ticks(*sim, 1, held);
        EXPECT_FALSE(sim->View().CannonFired());
        if (sim->View().CannonArmed())
            armedAfter = tick;
    }
    EXPECT_EQ(27, armedAfter);
    EXPECT_EQ(2, sim->View().CannonCharges());
}

TEST(SimulationCannon, AShortDragOrNoChargesFiresNothing)
{
    struct Case
    {
        Vector2 aim;
        int charges;
        bool fires;
    };
    const Case cases[] = {
        {Vector2(0.0f, 49.9f), 3, false},
        {Vector2(30.0f, 40.0f), 3, true}, // length 50: out of the dead zone
        {Vector2(0.0f, 100.0f), 0, false},
        {Vector2(0.0f, 100.0f), 1, true},
    };
    for (Case const& c : cases)
    {
        SavedGame game;
        game.cannonCharges = c.charges;
        std::unique_ptr<Simulation> sim = FromSave(game);
        ASSERT_TRUE(sim);
        ShootCannon(*sim, c.aim);
        EXPECT_EQ(c.fires, sim->View().CannonFired()) << c.aim.x << "," << c.aim.y << " " << c.charges;
        EXPECT_EQ(c.fires ? c.charges - 1 : c.charges, sim->View().CannonCharges());
        if (!c.fires)
        {
            EXPECT_EQ(Vector2(0.0f, 0.0f), sim->View().CannonAim());
        }
    }
}

TEST(SimulationCannon, TheChargeLineDischargesAndIsDeleted)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    sim->StartGame(1, 1);
    SimulationInput held;
    held.cannonAim = Vector2(0.0f, 100.0f);
    held.cannonHeld = 1;
    Ticks(*sim, 10, held);
    EXPECT_EQ(1, sim->View().ChargeLineCount());
    // Released inside the dead zone: no shot, the line is let go unfired.
    SimulationInput none;
    Ticks(*sim, 1, none);
    EXPECT_EQ(3, sim->View().CannonCharges());
    Ticks(*sim, 30, none);
    EXPECT_EQ(0, sim->View().ChargeLineCount());
    EXPECT_EQ(0.0f, sim->View().CannonGlowLevel());
}

TEST(SimulationCannon, NothingWorksBehindTheMenus)
{
    std::unique_ptr<Simulation> sim = MakeSimulation();
    SimulationInput input;
    input.aims[0] = 1.0f;
    input.cannonAim = Vector2(0.0f, 100.0f);
    input.cannonHeld = 1;
    Ticks(*sim, 3, input);
    EXPECT_TRUE(sim->View().Locks().empty());
    EXPECT_FALSE(sim->View().CannonArmed());
    EXPECT_EQ(0, sim->View().ChargeLineCount());
}
