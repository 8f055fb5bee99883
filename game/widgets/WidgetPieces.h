// Pieces the game's buttons and sliders share: the pulsing press highlight,
// the scale from a widget's design size to its drawn rectangle, a tile cut
// into six slices for pills and panels, and labels that are word-wrapped
// once and drawn with both widget faces over the same quads.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/VertexFormat.h"

#include <string>

struct TileInfo;

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
class IFont;
}
} // namespace Graphics
} // namespace Vexel

namespace WidgetPieces
{

typedef Vexel::Graphics::Geometry::GeometryBuffer<Vexel::Graphics::Geometry::VertexP2T2C> TextBuffer;

// Highlight phase 0 is idle. A held widget runs it from 0 towards 1 at 1.5
// per second and starts again with the fraction; once let go, the current
// pulse runs to 1 and the phase drops to 0.
float AdvanceGlow(float phase, float dt, bool held);
// The highlight drawn over a widget at this phase: its scale factor and its
// alpha for the widget's drawing alpha.
float GlowScale(float phase);
float GlowAlpha(float phase, float alpha);

// The smaller ratio of drawn to design size over the axes that have a design
// size; 1 when neither has one (or the result is not a finite number).
float DesignScale(Vexel::Rectangle const& rect, Vector2 const& designSize);

// Six slices of a tile: texture columns 0, 0.48, 0.52, 1 onto the x edges
// xs, rows 0, 0.5, 1 onto the y edges ys, both relative to centre and scaled.
// So the outer 48 % on each side keep their width and the middle 4 % stretch.
void AddSlices(Vexel::Graphics::Sprites::ITransientBatch* target, TileInfo const& tile, Vector2 centre,
               float scale, float const xs[4], float const ys[3], Color colour, int blendMode);

// Lays the label out into the buffer, breaking lines at spaces so that no
// line is wider than wrapWidth unless it holds one word. Lines start at x 0
// and follow each other by the font size. Returns the block's size.
Vector2 LayoutWrapped(Vexel::Graphics::Type::IFont* font, TextBuffer& buffer, std::string const& label,
                      float wrapWidth, Color colour);

// Gives every vertex written into the buffer this colour.
void Recolour(TextBuffer& buffer, Color colour);

// Draws the buffer added (blend mode 2, left current) with its origin at
// topLeft and scaled: with the plain face's texture, then again with the
// outline face's, as both faces keep their glyphs in the same cells. A face
// that is not loaded skips its pass.
void DrawWithBothFaces(TextBuffer const& buffer, Vector2 topLeft, float scale);

} // namespace WidgetPieces
