#include "game/simulation/SpawnWaves.h"

#include "engine/core/Random.h"
#include "game/simulation/DesignedLevels.h"

#include <algorithm>

namespace
{

const uint8_t kBasicTarget = 52;
const uint8_t kCannonLargeTarget = 53;
const uint8_t kCannonFodder = 54;

// Delays the first new record until the old groups end, then gives every new
// record the wave's speed and rotation.
void FinishWave(SpawnList& list, size_t first, uint16_t offset, uint8_t speed, uint8_t rotation)
{
    if (list.size() > first)
    {
        // Saturates: a wave may start late, never early.
        uint32_t delay = uint32_t(list[first].delay) + offset;
        list[first].delay = static_cast<uint16_t>(std::min<uint32_t>(delay, 65535));
    }
    for (size_t i = first; i < list.size(); ++i)
    {
        list[i].speed = speed;
        list[i].angleStart = static_cast<uint8_t>(list[i].angleStart + rotation);
    }
}

SpawnRecord Single(int delay, uint8_t kind, float angle, float radius)
{
    return SpawnRecord(static_cast<uint16_t>(delay), angle, radius, kind);
}

SpawnRecord Group(int delay, int count, uint8_t kind, int interval, float angle, float half, float rMin,
                  float rMax)
{
    return SpawnRecord(static_cast<uint16_t>(delay), angle, half * 2.0f, rMin, rMax, kind,
                       static_cast<uint8_t>(count), static_cast<uint8_t>(interval));
}

// The two scripted waves of the tutorial; returns the speed scale, or a
// negative value for a step without a wave.
float AppendTutorialGroups(SpawnList& list, int step)
{
    if (step == 10)
    {
        list.push_back(Single(0, kBasicTarget, 0, 150));
        list.push_back(Single(10, kBasicTarget, 70, 150));
        list.push_back(Single(25, kBasicTarget, -70, 150));
        list.push_back(Single(20, kBasicTarget, 35, 150));
        list.push_back(Single(20, kBasicTarget, -35, 150));
        return 0.55f;
    }
    if (step == 20)
    {
        const float columns[] = {-50, 0, 50};
        for (float c : columns)
        {
            list.push_back(Group(5, 28, kCannonFodder, 1, c, 17.5f, 90, 200));
            list.push_back(Group(3, 14, kCannonLargeTarget, 2, c, 14, 165, 220));
        }
        list.push_back(Group(10, 82, kCannonFodder, 1, 0, 180, 70, 90));
        return 1.0f;
    }
    return -1.0f;
}

} // namespace

uint8_t WaveSpeedByte(float speedScale, float difficultyFactor)
{
    float product = speedScale * 127.9f;
    product = product * difficultyFactor;
    if (product != product)
        return 1;
    // Clamped before the conversion so that no float is cast out of range.
    product = std::max(-1.0f, std::min(product, 1000.0f));
    int speed = static_cast<int>(product) + 1;
    return static_cast<uint8_t>(std::max(1, std::min(speed, 255)));
}

uint8_t PickWaveRotation(int rotationKind, Vexel::Random* random)
{
    switch (rotationKind)
    {
    case 1:
        return 128;
    case 2:
        if (random == nullptr)
            return 0;
        return random->Next(0, 127) > 63 ? 128 : 0;
    case 3:
        if (random == nullptr)
            return 0;
        return static_cast<uint8_t>((random->Next(0, 127) / 32) * 64);
    case 4:
        if (random == nullptr)
            return 0;
        return static_cast<uint8_t>(random->Next(0, 255));
    default:
        return 0;
    }
}

void AppendWave(SpawnList& list, int level, Vexel::Random* random, bool rotate, float difficultyFactor)
{
    DesignedLevelStyle style = {1.0f, 4};
    uint16_t offset = ExpandSpawnList(list);
    size_t first = list.size();
    AppendDesignedLevelGroups(list, level, style);
    uint8_t speed = WaveSpeedByte(style.speedScale, difficultyFactor);
    uint8_t rotation = PickWaveRotation(style.rotationKind, random);
    FinishWave(list, first, offset, speed, rotate ? rotation : 0);
}

void AppendTutorialWave(SpawnList& list, int step)
{
    if (step != 10 && step != 20)
        return;
    uint16_t offset = ExpandSpawnList(list);
    size_t first = list.size();
    float scale = AppendTutorialGroups(list, step);
    FinishWave(list, first, offset, WaveSpeedByte(scale, 1.0f), 0);
}
