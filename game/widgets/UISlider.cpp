#include "game/widgets/UISlider.h"

#include "engine/core/Transform2D.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/TileInfo.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/UIPalette.h"
#include "game/widgets/WidgetPieces.h"

#include <cmath>
#include <cstdint>
#include <sstream>

namespace
{

using Vexel::Graphics::Sprites::ITransientBatch;

const float kKnobMargin = 0.42f; // of the knob's width, at each end
const float kMinimumAlpha = 0.005f;
const int kNumberCapacity = 32;
const int kNumberColour = 3;
const int kLargestBigNumber = 99;
const float kBigNumberFactor = 0.54f; // of the height, up to two digits
const float kSmallNumberFactor = 0.46f;

Vector2 KnobSize(float h)
{
    const Vector2 tile = Vexel::Graphics::Tiles::Tile153->size;
    return tile.y > 0.0f ? tile * (h / tile.y) : Vector2(h, h);
}

} // namespace

UISlider::UISlider(Vexel::UI::ElementLayout const& layout, Vector2 size, ITransientBatch* batch,
                   ITransientBatch* glowBatch, int min, int max, int value, bool showValue)
    : Element(layout, Vexel::UI::TouchMode::Take), batch(batch), glowBatch(glowBatch), minValue(min),
      maxValue(max), value(max > min ? value : min), showValue(showValue), size(size),
      trackThickness(size.y * 0.25f), knobSize(KnobSize(size.y)), baseSize(layout.sizePortrait),
      glowPhase(0.0f), numberText(new Vexel::Graphics::Type::LinotypeBatch(kNumberCapacity))
{
}

UISlider::~UISlider()
{
    delete numberText;
}

float UISlider::TrackLength() const
{
    const float length = size.x - 2.0f * kKnobMargin * knobSize.x;
    return length > 0.0f ? length : 1.0f;
}

float UISlider::KnobOffset() const
{
    const float start = kKnobMargin * knobSize.x;
    if (maxValue <= minValue)
        return start;
    // In 64 bits: the differences of two ints need not fit an int.
    const float range = float(int64_t(maxValue) - minValue);
    return start + TrackLength() * float(int64_t(value) - minValue) / range;
}

int UISlider::ValueAt(float x) const
{
    if (maxValue <= minValue)
        return minValue;
    const int64_t range = int64_t(maxValue) - minValue;
    float steps = float(range) * (x - kKnobMargin * knobSize.x) / TrackLength() + 0.5f;
    // Clamped before it becomes an integer: far-off or NaN positions included.
    if (!(steps > 0.0f))
        steps = 0.0f;
    if (steps > float(range))
        steps = float(range);
    int64_t result = int64_t(minValue) + int64_t(steps);
    if (result > maxValue)
        result = maxValue;
    return int(result);
}

void UISlider::Update(float dt)
{
    glowPhase = WidgetPieces::AdvanceGlow(glowPhase, dt, IsPressed());
}

void UISlider::Draw(Vexel::Rectangle rect, float alpha)
{
    origin = rect.Position();
    if (alpha < kMinimumAlpha)
        return;
    const float scale = WidgetPieces::DesignScale(rect, baseSize);
    const Vector2 c = rect.Center();
    DrawTrack(batch, c, scale, alpha, 1);
    // Track and knob, and whatever the page queued before, lie under the number.
    if (batch)
        batch->Draw();

    Vexel::Graphics::Type::IFont* font =
        showValue ? GetFont(size.y * (value <= kLargestBigNumber ? kBigNumberFactor : kSmallNumberFactor))
                  : nullptr;
    if (font)
    {
        Vexel::Graphics::Type::LinotypeBatch& number = *numberText;
        number.Clear();
        std::ostringstream text;
        text << value;
        font->Layout(number, text.str(), Vector2(0.0f, font->GetVerticalOffset()),
                     UIPalette[kNumberColour].ScaleAlpha(alpha));
        // Centred on the knob.
        const Vector2 at = c - number.GetBounds().Size() * scale * 0.5f +
                           Vector2((KnobOffset() - size.x * 0.5f) * scale, 0.0f);
        const Transform2D place(at, 0.0f, Vector2(scale, scale));
        place.Push();
        Vexel::Graphics::RenderState::SetBlendMode(2);
        number.Draw();
        Transform2D::Pop();
    }

    if (glowPhase != 0.0f)
        DrawTrack(glowBatch, c, WidgetPieces::GlowScale(glowPhase) * scale,
                  WidgetPieces::GlowAlpha(glowPhase, alpha), 2);
}

void UISlider::DrawTrack(ITransientBatch* target, Vector2 centre, float scale, float alpha, int blendMode)
{
    if (!target)
        return;
    TileInfo const& tile = *Vexel::Graphics::Tiles::Tile153;
    const Color colour = Color(255, 255, 255, 255).ScaleAlpha(alpha);
    const float w = size.x, h = size.y, t = trackThickness;
    // As long as the slider and half as high.
    const float xs[4] = {-w / 2, -w / 2 + t, w / 2 - t, w / 2};
    const float ys[3] = {-h / 4, 0.0f, h / 4};
    WidgetPieces::AddSlices(target, tile, centre, scale, xs, ys, colour, blendMode);
    target->AddTileSized(tile, centre + Vector2((KnobOffset() - w * 0.5f) * scale, 0.0f), knobSize * scale,
                         colour, blendMode);
}

void UISlider::OnTouchDown(Vector2 const& position, int)
{
    OnTouchMove(position);
}

void UISlider::OnTouchUp(Vector2 const& position, int)
{
    OnTouchMove(position);
}

void UISlider::OnTouchMove(Vector2 const& position)
{
    value = ValueAt(position.x - origin.x);
    const int state = value;
    // A Changed handler may delete the slider.
    DispatchGuard guard(this);
    Changed.Raise(this, state);
    if (guard.ElementDeleted())
        return;
    ValueChanged.Raise(state);
}

void UISlider::OnClick(Vector2 const&) {}
