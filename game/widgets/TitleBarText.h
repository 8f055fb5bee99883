// The page title of the menus: one line of text laid out once in the plain
// widget face and again in the outline face, drawn additively with the
// outline twice at a slowly pulsing scale, so that the title seems to glow.
// Takes the touches inside its rectangle without reacting to them. Uses the
// widget fonts (engine/ui/UIHelper.h) and the owner's IFlush.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/VertexFormat.h"
#include "engine/ui/Element.h"

#include <cstdint>
#include <string>

class IFlush;

namespace Vexel
{
namespace Graphics
{
namespace Type
{
class LinotypeBatch;
}
} // namespace Graphics
} // namespace Vexel

class TitleBarText : public Vexel::UI::Element
{
public:
    // The text is laid out now, at 0.9 of the element's height. flusher may
    // be null; it is not owned.
    TitleBarText(Vexel::UI::ElementLayout const& layout, std::string const& text, Color colour,
                 IFlush* flusher);
    ~TitleBarText() override;

    void Update(float dt) override;
    // Centred in rect; the alpha is not applied (the colours are fixed).
    void Draw(Vexel::Rectangle rect, float alpha) override;

    std::string const& GetText() const { return text; }
    Color GetColour() const { return colour; }
    // The laid-out size of the plain text.
    Vector2 GetTextSize() const { return textSize; }
    // In [0, 1); one pulse of the outline per unit.
    float GetPulsePhase() const { return pulsePhase; }
    // The horizontal squeeze Draw applies in a rectangle of this width.
    float GetSqueeze(float width) const;

private:
    typedef Vexel::Graphics::Geometry::VertexP2T2C Vertex;

    IFlush* flusher;
    Vexel::Graphics::Type::LinotypeBatch* textBatch; // the plain face's quads
    Vertex* outlineVertices;
    int outlineVertexCount;
    uint16_t* outlineIndices;
    int outlineIndexCount;
    // The outline face's quads, over the two arrays above.
    Vexel::Graphics::Geometry::GeometryBuffer<Vertex>* outlineGeometry;
    std::string text;
    Color colour;
    Vector2 textSize;
    float pulsePhase;
};
