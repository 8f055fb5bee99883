// A frame drawn from one tile through the shared widget batch: the tile's
// four quarters stay at half the tile's size in the corners, its middle row
// and column stretch along the edges and, when filled, its centre texel
// stretches over the middle. Follows the element's rectangle and alpha by
// moving and recolouring its sixteen vertices in place; takes no touches.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/Geometry.h"
#include "engine/graphics/TileInfo.h"
#include "engine/graphics/VertexFormat.h"
#include "engine/ui/Element.h"

class UIBorderComponent : public Vexel::UI::Element
{
public:
    typedef Vexel::Graphics::Geometry::VertexP2T2C Vertex;

    static const int kVertexCount = 16;
    static const int kIndexCount = 24;

    UIBorderComponent(Vexel::UI::ElementLayout const& layout, TileInfo const& tile, Color colour,
                      int blendMode, bool filled);
    ~UIBorderComponent() override;

    // Follows rect and alpha, then queues the frame in the shared batch.
    void Draw(Vexel::Rectangle rect, float alpha) override;
    void SetRect(Vexel::Rectangle const& rect);
    void SetAlpha(float alpha);

    Vexel::Graphics::Geometry::GenerationResponse::Enum
    Generate(Vexel::Graphics::Geometry::GenerationData<Vertex>& data);

    Vexel::Graphics::Geometry::Geometry<Vertex>& GetFrameGeometry() { return frameGeometry; }
    Vexel::Rectangle GetRect() const { return rect; }
    Vector2 GetCornerSize() const { return cornerSize; }
    bool IsFilled() const { return filled; }

private:
    Vexel::Graphics::Geometry::Geometry<Vertex> frameGeometry;
    bool filled;
    Vector2 cornerSize; // on screen: half the tile's pixel size
    Vector2 uvTopLeft;
    Vector2 uvBottomRight;
    Vector2 uvCentre;
    Color colour;          // at full opacity
    float alpha;           // last applied
    Vexel::Rectangle rect; // last applied
};
