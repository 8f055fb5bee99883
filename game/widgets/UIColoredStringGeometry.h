// A piece of geometry holding a text made of segments of different colours.
// When a batch asks for its vertices it lays the text out, word-wrapped to
// its rectangle's width (no wrapping for a width of 0 or less): a row breaks
// after the last space or tab that fits, a word wider than the rectangle is
// cut where it stops fitting, a newline always breaks, and rows follow each
// other by the font size. A moved rectangle shifts the kept vertices; new
// text or a new size lays the text out again.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/Geometry.h"
#include "engine/graphics/VertexFormat.h"
#include "game/widgets/UIColoredStringSegment.h"

#include <string>
#include <vector>

namespace Vexel
{
namespace Graphics
{
namespace Type
{
class IFont;
}
} // namespace Graphics
} // namespace Vexel

class UIColoredStringGeometry
    : public Vexel::Graphics::Geometry::Geometry<Vexel::Graphics::Geometry::VertexP2T2C>
{
public:
    typedef Vexel::Graphics::Geometry::VertexP2T2C Vertex;

    // Text starting at position that never wraps. The font is loaded here;
    // it is not owned and may be null or without a face (nothing is drawn).
    UIColoredStringGeometry(Vexel::Graphics::Type::IFont* font, Vector2 const& position);
    UIColoredStringGeometry(Vexel::Graphics::Type::IFont* font, Vexel::Rectangle const& rect);
    ~UIColoredStringGeometry() override;

    // An empty text appends nothing.
    void Append(std::string const& text, Color const& colour);
    void Append(UIColoredStringSegment const& segment);
    void Clear();

    void SetRect(Vexel::Rectangle rect);
    Vexel::Rectangle GetRect() const { return rect; }
    float GetWidth() const { return rect.width; }
    // The laid-out text's bounds, laying it out first when needed; empty for
    // an empty text.
    Vexel::Rectangle GetBounds();

    std::string const& GetText() const { return text; }
    Vexel::Graphics::Type::IFont* GetFont() const { return font; }

    Vexel::Graphics::Geometry::GenerationResponse::Enum
    Generate(Vexel::Graphics::Geometry::GenerationData<Vertex>& data);

private:
    void Relayout();

    Vexel::Graphics::Type::IFont* font;
    Vexel::Rectangle rect;
    Vexel::Rectangle bounds;
    std::string text;
    std::vector<Color> colours;   // one per segment
    std::vector<int> segmentEnds; // 0, then the text's length after each segment
};
