// Signed-distance rasteriser: coverage is 0.5 - distance in pixels, clamped,
// which gives one pixel of anti-aliasing at any scale or rotation.
#include "tools/assetgen/Raster.h"

#include "engine/core/VectorMath.h"

#include <algorithm>
#include <cstdint>

namespace AssetGen
{

using Vexel::kPi;
using Vexel::kTwoPi;

namespace
{

float SegmentDistance(V2 p, V2 a, V2 b)
{
    V2 pa = p - a, ba = b - a;
    float len2 = ba.Dot(ba);
    float h = len2 > 0 ? std::clamp(pa.Dot(ba) / len2, 0.0f, 1.0f) : 0.0f;
    return (pa - ba * h).Length();
}

Box BoundsOf(std::vector<V2> const& pts)
{
    Box b(pts[0].x, pts[0].y, pts[0].x, pts[0].y);
    for (V2 p : pts)
    {
        b.x0 = std::min(b.x0, p.x);
        b.y0 = std::min(b.y0, p.y);
        b.x1 = std::max(b.x1, p.x);
        b.y1 = std::max(b.y1, p.y);
    }
    return b;
}

uint32_t Mix(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

float Fade(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

Rgba Rgba::WithAlpha(float alpha) const
{
    if (a <= 0.0f)
        return Rgba(r, g, b, 0.0f) * alpha;
    return Rgba(r / a * alpha, g / a * alpha, b / a * alpha, alpha);
}

Box Box::Union(Box const& o) const
{
    return Box(std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1));
}

Shape Circle(V2 c, float r)
{
    return Shape{[c, r](V2 p) { return (p - c).Length() - r; }, Box::Around(c, r)};
}

Shape Ellipse(V2 c, float rx, float ry)
{
    // First-order distance: implicit value over its gradient length.
    return Shape{[c, rx, ry](V2 p)
                 {
                     V2 q((p.x - c.x) / rx, (p.y - c.y) / ry);
                     float l = q.Length();
                     if (l < 1e-5f)
                         return -std::min(rx, ry);
                     float g = std::sqrt(q.x * q.x / (rx * rx) + q.y * q.y / (ry * ry)) / l;
                     return (l - 1.0f) / g;
                 },
                 Box(c.x - rx, c.y - ry, c.x + rx, c.y + ry)};
}

Shape Ring(V2 c, float r, float t)
{
    return Shape{[c, r, t](V2 p) { return std::fabs((p - c).Length() - r) - t; }, Box::Around(c, r + t)};
}

Shape Capsule(V2 a, V2 b, float r)
{
    Box bb = BoundsOf({a, b}).Grown(r);
    return Shape{[a, b, r](V2 p) { return SegmentDistance(p, a, b) - r; }, bb};
}

Shape RoundedBox(V2 c, V2 h, float cr)
{
    return Shape{[c, h, cr](V2 p)
                 {
                     float qx = std::fabs(p.x - c.x) - h.x + cr;
                     float qy = std::fabs(p.y - c.y) - h.y + cr;
                     float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
                     return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - cr;
                 },
                 Box(c.x - h.x, c.y - h.y, c.x + h.x, c.y + h.y)};
}

Shape Polygon(std::vector<V2> v)
{
    Box bb = BoundsOf(v);
    return Shape{[v](V2 p)
                 {
                     float d = (p - v[0]).Dot(p - v[0]);
                     bool inside = false;
                     size_t n = v.size();
                     for (size_t i = 0, j = n - 1; i < n; j = i, ++i)
                     {
                         V2 e = v[j] - v[i], w = p - v[i];
                         float len2 = e.Dot(e);
                         float h = len2 > 0 ? std::clamp(w.Dot(e) / len2, 0.0f, 1.0f) : 0.0f;
                         V2 b = w - e * h;
                         d = std::min(d, b.Dot(b));
                         if ((v[i].y > p.y) != (v[j].y > p.y) &&
                             p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
                             inside = !inside;
                     }
                     return inside ? -std::sqrt(d) : std::sqrt(d);
                 },
                 bb};
}

Shape Arc(V2 c, float r, float t, float from, float to)
{
    V2 a = c + V2(std::cos(from), std::sin(from)) * r;
    V2 b = c + V2(std::cos(to), std::sin(to)) * r;
    float mid = 0.5f * (from + to), half = 0.5f * (to - from);
    return Shape{[=](V2 p)
                 {
                     V2 q = p - c;
                     float ang = std::atan2(q.y, q.x) - mid;
                     ang = std::remainder(ang, kTwoPi);
                     if (std::fabs(ang) <= half)
                         return std::fabs(q.Length() - r) - t;
                     return std::min((p - a).Length(), (p - b).Length()) - t;
                 },
                 Box::Around(c, r + t)};
}

Shape Star(V2 c, float outer, float inner, int n, float rot)
{
    std::vector<V2> pts;
    for (int i = 0; i < 2 * n; ++i)
    {
        float a = rot + float(i) * kPi / float(n) - 1.5707963f;
        float r = (i % 2 == 0) ? outer : inner;
        pts.push_back(c + V2(std::cos(a), std::sin(a)) * r);
    }
    return Polygon(pts);
}

Shape RegularPolygon(V2 c, float r, int sides, float rot)
{
    std::vector<V2> pts;
    for (int i = 0; i < sides; ++i)
    {
        float a = rot + float(i) * kTwoPi / float(sides) - 1.5707963f;
        pts.push_back(c + V2(std::cos(a), std::sin(a)) * r);
    }
    return Polygon(pts);
}

Shape Union(Shape const& a, Shape const& b)
{
    auto da = a.distance, db = b.distance;
    return Shape{[da, db](V2 p) { return std::min(da(p), db(p)); }, a.bounds.Union(b.bounds)};
}

Shape Subtract(Shape const& a, Shape const& b)
{
    auto da = a.distance, db = b.distance;
    return Shape{[da, db](V2 p) { return std::max(da(p), -db(p)); }, a.bounds};
}

Shape Intersect(Shape const& a, Shape const& b)
{
    auto da = a.distance, db = b.distance;
    Box bb(std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
           std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1));
    return Shape{[da, db](V2 p) { return std::max(da(p), db(p)); }, bb};
}

Shape Outline(Shape const& s, float t)
{
    auto d = s.distance;
    return Shape{[d, t](V2 p) { return std::fabs(d(p)) - t; }, s.bounds.Grown(t)};
}

Shape Mirrored(Shape const& s)
{
    auto d = s.distance;
    Box b = s.bounds;
    float m = std::max(std::fabs(b.x0), std::fabs(b.x1));
    return Shape{[d](V2 p) { return std::min(d(p), d(V2(-p.x, p.y))); }, Box(-m, b.y0, m, b.y1)};
}

Paint Solid(Rgba c)
{
    return [c](V2, float) { return c; };
}

Paint LinearGradient(V2 from, Rgba a, V2 to, Rgba b)
{
    V2 axis = to - from;
    float len2 = std::max(1e-9f, axis.Dot(axis));
    return [=](V2 p, float) { return Rgba::Lerp(a, b, Clamp01((p - from).Dot(axis) / len2)); };
}

Paint RadialGradient(V2 c, float r, Rgba inner, Rgba outer)
{
    return [=](V2 p, float) { return Rgba::Lerp(inner, outer, Clamp01((p - c).Length() / r)); };
}

Canvas::Canvas(int width, int height) : width(width), height(height), pixels(size_t(width) * size_t(height))
{
}

void Canvas::Put(int x, int y, Rgba c, Blend blend)
{
    Rgba& d = At(x, y);
    switch (blend)
    {
    case Blend::Over:
        d = c + d * (1.0f - std::min(1.0f, c.a));
        break;
    case Blend::Add:
        d = Rgba(d.r + c.r, d.g + c.g, d.b + c.b, std::min(1.0f, d.a + c.a));
        break;
    case Blend::Erase:
        d = d * (1.0f - std::min(1.0f, c.a));
        break;
    }
}

void Canvas::Clear(Rgba c)
{
    std::fill(pixels.begin(), pixels.end(), c);
}

Painter::Painter(Canvas& c, int x, int y, int w, int h)
    : Painter(c, x, y, w, h, float(w) / float(std::min(w, h)), float(h) / float(std::min(w, h)))
{
}

Painter::Painter(Canvas& c, int x, int y, int w, int h, float hx, float hy)
    : canvas(&c), clipX(x), clipY(y), clipW(w), clipH(h), halfX(hx), halfY(hy)
{
    ex = V2(2.0f * hx / float(w), 0.0f);
    ey = V2(0.0f, 2.0f * hy / float(h));
    origin = V2(-hx - float(x) * ex.x, -hy - float(y) * ey.y);
    pixelSize = std::sqrt(ex.x * ey.y);
}

Painter Painter::Sub(V2 centre, float scale, float rotation) const
{
    Painter p = *this;
    p.origin = (origin - centre).Rotated(-rotation) * (1.0f / scale);
    p.ex = ex.Rotated(-rotation) * (1.0f / scale);
    p.ey = ey.Rotated(-rotation) * (1.0f / scale);
    p.pixelSize = pixelSize / scale;
    p.halfX = halfX / scale;
    p.halfY = halfY / scale;
    return p;
}

Painter Painter::Clipped(Box b) const
{
    Painter p = *this;
    float x0, y0, x1, y1;
    PixelBounds(b, x0, y0, x1, y1);
    int nx0 = std::max(clipX, int(std::floor(x0))), ny0 = std::max(clipY, int(std::floor(y0)));
    int nx1 = std::min(clipX + clipW, int(std::ceil(x1))), ny1 = std::min(clipY + clipH, int(std::ceil(y1)));
    p.clipX = nx0;
    p.clipY = ny0;
    p.clipW = std::max(0, nx1 - nx0);
    p.clipH = std::max(0, ny1 - ny0);
    return p;
}

V2 Painter::ToLocal(float px, float py) const
{
    return origin + ex * px + ey * py;
}

void Painter::PixelBounds(Box b, float& x0, float& y0, float& x1, float& y1) const
{
    V2 c[4] = {ToPixel(V2(b.x0, b.y0)), ToPixel(V2(b.x1, b.y0)), ToPixel(V2(b.x0, b.y1)),
               ToPixel(V2(b.x1, b.y1))};
    x0 = x1 = c[0].x;
    y0 = y1 = c[0].y;
    for (V2 q : c)
    {
        x0 = std::min(x0, q.x);
        x1 = std::max(x1, q.x);
        y0 = std::min(y0, q.y);
        y1 = std::max(y1, q.y);
    }
}

V2 Painter::ToPixel(V2 l) const
{
    V2 q = l - origin;
    float det = ex.x * ey.y - ey.x * ex.y;
    return V2((q.x * ey.y - ey.x * q.y) / det, (ex.x * q.y - q.x * ex.y) / det);
}

void Painter::Walk(Box b, std::function<void(int, int, V2)> const& f) const
{
    if (clipW <= 0 || clipH <= 0)
        return;
    float x0, y0, x1, y1;
    PixelBounds(b, x0, y0, x1, y1);
    // Clamp in float first: bounds may be huge for open shapes.
    x0 = std::clamp(x0 - 2.0f, float(clipX), float(clipX + clipW));
    x1 = std::clamp(x1 + 2.0f, float(clipX), float(clipX + clipW));
    y0 = std::clamp(y0 - 2.0f, float(clipY), float(clipY + clipH));
    y1 = std::clamp(y1 + 2.0f, float(clipY), float(clipY + clipH));
    int ix0 = int(std::floor(x0)), ix1 = int(std::ceil(x1)), iy0 = int(std::floor(y0)),
        iy1 = int(std::ceil(y1));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x)
            f(x, y, ToLocal(float(x) + 0.5f, float(y) + 0.5f));
}

void Painter::Fill(Shape const& s, Paint const& paint, Blend blend) const
{
    float inv = 1.0f / pixelSize;
    Walk(s.bounds.Grown(pixelSize),
         [&](int x, int y, V2 p)
         {
             float d = s.distance(p);
             float cov = Clamp01(0.5f - d * inv);
             if (cov > 0.0f)
                 canvas->Put(x, y, paint(p, d) * cov, blend);
         });
}

void Painter::Glow(Shape const& s, Rgba c, float radius, Blend blend) const
{
    float inv = 1.0f / radius;
    Walk(s.bounds.Grown(radius * 2.6f),
         [&](int x, int y, V2 p)
         {
             float d = std::max(0.0f, s.distance(p)) * inv;
             float k = std::exp(-d * d);
             if (k > 0.002f)
                 canvas->Put(x, y, c * k, blend);
         });
}

void Painter::Neon(Shape const& s, Rgba c, float rim, float bodyAlpha, float halo) const
{
    if (halo > 0.0f)
        Glow(s, c * 0.45f, halo, Blend::Add);
    Fill(s, c * bodyAlpha, Blend::Over);
    auto d = s.distance;
    Shape band{[d, rim](V2 p) { return std::fabs(d(p) + rim) - rim; }, s.bounds};
    Rgba bright = Rgba::Lerp(c, Rgba(c.a, c.a, c.a, c.a), 0.35f);
    Fill(band, bright, Blend::Over);
}

void Painter::Shade(std::function<Rgba(V2, Rgba)> const& f) const
{
    for (int y = clipY; y < clipY + clipH; ++y)
        for (int x = clipX; x < clipX + clipW; ++x)
            canvas->At(x, y) = f(ToLocal(float(x) + 0.5f, float(y) + 0.5f), canvas->At(x, y));
}

float Clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

float Smoothstep(float e0, float e1, float v)
{
    float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

float Hash(int x, int y, int seed)
{
    uint32_t h =
        Mix(uint32_t(x) * 0x8da6b343U ^ Mix(uint32_t(y) * 0xd8163841U ^ uint32_t(seed) * 0xcb1ab31fU));
    return float(h >> 8) / 16777216.0f;
}

namespace
{
float LatticeNoise(float x, float y, int seed, int period)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = Fade(x - fx), ty = Fade(y - fy);
    auto h = [&](int a, int b)
    {
        if (period > 0)
            a = ((a % period) + period) % period;
        return Hash(a, b, seed);
    };
    float a = h(ix, iy), b = h(ix + 1, iy), c = h(ix, iy + 1), d = h(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}
} // namespace

float ValueNoise(float x, float y, int seed)
{
    return LatticeNoise(x, y, seed, 0);
}

float Fbm(float x, float y, int octaves, int seed)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i)
    {
        sum += ValueNoise(x, y, seed + i * 101) * amp;
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}

float PeriodicFbm(float x, float y, float period, int octaves, int seed)
{
    float sum = 0, amp = 0.5f, norm = 0;
    int p = int(period);
    for (int i = 0; i < octaves; ++i)
    {
        sum += LatticeNoise(x, y, seed + i * 101, p) * amp;
        norm += amp;
        x *= 2.0f;
        y *= 2.0f;
        p *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

Rgba Hsv(float h, float s, float v, float a)
{
    h = std::fmod(std::fmod(h, 360.0f) + 360.0f, 360.0f) / 60.0f;
    int i = int(h) % 6;
    float f = h - std::floor(h);
    float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    float r, g, b;
    switch (i)
    {
    case 0:
        r = v, g = t, b = p;
        break;
    case 1:
        r = q, g = v, b = p;
        break;
    case 2:
        r = p, g = v, b = t;
        break;
    case 3:
        r = p, g = q, b = v;
        break;
    case 4:
        r = t, g = p, b = v;
        break;
    default:
        r = v, g = p, b = q;
        break;
    }
    return Rgba::Straight(r, g, b, a);
}

} // namespace AssetGen
