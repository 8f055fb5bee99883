#include "engine/core/Random.h"
#include "engine/core/VectorMath.h"
#include "game/simulation/Enemy.h"
#include "game/simulation/ParticleSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using Vexel::kPi;

SpawnRequest Facing(int kind, Vector2 position, uint8_t speed = 0, uint8_t leader = SpawnRequest::kNoLeader)
{
    return SpawnRequest(position, position.Angle() + kPi, uint8_t(kind), speed, leader);
}

std::string Saved(Enemy const& enemy)
{
    std::ostringstream out;
    enemy.Save(out);
    return out.str();
}

bool LoadFrom(Enemy& enemy, std::string const& bytes)
{
    std::istringstream in(bytes);
    return enemy.Load(in);
}

TEST(EnemyTest, InitTakesTheRequestAndTheKind)
{
    Vexel::Random random(2, 5);
    Enemy enemy;
    enemy.Init(SpawnRequest(Vector2(-30.0f, 40.0f), 1.25f, 1, 77, 9), random);
    EXPECT_EQ(Vector2(-30.0f, 40.0f), enemy.position);
    EXPECT_FLOAT_EQ(atan2f(30.0f, 40.0f), enemy.angle);
    EXPECT_FLOAT_EQ(50.0f, enemy.distance);
    EXPECT_EQ(1.25f, enemy.rotation);
    EXPECT_EQ(20, enemy.health);
    EXPECT_EQ(1, enemy.kind);
    EXPECT_EQ(77, enemy.speed);
    EXPECT_EQ(9, enemy.leader);
    EXPECT_EQ(0, enemy.ticks);
    EXPECT_EQ(0, enemy.stepFraction);
    EXPECT_EQ(0, enemy.GetBehaviour());
    EXPECT_EQ(255, enemy.GetTicksSinceHit());
    ASSERT_NE(nullptr, enemy.GetTrail()); // a Drifter trails six points
    EXPECT_EQ(6, enemy.GetTrail()->GetCapacity());
    EXPECT_EQ(enemy.position, enemy.GetTrail()->GetPoint(0));

    // Re-initialising as a kind without a trail releases it.
    enemy.Init(Facing(0, Vector2(0.0f, 100.0f)), random);
    EXPECT_EQ(nullptr, enemy.GetTrail());
    EXPECT_EQ(10, enemy.health);
}

TEST(EnemyTest, SpeedSetsTheStepsAndTheSpeedFactor)
{
    Vexel::Random random(2, 5);
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;

    Enemy full; // speed 0 stands for a whole step every tick
    full.Init(Facing(0, Vector2(0.0f, 200.0f), 0), random);
    Enemy half;
    half.Init(Facing(0, Vector2(0.0f, 200.0f), 128), random);
    for (int tick = 1; tick <= 6; ++tick)
    {
        full.Update(requests, nullptr, 0, 0, particles, false, random);
        half.Update(requests, nullptr, 0, 1, particles, false, random);
        EXPECT_EQ(tick, full.ticks);
        EXPECT_EQ(tick / 2, half.ticks);
        EXPECT_EQ(tick % 2 ? 128 : 0, half.stepFraction);
    }
    // A Peon drifts in at 0.92 per step: half of that per tick at speed 128.
    EXPECT_NEAR(200.0f - 6 * 0.92f, full.distance, 1e-3f);
    EXPECT_NEAR(200.0f - 3 * 0.92f, half.distance, 1e-3f);
    // Straight in, facing the planet.
    EXPECT_NEAR(0.0f, full.position.x, 1e-4f);
    EXPECT_NEAR(full.angle + kPi, full.rotation, 1e-6f);
    EXPECT_TRUE(requests.empty());
}

TEST(EnemyTest, TicksSinceHitCountsAndSaturates)
{
    Vexel::Random random(2, 5);
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;
    Enemy enemy;
    enemy.Init(Facing(10, Vector2(0.0f, 900.0f)), random);
    enemy.Update(requests, nullptr, 0, 0, particles, true, random);
    EXPECT_EQ(0, enemy.GetTicksSinceHit());
    for (int i = 1; i <= 300; ++i)
    {
        enemy.Update(requests, nullptr, 0, 0, particles, false, random);
        EXPECT_EQ(i < 255 ? i : 255, enemy.GetTicksSinceHit());
    }
}

