// One auto-fired bullet. Saved raw (24 bytes, little-endian) in the saved
// game, so the layout is a file format.
#pragma once

#include "engine/core/Vector2.h"

#include <cstdint>

struct Bullet
{
    Vector2 position; // world units
    Vector2 velocity; // world units per tick
    float angle;      // the firing angle, also the sprite's rotation
    int32_t life;     // ticks left

    Bullet() : angle(0.0f), life(0) {}
};

static_assert(sizeof(Bullet) == 24, "Bullet is saved raw as 24 bytes");
