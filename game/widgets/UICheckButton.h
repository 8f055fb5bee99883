// The game's on/off switch: a square face at the left end showing the state,
// a rounded plate behind the label filling the rest, and a word-wrapped label
// whose text and colour follow the state. A click (a release inside) flips
// the state and raises Toggled, then CheckedChanged. While a finger holds it
// a highlight pulses over it. Face and plate go to the owner's first sprite
// batch, the checked mark and the highlight to its second; the owner draws
// both after the page. Main thread only.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Event.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/VertexFormat.h"
#include "engine/ui/Element.h"

#include <string>

class UICheckButton : public Vexel::UI::Element
{
public:
    // size is the design size (w, h) the button is drawn at when its element
    // has the layout's portrait size; the batches are not owned.
    UICheckButton(Vexel::UI::ElementLayout const& layout, Vector2 size,
                  Vexel::Graphics::Sprites::ITransientBatch* batch,
                  Vexel::Graphics::Sprites::ITransientBatch* glowBatch, std::string const& checkedLabel,
                  std::string const& uncheckedLabel, bool checked);
    ~UICheckButton() override;

    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;
    void OnTouchDown(Vector2 const& position, int tapCount) override;
    void OnClick(Vector2 const& position) override;

    // Face and plate into target at centre; the checked mark always goes to
    // the highlight batch.
    void DrawBackground(Vexel::Graphics::Sprites::ITransientBatch* target, Vector2 centre, float scale,
                        float alpha, int blendMode);

    // After every flip: the button and its new state, then the state alone.
    Vexel::Event<UICheckButton*, bool> Toggled;
    Vexel::Event<bool> CheckedChanged;

private:
    typedef Vexel::Graphics::Geometry::GeometryBuffer<Vexel::Graphics::Geometry::VertexP2T2C> TextBuffer;

    Vexel::Graphics::Sprites::ITransientBatch* batch;
    Vexel::Graphics::Sprites::ITransientBatch* glowBatch;
    bool checked;
    bool lastChecked; // the state the shown label was last coloured for
    std::string checkedLabel;
    std::string uncheckedLabel;
    float lastAlpha;        // the text alpha it was last coloured for; -1 before
    TextBuffer checkedText; // one quad per byte of the label
    Vector2 checkedTextSize;
    TextBuffer uncheckedText;
    Vector2 uncheckedTextSize;
    Vector2 size;
    float capWidth; // h / 2: the plate's rounded ends
    float boxWidth; // the face: as wide as the pill tile's proportions give at height h
    Vector2 baseSize;
    float glowPhase;
};
