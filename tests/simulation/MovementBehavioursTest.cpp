#include "engine/core/Random.h"
#include "engine/core/VectorMath.h"
#include "game/simulation/Enemy.h"
#include "game/simulation/MovementBehaviours.h"
#include "game/simulation/Packing.h"
#include "game/simulation/ParticleSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <vector>

namespace
{

using Vexel::kPi;

// One enemy on its own, updated tick by tick; the requests of each tick are
// kept apart.
struct Bench
{
    Vexel::Random random;
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;
    Enemy enemy;
    int ownIndex;

    explicit Bench(int kind, Vector2 position = Vector2(0.0f, 400.0f), uint8_t speed = 0,
                   uint8_t leader = SpawnRequest::kNoLeader, uint32_t param0 = 0, uint32_t param1 = 0)
        : random(2, 2024), ownIndex(5)
    {
        enemy.Init(
            SpawnRequest(position, position.Angle() + kPi, uint8_t(kind), speed, leader, param0, param1),
            random);
    }

    // The requests made by this one update.
    std::vector<SpawnRequest> Tick(bool hit = false)
    {
        requests.clear();
        enemy.Update(requests, nullptr, 0, ownIndex, particles, hit, random);
        return requests;
    }

    // Runs updates until one makes requests; returns its 1-based number (0
    // when none did within the limit).
    int TicksUntilLaunch(int limit, std::vector<SpawnRequest>* made = nullptr)
    {
        for (int tick = 1; tick <= limit; ++tick)
        {
            std::vector<SpawnRequest> r = Tick();
            if (!r.empty())
            {
                if (made)
                    *made = r;
                return tick;
            }
        }
        return 0;
    }
};

// Directions are compared through their unit vectors: whole turns apart are
// the same heading.
void ExpectSameHeading(float expected, float actual, const char* what)
{
    EXPECT_NEAR(sinf(expected), sinf(actual), 1e-4f) << what;
    EXPECT_NEAR(cosf(expected), cosf(actual), 1e-4f) << what;
}

TEST(MovementBehavioursTest, EveryKindHasItsBehaviour)
{
    const int expected[EnemyType::kCount] = {
        0, 0, 0, 2, 0, 3, 3, 3, 5, 6, 0,  7, 8, 8,  10, 0,  12, 16, 16, 16, 16, 17, 17, 17, 17, 1, 1, 1,
        1, 2, 4, 4, 4, 5, 4, 4, 4, 6, 13, 9, 9, 11, 14, 15, 17, 17, 18, 18, 17, 17, 16, 16, 12, 0, 0};
    for (int kind = 0; kind < EnemyType::kCount; ++kind)
    {
        EXPECT_EQ(expected[kind], GetKindBehaviour(kind)) << kind;
        Bench bench(kind);
        EXPECT_EQ(expected[kind], bench.enemy.GetBehaviour()) << kind;
        EXPECT_TRUE(IsMovementValid(bench.enemy.movement)) << kind;
    }
}

// Only the kinds with a random side or mirroring draw, and each draws once:
// anything else would shift the game's whole sequence.
TEST(MovementBehavioursTest, InitDrawsOnlyForRandomKinds)
{
    for (int kind = 0; kind < EnemyType::kCount; ++kind)
    {
        const bool draws =
            kind == 1 || kind == 7 || kind == 25 || kind == 26 || kind == 27 || kind == 32 || kind == 36;
        Vexel::Random used(2, 321);
        Vexel::Random reference(2, 321);
        Enemy enemy;
        enemy.Init(SpawnRequest(Vector2(10.0f, 300.0f), 0.5f, uint8_t(kind), 0, 255), used);
        if (draws)
            reference.NextUInt32();
        EXPECT_EQ(reference.NextUInt32(), used.NextUInt32()) << kind;
    }
}

TEST(MovementBehavioursTest, DriftFacesItsPathAndWanderersCrawlThenMove)
{
    Bench peon(0, Vector2(80.0f, -60.0f));
    peon.Tick();
    EXPECT_NEAR(100.0f - 0.92f, peon.enemy.distance, 1e-4f);
    ExpectSameHeading(peon.enemy.angle + kPi, peon.enemy.rotation, "faces the planet");
    EXPECT_NEAR(0.8f, peon.enemy.position.x / peon.enemy.distance, 1e-5f);

    // "Proven": 9 steps crawling at 0.18, then 14 moving at 0.84 (packed).
    Bench proven(28, Vector2(0.0f, 500.0f));
    const float crawl = UnpackFraction(PackFraction(0.18f, 10.2f), 10.2f);
    const float move = UnpackFraction(PackFraction(0.84f, 10.2f), 10.2f);
    for (int tick = 0; tick < 23; ++tick)
    {
        const float before = proven.enemy.distance;
        proven.Tick();
        EXPECT_NEAR(tick < 9 ? crawl : move, before - proven.enemy.distance, 1e-4f) << tick;
    }
}

TEST(MovementBehavioursTest, HomingTurnsTowardThePlanet)
{
    // Facing nearly away from the planet (which lies at heading pi from
    // here), a Streamer turns 0.072 per step the shorter way round.
    Bench streamer(3, Vector2(0.0f, 300.0f));
    streamer.enemy.rotation = 0.3f;
    streamer.Tick();
    EXPECT_NEAR(0.372f, streamer.enemy.rotation, 1e-5f);
    streamer.enemy.rotation = -0.3f; // brought within half a turn of the target first
    streamer.Tick();
    ExpectSameHeading(-0.372f, streamer.enemy.rotation, "turned the other way");
    EXPECT_LT(streamer.enemy.rotation, 3.1415927f * 2.0f);
    for (int i = 0; i < 100; ++i)
        streamer.Tick();
    ExpectSameHeading(streamer.enemy.position.Angle() + kPi, streamer.enemy.rotation, "homed");
}

TEST(MovementBehavioursTest, SnakeHeadPushesFiveSegmentsOnce)
{
    Bench head(5, Vector2(0.0f, 400.0f), 40);
    head.ownIndex = 17;
    std::vector<SpawnRequest> made = head.Tick();
    ASSERT_EQ(5u, made.size());
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(8, made[i].kind);
        EXPECT_EQ(17, made[i].leader);
        EXPECT_EQ(40, made[i].speed);
        EXPECT_EQ(uint32_t(11 + 9 * i), made[i].param[0]);
        EXPECT_EQ(head.enemy.position, made[i].position);
        EXPECT_EQ(head.enemy.rotation, made[i].angle);
    }
    for (int i = 0; i < 300; ++i)
        EXPECT_TRUE(head.Tick().empty());
}

