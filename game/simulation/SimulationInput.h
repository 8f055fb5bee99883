// What the play screen hands the simulation each frame: the aims by id, the
// marks to draw where touches and locks are, and the planet cannon's drag.
#pragma once

#include "engine/core/Vector2.h"

#include <cstdint>
#include <map>
#include <vector>

// A touch or lock position shown on the play field.
struct AimMark
{
    uint8_t fromTouch;   // 1 for a finger, 0 for a lock the finger has left
    uint8_t highlighted; // 1 when the aim belongs to a target lock
    Vector2 position;    // world units
};

struct SimulationInput
{
    // Aim ids: 0..11 touches without a lock, 13 and up target locks.
    static constexpr int kTiltAimId = 1036;

    // Aim id -> angle in radians (the Vector2::Angle convention), by id.
    std::map<int, float> aims;
    std::vector<AimMark> marks;
    // The cannon's drag vector in world units; (0, 0) when none.
    Vector2 cannonAim;
    // 1 while the cannon drag is held; its release fires.
    uint8_t cannonHeld = 0;
};
