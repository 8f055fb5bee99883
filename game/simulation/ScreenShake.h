// Turns short kicks (an enemy landing, the planet cannon firing) and a
// steady drive into a smooth, decaying wobble that the Simulation adds to
// its drawing. Two oscillator pairs, fast and slow, whose rates follow the
// remaining kick time or the drive, whichever is stronger.
#pragma once

#include "engine/core/Vector2.h"

class ScreenShake
{
public:
    ScreenShake();

    // Once per tick, dt in seconds.
    void Update(float dt);
    // Kicks raise the remaining shake times to their minimum; they never add
    // up.
    void KickLanding();
    void KickCannon();
    void SetDrive(float value) { drive = value; }
    Vector2 GetOffset() const { return offset; }

    float drive;    // steady strength (0: none)
    float kickFast; // seconds of fast shake left
    float kickSlow; // seconds of slow shake left
    Vector2 phaseFast;
    Vector2 phaseSlow;
    float level;    // smoothed amplitude
    Vector2 offset; // pixels
};
