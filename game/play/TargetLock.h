// A target lock of the play screen: a point on the play field, in world
// units, that goes on drawing fire after the finger has left. The play
// screen keeps them in one map by lock id, shared with its twelve touch
// elements; the Simulation turns them into angular locks every tick.
#pragma once

#include "engine/core/Vector2.h"

#include <map>

struct TargetLock
{
    Vector2 worldPos;
    bool held = false; // a touch holds it now
};

// Lock id -> lock. Ids start at 13 (0..11 are plain touches) and never take
// the tilt aim's 1036.
typedef std::map<int, TargetLock> TargetLockMap;
