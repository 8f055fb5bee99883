// Byte and float colours. Color is four bytes r, g, b, a in memory order,
// which is also the per-vertex colour of the batches.
#pragma once

#include <cstdint>

struct Color4f;

struct Color
{
    uint8_t r, g, b, a;

    Color() : r(255), g(255), b(255), a(255) {}
    Color(uint8_t r, uint8_t g, uint8_t b, uint8_t a) : r(r), g(g), b(b), a(a) {}
    // r is the low byte of the word, a the high byte.
    explicit Color(uint32_t packed)
        : r(uint8_t(packed)), g(uint8_t(packed >> 8)), b(uint8_t(packed >> 16)), a(uint8_t(packed >> 24))
    {
    }
    explicit Color(Color4f const& c);

    static Color FromRgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return Color(r, g, b, a); }

    uint32_t Packed() const
    {
        return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16) | (uint32_t(a) << 24);
    }
    bool operator!=(Color const& o) const { return Packed() != o.Packed(); }
    bool operator==(Color const& o) const { return Packed() == o.Packed(); }

    // A copy whose alpha is trunc(a * factor) clamped to 0..255.
    Color ScaleAlpha(float factor) const;
    static Color ScaleAlpha(Color const& c, float factor) { return c.ScaleAlpha(factor); }
};

struct Color4f
{
    float r, g, b, a;

    Color4f() : r(0.0f), g(0.0f), b(0.0f), a(0.0f) {}
    Color4f(float r, float g, float b, float a) : r(r), g(g), b(b), a(a) {}
    // Each channel byte / 255.99, so 255 becomes 0.99613, not 1.0.
    Color4f(Color const& c);

    Color4f operator*(float s) const { return Color4f(r * s, g * s, b * s, a * s); }
    Color4f operator+(Color4f const& o) const { return Color4f(r + o.r, g + o.g, b + o.b, a + o.a); }

    static Color4f Lerp(Color4f const& a, Color4f const& b, float t) { return a * (1.0f - t) + b * t; }
};
