#include "engine/core/Random.h"
#include "game/simulation/Packing.h"
#include "game/simulation/SpawnWaves.h"
#include "game/simulation/WaveList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace
{

const int kMT19937 = 2;

// The endless modes' pick, written out step by step with the ordered map of
// random keys, to check the compact one draw for draw.
int ReferencePick(const WaveList& waveList, int w, Vexel::Random& random)
{
    std::set<int> recent;
    for (size_t i = waveList.size() > 8 ? waveList.size() - 8 : 0; i < waveList.size(); ++i)
        recent.insert(waveList[i]);
    int lo = w - 5 + random.Next(0, 5);
    int hi = w + 2 + random.Next(0, 5);
    if (5 <= w && w <= 15)
    {
        if (random.Next(0, 100) <= 49)
        {
            lo += 16;
            hi += 16;
        }
    }
    int r = random.Next(0, 100);
    if (r < 12)
    {
        lo -= 20;
        hi -= 10;
    }
    else if (w >= 21)
    {
        if (random.Next(0, 100) <= 7)
        {
            lo += 15;
            hi += 10;
        }
    }
    lo = lo >= 28 ? 27 : std::max(lo, 0);
    hi = hi > 64 ? 64 : std::max(hi, 5);
    int span = random.Next(7, 12);
    if (w >= 11)
    {
        if (random.Next(0, 100) <= 19)
            span += random.Next(10, 40);
    }
    if (w >= 13)
    {
        if (random.Next(0, 100) <= 11)
            span += random.Next(-12, 12);
    }
    span = std::max(span, 8);
    if (hi - lo < span)
    {
        lo = hi - span;
        if (lo < 0)
        {
            hi -= lo;
            lo = 0;
            hi = std::min(hi, 64);
        }
    }
    std::map<uint32_t, int> candidates;
    for (int v = lo; v <= hi; ++v)
    {
        if (v >= 0 && v <= 63 && recent.count(v) == 0)
            candidates[random.NextUInt32()] = v;
    }
    if (candidates.empty())
        candidates[0] = random.Next(1, 63);
    return candidates.begin()->second;
}

TEST(WaveListTest, WavesPerMode)
{
    const int expected[] = {-1, -1, -1, 1, -1, 8, 64, -1, -1};
    for (int mode = 0; mode <= 8; ++mode)
        EXPECT_EQ(expected[mode], WavesForMode(mode)) << mode;

    WaveList list(7, 0);
    EXPECT_FALSE(IsWaveListComplete(5, 99, list));
    list.push_back(0);
    EXPECT_TRUE(IsWaveListComplete(5, 1, list));
    EXPECT_TRUE(IsWaveListComplete(3, 1, list));
    EXPECT_FALSE(IsWaveListComplete(6, 1, list));
    EXPECT_FALSE(IsWaveListComplete(1, 1000, WaveList(100, 0)));
    EXPECT_FALSE(IsWaveListComplete(3, 1, WaveList()));
}

TEST(WaveListTest, MenuWorldGetsOneDriftingEnemyPerWave)
{
    // Seed 5489: delay 141, the angle packs to 244, distance below 40, Expendable.
    Vexel::Random random(kMT19937, 5489);
    SpawnList spawns;
    WaveList waves;
    BuildWaveList(spawns, 0, 1, 0, &random, waves, kNoDesignedLevel);
    ASSERT_EQ(1u, spawns.size());
    EXPECT_EQ(141, spawns[0].delay);
    EXPECT_EQ(244, spawns[0].angleStart);
    EXPECT_EQ(0, spawns[0].angleWidth);
    EXPECT_EQ(0, spawns[0].radiusMin);
    EXPECT_EQ(0, spawns[0].radiusMax);
    EXPECT_EQ(25, spawns[0].kind);
    EXPECT_EQ(1, spawns[0].count);
    EXPECT_EQ(0, spawns[0].speed);
    EXPECT_TRUE(waves.empty());

    // The draws, in order: delay, angle, distance, kind.
    Vexel::Random again(kMT19937, 5489);
    EXPECT_EQ(141, again.Next(70, 150));
    EXPECT_EQ(244, PackDegrees(again.NextFloat(0.0f, 360.0f)));
    float distance = again.NextFloat(34.0f, 40.0f);
    EXPECT_TRUE(distance >= 34.0f && distance <= 40.0f);
    EXPECT_GT(again.Next(0, 100), 49);

    // No expansion: a live record keeps its delay; a spent one is dropped.
    spawns[0].count = 0;
    spawns[0].delay = 0;
    spawns.push_back(SpawnRecord(30, 0.0f, 40.0f, 0));
    BuildWaveList(spawns, 0, 2, 0, &random, waves, kNoDesignedLevel);
    ASSERT_EQ(2u, spawns.size());
    EXPECT_EQ(30, spawns[0].delay);
    EXPECT_TRUE(spawns[1].delay >= 70 && spawns[1].delay <= 150);
    EXPECT_TRUE(spawns[1].kind == 0 || spawns[1].kind == 25);
}

TEST(WaveListTest, ClassicOpensWithTheFirstThreeLevels)
{
    Vexel::Random random(kMT19937, 77);
    SpawnList spawns;
    WaveList waves;
    for (int wave = 1; wave <= 3; ++wave)
        BuildWaveList(spawns, 1, wave, 0, &random, waves, kNoDesignedLevel);
    EXPECT_EQ(WaveList({0, 1, 2}), waves);

    // Wave 4 on is the random pick, draw for draw after the rotations of
    // waves 1 to 3 (none of which draws: their rotation kind is 0).
    Vexel::Random reference(kMT19937, 77);
    WaveList referenceWaves = waves;
    for (int wave = 4; wave <= 150; ++wave)
    {
        BuildWaveList(spawns, 1, wave, 0, &random, waves, kNoDesignedLevel);
        int level = ReferencePick(referenceWaves, wave, reference);
        SpawnList ignored;
        AppendWave(ignored, level, &reference, true, 1.0f);
        referenceWaves.push_back(level);
        ASSERT_EQ(referenceWaves, waves) << "wave " << wave;
    }
    EXPECT_EQ(random.NextUInt32(), reference.NextUInt32());
}

TEST(WaveListTest, RandomPickMatchesTheStepByStepRuleAndAvoidsRecentLevels)
{
    for (unsigned seed = 1; seed <= 60; ++seed)
    {
        for (int w : {-3, 0, 4, 5, 10, 11, 13, 15, 16, 20, 21, 30, 50, 64, 100, 1000})
        {
            // Recent lists: none, a run of neighbours, and every level in turn.
            std::vector<WaveList> histories = {{}, {w - 1, w, w + 1, w + 2}, {}};
            for (int v = 0; v < 64; ++v)
                histories[2].push_back((v * 37 + w) & 63);
            for (const WaveList& history : histories)
            {
                Vexel::Random random(kMT19937, seed), reference(kMT19937, seed);
                SpawnList spawns;
                WaveList waves = history;
                BuildWaveList(spawns, 1, w, 0, &random, waves, kNoDesignedLevel);
                int expected = ReferencePick(history, w, reference);
                ASSERT_EQ(history.size() + 1, waves.size());
                ASSERT_EQ(expected, waves.back()) << "seed " << seed << " wave " << w;
                EXPECT_TRUE(expected >= 0 && expected <= 63);
                // The range always holds more levels than the last eight, so
                // the pick never repeats one of them.
                size_t from = history.size() > 8 ? history.size() - 8 : 0;
                EXPECT_EQ(history.end(), std::find(history.begin() + from, history.end(), expected));
            }
        }
    }
}

TEST(WaveListTest, QuickstartPicksFromWaveFourWithTheRealFactor)
{
    // Wave 2 picks as wave 4 would, with wave 2's own factor.
    for (unsigned seed = 1; seed <= 10; ++seed)
    {
        Vexel::Random quick(kMT19937, seed), classic(kMT19937, seed);
        SpawnList quickSpawns, classicSpawns;
        WaveList quickWaves, classicWaves;
        BuildWaveList(quickSpawns, 2, 2, 0, &quick, quickWaves, kNoDesignedLevel);
        BuildWaveList(classicSpawns, 1, 4, 0, &classic, classicWaves, kNoDesignedLevel);
        EXPECT_EQ(classicWaves, quickWaves);
    }
    // The factor comes from the wave number as passed: far below wave 4 it slows the wave.
    Vexel::Random random(kMT19937, 3);
    SpawnList spawns;
    WaveList waves;
    BuildWaveList(spawns, 2, -1000, 0, &random, waves, kNoDesignedLevel);
    ASSERT_FALSE(spawns.empty());
    for (const SpawnRecord& r : spawns)
        EXPECT_LT(r.speed, 60);
}

TEST(WaveListTest, EndlessSpeedGrowsWithTheWaveNumber)
{
    int faster = 0;
    for (unsigned seed = 1; seed <= 10; ++seed)
    {
        Vexel::Random random(kMT19937, seed);
        SpawnList spawns;
        WaveList waves;
        BuildWaveList(spawns, 1, 100, 0, &random, waves, kNoDesignedLevel);
        ASSERT_EQ(1u, waves.size());
        SpawnList expected, plain;
        AppendWave(expected, waves[0], nullptr, false, 1.0f + 100.0f * 0.0007f);
        AppendWave(plain, waves[0], nullptr, false, 1.0f);
        ASSERT_EQ(expected.size(), spawns.size());
        for (size_t i = 0; i < spawns.size(); ++i)
            EXPECT_EQ(expected[i].speed, spawns[i].speed);
        faster += spawns[0].speed > plain[0].speed ? 1 : 0;
    }
    EXPECT_EQ(10, faster);
    // Designed-level modes keep the plain speed whatever the wave.
    SpawnList spawns;
    WaveList waves;
    BuildWaveList(spawns, 3, 100, 0, nullptr, waves, 0);
    EXPECT_EQ(128, spawns[0].speed);
}

TEST(WaveListTest, DesignedLevelModesPlayTheirLevels)
{
    Vexel::Random random(kMT19937, 9);

    // Mode 3: the chosen level, then (if asked again) the same one.
    {
        SpawnList spawns;
        WaveList waves;
        BuildWaveList(spawns, 3, 1, 0, &random, waves, 17);
        EXPECT_EQ(WaveList({17}), waves);
        EXPECT_TRUE(IsWaveListComplete(3, 2, waves));
        BuildWaveList(spawns, 3, 2, 0, &random, waves, kNoDesignedLevel);
        EXPECT_EQ(WaveList({17, 17}), waves);
        // With nothing chosen and nothing played, level 0.
        WaveList none;
        BuildWaveList(spawns, 3, 1, 0, &random, none, kNoDesignedLevel);
        EXPECT_EQ(WaveList({0}), none);
    }
    // Mode 4 repeats its level without end.
    {
        SpawnList spawns;
        WaveList waves;
        BuildWaveList(spawns, 4, 1, 0, &random, waves, 42);
        for (int wave = 2; wave <= 5; ++wave)
            BuildWaveList(spawns, 4, wave, 0, &random, waves, kNoDesignedLevel);
        EXPECT_EQ(WaveList(5, 42), waves);
        EXPECT_FALSE(IsWaveListComplete(4, 6, waves));
    }
    // Mode 5 on stage 7: levels 56..63, complete after eight.
    {
        SpawnList spawns;
        WaveList waves;
        BuildWaveList(spawns, 5, 1, 0, &random, waves, 56);
        for (int wave = 2; !IsWaveListComplete(5, wave, waves); ++wave)
            BuildWaveList(spawns, 5, wave, 0, &random, waves, kNoDesignedLevel);
        EXPECT_EQ(WaveList({56, 57, 58, 59, 60, 61, 62, 63}), waves);
    }
    // Mode 6 runs 0..63 and would wrap to 0; a chosen level is only honoured
    // on the first wave.
    {
        SpawnList spawns;
        WaveList waves;
        BuildWaveList(spawns, 6, 1, 0, &random, waves, 0);
        for (int wave = 2; !IsWaveListComplete(6, wave, waves); ++wave)
            BuildWaveList(spawns, 6, wave, 0, &random, waves, kNoDesignedLevel);
        ASSERT_EQ(64u, waves.size());
        for (int i = 0; i < 64; ++i)
            EXPECT_EQ(i, waves[i]);
        BuildWaveList(spawns, 6, 65, 0, &random, waves, 30);
        EXPECT_EQ(0, waves.back());
        // An end marker or junk from a saved game restarts at 0 too.
        waves.push_back(kNoDesignedLevel);
        BuildWaveList(spawns, 6, 66, 0, &random, waves, kNoDesignedLevel);
        EXPECT_EQ(0, waves.back());
        waves.push_back(0x7FFFFFFF);
        BuildWaveList(spawns, 5, 67, 0, &random, waves, kNoDesignedLevel);
        EXPECT_EQ(0, waves.back());
    }
    // A level given with the first wave of an endless mode is played first.
    {
        SpawnList spawns;
        WaveList waves;
        BuildWaveList(spawns, 1, 1, 0, &random, waves, 33);
        EXPECT_EQ(WaveList({33}), waves);
    }
}

TEST(WaveListTest, TutorialAndUnknownModes)
{
    SpawnList spawns;
    WaveList waves;
    BuildWaveList(spawns, 7, 1, 10, nullptr, waves, kNoDesignedLevel);
    EXPECT_EQ(5u, spawns.size());
    BuildWaveList(spawns, 7, 2, 4, nullptr, waves, kNoDesignedLevel);
    EXPECT_EQ(5u, spawns.size());
    EXPECT_TRUE(waves.empty());

    Vexel::Random random(kMT19937, 1);
    SpawnList other;
    BuildWaveList(other, 8, 1, 0, &random, waves, kNoDesignedLevel);
    BuildWaveList(other, -1, 1, 0, &random, waves, kNoDesignedLevel);
    EXPECT_TRUE(other.empty());
    EXPECT_TRUE(waves.empty());
}

} // namespace
