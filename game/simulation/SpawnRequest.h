// A request for a new enemy: waves make them from spawn records, enemies
// make them while they move or die (carriers, hives, snakes, lockdowns).
// The Simulation carries them out after its enemy pass.
#pragma once

#include "engine/core/Vector2.h"

#include <cstdint>

struct SpawnRequest
{
    static constexpr uint8_t kNoLeader = 255;

    Vector2 position;
    float angle; // becomes the new enemy's rotation
    uint8_t speed;
    uint8_t kind;
    uint8_t leader; // index in the main enemy list, or kNoLeader
    // Two behaviour words: segments read their start delay from the low byte
    // of the first; splicers and lockdown rings their side from it and their
    // generation from the low byte of the second.
    uint32_t param[2];

    SpawnRequest() : angle(0.0f), speed(0), kind(0), leader(kNoLeader), param{0, 0} {}
    SpawnRequest(Vector2 position, float angle, uint8_t kind, uint8_t speed, uint8_t leader,
                 uint32_t param0 = 0, uint32_t param1 = 0)
        : position(position), angle(angle), speed(speed), kind(kind), leader(leader), param{param0, param1}
    {
    }
};
