// One rocket of the fireworks over a won gauntlet: it rises from a point on
// the planet's disc for 67 ticks, leaving a glint each tick, then bursts.
#pragma once

#include "engine/core/Vector2.h"

namespace Vexel
{
class Random;
}
class ParticleSystem;

class FireworksPiece
{
public:
    // Draws its starting point from the simulation's generator.
    explicit FireworksPiece(Vexel::Random& random);

    void Update(ParticleSystem& particles);
    bool IsDone() const { return progress >= 1.0f; }
    Vector2 GetPosition() const { return position; }

private:
    Vexel::Random* random;
    Vector2 position;
    float progress; // 0 to 1
};
