// The game's labelled push button: a panel cut from one tile into six
// stretched slices, a word-wrapped label centred on it in the widget face and
// its outline, and a pulsing highlight while a finger holds it. The owner
// listens to the element's Clicked event. The label is laid out once. The
// panel goes to the owner's first sprite batch, the highlight to its second.
// Main thread only.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/VertexFormat.h"
#include "engine/ui/Element.h"

#include <string>

class UITextButton : public Vexel::UI::Element
{
public:
    // size is the panel's design size; capWidth the width its left and right
    // ends keep. Without a tile the button is disabled and draws only its
    // label. The tile and the batches are not owned.
    UITextButton(Vexel::UI::ElementLayout const& layout, TileInfo const* tile, Vector2 size, float capWidth,
                 int blendMode, Vexel::Graphics::Sprites::ITransientBatch* batch,
                 Vexel::Graphics::Sprites::ITransientBatch* glowBatch, std::string const& label,
                 Color textColour);
    ~UITextButton() override;

    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;
    void OnTouchDown(Vector2 const& position, int tapCount) override;

    // The panel into target at centre.
    void DrawBackground(Vexel::Graphics::Sprites::ITransientBatch* target, Vector2 centre, float scale,
                        float alpha, int blendMode);

private:
    Vexel::Graphics::Sprites::ITransientBatch* batch;
    Vexel::Graphics::Sprites::ITransientBatch* glowBatch;
    std::string label;
    float lastAlpha; // the alpha the label was last coloured for; -1 before
    Color textColour;
    Vexel::Graphics::Geometry::GeometryBuffer<Vexel::Graphics::Geometry::VertexP2T2C> textGeometry;
    Vector2 textSize;
    TileInfo const* tile; // may be null
    Vector2 size;
    float capWidth;
    int blendMode;
    Vector2 baseSize;
    float glowPhase;
};
