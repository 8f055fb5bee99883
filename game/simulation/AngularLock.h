// The simulation's target lock: an angle around the planet that draws
// auto-fire. The play screen keeps its own locks as points in world space and
// hands them over as aims; these angular locks live on after a finger lifts,
// glide towards the nearest held lock and merge into it.
#pragma once

#include <cstdint>

struct AngularLock
{
    float current;     // where the lock points now
    float target;      // the angle it glides to
    uint8_t held;      // 1 while an aim of the same id is present this tick
    int32_t heldTicks; // ticks held without a break; 0 after a release

    AngularLock() : current(0.0f), target(0.0f), held(1), heldTicks(1) {}
    AngularLock(float target, float current) : current(current), target(target), held(1), heldTicks(1) {}
};
