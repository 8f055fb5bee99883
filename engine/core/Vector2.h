// Two-float vector: positions, sizes and directions (UI units are pixels).
#pragma once

struct Vector2
{
    float x, y;

    Vector2() : x(0.0f), y(0.0f) {}
    explicit Vector2(float v) : x(v), y(v) {}
    Vector2(float x, float y) : x(x), y(y) {}

    Vector2 operator+(Vector2 const& o) const { return Vector2(x + o.x, y + o.y); }
    Vector2 operator-(Vector2 const& o) const { return Vector2(x - o.x, y - o.y); }
    Vector2 operator*(float s) const { return Vector2(x * s, y * s); }
    Vector2 operator*(Vector2 const& o) const { return Vector2(x * o.x, y * o.y); }
    Vector2 operator/(Vector2 const& o) const { return Vector2(x / o.x, y / o.y); }
    Vector2 operator-() const { return Vector2(-x, -y); }
    Vector2& operator+=(Vector2 const& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    Vector2& operator*=(float s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    Vector2& operator/=(Vector2 const& o)
    {
        x /= o.x;
        y /= o.y;
        return *this;
    }
    bool operator!=(Vector2 const& o) const { return x != o.x || y != o.y; }
    bool operator==(Vector2 const& o) const { return !(*this != o); }

    float LengthSquared() const { return x * x + y * y; }
    float Length() const;
    // Counter-clockwise in maths axes (clockwise on screen, where y points down).
    Vector2 Rotate(float angle) const;
    Vector2 Transposed() const { return Vector2(y, x); }
    // atan2f(-x, y): 0 along +y, growing towards -x.
    float Angle() const;
    // Unit vector; (1, 0) when shorter than 1e-6.
    Vector2 Normalized() const;
    Vector2 Perpendicular() const { return Vector2(y, -x); }

    static Vector2 Lerp(Vector2 const& a, Vector2 const& b, float t) { return a * (1.0f - t) + b * t; }
};