TEST(MovementBehavioursTest, CyclingDriftLaunchesSegmentsOrShots)
{
    Bench predator(30, Vector2(0.0f, 600.0f));
    predator.ownIndex = 3;
    std::vector<SpawnRequest> made = predator.Tick();
    ASSERT_EQ(6u, made.size());
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(33, made[i].kind);
        EXPECT_EQ(3, made[i].leader);
        EXPECT_EQ(uint32_t(10 + 8 * i), made[i].param[0]);
    }

    // Gunships shoot a Wanderer at the planet at the end of each 27-step
    // cycle.
    Bench gunship(34, Vector2(0.0f, 600.0f));
    EXPECT_EQ(27, gunship.TicksUntilLaunch(100, &made));
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ(26, made[0].kind);
    EXPECT_EQ(SpawnRequest::kNoLeader, made[0].leader);
    EXPECT_EQ(gunship.enemy.position, made[0].position);
    EXPECT_FLOAT_EQ(gunship.enemy.position.Angle() + kPi, made[0].angle);
    EXPECT_EQ(27, gunship.TicksUntilLaunch(100));

    // Mirrored kinds drift the other way round the planet.
    Bench mirrored(30, Vector2(0.0f, 600.0f));
    Bench plain(31, Vector2(0.0f, 600.0f));
    mirrored.Tick();
    plain.Tick();
    EXPECT_LT(mirrored.enemy.angle * plain.enemy.angle, 0.0f);
}

