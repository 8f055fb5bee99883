// The star field's construction and per-tick step (no GL here: the drawing
// is in draw/StarFieldDraw.cpp).
#include "game/simulation/StarField.h"

#include "engine/core/Platform.h"
#include "engine/core/Random.h"
#include "engine/core/VectorMath.h"

#include <cmath>

namespace
{
using Vexel::kPi;
}

StarField::StarField(float viewScale, unsigned seed) : phase(0.0f)
{
    Vexel::Random random(1, seed);
    const float radius = Vexel::Platform::GetScreenSize().Length() * 0.5f;
    for (int layer = 0; layer < 2; layer++)
    {
        const int first = layer == 0 ? 0 : kNearCount;
        const int last = layer == 0 ? kNearCount : kStarCount;
        const float reach = radius / LayerScale(viewScale, layer == 0 ? kNearDepth : kFarDepth);
        for (int i = first; i < last; i++)
        {
            // Draws in a fixed order, one per statement.
            const float s = sinf(random.NextFloat(0.0f, kPi * 0.5f));
            const float turn = random.NextFloat(0.0f, 2.0f * kPi);
            const Vector2 position = Vector2(reach * s, 0.0f).Rotate(turn);
            const float u = random.NextFloat(0.0f, 1.0f);
            // The texture row follows the distance from the centre.
            const float w = (1.0f - s) * 0.15f + 0.05f;
            const float lo = (1.0f - w) * s;
            const float v = random.NextFloat(lo, lo + w);
            stars[i] = Vexel::Graphics::Geometry::VertexP2T2(position.x, position.y, u, v);
        }
    }
}

void StarField::Update()
{
    phase += kPhaseStep;
    if (phase > 1.0f)
        phase -= 1.0f;
}

float StarField::LayerScale(float viewScale, float depth)
{
    return 1.0f / (1.0f / viewScale + depth);
}

Vector2 StarField::ToLayer(Vexel::Rectangle const& view, Vector2 point, float layerScale)
{
    const Vector2 d = point - view.Size() * 0.5f;
    return view.Center() + Vector2(d.x / layerScale, d.y / layerScale);
}
