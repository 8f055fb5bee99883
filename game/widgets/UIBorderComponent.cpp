#include "game/widgets/UIBorderComponent.h"

#include "engine/graphics/GeometryBatch.h"
#include "engine/graphics/SpriteShape.h"
#include "engine/graphics/Texture.h"
#include "engine/ui/UIHelper.h"

#include <cstring>

using Vexel::Graphics::Geometry::GenerationData;
using Vexel::Graphics::Geometry::GenerationResponse;

namespace
{

// All nine parts as one strip, with degenerate joins.
const uint16_t kFilledIndices[UIBorderComponent::kIndexCount] = {0, 2, 1, 3, 4, 6,  5, 7,  7,  13, 6,  12,
                                                                 3, 9, 2, 8, 8, 10, 9, 11, 12, 14, 13, 15};
// The eight outer parts around the frame, without the middle.
const uint16_t kFrameIndices[UIBorderComponent::kIndexCount] = {1,  3,  4,  6, 5,  7, 7, 6, 13, 12, 15, 14,
                                                                14, 12, 11, 9, 10, 8, 8, 9, 2,  3,  0,  1};

} // namespace

UIBorderComponent::UIBorderComponent(Vexel::UI::ElementLayout const& layout, TileInfo const& tile,
                                     Color colour, int blendMode, bool filled)
    : Element(layout, Vexel::UI::TouchMode::Ignore),
      frameGeometry(kVertexCount, kIndexCount, Vexel::Graphics::Sprites::TileTexture(&tile), blendMode),
      filled(filled), cornerSize(tile.size * 0.5f), uvTopLeft(tile.uv.x, tile.uv.y),
      uvBottomRight(tile.uv.Right(), tile.uv.Bottom()), uvCentre(tile.uv.Center()), colour(colour),
      alpha(1.0f), rect(-100.0f, -100.0f, 50.0f, 50.0f)
{
    frameGeometry.SetGenerator(
        Vexel::Graphics::Geometry::Geometry<Vertex>::Generator(this, &UIBorderComponent::Generate));
}

UIBorderComponent::~UIBorderComponent() {}

void UIBorderComponent::Draw(Vexel::Rectangle rect, float alpha)
{
    SetRect(rect);
    SetAlpha(alpha);
    if (Vexel::Graphics::Geometry::TransientBatch* batch = GetTransientBatch())
        batch->Add(&frameGeometry);
}

GenerationResponse::Enum UIBorderComponent::Generate(GenerationData<Vertex>& data)
{
    if (*data.vertexCount < kVertexCount || *data.indexCount < kIndexCount || !data.indices)
        return GenerationResponse::None;
    std::memcpy(data.indices, filled ? kFilledIndices : kFrameIndices, sizeof(kFilledIndices));

    const float l = rect.Left(), t = rect.Top(), r = rect.Right(), b = rect.Bottom();
    const float cx = cornerSize.x, cy = cornerSize.y;
    const float uL = uvTopLeft.x, vT = uvTopLeft.y, uR = uvBottomRight.x, vB = uvBottomRight.y;
    const float uC = uvCentre.x, vC = uvCentre.y;
    const Color c = colour.ScaleAlpha(alpha);
    Vertex* v = data.vertices;
    // Four per corner: top-left, top-right, bottom-left, bottom-right.
    v[0] = Vertex(l, t, uL, vT, c);
    v[1] = Vertex(l + cx, t, uC, vT, c);
    v[2] = Vertex(l, t + cy, uL, vC, c);
    v[3] = Vertex(l + cx, t + cy, uC, vC, c);
    v[4] = Vertex(r - cx, t, uC, vT, c);
    v[5] = Vertex(r, t, uR, vT, c);
    v[6] = Vertex(r - cx, t + cy, uC, vC, c);
    v[7] = Vertex(r, t + cy, uR, vC, c);
    v[8] = Vertex(l, b - cy, uL, vC, c);
    v[9] = Vertex(l + cx, b - cy, uC, vC, c);
    v[10] = Vertex(l, b, uL, vB, c);
    v[11] = Vertex(l + cx, b, uC, vB, c);
    v[12] = Vertex(r - cx, b - cy, uC, vC, c);
    v[13] = Vertex(r, b - cy, uR, vC, c);
    v[14] = Vertex(r - cx, b, uC, vB, c);
    v[15] = Vertex(r, b, uR, vB, c);
    *data.vertexCount = kVertexCount;
    *data.indexCount = kIndexCount;
    return GenerationResponse::Keep;
}

void UIBorderComponent::SetRect(Vexel::Rectangle const& r)
{
    if (r == rect)
        return;
    if (Vertex* v = frameGeometry.GetVertices())
    {
        // The corners keep their size: each corner's four vertices move with
        // the two rectangle edges it touches.
        const Vector2 d = r.Position() - rect.Position();
        const Vector2 f = r.BottomRight() - rect.BottomRight();
        const Vector2 moves[4] = {d, Vector2(f.x, d.y), Vector2(d.x, f.y), f};
        for (int i = 0; i < kVertexCount; ++i)
        {
            v[i].x += moves[i / 4].x;
            v[i].y += moves[i / 4].y;
        }
        frameGeometry.CommitVertices();
    }
    rect = r;
}

void UIBorderComponent::SetAlpha(float a)
{
    if (a == alpha)
        return;
    alpha = a;
    if (Vertex* v = frameGeometry.GetVertices())
    {
        const Color c = colour.ScaleAlpha(a);
        for (int i = 0; i < kVertexCount; ++i)
            v[i].color = c;
        frameGeometry.CommitVertices();
    }
}