TEST(MovementBehavioursTest, CarriersLaunchOverAQuarterTurn)
{
    Bench carrier(9, Vector2(0.0f, 400.0f), 0);
    std::vector<SpawnRequest> made;
    EXPECT_EQ(25, carrier.TicksUntilLaunch(100, &made));
    ASSERT_EQ(2u, made.size());
    const float r = carrier.enemy.rotation;
    const float headings[2] = {r + kPi - kPi / 4.0f, r + kPi + kPi / 4.0f};
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(3, made[i].kind);
        EXPECT_FLOAT_EQ(headings[i], made[i].angle);
        const Vector2 offset = made[i].position - carrier.enemy.position;
        EXPECT_NEAR(-5.0f * sinf(headings[i]), offset.x, 1e-4f);
        EXPECT_NEAR(5.0f * cosf(headings[i]), offset.y, 1e-4f);
    }
    EXPECT_EQ(25, carrier.TicksUntilLaunch(100));

    Bench green(37, Vector2(0.0f, 400.0f), 0);
    EXPECT_EQ(45, green.TicksUntilLaunch(100, &made));
    ASSERT_EQ(4u, made.size());
    for (int i = 1; i < 4; ++i)
        EXPECT_NEAR(kPi / 6.0f, made[i].angle - made[i - 1].angle, 1e-5f);
}

TEST(MovementBehavioursTest, SegmentsFollowTheirLeadersTrail)
{
    Vexel::Random random(2, 7);
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;
    std::vector<Enemy> enemies(2);
    enemies[0].Init(SpawnRequest(Vector2(0.0f, 300.0f), kPi, 5, 0, 255), random);
    const Vector2 start(0.0f, 300.0f);
    enemies[1].Init(SpawnRequest(start, kPi, 8, 0, 0, 11), random);
    Enemy orphan; // no leader array: holds its place
    orphan.Init(SpawnRequest(start, kPi, 8, 0, 0, 11), random);

    for (int tick = 1; tick <= 60; ++tick)
    {
        enemies[0].Update(requests, nullptr, 0, 0, particles, false, random);
        const Vector2 before = enemies[1].position;
        enemies[1].Update(requests, enemies.data(), 1, 1, particles, false, random);
        orphan.Update(requests, nullptr, 0, 1, particles, false, random);
        EXPECT_EQ(start, orphan.position);
        if (tick <= 12) // its age must pass the delay of 11 first
        {
            EXPECT_EQ(before, enemies[1].position) << tick;
            continue;
        }
        const Vector2 expected = enemies[0].GetTrail()->Sample(11.0f);
        EXPECT_EQ(expected, enemies[1].position) << tick;
        EXPECT_FLOAT_EQ(expected.Length(), enemies[1].distance);
        EXPECT_FLOAT_EQ(expected.Angle(), enemies[1].angle);
        if (tick == 13)
        {
            EXPECT_FLOAT_EQ((expected - before).Angle(), enemies[1].rotation);
        }
    }
}

TEST(MovementBehavioursTest, LockdownsReleaseRingsThatFollowTheStarter)
{
    Bench lockdown(39, Vector2(0.0f, 500.0f), 64);
    lockdown.ownIndex = 6;
    std::vector<SpawnRequest> made;
    // Releases once its ticks pass 10 (at speed 64, a step every 4 ticks);
    // Expendables are shot every 7 steps meanwhile.
    int ringsAt = 0;
    for (int tick = 1; tick <= 200 && ringsAt == 0; ++tick)
    {
        for (SpawnRequest const& r : lockdown.Tick())
            if (r.kind == 40)
            {
                ringsAt = tick;
                made.push_back(r);
            }
    }
    EXPECT_EQ(11 * 4 + 1, ringsAt);
    ASSERT_EQ(2u, made.size());
    EXPECT_EQ(6, made[0].leader);
    EXPECT_EQ(1u, made[0].param[0]);
    EXPECT_EQ(2u, made[1].param[0]);
    EXPECT_EQ(1u, made[0].param[1]);
    EXPECT_EQ(64, made[0].speed);

    // A ring of a ring keeps the first lockdown as its leader.
    Bench ring(40, Vector2(0.0f, 500.0f), 0, 9, 1, 1);
    std::vector<SpawnRequest> rings;
    ring.TicksUntilLaunch(100, &rings);
    ASSERT_EQ(1u, rings.size());
    EXPECT_EQ(9, rings[0].leader);
    EXPECT_EQ(1u, rings[0].param[0]);
    EXPECT_EQ(2u, rings[0].param[1]);
}

