// What the Simulation tells its heads-up display. The HUD draws text with the
// UI's font cache, which lies above this library, so the Simulation owns it
// through this interface: the play screen hands in the real one, and a
// Simulation without a HUD (tools, tests) simply shows none.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "game/simulation/ViewFrame.h"

#include <cstdint>

class Award;

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{
class TransientBatch;
}
} // namespace Graphics
} // namespace Vexel

class ISimulationHud
{
public:
    virtual ~ISimulationHud() {}

    // Once per frame, before the ticks, with the frame's seconds plus what
    // the previous frames left unticked.
    virtual void Update(float dt) = 0;
    // Once per simulation tick, after the particles and the shake.
    virtual void Tick() = 0;
    // A game starts, or a wave was completed and the next intermission begins.
    virtual void waveStarted() = 0;

    // Once per frame after the world, while the HUD's fade level is above
    // 0.005. wave and extraWaves are what to show; bannerProgress is the
    // intermission's progress (0 outside one); award may be null.
    virtual void Draw(Vexel::Graphics::Sprites::TransientBatch& batch, float alpha, float scale, Color colour,
                      Vexel::Rectangle const& area, int32_t kills, uint64_t population,
                      uint64_t initialPopulation, uint64_t score, uint64_t multiplier, int32_t wave,
                      int32_t extraWaves, Award* award, ViewFrame const& view, int32_t cannonCharges,
                      float bannerProgress, int32_t mode, int32_t tutorialStep) = 0;
};
