#include "game/simulation/WaveList.h"

#include "engine/core/Random.h"
#include "game/simulation/DesignedLevels.h"
#include "game/simulation/GameMode.h"
#include "game/simulation/SpawnWaves.h"

#include <algorithm>

namespace
{

const uint8_t kPeon = 0;
const uint8_t kExpendable = 25;

// How many of the latest levels a random pick avoids.
const size_t kRecentLevels = 8;

bool IsDesignedLevel(int level)
{
    return level >= 0 && level < kDesignedLevelCount;
}

// The drifting single enemy of the world behind the menus. Spent records are
// inert, so they are dropped here: otherwise the menu world, which never
// expands its list, would keep one more record for every wave it ever ran.
void AppendMenuWave(SpawnList& spawnList, Vexel::Random& random)
{
    spawnList.erase(std::remove_if(spawnList.begin(), spawnList.end(),
                                   [](const SpawnRecord& r) { return r.count == 0 && r.delay == 0; }),
                    spawnList.end());
    int delay = random.Next(70, 150);
    float angle = random.NextFloat(0.0f, 360.0f);
    float distance = random.NextFloat(34.0f, 40.0f);
    uint8_t kind = random.Next(0, 100) <= 49 ? kPeon : kExpendable;
    spawnList.push_back(SpawnRecord(static_cast<uint16_t>(delay), angle, distance, kind));
}

// The endless modes' level for wave w: near the wave number, widened and
// shifted by chance, never one of the last few played.
int PickEndlessLevel(const WaveList& waveList, int w, Vexel::Random& random)
{
    size_t recentFrom = waveList.size() > kRecentLevels ? waveList.size() - kRecentLevels : 0;
    auto isRecent = [&](int v)
    { return std::find(waveList.begin() + recentFrom, waveList.end(), v) != waveList.end(); };

    // 64-bit: wave numbers come from saved games and may be anything.
    int64_t lo = int64_t(w) - 5 + random.Next(0, 5);
    int64_t hi = int64_t(w) + 2 + random.Next(0, 5);
    if (w >= 5 && w <= 15 && random.Next(0, 100) <= 49)
    {
        lo += 16;
        hi += 16;
    }
    int r = random.Next(0, 100);
    if (r < 12)
    {
        lo -= 20;
        hi -= 10;
    }
    else if (w >= 21 && random.Next(0, 100) <= 7)
    {
        lo += 15;
        hi += 10;
    }
    lo = lo >= 28 ? 27 : std::max<int64_t>(lo, 0);
    hi = hi > 64 ? 64 : std::max<int64_t>(hi, 5);

    int64_t span = random.Next(7, 12);
    if (w >= 11 && random.Next(0, 100) <= 19)
        span += random.Next(10, 40);
    if (w >= 13 && random.Next(0, 100) <= 11)
        span += random.Next(-12, 12);
    span = std::max<int64_t>(span, 8);

    if (hi - lo < span)
    {
        lo = hi - span;
        if (lo < 0)
        {
            hi -= lo;
            lo = 0;
            hi = std::min<int64_t>(hi, 64);
        }
    }

    // The smallest random key wins; an equal key drawn later takes the place.
    bool found = false;
    uint32_t bestKey = 0;
    int best = 0;
    for (int64_t v = lo; v <= hi; ++v)
    {
        if (!IsDesignedLevel(static_cast<int>(v)) || isRecent(static_cast<int>(v)))
            continue;
        uint32_t key = random.NextUInt32();
        if (!found || key <= bestKey)
        {
            found = true;
            bestKey = key;
            best = static_cast<int>(v);
        }
    }
    if (!found)
        best = random.Next(1, 63);
    return best;
}

} // namespace

void AddDesignedWave(SpawnList& spawnList, WaveList& waveList, Vexel::Random* random, int level, bool rotate,
                     float difficultyFactor)
{
    AppendWave(spawnList, level, random, rotate, difficultyFactor);
    waveList.push_back(level);
}

void BuildWaveList(SpawnList& spawnList, int mode, int waveNumber, int tutorialStep, Vexel::Random* random,
                   WaveList& waveList, int levelIndex)
{
    if (waveList.empty() && IsDesignedLevel(levelIndex))
        mode = GameMode::Level;
    else
        levelIndex = kNoDesignedLevel;

    float factor = 1.0f + static_cast<float>(waveNumber) * 0.0007f;

    switch (mode)
    {
    case GameMode::None:
        if (random != nullptr)
            AppendMenuWave(spawnList, *random);
        break;
    case GameMode::Classic:
    case GameMode::Quickstart:
    {
        int w = mode == GameMode::Quickstart ? std::max(waveNumber, 4) : waveNumber;
        if (w >= 1 && w <= 3)
            AddDesignedWave(spawnList, waveList, random, w - 1, true, factor);
        else if (random != nullptr)
        {
            // The pick's draws come before the rotation's.
            int level = PickEndlessLevel(waveList, w, *random);
            AddDesignedWave(spawnList, waveList, random, level, true, factor);
        }
        break;
    }
    case GameMode::Level:
    case GameMode::Practice:
    {
        int level = levelIndex;
        if (!IsDesignedLevel(level))
            level = waveList.empty() ? 0 : waveList.back();
        AddDesignedWave(spawnList, waveList, random, level, true, 1.0f);
        break;
    }
    case GameMode::GauntletStage:
    case GameMode::FullGauntlet:
    {
        int level = 0;
        if (!waveList.empty())
        {
            int last = waveList.back();
            // After 63 (or anything not a level) the gauntlet starts over.
            level = last >= 0 && last < kDesignedLevelCount - 1 ? last + 1 : 0;
        }
        AddDesignedWave(spawnList, waveList, random, level, true, 1.0f);
        break;
    }
    case GameMode::Tutorial:
        AppendTutorialWave(spawnList, tutorialStep);
        break;
    default:
        break;
    }
}

int32_t WavesForMode(int mode)
{
    switch (mode)
    {
    case GameMode::Level:
        return 1;
    case GameMode::GauntletStage:
        return 8;
    case GameMode::FullGauntlet:
        return 64;
    default:
        return -1;
    }
}

bool IsWaveListComplete(int mode, int /*waveNumber*/, const WaveList& waveList)
{
    int32_t waves = WavesForMode(mode);
    if (waves < 0)
        return false;
    return waveList.size() >= static_cast<size_t>(waves);
}