TEST(MovementBehavioursTest, ARingHalfATurnFromItsLeaderBreaks)
{
    Vexel::Random random(2, 7);
    ParticleSystem particles;
    std::vector<SpawnRequest> requests;
    std::vector<Enemy> leaders(1);
    leaders[0].Init(SpawnRequest(Vector2(0.0f, 300.0f), kPi, 39, 0, 255), random);
    const float angles[2] = {-3.0f, -3.13f};
    const bool survives[2] = {true, false};
    for (int i = 0; i < 2; ++i)
    {
        // Side 1 drifts towards negative angles.
        Enemy ring;
        const Vector2 at(-300.0f * sinf(angles[i]), 300.0f * cosf(angles[i]));
        ring.Init(SpawnRequest(at, 0.0f, 40, 0, 0, 1, 1), random);
        ring.Update(requests, leaders.data(), 1, 1, particles, false, random);
        EXPECT_EQ(survives[i], ring.health > 0) << angles[i];
    }
    // Without its leader it measures against itself and holds.
    Enemy alone;
    alone.Init(SpawnRequest(Vector2(0.0f, -300.0f), 0.0f, 40, 0, 0, 1, 1), random);
    alone.Update(requests, nullptr, 0, 1, particles, false, random);
    EXPECT_GT(alone.health, 0);
}

TEST(MovementBehavioursTest, DrillersStopAndDropABombEveryPeriod)
{
    Bench driller(14, Vector2(0.0f, 200.0f));
    const float stop = EnemyType::Get(14).landingInset + 40.1f;
    std::vector<int> launches;
    for (int tick = 1; tick <= 400; ++tick)
    {
        std::vector<SpawnRequest> made = driller.Tick();
        if (!made.empty())
        {
            ASSERT_EQ(1u, made.size());
            EXPECT_EQ(15, made[0].kind);
            EXPECT_EQ(Vector2(0.0f, 0.0f), made[0].position);
            EXPECT_EQ(0.0f, made[0].angle);
            launches.push_back(tick);
        }
    }
    EXPECT_NEAR(stop, driller.enemy.position.Length(), 1e-3f);
    EXPECT_EQ(stop, driller.enemy.distance);
    ASSERT_EQ(3u, launches.size());
    EXPECT_EQ(120, launches[1] - launches[0]);
    EXPECT_EQ(120, launches[2] - launches[1]);
    // It reaches the stop in tick 24 ((200 - 53.3) / 6.2 = 23.7 steps),
    // which counts as the first of the 120.
    EXPECT_EQ(24 + 119, launches[0]);
}

TEST(MovementBehavioursTest, ConvertersTurnHitsIntoMissiles)
{
    Bench converter(41, Vector2(0.0f, 300.0f));
    for (int i = 0; i < 60; ++i)
        EXPECT_TRUE(converter.Tick().empty());
    const float stop = EnemyType::Get(41).landingInset + 40.1f;
    EXPECT_EQ(stop, converter.enemy.distance);
    EXPECT_TRUE(converter.Tick(true).empty());
    EXPECT_TRUE(converter.Tick(true).empty());
    EXPECT_TRUE(converter.Tick().empty()); // no hit: the timer rests
    const Vector2 before = converter.enemy.position;
    std::vector<SpawnRequest> made = converter.Tick(true);
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ(29, made[0].kind);
    EXPECT_NEAR(before.Length() * 1.58f, made[0].position.Length(), 1e-3f);
    EXPECT_NEAR(converter.enemy.angle, made[0].angle, 0.251f);
}

TEST(MovementBehavioursTest, StarburstsBurstSixAndLeaveAMark)
{
    Bench starburst(38, Vector2(0.0f, 500.0f));
    std::vector<SpawnRequest> made;
    EXPECT_EQ(63, starburst.TicksUntilLaunch(100, &made));
    ASSERT_EQ(6u, made.size());
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(29, made[i].kind);
        EXPECT_NEAR(5.0f, (made[i].position - starburst.enemy.position).Length(), 1e-4f);
        if (i > 0)
        {
            EXPECT_NEAR(kPi / 3.0f, made[i].angle - made[i - 1].angle, 1e-5f);
        }
    }
    EXPECT_EQ(1, starburst.particles.GetMarkCount());
    EXPECT_EQ(0, starburst.enemy.movement[Enemy::kBurstFlagByte]);
}

