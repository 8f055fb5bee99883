// The spinner shown while a score table talks to the score server: a ring of
// still blades over which a wave of brightness runs 1.05 times a second.
// Style false: eight long blades (tile 58); true: twelve short ones (tile 66).
#pragma once

#include "engine/core/Color.h"
#include "engine/ui/Element.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{
class ITransientBatch;
}
} // namespace Graphics
} // namespace Vexel

class WaitingRotatorElement : public Vexel::UI::Element
{
public:
    // The batch is not owned.
    WaitingRotatorElement(Vexel::UI::ElementLayout const& layout, Color colour,
                          Vexel::Graphics::Sprites::ITransientBatch* batch, bool style);

    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;

    float GetPhase() const { return phase; }
    // Brightness of blade i of count at a phase: 0.3 .. 1.0.
    static float BladeBrightness(float phase, int i, int count);

private:
    bool style;
    Color colour;
    Vexel::Graphics::Sprites::ITransientBatch* batch;
    float phase; // [0, 1)
};
