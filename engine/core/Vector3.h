// Three-float vector: tilt readings.
#pragma once

struct Vector3
{
    float x, y, z;

    Vector3() : x(0.0f), y(0.0f), z(0.0f) {}
    explicit Vector3(float v) : x(v), y(v), z(v) {}
    Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

    Vector3 operator+(Vector3 const& o) const { return Vector3(x + o.x, y + o.y, z + o.z); }
    Vector3 operator*(float s) const { return Vector3(x * s, y * s, z * s); }
    Vector3 operator*(Vector3 const& o) const { return Vector3(x * o.x, y * o.y, z * o.z); }

    float Length() const;
    // Unit vector; (1, 0, 0) when shorter than 1e-6.
    Vector3 Normalized() const;
};