TEST(MovementBehavioursTest, BeaconsCountDownThenReleaseThirty)
{
    Bench beacon(42, Vector2(0.0f, 300.0f));
    std::vector<SpawnRequest> made;
    // Six stages of 15 steps, then a third of a period more.
    EXPECT_EQ(96, beacon.TicksUntilLaunch(200, &made));
    EXPECT_EQ(0, beacon.enemy.health);
    ASSERT_EQ(30u, made.size());
    const int kinds[5] = {29, 37, 28, 25, 26};
    const int counts[5] = {6, 1, 5, 8, 10};
    const float radii[5] = {40.0f, 8.0f, 15.0f, 25.0f, 35.0f};
    size_t index = 0;
    for (int ring = 0; ring < 5; ++ring)
        for (int j = 0; j < counts[ring]; ++j, ++index)
        {
            EXPECT_EQ(kinds[ring], made[index].kind);
            EXPECT_NEAR(radii[ring], (made[index].position - beacon.enemy.position).Length(), 1e-3f);
            EXPECT_FLOAT_EQ(made[index].position.Angle(), made[index].angle);
        }
}

TEST(MovementBehavioursTest, PillarsCopyThemselvesAndShoot)
{
    Bench pillar(43, Vector2(0.0f, 600.0f));
    std::vector<SpawnRequest> made;
    EXPECT_EQ(46, pillar.TicksUntilLaunch(100, &made));
    ASSERT_EQ(2u, made.size());
    EXPECT_EQ(43, made[0].kind);
    EXPECT_NEAR(pillar.enemy.distance + 20.0f, made[0].position.Length(), 1e-3f);
    EXPECT_EQ(27, made[1].kind);
    EXPECT_EQ(23, pillar.TicksUntilLaunch(100, &made));
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ(27, made[0].kind);
}

TEST(MovementBehavioursTest, BuildersLayBlockersFurtherOut)
{
    Bench builder(11, Vector2(0.0f, 600.0f));
    std::vector<SpawnRequest> made;
    EXPECT_EQ(66, builder.TicksUntilLaunch(100, &made));
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ(10, made[0].kind);
    EXPECT_EQ(builder.enemy.rotation, made[0].angle);
    EXPECT_EQ(75, builder.TicksUntilLaunch(100));
}

TEST(MovementBehavioursTest, SplicersShootThenSplitOnce)
{
    Bench splicer(12, Vector2(0.0f, 600.0f));
    std::vector<SpawnRequest> made;
    EXPECT_EQ(21, splicer.TicksUntilLaunch(100, &made));
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ(2, made[0].kind);

    std::vector<SpawnRequest> children;
    for (int tick = 22; tick <= 200; ++tick)
        for (SpawnRequest const& r : splicer.Tick())
            if (r.kind == 13)
            {
                EXPECT_EQ(72, tick);
                children.push_back(r);
            }
    ASSERT_EQ(2u, children.size());
    EXPECT_EQ(1u, children[0].param[0]);
    EXPECT_EQ(2u, children[1].param[0]);
    EXPECT_EQ(1u, children[0].param[1]);

    // A half splicer of side 1 drifts to negative angles, fires pairs of
    // Streamers and splits into one child of its own side.
    Bench half(13, Vector2(0.0f, 600.0f), 0, 255, 1, 1);
    half.Tick();
    EXPECT_LT(half.enemy.angle, 0.0f);
    int pairs = 0;
    children.clear();
    for (int tick = 2; tick <= 100; ++tick)
    {
        std::vector<SpawnRequest> r = half.Tick();
        if (!r.empty() && r[0].kind == 3)
        {
            ASSERT_EQ(2u, r.size());
            EXPECT_EQ(50 * (pairs + 1), tick);
            ++pairs;
        }
        for (SpawnRequest const& c : r)
            if (c.kind == 13)
                children.push_back(c);
    }
    EXPECT_EQ(2, pairs);
    ASSERT_EQ(1u, children.size());
    EXPECT_EQ(1u, children[0].param[0]);
    EXPECT_EQ(2u, children[0].param[1]);
}

