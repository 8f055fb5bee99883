// A small anti-aliased 2-D rasteriser for the asset generator: a float
// premultiplied-RGBA canvas, shapes given as signed distance functions in a
// painter's local frame, and the glow, gradient and noise helpers the art
// files share. Everything is deterministic: noise is hashed, never seeded
// from a shared generator, so atlases can be painted on parallel threads.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace AssetGen
{

struct V2
{
    float x, y;
    V2() : x(0), y(0) {}
    V2(float x, float y) : x(x), y(y) {}
    V2 operator+(V2 o) const { return V2(x + o.x, y + o.y); }
    V2 operator-(V2 o) const { return V2(x - o.x, y - o.y); }
    V2 operator*(float s) const { return V2(x * s, y * s); }
    V2 operator-() const { return V2(-x, -y); }
    float Dot(V2 o) const { return x * o.x + y * o.y; }
    float Length() const { return std::sqrt(x * x + y * y); }
    // Counter-clockwise on paper; with y pointing down it turns clockwise on screen.
    V2 Rotated(float a) const
    {
        return V2(x * std::cos(a) - y * std::sin(a), x * std::sin(a) + y * std::cos(a));
    }
};

// Premultiplied colour; components nominally 0..1 but additive work may go above.
struct Rgba
{
    float r, g, b, a;
    Rgba() : r(0), g(0), b(0), a(0) {}
    Rgba(float r, float g, float b, float a = 1.0f) : r(r), g(g), b(b), a(a) {}
    // A straight colour at the given opacity, premultiplied.
    static Rgba Straight(float r, float g, float b, float a) { return Rgba(r * a, g * a, b * a, a); }
    static Rgba Bytes(int r, int g, int b, int a = 255)
    {
        return Straight(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
    }
    Rgba operator*(float s) const { return Rgba(r * s, g * s, b * s, a * s); }
    Rgba operator+(Rgba o) const { return Rgba(r + o.r, g + o.g, b + o.b, a + o.a); }
    // Same hue at a different opacity (premultiplied scale).
    Rgba WithAlpha(float alpha) const;
    static Rgba Lerp(Rgba a, Rgba b, float t) { return a * (1.0f - t) + b * t; }
};

struct Box
{
    float x0, y0, x1, y1;
    Box() : x0(0), y0(0), x1(0), y1(0) {}
    Box(float x0, float y0, float x1, float y1) : x0(x0), y0(y0), x1(x1), y1(y1) {}
    static Box Around(V2 c, float r) { return Box(c.x - r, c.y - r, c.x + r, c.y + r); }
    Box Grown(float m) const { return Box(x0 - m, y0 - m, x1 + m, y1 + m); }
    Box Union(Box const& o) const;
};

// A shape: signed distance (negative inside) in local units, and local bounds.
struct Shape
{
    std::function<float(V2)> distance;
    Box bounds;
};

// Shape builders (local units).
Shape Circle(V2 centre, float radius);
Shape Ellipse(V2 centre, float rx, float ry);
Shape Ring(V2 centre, float radius, float halfThickness);
Shape Capsule(V2 a, V2 b, float radius);
Shape RoundedBox(V2 centre, V2 halfSize, float cornerRadius);
Shape Polygon(std::vector<V2> points); // any simple polygon, either winding
Shape Arc(V2 centre, float radius, float halfThickness, float fromAngle, float toAngle);
Shape Star(V2 centre, float outer, float inner, int points, float rotation);
Shape RegularPolygon(V2 centre, float radius, int sides, float rotation);
Shape Union(Shape const& a, Shape const& b);
Shape Subtract(Shape const& a, Shape const& b);
Shape Intersect(Shape const& a, Shape const& b);
Shape Outline(Shape const& s, float halfThickness); // a band along the edge
Shape Mirrored(Shape const& s);                     // the shape and its mirror in x = 0

// Per-pixel colour source for fills: local position and the distance there.
using Paint = std::function<Rgba(V2 local, float distance)>;
Paint Solid(Rgba c);
Paint LinearGradient(V2 from, Rgba a, V2 to, Rgba b);
Paint RadialGradient(V2 centre, float radius, Rgba inner, Rgba outer);

// Blend of a painted layer onto the canvas.
enum class Blend
{
    Over, // premultiplied source-over
    Add,  // light added
    Erase // removes coverage (destination-out)
};

class Canvas
{
public:
    Canvas(int width, int height);
    int Width() const { return width; }
    int Height() const { return height; }
    Rgba& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    Rgba const& At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    void Put(int x, int y, Rgba c, Blend blend);
    void Clear(Rgba c);

private:
    int width, height;
    std::vector<Rgba> pixels;
};

// Maps pixels of a clip rectangle of the canvas to a local frame. The default
// frame puts (0, 0) at the clip's centre with the shorter side spanning -1..1.
class Painter
{
public:
    Painter(Canvas& canvas, int x, int y, int w, int h);
    // A frame of given half extents (local units) stretched over the clip.
    Painter(Canvas& canvas, int x, int y, int w, int h, float halfX, float halfY);

    // A sub-frame: local origin at `centre` (this frame's units), scaled by
    // `scale`, turned by `rotation`; clipping stays.
    Painter Sub(V2 centre, float scale, float rotation = 0.0f) const;
    Painter Clipped(Box localClip) const; // same frame, clip narrowed to a local box

    float HalfX() const { return halfX; }
    float HalfY() const { return halfY; }
    float PixelSize() const { return pixelSize; } // local units per pixel
    int ClipW() const { return clipW; }
    int ClipH() const { return clipH; }

    void Fill(Shape const& s, Paint const& paint, Blend blend = Blend::Over) const;
    void Fill(Shape const& s, Rgba c, Blend blend = Blend::Over) const { Fill(s, Solid(c), blend); }
    // Soft light around (and inside) a shape: falls off as exp(-(d/radius)^2).
    void Glow(Shape const& s, Rgba c, float radius, Blend blend = Blend::Add) const;
    // Luminous vector style: dim body, bright rim, soft halo.
    void Neon(Shape const& s, Rgba c, float rim, float bodyAlpha = 0.35f, float halo = 0.0f) const;
    // Applies f to every pixel of the clip (local position in, colour out).
    void Shade(std::function<Rgba(V2, Rgba)> const& f) const;
    // Local position of a pixel centre and the reverse.
    V2 ToLocal(float px, float py) const;
    V2 ToPixel(V2 local) const;
    // The pixel-space bounding box of a local box.
    void PixelBounds(Box local, float& x0, float& y0, float& x1, float& y1) const;
    Canvas& Target() const { return *canvas; }

private:
    Painter() = default;
    void Walk(Box bounds, std::function<void(int, int, V2)> const& f) const;

    Canvas* canvas = nullptr;
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
    // local = origin + px * ex + py * ey, pixel coordinates relative to the canvas
    V2 origin, ex, ey;
    float pixelSize = 1.0f;
    float halfX = 1.0f, halfY = 1.0f;
};

// Helpers.
float Clamp01(float v);
float Smoothstep(float e0, float e1, float v);
float Hash(int x, int y, int seed);           // 0..1
float ValueNoise(float x, float y, int seed); // smooth 0..1
float Fbm(float x, float y, int octaves, int seed);
// Noise that wraps every `period` units in x (for seamless strips).
float PeriodicFbm(float x, float y, float period, int octaves, int seed);
Rgba Hsv(float hueDegrees, float saturation, float value, float alpha = 1.0f);

} // namespace AssetGen
