// Picks a whole number in [min, max] by dragging a knob along a horizontal
// track. The knob jumps to the finger on touch down and follows it until the
// release, which gives the final value; every touch step raises Changed and
// then ValueChanged, also when the value stayed. The value can be shown as a
// number on the knob. While held, a highlight pulses over it. Track and knob
// go to the owner's first sprite batch, the highlight to its second. Main
// thread only.
#pragma once

#include "engine/core/Event.h"
#include "engine/core/Vector2.h"
#include "engine/ui/Element.h"

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{
class ITransientBatch;
}
namespace Type
{
class LinotypeBatch;
}
} // namespace Graphics
} // namespace Vexel

class UISlider : public Vexel::UI::Element
{
public:
    // size is the design size (w, h) of the whole slider; the initial value
    // is kept as given until the first touch. A range with max <= min holds
    // min. The batches are not owned.
    UISlider(Vexel::UI::ElementLayout const& layout, Vector2 size,
             Vexel::Graphics::Sprites::ITransientBatch* batch,
             Vexel::Graphics::Sprites::ITransientBatch* glowBatch, int min, int max, int value,
             bool showValue);
    ~UISlider() override;

    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;
    void OnTouchDown(Vector2 const& position, int tapCount) override;
    void OnTouchMove(Vector2 const& position) override;
    void OnTouchUp(Vector2 const& position, int tapCount) override;
    void OnClick(Vector2 const& position) override;

    // On every touch step: the slider and its value, then the value alone.
    Vexel::Event<UISlider*, int> Changed;
    Vexel::Event<int> ValueChanged;

private:
    // How far the knob's centre travels: the slider's width less 0.42 knob
    // widths at each end (at least 1).
    float TrackLength() const;
    // The knob centre's distance from the left edge for the current value.
    float KnobOffset() const;
    // The value for a distance x from the left edge: the nearest step, an
    // exact half going up, within the range.
    int ValueAt(float x) const;
    void DrawTrack(Vexel::Graphics::Sprites::ITransientBatch* target, Vector2 centre, float scale,
                   float alpha, int blendMode);

    Vexel::Graphics::Sprites::ITransientBatch* batch;
    Vexel::Graphics::Sprites::ITransientBatch* glowBatch;
    int minValue;
    int maxValue;
    int value;
    bool showValue;
    Vector2 size;
    float trackThickness; // h / 4: the track's rounded ends, half its height
    Vector2 knobSize;     // the pill tile's proportions at height h
    Vector2 baseSize;
    float glowPhase;
    Vector2 origin; // top left of the last drawn rectangle: where touches are measured from
    // The number, laid out again on every drawn frame into the same batch.
    Vexel::Graphics::Type::LinotypeBatch* numberText;
};