TEST(MovementBehavioursTest, BossPatterns)
{
    // One: volleys of pairs at phases 0, 3, 6 and 9 of a 60-step period.
    Bench chevron(17, Vector2(0.0f, 600.0f));
    std::vector<int> volleyTicks;
    for (int tick = 1; tick <= 70; ++tick)
    {
        std::vector<SpawnRequest> made = chevron.Tick();
        if (made.empty())
            continue;
        volleyTicks.push_back(tick);
        ASSERT_EQ(2u, made.size());
        EXPECT_EQ(3, made[0].kind);
        if (tick == 1)
        {
            // Volley 0: 4 either side, 16 ahead towards the planet.
            const Vector2 p = made[0].position;
            const Vector2 q = made[1].position;
            EXPECT_NEAR(8.0f, (p - q).Length(), 1e-3f);
            EXPECT_NEAR(chevron.enemy.distance - 16.0f, ((p + q) * 0.5f).Length(), 1e-3f);
            ExpectSameHeading(p.Angle() + kPi, made[0].angle, "inward");
        }
    }
    EXPECT_EQ((std::vector<int>{1, 4, 7, 10, 61, 64, 67, 70}), volleyTicks);

    // Two, paired: a Snake on one side, its mirror on the other, at the half
    // period.
    Bench snakeBoss(23, Vector2(0.0f, 600.0f));
    std::vector<SpawnRequest> made;
    EXPECT_EQ(31, snakeBoss.TicksUntilLaunch(100, &made));
    ASSERT_EQ(2u, made.size());
    EXPECT_EQ(5, made[0].kind);
    EXPECT_EQ(6, made[1].kind);
    ExpectSameHeading(made[0].position.Angle() + kPi - kPi / 2.0f, made[0].angle, "turned one way");
    ExpectSameHeading(made[1].position.Angle() + kPi + kPi / 2.0f, made[1].angle, "turned the other");
    EXPECT_NEAR(60.0f, (made[0].position - made[1].position).Length(), 0.01f);

    Bench carrierBoss(21, Vector2(0.0f, 600.0f));
    EXPECT_EQ(33, carrierBoss.TicksUntilLaunch(100, &made));
    ASSERT_EQ(2u, made.size());
    EXPECT_EQ(9, made[0].kind);
    EXPECT_EQ(9, made[1].kind);

    // Three: spins and drifts round, one Starburst per 70 steps.
    Bench starburstBoss(46, Vector2(0.0f, 600.0f));
    EXPECT_EQ(70, starburstBoss.TicksUntilLaunch(100, &made));
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ(38, made[0].kind);
    EXPECT_EQ(starburstBoss.enemy.rotation, made[0].angle);
    EXPECT_GT(starburstBoss.enemy.angle, 0.0f);
}

// Every kind at a few speeds, for a long stretch: positions stay numbers,
// launched kinds stay in the table, the state stays loadable.
TEST(MovementBehavioursTest, EveryKindRunsLongAndStaysSound)
{
    const uint8_t speeds[] = {0, 128, 37};
    for (int kind = 0; kind < EnemyType::kCount; ++kind)
        for (uint8_t speed : speeds)
        {
            Bench bench(kind, Vector2(-250.0f, 900.0f), speed);
            for (int tick = 0; tick < 1500 && bench.enemy.health > 0 && !bench.enemy.HasLanded(); ++tick)
            {
                for (SpawnRequest const& r : bench.Tick(tick % 5 == 0))
                {
                    ASSERT_LT(r.kind, EnemyType::kCount) << kind;
                    ASSERT_TRUE(std::isfinite(r.position.x) && std::isfinite(r.position.y)) << kind;
                    ASSERT_TRUE(std::isfinite(r.angle)) << kind;
                }
                Enemy const& e = bench.enemy;
                ASSERT_TRUE(std::isfinite(e.position.x) && std::isfinite(e.position.y) &&
                            std::isfinite(e.angle) && std::isfinite(e.distance) && std::isfinite(e.rotation))
                    << "kind " << kind << " tick " << tick;
                ASSERT_TRUE(IsMovementValid(e.movement)) << kind;
            }
            std::ostringstream out;
            bench.enemy.Save(out);
            std::istringstream in(out.str());
            Enemy loaded;
            EXPECT_TRUE(loaded.Load(in)) << kind;
        }
}

} // namespace
