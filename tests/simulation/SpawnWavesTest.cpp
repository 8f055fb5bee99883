#include "engine/core/Random.h"
#include "game/simulation/Packing.h"
#include "game/simulation/SpawnWaves.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

const int kMT19937 = 2;

std::string Hex(const SpawnRecord& record)
{
    uint8_t bytes[SpawnRecord::kBytes];
    record.ToBytes(bytes);
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : bytes)
    {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

SpawnList Level(int level, float factor = 1.0f)
{
    SpawnList list;
    AppendWave(list, level, nullptr, false, factor);
    return list;
}

// Rotation kind of every designed level, in level order.
const int kRotationKinds[64] = {
    0, 0, 0, 0, 0, 2, 4, 2, 4, 2, 2, 2, 2, 2, 2, 2, 3, 3, 2, 3, 2, 4, 2, 2, 2, 3, 3, 2, 4, 4, 3, 2,
    4, 4, 4, 3, 2, 2, 2, 4, 2, 2, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 2, 4, 2, 4, 4, 4, 4, 4,
};

TEST(SpawnWavesTest, SpeedByteTruncatesScaleTimesFactor)
{
    struct Case
    {
        float scale;
        float factor;
        int expected;
    };
    const Case cases[] = {
        {1.0f, 1.0f, 128}, {0.58f, 1.0f, 75},   {0.55f, 1.0f, 71}, {0.65f, 1.0f, 84}, {1.0f, 1.07f, 137},
        {2.0f, 1.0f, 255}, {1.986f, 1.0f, 255}, {0.0f, 1.0f, 1},   {-3.0f, 1.0f, 1},  {1.0f, 1e30f, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, WaveSpeedByte(c.scale, c.factor)) << c.scale << " x " << c.factor;
}

TEST(SpawnWavesTest, RotationKindsGiveTheirTurns)
{
    EXPECT_EQ(0, PickWaveRotation(0, nullptr));
    EXPECT_EQ(128, PickWaveRotation(1, nullptr));
    EXPECT_EQ(0, PickWaveRotation(5, nullptr));
    EXPECT_EQ(0, PickWaveRotation(-1, nullptr));

    std::set<int> seen[5];
    for (unsigned seed = 1; seed <= 200; ++seed)
    {
        for (int kind = 0; kind <= 4; ++kind)
        {
            Vexel::Random random(kMT19937, seed);
            seen[kind].insert(PickWaveRotation(kind, &random));
        }
    }
    EXPECT_EQ(std::set<int>({0}), seen[0]);
    EXPECT_EQ(std::set<int>({128}), seen[1]);
    EXPECT_EQ(std::set<int>({0, 128}), seen[2]);
    EXPECT_EQ(std::set<int>({0, 64, 128, 192}), seen[3]);
    EXPECT_GT(seen[4].size(), 100u);

    // Kind 3 is one draw of 0..127 in quarters.
    for (unsigned seed = 1; seed <= 20; ++seed)
    {
        Vexel::Random a(kMT19937, seed), b(kMT19937, seed);
        EXPECT_EQ((a.Next(0, 127) / 32) * 64, PickWaveRotation(3, &b));
        EXPECT_EQ(a.NextUInt32(), b.NextUInt32()) << "one draw only";
    }
}

TEST(SpawnWavesTest, LevelZeroIsFortyPeonsAtFullSpeed)
{
    SpawnList list = Level(0);
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ("FF45FF45EE2300008006280000000000", Hex(list[0]));
    EXPECT_EQ(75, Level(63)[0].speed);
    EXPECT_EQ(5u, Level(63).size());
}

TEST(SpawnWavesTest, NewWaveWaitsForTheGroupsAlreadyInTheList)
{
    // Two groups that end at tick 200 and a spent record between them.
    SpawnList list = {SpawnRecord(0, 0.0f, 100.0f, 0, 10, 20), SpawnRecord(0, 0.0f, 100.0f, 0, 0, 0),
                      SpawnRecord(50, 0.0f, 100.0f, 0, 30, 5)};
    AppendWave(list, 1, nullptr, false, 1.0f);
    ASSERT_EQ(4u, list.size());
    EXPECT_EQ(0, list[0].delay);
    EXPECT_EQ(0, list[1].delay);
    EXPECT_EQ(50, list[1].startTick);
    // Only the first new record carries the offset.
    EXPECT_EQ(200, list[2].delay);
    EXPECT_EQ(60, list[3].delay);
    // Old records keep their speed; the new wave gets its own.
    EXPECT_EQ(0, list[0].speed);
    EXPECT_EQ(128, list[2].speed);
    EXPECT_EQ(128, list[3].speed);
}

TEST(SpawnWavesTest, AnIndexOutsideTheLevelsOnlyExpands)
{
    for (int level : {-1, 64, 1000})
    {
        SpawnList list = {SpawnRecord(0, 0.0f, 100.0f, 0, 0, 0), SpawnRecord(9, 0.0f, 100.0f, 0, 2, 0)};
        Vexel::Random random(kMT19937, 5);
        AppendWave(list, level, &random, true, 1.0f);
        ASSERT_EQ(1u, list.size()) << level;
        EXPECT_EQ(9, list[0].startTick);
        EXPECT_EQ(0, list[0].speed);
    }
}

TEST(SpawnWavesTest, RotationTurnsEveryNewRecordByOneDraw)
{
    std::set<int> turns[64];
    for (int level = 0; level < 64; ++level)
    {
        SpawnList plain = Level(level);
        for (unsigned seed = 1; seed <= 24; ++seed)
        {
            Vexel::Random random(kMT19937, seed), expected(kMT19937, seed);
            SpawnList turned;
            AppendWave(turned, level, &random, true, 1.0f);
            uint8_t turn = PickWaveRotation(kRotationKinds[level], &expected);
            ASSERT_EQ(plain.size(), turned.size());
            for (size_t i = 0; i < plain.size(); ++i)
            {
                EXPECT_EQ(uint8_t(plain[i].angleStart + turn), turned[i].angleStart) << level << "/" << i;
                EXPECT_EQ(plain[i].angleWidth, turned[i].angleWidth);
            }
            turns[level].insert(turn);
            // Exactly the rotation's draws were taken, rotated or not.
            Vexel::Random unrotated(kMT19937, seed);
            SpawnList ignored;
            AppendWave(ignored, level, &unrotated, false, 1.0f);
            uint32_t next = expected.NextUInt32();
            EXPECT_EQ(next, random.NextUInt32()) << level;
            EXPECT_EQ(next, unrotated.NextUInt32()) << level;
        }
    }
    for (int level = 0; level < 64; ++level)
    {
        switch (kRotationKinds[level])
        {
        case 0:
            EXPECT_EQ(std::set<int>({0}), turns[level]) << level;
            break;
        case 2:
            EXPECT_EQ(std::set<int>({0, 128}), turns[level]) << level;
            break;
        case 3:
            EXPECT_LE(turns[level].size(), 4u) << level;
            for (int t : turns[level])
                EXPECT_EQ(0, t % 64) << level;
            break;
        case 4:
            EXPECT_GT(turns[level].size(), 12u) << level;
            break;
        }
    }
    // A packed angle wraps: 200 turned by half a turn is 72.
    SpawnList list;
    list.push_back(SpawnRecord(0, 0.0f, 100.0f, 0));
    list[0].angleStart = 200;
    EXPECT_EQ(72, uint8_t(list[0].angleStart + 128));
}

TEST(SpawnWavesTest, LoopsComputeEachStepInSinglePrecision)
{
    // Level 43: fourteen Blockers two ticks apart, Carriers, then Hulk pairs
    // at +-1.85k: +180, +1, then (+4, +1) twenty-one times.
    SpawnList level43 = Level(43);
    ASSERT_EQ(59u, level43.size());
    for (int i = 0; i < 14; ++i)
    {
        EXPECT_EQ(2, level43[i].delay);
        EXPECT_EQ(10, level43[i].kind);
    }
    EXPECT_EQ(PackDegrees(48.0f), level43[0].angleStart);
    EXPECT_EQ(PackDegrees(40.0f), level43[1].angleStart);
    EXPECT_EQ(PackDegrees(-24.0f), level43[12].angleStart);
    EXPECT_EQ(PackDegrees(-20.0f), level43[13].angleStart);
    EXPECT_EQ(60, level43[14].delay);
    for (int k = 1; k <= 22; ++k)
    {
        const SpawnRecord& first = level43[15 + 2 * (k - 1)];
        const SpawnRecord& second = level43[16 + 2 * (k - 1)];
        float angle = 1.85f * static_cast<float>(k);
        EXPECT_EQ(k == 1 ? 180 : 4, first.delay) << k;
        EXPECT_EQ(1, second.delay) << k;
        EXPECT_EQ(PackDegrees(angle), first.angleStart) << k;
        EXPECT_EQ(PackDegrees(-angle), second.angleStart) << k;
        EXPECT_EQ(2, first.kind);
        EXPECT_EQ(PackRadius(225.0f), second.radiusMin);
    }

    // Level 59: five columns of three Carriers at 242/264/286, delays 4/3/2.
    // -70.6 packs to 206 in single precision (205 in double).
    SpawnList level59 = Level(59);
    ASSERT_EQ(22u, level59.size());
    const int columnAngles[5][3] = {
        {186, 186, 186}, {192, 192, 192}, {199, 199, 199}, {206, 205, 205}, {212, 212, 212}};
    for (int c = 0; c < 5; ++c)
    {
        for (int j = 0; j < 3; ++j)
        {
            const SpawnRecord& r = level59[4 + 3 * c + j];
            EXPECT_EQ(4 - j, r.delay) << c << "/" << j;
            EXPECT_EQ(PackRadius(242.0f + 22.0f * j), r.radiusMin);
            EXPECT_EQ(columnAngles[c][j], r.angleStart) << c << "/" << j;
            EXPECT_EQ(37, r.kind);
        }
    }

    // Level 56's fan: 28.8 + i x 3.4.
    SpawnList level56 = Level(56);
    ASSERT_EQ(58u, level56.size());
    for (int i = 0; i < 37; ++i)
        EXPECT_EQ(PackDegrees(28.8f + static_cast<float>(i) * 3.4f), level56[i].angleStart) << i;

    // Level 20: ten Predators on the first tick of the wave.
    SpawnList level20 = Level(20);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(0, level20[i].delay);
}

TEST(SpawnWavesTest, TutorialWavesAreStepsTenAndTwenty)
{
    SpawnList ten;
    AppendTutorialWave(ten, 10);
    ASSERT_EQ(5u, ten.size());
    for (const SpawnRecord& r : ten)
    {
        EXPECT_EQ(52, r.kind);
        EXPECT_EQ(71, r.speed);
    }
    SpawnList twenty;
    AppendTutorialWave(twenty, 20);
    ASSERT_EQ(7u, twenty.size());
    EXPECT_EQ(82, twenty[6].count);
    EXPECT_EQ(128, twenty[6].speed);

    // Any other step leaves the list untouched, spent records and all.
    for (int step : {-1, 0, 3, 11, 19, 21})
    {
        SpawnList list = {SpawnRecord(0, 0.0f, 100.0f, 0, 0, 0), SpawnRecord(6, 0.0f, 100.0f, 0, 2, 0)};
        AppendTutorialWave(list, step);
        ASSERT_EQ(2u, list.size()) << step;
        EXPECT_EQ(6, list[1].delay) << step;
    }

    // Behind the first wave, the second starts when the first has ended:
    // 0 + 10 + 25 + 20 + 20 = 75, plus one tick for the last target.
    AppendTutorialWave(ten, 20);
    ASSERT_EQ(12u, ten.size());
    EXPECT_EQ(5 + 76, ten[5].delay);
}

// Every designed level and both tutorial waves, byte for byte.
TEST(SpawnWavesTest, EveryWaveMatchesItsGoldenRecords)
{
    std::ifstream file(COBALT_SIMULATION_GOLDEN_DIR "/spawn_waves.txt");
    ASSERT_TRUE(file.is_open());
    std::string line;
    int waves = 0;
    std::set<int> levels;
    while (std::getline(file, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream header(line);
        std::string what, recordsWord;
        int index = -1;
        size_t count = 0;
        header >> what >> index >> recordsWord >> count;
        ASSERT_TRUE(header && recordsWord == "records") << line;
        SpawnList list;
        if (what == "level")
        {
            list = Level(index);
            levels.insert(index);
        }
        else
        {
            ASSERT_EQ("tutorial", what) << line;
            AppendTutorialWave(list, index);
        }
        ++waves;
        ASSERT_EQ(count, list.size()) << line;
        for (size_t i = 0; i < count; ++i)
        {
            std::string expected;
            ASSERT_TRUE(std::getline(file, expected));
            EXPECT_EQ(expected, Hex(list[i])) << line << ", record " << i;
        }
    }
    EXPECT_EQ(66, waves);
    EXPECT_EQ(64u, levels.size());
}

} // namespace
