#include "game/frontend/elements/CalibrationLineElement.h"

#include "engine/core/VectorMath.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/FrontEndTables.h"
#include "game/play/TiltHelpers.h"

namespace
{
using Vexel::kPi;
const int kAdditive = 2;
} // namespace

CalibrationLineElement::CalibrationLineElement(IFlush* flusher, Vexel::Graphics::Sprites::ITransientBatch* batch,
                                               Vector2 size)
    : ScaleElement(Vexel::UI::ElementLayout(Vexel::UI::ElementPosition(Vector2(0.0f, 0.0f), 0), size, 1.0f, true),
                   flusher, false, true),
      batch(batch)
{
}

void CalibrationLineElement::Draw(Vexel::Rectangle rect, float alpha)
{
    TileInfo const* blade = MenuTile(58);
    if (!batch || !blade)
        return;
    const float w = rect.width;
    const float h = rect.height;
    const Vector2 centre = rect.Center();
    const Vector2 wh(w, h);
    Color colour = Color(255, 255, 255, 255).ScaleAlpha(alpha);
    TileInfo const* line = MenuTile(0);
    if (!IsDeviceFlat(*Vexel::UI::UIManager::GetTilt()))
    {
        // The arrow head above the centre shows which way is up.
        batch->AddTileSized(*blade, centre + Vector2(0.0f, -0.36f) * wh, Vector2(0.09f, 0.25f) * w, colour, kAdditive);
        const Vector2 barbs[4] = {Vector2(-0.1f, -0.26f), Vector2(0.1f, -0.26f), Vector2(-0.05f, -0.31f),
                                  Vector2(0.05f, -0.31f)};
        for (Vector2 const& barb : barbs)
            batch->AddTileSized(*blade, centre + barb * wh, Vector2(0.08f, 0.24f) * w, colour, kAdditive);
    }
    else
    {
        line = MenuTile(54);
        colour = colour.ScaleAlpha(0.75f);
    }
    if (!line)
        return;
    batch->AddTileSized(*line, centre, Vector2(w * 0.092f, h * 3.0f), colour.ScaleAlpha(0.65f), kAdditive);
    const Vector2 side(0.1f * w, 0.1f * w);
    batch->AddTileSized(*line, centre + side, Vector2(w * 0.035f, h * 3.0f), colour.ScaleAlpha(0.35f), kAdditive);
    batch->AddTileSized(*line, centre - side, Vector2(w * 0.035f, h * 3.0f), colour.ScaleAlpha(0.35f), kAdditive);
    batch->AddTileSizedRotated(*line, kPi / 2.0f, centre, Vector2(w * 0.031f, w * 3.0f), colour.ScaleAlpha(0.24f),
                               kAdditive);
}
