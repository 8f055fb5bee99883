// A ring buffer of an enemy's past positions. It is the path the segments of
// a snake follow (they ask where the leader was some steps ago) and the
// ribbon drawn behind trailing kinds. One point is kept per three whole
// movement steps; the newest point always tracks the live position, so
// sampling interpolates between points three steps apart.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/VertexFormat.h"

#include <cstdint>
#include <iosfwd>
#include <memory>

class PositionTrail
{
public:
    // The longest trail of any kind; the points live inside the object, so a
    // trail is one allocation.
    static constexpr int kMaxCapacity = 20;

    // count 1, all indexes 0, point 0 = start. The capacity is kept within
    // 1..kMaxCapacity.
    PositionTrail(int capacity, Vector2 start, uint16_t tile, float width);
    PositionTrail(PositionTrail const&) = delete;
    PositionTrail& operator=(PositionTrail const&) = delete;

    // Reads the saved form into a new trail. Null, and nothing kept, when the
    // stream ends early, the capacity is not the expected one, count is not
    // in 1..capacity, an index lies outside the ring, the step counter is not
    // 0..2 or a float is not finite.
    static std::unique_ptr<PositionTrail> Load(std::istream& in, int expectedCapacity, uint16_t tile,
                                               float width);
    // capacity (int32), capacity points (2 x f32), count, oldest, newest,
    // stepCounter (int32), phase (f32), colour (4 bytes); little-endian.
    void Save(std::ostream& out) const;

    // Every tick: a whole step advances the step counter; the third starts a
    // new point. The newest point takes the position in every call.
    void Push(Vector2 position, bool wholeStep);
    void SetPhase(float value) { phase = value; }
    void SetColour(Color value) { colour = value; }

    // The position stepsBack whole steps ago, interpolated; beyond the
    // oldest point it extrapolates along the last segment.
    Vector2 Sample(float stepsBack) const;

    // Writes 2 x count vertices of a triangle strip (left, right per point,
    // newest first) textured across uv, in the trail's colour. Returns the
    // number written: 0 when the trail holds fewer than two points.
    int BuildRibbon(Vexel::Graphics::Geometry::VertexP2T2C* vertices, Vexel::Rectangle const& uv) const;

    uint16_t GetTile() const { return tile; }
    float GetWidth() const { return width; }
    int GetCapacity() const { return capacity; }
    int GetCount() const { return count; }
    int GetOldest() const { return oldest; }
    int GetNewest() const { return newest; }
    int GetStepCounter() const { return stepCounter; }
    float GetPhase() const { return phase; }
    Color GetColour() const { return colour; }
    Vector2 GetPoint(int index) const { return points[index]; }

private:
    PositionTrail(int capacity, uint16_t tile, float width);

    uint16_t tile;
    float width; // half width of the ribbon
    Vector2 points[kMaxCapacity];
    int32_t capacity;
    int32_t count;
    int32_t oldest;
    int32_t newest;
    int32_t stepCounter; // whole steps since the newest point was started, 0..2
    float phase;         // the owner's step fraction / 256
    Color colour;
};
