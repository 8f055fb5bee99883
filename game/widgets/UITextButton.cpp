#include "game/widgets/UITextButton.h"

#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/TileInfo.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/WidgetPieces.h"

namespace
{

using Vexel::Graphics::Sprites::ITransientBatch;

const int kQuadKind = 0;
const float kLabelFontFactor = 0.65f; // of the panel's height
const float kMinimumAlpha = 0.005f;

} // namespace

UITextButton::UITextButton(Vexel::UI::ElementLayout const& layout, TileInfo const* tile, Vector2 size,
                           float capWidth, int blendMode, ITransientBatch* batch, ITransientBatch* glowBatch,
                           std::string const& label, Color textColour)
    : Element(layout, Vexel::UI::TouchMode::Take), batch(batch), glowBatch(glowBatch), label(label),
      lastAlpha(-1.0f), textColour(textColour), textGeometry(int(label.size()), kQuadKind, 0), tile(tile),
      size(size), capWidth(capWidth), blendMode(blendMode), baseSize(layout.sizePortrait), glowPhase(0.0f)
{
    // A button without a panel never takes a touch.
    SetEnabled(tile != nullptr);
    textSize = WidgetPieces::LayoutWrapped(GetFont(kLabelFontFactor * size.y), textGeometry, label,
                                           size.x - 2.0f * capWidth, textColour);
}

UITextButton::~UITextButton() {}

void UITextButton::Update(float dt)
{
    glowPhase = WidgetPieces::AdvanceGlow(glowPhase, dt, IsPressedInside());
}

void UITextButton::Draw(Vexel::Rectangle rect, float alpha)
{
    if (alpha < kMinimumAlpha)
        return;
    const float scale = WidgetPieces::DesignScale(rect, baseSize);
    const Vector2 c = rect.Center();
    DrawBackground(batch, c, scale, alpha, blendMode);
    // The panel, and whatever the page queued before, lie under the label.
    if (batch)
        batch->Draw();

    if (alpha != lastAlpha)
    {
        lastAlpha = alpha;
        WidgetPieces::Recolour(textGeometry, textColour.ScaleAlpha(alpha));
    }
    WidgetPieces::DrawWithBothFaces(textGeometry, c - textSize * (scale * 0.5f), scale);

    if (glowPhase != 0.0f)
        DrawBackground(glowBatch, c, WidgetPieces::GlowScale(glowPhase) * scale,
                       WidgetPieces::GlowAlpha(glowPhase, alpha), 2);
}

void UITextButton::DrawBackground(ITransientBatch* target, Vector2 centre, float scale, float alpha,
                                  int blend)
{
    if (!tile)
        return;
    const float w = size.x, h = size.y, k = capWidth;
    const float xs[4] = {-w / 2, -w / 2 + k, w / 2 - k, w / 2};
    const float ys[3] = {-h / 2, 0.0f, h / 2};
    WidgetPieces::AddSlices(target, *tile, centre, scale, xs, ys, Color(255, 255, 255, 255).ScaleAlpha(alpha),
                            blend);
}

void UITextButton::OnTouchDown(Vector2 const&, int) {}
