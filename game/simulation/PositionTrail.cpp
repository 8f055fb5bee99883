#include "game/simulation/PositionTrail.h"

#include "game/simulation/RawBytes.h"

#include <cmath>

PositionTrail::PositionTrail(int capacity, uint16_t tile, float width)
    : tile(tile), width(width),
      capacity(capacity < 1 ? 1 : (capacity > kMaxCapacity ? kMaxCapacity : capacity)), count(1), oldest(0),
      newest(0), stepCounter(0), phase(0.0f), colour(0, 0, 0, 0)
{
}

PositionTrail::PositionTrail(int capacity, Vector2 start, uint16_t tile, float width)
    : PositionTrail(capacity, tile, width)
{
    points[0] = start;
}

std::unique_ptr<PositionTrail> PositionTrail::Load(std::istream& in, int expectedCapacity, uint16_t tile,
                                                   float width)
{
    int32_t savedCapacity = 0;
    if (!ReadRaw(in, savedCapacity) || expectedCapacity < 1 || expectedCapacity > kMaxCapacity ||
        savedCapacity != expectedCapacity)
        return nullptr;

    std::unique_ptr<PositionTrail> trail(new PositionTrail(savedCapacity, tile, width));
    for (int i = 0; i < savedCapacity; ++i)
    {
        Vector2& p = trail->points[i];
        if (!ReadRaw(in, p.x) || !ReadRaw(in, p.y) || !std::isfinite(p.x) || !std::isfinite(p.y))
            return nullptr;
    }
    if (!ReadRaw(in, trail->count) || !ReadRaw(in, trail->oldest) || !ReadRaw(in, trail->newest) ||
        !ReadRaw(in, trail->stepCounter) || !ReadRaw(in, trail->phase) || !ReadRaw(in, trail->colour.r) ||
        !ReadRaw(in, trail->colour.g) || !ReadRaw(in, trail->colour.b) || !ReadRaw(in, trail->colour.a))
        return nullptr;

    const int32_t cap = trail->capacity;
    if (trail->count < 1 || trail->count > cap || trail->oldest < 0 || trail->oldest >= cap ||
        trail->newest < 0 || trail->newest >= cap || trail->stepCounter < 0 || trail->stepCounter > 2 ||
        !std::isfinite(trail->phase))
        return nullptr;
    return trail;
}

void PositionTrail::Save(std::ostream& out) const
{
    WriteRaw(out, capacity);
    for (int i = 0; i < capacity; ++i)
    {
        WriteRaw(out, points[i].x);
        WriteRaw(out, points[i].y);
    }
    WriteRaw(out, count);
    WriteRaw(out, oldest);
    WriteRaw(out, newest);
    WriteRaw(out, stepCounter);
    WriteRaw(out, phase);
    WriteRaw(out, colour.r);
    WriteRaw(out, colour.g);
    WriteRaw(out, colour.b);
    WriteRaw(out, colour.a);
}

void PositionTrail::Push(Vector2 position, bool wholeStep)
{
    if (wholeStep)
        stepCounter += 1;
    if (stepCounter > 2)
    {
        stepCounter = 0;
        newest = (newest + 1) % capacity;
        if (count == capacity)
            oldest = (oldest + 1) % capacity;
        else
            count += 1;
    }
    points[newest] = position;
}

Vector2 PositionTrail::Sample(float stepsBack) const
{
    if (count < 2)
        return points[0];

    const float f = (stepsBack - phase - float(stepCounter)) * 0.33333334f;
    if (!std::isfinite(f))
        return points[newest];
    const float whole = std::trunc(f);
    float frac = f - whole;
    const float last = float(count - 1);
    int i;
    // Compared as floats, so a far sample cannot overflow the index.
    if (whole + 1.0f > last)
    {
        frac += whole + 1.0f - last;
        i = count - 1;
    }
    else if (whole + 1.0f < 1.0f)
    {
        frac += whole;
        i = 1;
    }
    else
        i = int(whole) + 1;

    const Vector2 a = points[(newest + count - i + 1) % count];
    const Vector2 b = points[(newest + count - i) % count];
    return a + (b - a) * frac;
}

int PositionTrail::BuildRibbon(Vexel::Graphics::Geometry::VertexP2T2C* vertices,
                               Vexel::Rectangle const& uv) const
{
    if (count < 2)
        return 0;

    const float start = count == capacity ? -1.0f : (float(stepCounter) + phase) / 3.0f - 1.0f;
    const float step = ((float(count) + start) * 3.0f) / float(count);
    const float left = uv.x;
    const float right = uv.x + uv.width;
    const float vStep = uv.height / float(count - 1);

    Vector2 previous = Sample(0.0f);
    float s = step;
    for (int k = 0; k < count; ++k)
    {
        const Vector2 p = Sample(s);
        // Normalized() gives (1, 0) for a direction too short to have one.
        const Vector2 n = (p - previous).Perpendicular().Normalized() * width;
        const float v = uv.y + vStep * float(k);
        const Vector2 a = p - n;
        const Vector2 b = p + n;
        vertices[2 * k] = Vexel::Graphics::Geometry::VertexP2T2C(a.x, a.y, left, v, colour);
        vertices[2 * k + 1] = Vexel::Graphics::Geometry::VertexP2T2C(b.x, b.y, right, v, colour);
        previous = p;
        s += step;
    }
    return 2 * count;
}