TEST(EnemyTest, HitTestUsesTheRotatedEllipse)
{
    Vexel::Random random(2, 5);
    Enemy blocker; // 64 x 16 at 0.47: half extents 30.08 x 7.52
    blocker.Init(SpawnRequest(Vector2(100.0f, 100.0f), 0.0f, 10, 0, 255), random);
    EXPECT_TRUE(blocker.HitTest(Vector2(100.0f, 100.0f)));
    EXPECT_TRUE(blocker.HitTest(Vector2(130.0f, 100.0f)));
    EXPECT_FALSE(blocker.HitTest(Vector2(130.2f, 100.0f)));
    EXPECT_TRUE(blocker.HitTest(Vector2(100.0f, 107.5f)));
    EXPECT_FALSE(blocker.HitTest(Vector2(100.0f, 107.6f)));
    EXPECT_FALSE(blocker.HitTest(Vector2(125.0f, 106.0f))); // inside the box, outside the ellipse

    blocker.rotation = kPi / 2.0f; // long axis now along y
    EXPECT_TRUE(blocker.HitTest(Vector2(100.0f, 130.0f)));
    EXPECT_FALSE(blocker.HitTest(Vector2(130.0f, 100.0f)));

    Enemy bomb; // no extent: never hit, not even at its own position
    bomb.Init(SpawnRequest(Vector2(0.0f, 0.0f), 0.0f, 15, 0, 255), random);
    EXPECT_FALSE(bomb.HitTest(Vector2(0.0f, 0.0f)));
    EXPECT_FALSE(bomb.HitTest(Vector2(0.1f, 0.0f)));
    EXPECT_TRUE(bomb.HasLanded());
}

TEST(EnemyTest, LandsBelowFortyPlusTheInset)
{
    Vexel::Random random(2, 5);
    Enemy peon; // landing inset 5.88
    peon.Init(Facing(0, Vector2(0.0f, 45.87f)), random);
    EXPECT_TRUE(peon.HasLanded());
    peon.Init(Facing(0, Vector2(0.0f, 45.89f)), random);
    EXPECT_FALSE(peon.HasLanded());
}

TEST(EnemyTest, KillExplodesReleasesAndLetsAHiveBreed)
{
    Vexel::Random random(2, 5);
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;

    Enemy streamer;
    streamer.Init(Facing(3, Vector2(0.0f, 300.0f)), random);
    ASSERT_NE(nullptr, streamer.GetTrail());
    streamer.Kill(particles, requests, random);
    EXPECT_EQ(0, streamer.health);
    EXPECT_EQ(nullptr, streamer.GetTrail());
    EXPECT_TRUE(requests.empty());
    EXPECT_GT(particles.GetSpriteCount(), 0);

    // A hive's counter rises every 13 whole steps; each unit becomes a
    // Streamer on death, 18 to 36 from the hive, with no leader.
    Enemy hive;
    hive.Init(Facing(16, Vector2(0.0f, 500.0f), 0, 255), random);
    for (int i = 0; i < 40; ++i)
        hive.Update(requests, nullptr, 0, 0, particles, false, random);
    EXPECT_EQ(3, hive.movement[Enemy::kHiveCounterByte]);
    hive.Kill(particles, requests, random);
    ASSERT_EQ(3u, requests.size());
    for (SpawnRequest const& r : requests)
    {
        EXPECT_EQ(3, r.kind);
        EXPECT_EQ(SpawnRequest::kNoLeader, r.leader);
        const float reach = (r.position - hive.position).Length();
        EXPECT_GE(reach, 18.0f - 1e-3f);
        EXPECT_LE(reach, 36.0f + 1e-3f);
    }
}

TEST(EnemyTest, MovesCarryTheTrail)
{
    Vexel::Random random(2, 5);
    Enemy a;
    a.Init(Facing(5, Vector2(0.0f, 300.0f)), random);
    PositionTrail* trail = a.GetTrail();
    Enemy b;
    b = std::move(a);
    EXPECT_EQ(trail, b.GetTrail());
    EXPECT_EQ(nullptr, a.GetTrail());
    Enemy c(std::move(b));
    EXPECT_EQ(trail, c.GetTrail());
}

