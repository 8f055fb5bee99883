#include "game/simulation/FireworksPiece.h"

#include "engine/core/Random.h"
#include "engine/core/VectorMath.h"
#include "game/audio/GameSounds.h"
#include "game/simulation/ParticleSystem.h"

#include <cmath>

namespace
{
using Vexel::kHalfPi;
using Vexel::kPi;
} // namespace

FireworksPiece::FireworksPiece(Vexel::Random& generator) : random(&generator), progress(0.0f)
{
    // Two draws, in this order: the radius on the disc, then the direction.
    const float r = 40.0f * sinf(random->NextFloat(0.31f, kHalfPi));
    const float turn = random->NextFloat(0.0f, 2.0f * kPi);
    position = Vector2(0.0f, r).Rotate(turn);
}

void FireworksPiece::Update(ParticleSystem& particles)
{
    progress += 0.015f;
    if (progress >= 1.0f)
    {
        progress = 1.0f;
        particles.AddBurst(position);
        GameSounds::Play(0, 0.9f, 0.8f);
    }
    // Drifts outward, fast at first.
    position *= (cosf(progress * kHalfPi) + 0.1f) * 0.015f + 1.0f;
    particles.AddGlint(position, progress);
}
