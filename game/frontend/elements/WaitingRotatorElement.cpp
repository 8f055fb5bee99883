#include "game/frontend/elements/WaitingRotatorElement.h"

#include "engine/core/VectorMath.h"
#include "engine/graphics/SpriteBatch.h"
#include "game/frontend/FrontEndTables.h"

#include <algorithm>
#include <cmath>

namespace
{
using Vexel::kPi;
const float kCyclesPerSecond = 1.05f;
const int kAdditive = 2;
} // namespace

WaitingRotatorElement::WaitingRotatorElement(Vexel::UI::ElementLayout const& layout, Color colour,
                                             Vexel::Graphics::Sprites::ITransientBatch* batch, bool style)
    : Element(layout, Vexel::UI::TouchMode::Ignore), style(style), colour(colour), batch(batch), phase(0.0f)
{
}

void WaitingRotatorElement::Update(float dt)
{
    phase += dt * kCyclesPerSecond;
    phase -= std::floor(phase);
    if (!(phase >= 0.0f && phase < 1.0f))
        phase = 0.0f;
}

float WaitingRotatorElement::BladeBrightness(float phase, int i, int count)
{
    const float f = (1.0f - phase) + float(i) / float(count);
    return (f - std::floor(f)) * 0.7f + 0.3f;
}

void WaitingRotatorElement::Draw(Vexel::Rectangle rect, float alpha)
{
    TileInfo const* tile = MenuTile(style ? 66 : 58);
    if (!batch || !tile)
        return;
    const float d = std::min(rect.width, rect.height);
    const float radius = d * 0.25f;
    const int count = style ? 12 : 8;
    const Vector2 size = style ? Vector2(0.105f, 0.38f) * d : Vector2(0.5f, 0.09f) * d;
    const float step = 2.0f * kPi / float(count);
    const Vector2 centre = rect.Center();
    float angle = step / 2.0f;
    for (int i = 0; i < count; i++)
    {
        const float brightness = BladeBrightness(phase, i, count);
        const float rotation = style ? angle + kPi / 2.0f : angle;
        batch->AddTileSizedRotated(*tile, rotation, centre + Vector2(radius, 0.0f).Rotate(angle), size,
                                   colour.ScaleAlpha(alpha * brightness), kAdditive);
        angle += step;
    }
}
