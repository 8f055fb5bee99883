// A block of static text: lines, each with its own colour, position and wrap
// width, word-wrapped into one text batch with a font the owner chose. The
// element takes the size of the laid-out text, ignores touches and fades with
// its tree by laying its text out again in the faded colours. Flushes the
// owner's sprites (IFlush) before drawing, so they lie beneath the text.
#pragma once

#include "engine/ui/Element.h"
#include "game/widgets/LinotypeLine.h"

#include <vector>

class IFlush;

namespace Vexel
{
namespace Graphics
{
namespace Type
{
class IFont;
class LinotypeBatch;
} // namespace Type
} // namespace Graphics
} // namespace Vexel

class UILinotypeElement : public Vexel::UI::Element
{
public:
    // The font must be loaded and, like the flusher, outlive the element;
    // neither is owned. The text is laid out now, fully transparent, so the
    // element has its size before its first draw.
    UILinotypeElement(std::vector<LinotypeLine> const& lines, Vexel::UI::ElementPosition position,
                      IFlush* flusher, Vexel::Graphics::Type::IFont* font);
    ~UILinotypeElement() override;

    void Draw(Vexel::Rectangle rect, float alpha) override;
    // Lays the text out again in colours faded to alpha, unless it already is.
    void Rebuild(float alpha);

    std::vector<LinotypeLine> const& GetLines() const { return lines; }
    // Null before the first layout.
    Vexel::Graphics::Type::LinotypeBatch const* GetTextBatch() const { return textBatch; }
    float GetLastAlpha() const { return lastAlpha; }

private:
    IFlush* flusher;
    Vexel::Graphics::Type::IFont* font;
    std::vector<LinotypeLine> lines;
    float lastAlpha; // -1 before the first layout
    Vexel::Graphics::Type::LinotypeBatch* textBatch;
};