// Every kind, after a stretch of play, saves and loads back to the same
// bytes (trail history included).
TEST(EnemyTest, SaveLoadRoundTripForEveryKind)
{
    Vexel::Random random(2, 42);
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;
    for (int kind = 0; kind < EnemyType::kCount; ++kind)
    {
        Enemy enemy;
        enemy.Init(Facing(kind, Vector2(-120.0f, 700.0f), 96), random);
        for (int i = 0; i < 37; ++i)
            enemy.Update(requests, nullptr, 0, 3, particles, i % 7 == 0, random);
        const std::string bytes = Saved(enemy);
        const EnemyType& type = enemy.GetType();
        EXPECT_EQ(size_t(28 + 16 + 1 + (type.trailLength ? 4 + 8 * type.trailLength + 24 : 0)), bytes.size());

        Enemy loaded;
        ASSERT_TRUE(LoadFrom(loaded, bytes)) << kind;
        EXPECT_EQ(bytes, Saved(loaded)) << kind;
        EXPECT_EQ(enemy.GetTrail() != nullptr, loaded.GetTrail() != nullptr);
    }
}

TEST(EnemyTest, LoadRefusesRecordsThatCouldNotHaveBeenSaved)
{
    Vexel::Random random(2, 42);
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;
    Enemy drifter; // kind 1 trails 6 points: trail flag at 44, capacity at 45
    drifter.Init(Facing(1, Vector2(0.0f, 400.0f)), random);
    Enemy carrier; // behaviour 6: launched kind at 30, period at 32, speed at 36
    carrier.Init(Facing(9, Vector2(0.0f, 400.0f)), random);
    for (int i = 0; i < 20; ++i)
    {
        drifter.Update(requests, nullptr, 0, 0, particles, false, random);
        carrier.Update(requests, nullptr, 0, 0, particles, false, random);
    }
    const std::string trailing = Saved(drifter);
    const std::string launching = Saved(carrier);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    struct Patch
    {
        const char* what;
        std::string const* record;
        size_t offset;
        std::vector<uint8_t> bytes;
    };
    auto floatBytes = [](float v)
    {
        std::vector<uint8_t> b(4);
        std::memcpy(b.data(), &v, 4);
        return b;
    };
    auto intBytes = [](int32_t v)
    {
        std::vector<uint8_t> b(4);
        std::memcpy(b.data(), &v, 4);
        return b;
    };
    const Patch patches[] = {
        {"kind 55", &trailing, 25, {55}},
        {"kind 255", &trailing, 25, {255}},
        {"behaviour 19", &trailing, 28, {19}},
        {"angle NaN", &trailing, 0, floatBytes(nan)},
        {"distance infinite", &trailing, 4, floatBytes(inf)},
        {"position x NaN", &trailing, 8, floatBytes(nan)},
        {"position y infinite", &trailing, 12, floatBytes(-inf)},
        {"rotation NaN", &trailing, 16, floatBytes(nan)},
        {"drift speed NaN", &trailing, 32, floatBytes(nan)},
        {"trail of another length", &trailing, 45, intBytes(12)},
        {"trail count 0", &trailing, 45 + 4 + 48, intBytes(0)},
        {"trail count 7", &trailing, 45 + 4 + 48, intBytes(7)},
        {"trail newest outside", &trailing, 45 + 4 + 48 + 8, intBytes(6)},
        {"trail flag on a kind without one", &launching, 44, {1}},
        {"launched kind 60", &launching, 30, {60}},
        {"zero period", &launching, 32, {0}},
        {"carrier speed infinite", &launching, 36, floatBytes(inf)},
    };
    for (Patch const& p : patches)
    {
        std::string bytes = *p.record;
        ASSERT_LE(p.offset + p.bytes.size(), bytes.size()) << p.what;
        std::memcpy(&bytes[p.offset], p.bytes.data(), p.bytes.size());
        Enemy enemy;
        enemy.Init(Facing(5, Vector2(0.0f, 300.0f)), random);
        EXPECT_FALSE(LoadFrom(enemy, bytes)) << p.what;
        EXPECT_EQ(0, enemy.health) << p.what;
        EXPECT_EQ(nullptr, enemy.GetTrail()) << p.what;
    }

    // Cut anywhere, a record is refused (the trail flag byte included).
    for (std::string const* record : {&trailing, &launching})
    {
        for (size_t length = 0; length < record->size(); ++length)
        {
            Enemy enemy;
            EXPECT_FALSE(LoadFrom(enemy, record->substr(0, length))) << length;
        }
        Enemy whole;
        EXPECT_TRUE(LoadFrom(whole, *record));
    }

    // No trail on a kind that has one loads as an enemy without a trail.
    std::string noTrail = trailing.substr(0, 45);
    noTrail[44] = 0;
    Enemy bare;
    EXPECT_TRUE(LoadFrom(bare, noTrail));
    EXPECT_EQ(nullptr, bare.GetTrail());
}

} // namespace
