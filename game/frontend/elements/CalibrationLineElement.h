// The "Tilt Calibration" page's line: a vertical line with an arrow head that
// turns with the device's tilt, so the player sees which way is up; while the
// device lies flat it dims and loses its arrow.
#pragma once

#include "game/frontend/elements/ScaleElement.h"

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

class CalibrationLineElement : public ScaleElement
{
public:
    // Centred, of the given size. Neither the flusher nor the batch is owned.
    CalibrationLineElement(IFlush* flusher, Vexel::Graphics::Sprites::ITransientBatch* batch, Vector2 size);

    void Draw(Vexel::Rectangle rect, float alpha) override;

private:
    Vexel::Graphics::Sprites::ITransientBatch* batch;
};
