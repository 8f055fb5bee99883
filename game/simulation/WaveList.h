// Which wave a game plays next. Each game mode (GameMode, the menu world's
// None included) picks its next wave from the wave number and the
// designed levels played so far, appends its spawn records and records the
// level in the wave list.
#pragma once

#include "game/simulation/SpawnList.h"

#include <cstdint>
#include <vector>

namespace Vexel
{
class Random;
}

// Designed-level indices of the waves played, in play order; the wave state
// machine appends kNoDesignedLevel as an end marker once a mode is complete.
typedef std::vector<int32_t> WaveList;

// A level index meaning "none chosen".
const int kNoDesignedLevel = 64;

// Appends the next wave. `levelIndex` 0..63 on a game's first call (empty
// wave list) plays that level first; kNoDesignedLevel lets the mode choose.
// Every random draw comes from `random`, in a fixed order, so a seeded
// generator reproduces a game's waves.
void BuildWaveList(SpawnList& spawnList, int mode, int waveNumber, int tutorialStep, Vexel::Random* random,
                   WaveList& waveList, int levelIndex);

// AppendWave for the level, then the level joins the wave list.
void AddDesignedWave(SpawnList& spawnList, WaveList& waveList, Vexel::Random* random, int level, bool rotate,
                     float difficultyFactor);

// 1 for a Level, 8 for a GauntletStage, 64 for the FullGauntlet, -1 (endless)
// for the others.
int32_t WavesForMode(int mode);

// Whether a mode with a fixed number of waves has had them all.
bool IsWaveListComplete(int mode, int waveNumber, const WaveList& waveList);
