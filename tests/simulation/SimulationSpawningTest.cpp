// Spawn requests and their routing, followers re-bound while the leader
// array is reordered, planet smoke and the victory fireworks.
#include "tests/simulation/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SimTest;

namespace
{
const int kPeon = 0;
const int kSnakeBody = 8;
const int kBlocker = 10;
const int kLockdown = 39;
const int kLockdownRing = 40;

Vector2 Around(int i, float distance)
{
    return Vector2(0.0f, -distance).Rotate(0.3f * float(i));
}

// A segment that waits a long time before it follows: it stays where it is.
EnemyRecord Segment(Vector2 at, uint8_t leader)
{
    return EnemyRecord::Make(SpawnRequest(at, 0.0f, kSnakeBody, 128, leader, 200), 10);
}
} // namespace

// Enemy 3 dies and the last enemy (index 9) moves into its slot: its
// follower now names leader 3, the dead one's follower dies unscored.
TEST(SimulationFollowers, FollowersTrackTheirLeaderThroughSwapRemoval)
{
    SavedGame game;
    for (int i = 0; i < 10; i++)
        game.enemies.push_back(EnemyRecord::At(kPeon, Around(i, 600.0f), 10, i == 3 ? 10 : -1));
    game.bullets.push_back(StillBullet(Around(3, 600.0f)));
    game.followers.push_back(Segment(Vector2(400.0f, 0.0f), 9));
    game.followers.push_back(Segment(Vector2(0.0f, 400.0f), 3));
    game.followers.push_back(Segment(Vector2(-400.0f, 0.0f), 5));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    SimulationView view = sim->View();
    EXPECT_EQ(9, view.EnemyCount());
    EXPECT_EQ(1, view.Kills());
    EXPECT_EQ(1u, view.Score());
    ASSERT_EQ(2, view.FollowerCount());
    for (int i = 0; i < 2; i++)
    {
        Enemy const& follower = view.GetFollower(i);
        if (follower.position.x > 0.0f)
            EXPECT_EQ(3, follower.leader);
        else
            EXPECT_EQ(5, follower.leader);
    }
    // The one that moved is the old last enemy.
    EXPECT_NEAR(Around(9, 600.0f).x, view.GetEnemy(3).position.x, 5.0f);
}

TEST(SimulationFollowers, AFollowerWhoseLeaderIsGoneDies)
{
    SavedGame game;
    game.enemies.push_back(EnemyRecord::At(kPeon, Around(0, 600.0f), 10, 10));
    game.bullets.push_back(StillBullet(Around(0, 600.0f)));
    game.followers.push_back(Segment(Vector2(400.0f, 0.0f), 0));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    EXPECT_EQ(0, sim->View().EnemyCount());
    EXPECT_EQ(0, sim->View().FollowerCount());
    EXPECT_EQ(1, sim->View().Kills());
}

// A ring in the follower pass releases rings that name its leader by the
// leader's present index: after the leader moved this tick they still
// appear, bound to it.
TEST(SimulationFollowers, RingsReleasedByAFollowerKeepTheirMovedLeader)
{
    SavedGame game;
    game.enemies.push_back(EnemyRecord::At(kPeon, Around(6, 600.0f), 10, 10));
    game.enemies.push_back(EnemyRecord::At(kPeon, Around(12, 600.0f)));
    game.enemies.push_back(EnemyRecord::At(kLockdown, Vector2(0.0f, -500.0f), 5));
    game.bullets.push_back(StillBullet(Around(6, 600.0f)));
    // Release sides 0 (one ring to each side), generation 1, old enough to
    // release on this tick.
    game.followers.push_back(
        EnemyRecord::Make(SpawnRequest(Vector2(0.0f, -500.0f), 0.0f, kLockdownRing, 128, 2, 0, 1), 11));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    SimulationView view = sim->View();
    ASSERT_EQ(2, view.EnemyCount());
    EXPECT_EQ(kLockdown, view.GetEnemy(0).kind);
    ASSERT_EQ(3, view.FollowerCount());
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(kLockdownRing, view.GetFollower(i).kind);
        EXPECT_EQ(0, view.GetFollower(i).leader);
    }
}

