// The star field's GL side: two draws of smoothed points, one per layer,
// under a texture matrix that scrolls the star texture by the phase.
#include "game/simulation/StarField.h"

#include "engine/core/Platform.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"

namespace
{
namespace GL = Vexel::Graphics::GL;
using Vexel::Graphics::RenderState;

// The star atlas ("lu_stars.dat") is all of tile 71.
const uint32_t kStarTile = 71;

void SetColour(Color c)
{
    GL::Color4ub(c.r, c.g, c.b, c.a);
}
} // namespace

void StarField::Draw(Vexel::Rectangle const& view, Vector2 centre, float viewScale, Color colour) const
{
    // Before the atlases exist the points are drawn untextured.
    TileInfo const* tile = Vexel::Graphics::GetReferenceTiles().GetTile(kStarTile);
    const Vexel::Graphics::Texture texture =
        tile && tile->texture ? *tile->texture : Vexel::Graphics::Texture::Empty;
    texture.EnsureUploaded();
    texture.Bind();

    GL::Enable(GL_POINT_SMOOTH);
    RenderState::SetBlendMode(Vexel::Graphics::BlendMode::Additive);

    GL::PushMatrix();
    GL::Translatef(view.width * 0.5f, view.height * 0.5f, 0.0f);

    GL::MatrixMode(GL_TEXTURE);
    GL::PushMatrix();
    GL::LoadIdentity();
    GL::Translatef(phase, 0.0f, 0.0f);

    const Vexel::Graphics::ClientArrayState savedArrays = RenderState::GetClientArrays();
    RenderState::SetClientArrays(true, false, true);
    GL::VertexPointer(2, GL_FLOAT, sizeof(stars[0]), &stars[0].x);
    GL::TexCoordPointer(2, GL_FLOAT, sizeof(stars[0]), &stars[0].u);

    const Vector2 dpi = Vexel::Platform::GetScreenDpi();
    const Vector2 offset = centre - view.Size() * 0.5f;
    GL::MatrixMode(GL_MODELVIEW);

    const float nearScale = LayerScale(viewScale, kNearDepth);
    GL::PushMatrix();
    GL::Scalef(nearScale, nearScale, 1.0f);
    GL::Translatef(offset.x, offset.y, 0.0f);
    SetColour(colour);
    GL::PointSize((dpi.x + dpi.y) * 0.0024f + 1.8f);
    GL::DrawArrays(GL_POINTS, 0, kNearCount);
    GL::PopMatrix();

    const float farScale = LayerScale(viewScale, kFarDepth);
    GL::Scalef(farScale, farScale, 1.0f);
    GL::Translatef(offset.x, offset.y, 0.0f);
    SetColour(Color(colour.r, colour.g, colour.b, uint8_t(colour.a * 192 / 256)));
    GL::PointSize((dpi.x + dpi.y) * 0.00123f + 1.3f);
    GL::DrawArrays(GL_POINTS, kNearCount, kStarCount - kNearCount);

    RenderState::SetClientArrays(savedArrays);
    GL::MatrixMode(GL_TEXTURE);
    GL::PopMatrix();
    GL::MatrixMode(GL_MODELVIEW);
    GL::PopMatrix();
    GL::Color4ub(255, 255, 255, 255);
    GL::Disable(GL_POINT_SMOOTH);
}
