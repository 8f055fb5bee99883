#include "engine/core/Vector2.h"
#include "engine/core/Vector3.h"

#include <cmath>

float Vector2::Length() const { return sqrtf(LengthSquared()); }

Vector2 Vector2::Rotate(float angle) const
{
    const float c = cosf(angle);
    const float s = sinf(angle);
    return Vector2(x * c - y * s, x * s + y * c);
}

float Vector2::Angle() const { return atan2f(-x, y); }

Vector2 Vector2::Normalized() const
{
    const float length = Length();
    if (length < 1e-6f)
        return Vector2(1.0f, 0.0f);
    return Vector2(x / length, y / length);
}

float Vector3::Length() const { return sqrtf(x * x + y * y + z * z); }

Vector3 Vector3::Normalized() const
{
    const float length = Length();
    if (length < 1e-6f)
        return Vector3(1.0f, 0.0f, 0.0f);
    return Vector3(x / length, y / length, z / length);
}
