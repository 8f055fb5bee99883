// The scripts of the 64 designed levels: the spawn groups of each, with the
// level's speed scale and rotation kind. AppendWave finishes the wave.
#pragma once

#include "game/simulation/SpawnList.h"

const int kDesignedLevelCount = 64;

struct DesignedLevelStyle
{
    float speedScale; // 1.0 unless the level says otherwise
    int rotationKind; // 4 unless the level says otherwise (PickWaveRotation)
};

// Appends the groups of level 0..63 in script order and sets `style`; any
// other index appends nothing, leaves `style` as given and returns false.
bool AppendDesignedLevelGroups(SpawnList& list, int level, DesignedLevelStyle& style);
