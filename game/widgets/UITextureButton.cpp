#include "game/widgets/UITextureButton.h"

#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/TileInfo.h"
#include "game/widgets/WidgetPieces.h"

namespace
{

using Vexel::Graphics::Sprites::ITransientBatch;

const float kMinimumAlpha = 0.005f;
// The shadow fades in over the upper part of a fade: nothing at 0.55, 0.7 of
// full black at 1.
const float kShadowFrom = 0.55f;
const float kShadowStrength = 0.7f;
const float kShadowSpan = 0.45f;
const float kShadowGrowth = 1.08f;

} // namespace

UITextureButton::UITextureButton(Vexel::UI::ElementLayout const& layout, TileInfo const* tile, Vector2 size,
                                 int blendMode, ITransientBatch* batch, ITransientBatch* glowBatch,
                                 bool enabled, Color colour, bool hasShadow)
    : Element(layout, Vexel::UI::TouchMode::Take), batch(batch), glowBatch(glowBatch), tile(tile),
      colour(colour), size(size), blendMode(blendMode), hasShadow(hasShadow), baseSize(layout.sizePortrait),
      glowPhase(0.0f)
{
    SetEnabled(enabled);
}

UITextureButton::~UITextureButton() {}

void UITextureButton::Update(float dt)
{
    glowPhase = WidgetPieces::AdvanceGlow(glowPhase, dt, IsPressedInside());
}

void UITextureButton::Draw(Vexel::Rectangle rect, float alpha)
{
    if (alpha < kMinimumAlpha || !tile)
        return;
    const float scale = WidgetPieces::DesignScale(rect, baseSize);
    const Vector2 c = rect.Center();
    if (batch)
    {
        if (blendMode == 2 && alpha > kShadowFrom && hasShadow)
        {
            const Vector2 drawn = GetSize();
            TileInfo const* shadow =
                drawn.x < drawn.y ? Vexel::Graphics::Tiles::Tile067 : Vexel::Graphics::Tiles::Tile068;
            const Color black =
                Color(0, 0, 0, 255).ScaleAlpha((alpha - kShadowFrom) * kShadowStrength / kShadowSpan);
            batch->AddTileSized(*shadow, c, size * scale * kShadowGrowth, black, 1);
        }
        batch->AddTileSized(*tile, c, size * scale, colour.ScaleAlpha(alpha), blendMode);
    }
    if (glowPhase != 0.0f && glowBatch)
        glowBatch->AddTileSized(*tile, c, size * scale * WidgetPieces::GlowScale(glowPhase),
                                colour.ScaleAlpha(WidgetPieces::GlowAlpha(glowPhase, alpha)), 2);
}

void UITextureButton::OnTouchDown(Vector2 const&, int) {}
