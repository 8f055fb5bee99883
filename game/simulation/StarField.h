// The twinkling background behind the play field: 320 stars in two parallax
// layers (0-191 near, 192-319 far), drawn as smoothed GL points whose colour
// is sampled from the star texture. Only the texture coordinates scroll (by
// the texture matrix), so the star data never changes after construction and
// serves directly as the GL vertex and texture-coordinate arrays.
//
// The logic (construction, the per-tick step) lives in StarField.cpp; the GL
// calls in draw/StarFieldDraw.cpp.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/VertexFormat.h"

class StarField
{
public:
    static const int kStarCount = 320;
    static const int kNearCount = 192;
    static constexpr float kNearDepth = 2.6f;
    static constexpr float kFarDepth = 5.2f;
    static constexpr float kPhaseStep = 0.00225f;

    // Scatters the stars for a view scale; the generator (MT11213A) is local
    // to the construction and seeded by the caller, so equal seeds give
    // equal skies.
    StarField(float viewScale, unsigned seed);

    // Once per tick: the texture phase moves on and wraps once it is above 1
    // (a full cycle takes about 445 ticks).
    void Update();

    // view: the drawn area; centre: the camera centre (the view frame's
    // origin on screen); viewScale: the view frame's scale; colour: the
    // world colour (the far layer takes three quarters of its alpha).
    // Leaves additive blending set.
    void Draw(Vexel::Rectangle const& view, Vector2 centre, float viewScale, Color colour) const;

    // The drawing scale of a layer at a depth: 1 / (1 / viewScale + depth).
    static float LayerScale(float viewScale, float depth);
    // Where a point of the view lands in a layer of that scale.
    static Vector2 ToLayer(Vexel::Rectangle const& view, Vector2 point, float layerScale);

    float GetPhase() const { return phase; }
    Vexel::Graphics::Geometry::VertexP2T2 const& GetStar(int index) const { return stars[index]; }

private:
    Vexel::Graphics::Geometry::VertexP2T2 stars[kStarCount];
    float phase;
};