TEST(SimulationSpawning, WaveRecordsSpawnIntoTheRightArraysUntilFull)
{
    SavedGame game;
    game.spawns.clear();
    game.spawns.push_back(SpawnRecord(0, 0.0f, 600.0f, kBlocker, 3, 1));
    game.spawns.push_back(SpawnRecord(0, 90.0f, 700.0f, kPeon, 2, 1));
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 3);
    EXPECT_EQ(3, sim->View().BlockerCount());
    EXPECT_EQ(2, sim->View().EnemyCount());
    EXPECT_EQ(0, sim->View().FollowerCount());
    EXPECT_EQ(kBlocker, sim->View().GetBlocker(0).kind);

    // With 160 enemies alive the next spawn is lost but the record counts it.
    SavedGame full;
    for (int i = 0; i < 160; i++)
        full.enemies.push_back(EnemyRecord::At(kPeon, Around(i, 900.0f), 10));
    full.spawns.clear();
    full.spawns.push_back(SpawnRecord(0, 0.0f, 600.0f, kPeon, 2, 1));
    sim = FromSave(full);
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    EXPECT_EQ(160, sim->View().EnemyCount());
    EXPECT_EQ(1, sim->View().Spawns()[0].count);
}

TEST(SimulationSmoke, APlanetSmokesOnlyAboveOnePercentLost)
{
    SavedGame clean;
    std::unique_ptr<Simulation> sim = FromSave(clean);
    ASSERT_TRUE(sim);
    Ticks(*sim, 30);
    EXPECT_EQ(0, sim->View().Particles().GetSmokeCount());

    SavedGame edge; // a ratio of exactly 0.01 in float
    edge.lossFreePopulation = 100000000;
    edge.population = 99000000;
    edge.casualties[0] = 1000000;
    sim = FromSave(edge);
    ASSERT_TRUE(sim);
    Ticks(*sim, 30);
    EXPECT_EQ(0, sim->View().Particles().GetSmokeCount());

    // After a surrender one or two puffs a tick per faction, up to the pool.
    sim = FromSave(clean);
    ASSERT_TRUE(sim);
    sim->Surrender();
    Ticks(*sim, 1);
    EXPECT_GE(sim->View().Particles().GetSmokeCount(), 2);
    EXPECT_LE(sim->View().Particles().GetSmokeCount(), 4);
    Ticks(*sim, 10);
    EXPECT_EQ(16, sim->View().Particles().GetSmokeCount());
}

TEST(SimulationSmoke, AnAbsurdLossDoesNotStallTheTick)
{
    SavedGame game;
    game.lossFreePopulation = 1;
    game.population = 1;
    game.casualties[0] = UINT64_MAX;
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 2);
    EXPECT_EQ(16, sim->View().Particles().GetSmokeCount());
}

namespace
{
SavedGame WonStage()
{
    SavedGame game;
    game.mode = 5;
    game.waves = {8, 9, 10, 11, 12, 13, 14, 15, 64};
    game.waveState = 2;
    game.waveNumber = 9;
    game.spawns.clear();
    return game;
}
} // namespace

TEST(SimulationFireworks, AWonGauntletGetsFireworks)
{
    SoundRecorder sounds;
    std::unique_ptr<Simulation> sim = FromSave(WonStage());
    ASSERT_TRUE(sim);
    Ticks(*sim, 1);
    EXPECT_EQ(1, sim->View().FireworksCount());
    int firstBurst = 0;
    int most = 0;
    for (int tick = 2; tick <= 120; tick++)
    {
        Ticks(*sim, 1);
        most = std::max(most, sim->View().FireworksCount());
        if (firstBurst == 0 && sounds.CountPlays(0) > 0)
            firstBurst = tick;
    }
    // A piece rises for 67 ticks and bursts.
    EXPECT_EQ(67, firstBurst);
    for (SoundRecorder::Call const& call : sounds.calls)
        if (call.what == 'p' && call.id == 0)
        {
            EXPECT_FLOAT_EQ(0.9f, call.volume);
            EXPECT_FLOAT_EQ(0.8f, call.pitch);
        }
    // A new piece every 4 to 24 ticks, each living 67.
    EXPECT_GE(most, 3);
    EXPECT_LE(most, 18);
    EXPECT_GT(sim->View().Particles().GetSpriteCount(), 0);

    // The next game clears them.
    sim->StartGame(1, 1);
    Ticks(*sim, 1);
    EXPECT_EQ(0, sim->View().FireworksCount());
}

TEST(SimulationFireworks, ALostGauntletGetsNone)
{
    SavedGame game = WonStage();
    game.population = 0;
    std::unique_ptr<Simulation> sim = FromSave(game);
    ASSERT_TRUE(sim);
    Ticks(*sim, 30);
    EXPECT_EQ(0, sim->View().FireworksCount());
}
