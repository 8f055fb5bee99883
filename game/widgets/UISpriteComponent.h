// One tile stretched over the element's rectangle, drawn through the shared
// widget batch; follows the rectangle and the alpha of the element tree and
// takes no touches.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/graphics/GeometrySprite.h"
#include "engine/graphics/TileInfo.h"
#include "engine/ui/Element.h"

class UISpriteComponent : public Vexel::UI::Element
{
public:
    // The tile must outlive the component.
    UISpriteComponent(Vexel::UI::ElementLayout const& layout, TileInfo const& tile, Color colour,
                      int blendMode);
    ~UISpriteComponent() override;

    // Follows rect and alpha, then queues the sprite in the shared batch.
    void Draw(Vexel::Rectangle rect, float alpha) override;
    void SetRect(Vexel::Rectangle const& rect);
    void SetAlpha(float alpha);

    Vexel::Graphics::Geometry::Sprite& GetSprite() { return sprite; }
    Vexel::Rectangle GetRect() const { return rect; }

private:
    Vexel::Graphics::Geometry::Sprite sprite;
    Color colour;          // at full opacity
    float alpha;           // last applied
    Vexel::Rectangle rect; // last applied
};
