// Appending a whole wave to the spawn list. The list is expanded first and the
// new wave's first record waits until the groups already in it have ended;
// every new record gets the wave's speed byte and, when asked, a rotation.
#pragma once

#include "game/simulation/SpawnList.h"

#include <cstdint>

namespace Vexel
{
class Random;
}

// Designed level 0..63 (any other index appends nothing). The rotation is
// drawn once per wave whether or not it is applied, so that the generator's
// sequence does not depend on `rotate`.
void AppendWave(SpawnList& list, int level, Vexel::Random* random, bool rotate, float difficultyFactor);

// Tutorial step 10 or 20, unrotated, at difficulty 1. Any other step leaves
// the list untouched (not even expanded).
void AppendTutorialWave(SpawnList& list, int step);

// A rotation in packed angle units: kind 1 a half turn, 2 a half turn or
// none, 3 a quarter-turn multiple, 4 any of 256 steps, anything else none.
// Without a generator the drawn kinds give 0.
uint8_t PickWaveRotation(int rotationKind, Vexel::Random* random);

// trunc(scale x 127.9 x factor) + 1 in single precision, kept in [1, 255].
uint8_t WaveSpeedByte(float speedScale, float difficultyFactor);
