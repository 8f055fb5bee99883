// The charge ring's picture: a closed strip of 33 vertex pairs around the
// planet, its texture repeating seven times around, widening as it pulses
// and blown outwards by a discharge that fires the beam.
#include "game/simulation/SimBeamChargeLine.h"

#include "engine/core/VectorMath.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"

#include <cmath>

namespace
{
using Vexel::Graphics::Geometry::VertexP2T2C;

using Vexel::kPi;
const int kPairs = 33;
// The ring texture is all of tile 2.
const uint32_t kRingTile = 2;
} // namespace

void SimBeamChargeLine::Draw(float alpha) const
{
    const float a = alpha * charge * level;
    if (!(a >= 0.001f))
        return;
    TileInfo const* tile = Vexel::Graphics::GetReferenceTiles().GetTile(kRingTile);
    const Vexel::Graphics::Texture texture =
        tile && tile->texture ? *tile->texture : Vexel::Graphics::Texture::Empty;

    float inner = cosf(pulse * kPi) * 16.0f + 45.0f + pulse * 3.2f * sinf(phase * 2.0f * kPi);
    if (withSound && discharging)
        inner += cosf(level * kPi * 0.5f) * 60.0f;
    const float outer = inner + 28.0f + sinf(pulse * kPi) * 42.0f;

    const Color colour = Color(255, 255, 255, 255).ScaleAlpha(a);
    VertexP2T2C vertices[2 * kPairs];
    uint16_t indices[2 * kPairs + 2];
    Vexel::Graphics::Geometry::GeometryBuffer<VertexP2T2C> ring(2 * kPairs, 2 * kPairs + 2, vertices,
                                                                indices);
    VertexP2T2C* out = ring.AllocateStrip(2 * kPairs);
    for (int i = 0; i < kPairs; i++)
    {
        const float t = float(i) / float(kPairs - 1);
        const Vector2 dir(cosf(2.0f * kPi * t), sinf(2.0f * kPi * t));
        out[2 * i] = VertexP2T2C(dir.x * inner, dir.y * inner, 7.0f * t, 0.0f, colour);
        out[2 * i + 1] = VertexP2T2C(dir.x * outer, dir.y * outer, 7.0f * t, 1.0f, colour);
    }

    const int savedBlend = Vexel::Graphics::RenderState::GetBlendMode();
    Vexel::Graphics::RenderState::SetBlendMode(Vexel::Graphics::BlendMode::Additive);
    texture.EnsureUploaded();
    texture.Bind();
    ring.Draw();
    Vexel::Graphics::RenderState::SetBlendMode(savedBlend);
}
