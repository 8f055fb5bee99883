#include "game/widgets/UICheckButton.h"

#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/TileInfo.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/UIPalette.h"
#include "game/widgets/WidgetPieces.h"

namespace
{

using Vexel::Graphics::Sprites::ITransientBatch;

const int kQuadKind = 0;
const float kLabelFontFactor = 0.63f; // of the button's height
const float kLabelAlpha = 0.6f;
const float kDisabledTextAlpha = 0.5f;
const float kMarkScale = 0.55f;
const float kMinimumAlpha = 0.005f;
const int kCheckedColour = 12;
const int kUncheckedColour = 8;

const Color kPlateColour(221, 221, 221, 255);
const Color kPlateColourDisabled(119, 119, 119, 255);
const Color kOpenFaceColour(255, 255, 255, 255);
const Color kOpenFaceColourDisabled(153, 153, 153, 255);

// The face at height h: as wide as the blue pill tile's proportions say.
float FaceWidth(float h)
{
    const Vector2 tile = Vexel::Graphics::Tiles::Tile153->size;
    return tile.y > 0.0f ? tile.x * h / tile.y : h;
}

} // namespace

UICheckButton::UICheckButton(Vexel::UI::ElementLayout const& layout, Vector2 size, ITransientBatch* batch,
                             ITransientBatch* glowBatch, std::string const& checkedLabel,
                             std::string const& uncheckedLabel, bool checked)
    : Element(layout, Vexel::UI::TouchMode::Take), batch(batch), glowBatch(glowBatch), checked(checked),
      lastChecked(true), checkedLabel(checkedLabel), uncheckedLabel(uncheckedLabel), lastAlpha(-1.0f),
      checkedText(int(checkedLabel.size()), kQuadKind, 0),
      uncheckedText(int(uncheckedLabel.size()), kQuadKind, 0), size(size), capWidth(size.y * 0.5f),
      boxWidth(FaceWidth(size.y)), baseSize(layout.sizePortrait), glowPhase(0.0f)
{
    const float wrapWidth = size.x - 2.0f * capWidth - boxWidth;
    Vexel::Graphics::Type::IFont* font = GetFont(kLabelFontFactor * size.y);
    checkedTextSize =
        WidgetPieces::LayoutWrapped(font, checkedText, checkedLabel, wrapWidth, UIPalette[kCheckedColour]);
    uncheckedTextSize = WidgetPieces::LayoutWrapped(font, uncheckedText, uncheckedLabel, wrapWidth,
                                                    UIPalette[kCheckedColour]);
}

UICheckButton::~UICheckButton() = default;

void UICheckButton::Update(float dt)
{
    glowPhase = WidgetPieces::AdvanceGlow(glowPhase, dt, IsPressedInside());
}

void UICheckButton::Draw(Vexel::Rectangle rect, float alpha)
{
    if (alpha < kMinimumAlpha)
        return;
    const float scale = WidgetPieces::DesignScale(rect, baseSize);
    const Vector2 c = rect.Center();
    DrawBackground(batch, c, scale, alpha, 1);
    // The face and plate, and whatever the page queued before, lie under the label.
    if (batch)
        batch->Draw();

    const float textAlpha = IsEnabled() ? alpha : alpha * kDisabledTextAlpha;
    TextBuffer& text = checked ? checkedText : uncheckedText;
    const Vector2 textSize = checked ? checkedTextSize : uncheckedTextSize;
    if (textAlpha != lastAlpha || checked != lastChecked)
    {
        const Color colour = UIPalette[checked ? kCheckedColour : kUncheckedColour]
                                 .ScaleAlpha(kLabelAlpha)
                                 .ScaleAlpha(textAlpha);
        lastChecked = checked;
        lastAlpha = textAlpha;
        WidgetPieces::Recolour(text, colour);
    }

    // The block is centred on the plate, the part right of the face.
    WidgetPieces::DrawWithBothFaces(text, c - (textSize - Vector2(boxWidth, 0.0f)) * 0.5f * scale, scale);

    if (glowPhase != 0.0f)
        DrawBackground(glowBatch, c, WidgetPieces::GlowScale(glowPhase) * scale,
                       WidgetPieces::GlowAlpha(glowPhase, alpha), 2);
}

void UICheckButton::DrawBackground(ITransientBatch* target, Vector2 centre, float scale, float alpha,
                                   int blendMode)
{
    TileInfo const* face = checked ? Vexel::Graphics::Tiles::Tile154 : Vexel::Graphics::Tiles::Tile155;
    const bool enabled = IsEnabled();
    const Color plate = (enabled ? kPlateColour : kPlateColourDisabled).ScaleAlpha(alpha);
    const Color openFace = (enabled ? kOpenFaceColour : kOpenFaceColourDisabled).ScaleAlpha(alpha);
    const float w = size.x, h = size.y, b = boxWidth, k = capWidth;

    const Vector2 faceCentre = centre + Vector2((b - w) * scale * 0.5f, 0.0f);
    if (target)
        target->AddTileSized(*face, faceCentre, Vector2(b, h) * scale, checked ? plate : openFace, blendMode);
    if (checked && glowBatch)
        glowBatch->AddTileSized(*face, faceCentre, Vector2(b, h) * scale * kMarkScale, plate, 2);

    const float xs[4] = {-w / 2 + b, -w / 2 + b + k, w / 2 - k, w / 2};
    const float ys[3] = {-h / 2, 0.0f, h / 2};
    WidgetPieces::AddSlices(target, *face, centre, scale, xs, ys, plate, blendMode);
}

void UICheckButton::OnTouchDown(Vector2 const&, int) {}

void UICheckButton::OnClick(Vector2 const&)
{
    checked = !checked;
    const bool state = checked;
    // A Toggled handler may delete the button (a page being rebuilt).
    DispatchGuard guard(this);
    Toggled.Raise(this, state);
    if (guard.ElementDeleted())
        return;
    CheckedChanged.Raise(state);
}
