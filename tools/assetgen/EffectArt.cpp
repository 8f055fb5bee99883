// Particles, beams, trails, bars and the small whole-texture maps (charge
// ring, star twinkle, shadows). Most are drawn additively, so they are
// light on black; neutral ones are white and tinted by the caller. Streaks,
// bullets and trails run along the image's y axis, forward = down.
#include "tools/assetgen/Art.h"

#include "engine/core/VectorMath.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

namespace
{

using Vexel::kPi;

// Paints every pixel of the tile from normalised coordinates (u, v in 0..1,
// sampled at pixel centres).
void ShadeUV(ArtContext& ctx, std::function<Rgba(float u, float v)> const& f)
{
    PixelRect c = ctx.clip;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
        {
            float u = (float(x) + 0.5f) / float(c.w), v = (float(y) + 0.5f) / float(c.h);
            ctx.canvas.Put(c.x + x, c.y + y, f(u, v), Blend::Add);
        }
}

float Gauss(float x, float s)
{
    return std::exp(-(x * x) / (s * s));
}

Rgba White(float k)
{
    return Rgba(k, k, k, 1.0f);
}

// Across a strip: 1 in the middle, 0 at both edges.
float Across(float u, float sharpness)
{
    return std::max(0.0f, Gauss(u - 0.5f, sharpness) - Gauss(0.5f, sharpness));
}

void SoftLine(ArtContext& ctx)
{
    ShadeUV(ctx,
            [](float u, float)
            {
                float k = Across(u, 0.2f) / (1.0f - Gauss(0.5f, 0.2f));
                return White(k);
            });
}

void CannonBeam(ArtContext& ctx)
{
    ShadeUV(ctx,
            [](float u, float v)
            {
                float ends = Smoothstep(0.0f, 0.12f, v) * Smoothstep(1.0f, 0.85f, v);
                float core = Across(u, 0.08f) * 1.1f;
                float body = Across(u, 0.24f);
                float streak = 0.75f + 0.25f * PeriodicFbm(u * 8.0f, v * 24.0f, 8.0f, 3, 71);
                Rgba c = Rgba(0.35f, 0.75f, 1.0f) * (body * 0.8f * streak) + Rgba(0.95f, 0.98f, 1.0f) * core;
                return c * ends;
            });
}

void ChargeRing(ArtContext& ctx)
{
    // v = 0 inner edge, v = 1 outer; the pattern repeats seamlessly along u.
    ShadeUV(ctx,
            [](float u, float v)
            {
                float band =
                    Gauss(v - 0.55f, 0.22f) - Gauss(0.45f, 0.22f) * (1.0f - v) - Gauss(0.55f, 0.22f) * v;
                band = std::max(0.0f, band) / 0.85f;
                float edge = Gauss(v - 0.72f, 0.05f) * 0.6f;
                float flow = 0.6f + 0.4f * PeriodicFbm(u * 4.0f, v * 3.0f, 4.0f, 3, 11);
                float pulse = 0.8f + 0.2f * std::cos(u * 2.0f * kPi * 2.0f);
                float k = std::min(1.2f, band * flow * pulse + edge * flow);
                float fade = Smoothstep(0.0f, 0.08f, v) * Smoothstep(1.0f, 0.9f, v);
                return Rgba(0.82f, 0.9f, 1.0f) * (k * fade);
            });
}

void ChargeWisp(Painter const& p)
{
    // Head leads (down, towards the planet); the tail trails up.
    Shape tail{[](V2 q)
               {
                   float t = Clamp01((0.55f - q.y) / 1.6f);
                   float w = 0.42f * (1.0f - t) + 0.02f;
                   return std::max(std::fabs(q.x + 0.12f * std::sin(t * 5.0f)) - w,
                                   std::max(q.y - 0.55f, -q.y - 0.75f));
               },
               Box(-0.6f, -0.8f, 0.6f, 0.7f)};
    p.Glow(tail, Rgba(0.35f, 0.65f, 1.0f) * 0.5f, 0.22f);
    p.Glow(Circle(V2(0, 0.35f), 0.1f), Rgba(0.7f, 0.9f, 1.0f), 0.3f);
    p.Glow(Circle(V2(0, 0.35f), 0.03f), Rgba(1, 1, 1), 0.12f);
}

void SpareParticle(Painter const& p, int variant)
{
    Rgba w(1, 1, 1);
    switch (variant % 4)
    {
    case 0:
        p.Glow(Circle(V2(0, 0), 0.05f), w * 0.9f, 0.4f);
        break;
    case 1:
        p.Glow(Star(V2(0, 0), 0.8f, 0.12f, 4, 0.0f), w * 0.7f, 0.12f);
        break;
    case 2:
        p.Glow(Ring(V2(0, 0), 0.55f, 0.04f), w * 0.7f, 0.14f);
        break;
    default:
        p.Glow(RegularPolygon(V2(0, 0), 0.5f, 4, 0.0f), w * 0.6f, 0.18f);
        break;
    }
}

void Debris(Painter const& p, Palette const& pal)
{
    // A hot shard inside a soft blob: survives stretching either way.
    p.Glow(Circle(V2(0, 0), 0.15f), pal.body * 0.8f, 0.42f);
    p.Glow(Polygon({{0, -0.55f}, {0.22f, 0.0f}, {0, 0.55f}, {-0.22f, 0.0f}}), pal.rim * 0.8f, 0.12f);
    p.Glow(Circle(V2(0, 0), 0.04f), pal.core, 0.18f);
}

void Impact(Painter const& p, int variant)
{
    Rgba hot(1.0f, 0.85f, 0.55f), warm(1.0f, 0.5f, 0.2f);
    if (variant == 0)
    {
        p.Glow(Ring(V2(0, 0), 0.68f, 0.05f), warm * 0.9f, 0.12f);
        p.Fill(Ring(V2(0, 0), 0.68f, 0.02f), hot * 0.9f, Blend::Add);
        for (int i = 0; i < 12; ++i)
        {
            float a = float(i) * kPi / 6.0f + 0.2f * Hash(i, 0, 5);
            float r0 = 0.2f + 0.1f * Hash(i, 1, 5), r1 = 0.55f + 0.25f * Hash(i, 2, 5);
            p.Glow(Capsule(V2(std::cos(a), std::sin(a)) * r0, V2(std::cos(a), std::sin(a)) * r1, 0.01f),
                   hot * 0.5f, 0.05f);
        }
        p.Glow(Circle(V2(0, 0), 0.1f), hot * 0.6f, 0.25f);
    }
    else
    {
        p.Glow(Circle(V2(0, 0), 0.25f), warm * 0.55f, 0.35f);
        p.Fill(Ring(V2(0, 0), 0.5f, 0.09f), warm * 0.4f, Blend::Add);
        p.Glow(Ring(V2(0, 0), 0.5f, 0.02f), hot * 0.7f, 0.1f);
        p.Glow(Ring(V2(0, 0), 0.78f, 0.01f), warm * 0.35f, 0.08f);
        p.Glow(Circle(V2(0, 0), 0.05f), Rgba(1, 1, 1) * 0.8f, 0.15f);
    }
}

void SparkStreak(Painter const& p)
{
    // Long axis vertical; image-down is the spark's direction of travel.
    p.Glow(Capsule(V2(0, -1.3f), V2(0, 1.4f), 0.02f), Rgba(1.0f, 0.75f, 0.4f) * 0.7f, 0.28f);
    p.Glow(Capsule(V2(0, -0.6f), V2(0, 1.5f), 0.01f), Rgba(1.0f, 0.95f, 0.85f), 0.12f);
}

void HealthBar(ArtContext& ctx, Palette const& pal, bool fill)
{
    // 4-px end caps: the fill is inset by them, so caps are rounded ends.
    PixelRect c = ctx.clip;
    Painter p(ctx.canvas, c.x, c.y, c.w, c.h, float(c.w) / 2.0f, float(c.h) / 2.0f);
    Shape bar = RoundedBox(V2(0, 0), V2(float(c.w) / 2.0f - 0.5f, float(c.h) / 2.0f - 0.5f), 3.0f);
    if (fill)
    {
        p.Fill(bar,
               [&](V2 q, float)
               {
                   float k = 1.0f - 0.45f * std::fabs(q.y) / (float(c.h) / 2.0f);
                   return Rgba::Lerp(pal.body, pal.core, 0.35f * (1.0f - std::fabs(q.y) / 3.0f)) * k;
               });
    }
    else
    {
        p.Fill(bar, pal.deep * 0.22f);
        p.Fill(
            Outline(RoundedBox(V2(0, 0), V2(float(c.w) / 2.0f - 1.0f, float(c.h) / 2.0f - 1.0f), 2.5f), 0.5f),
            pal.body * 0.75f);
    }
}

void Trail(ArtContext& ctx, Palette const& pal)
{
    // u across, v along: newest (top) bright, the tail fades to nothing.
    ShadeUV(ctx,
            [&](float u, float v)
            {
                float across = Across(u, 0.3f) / (1.0f - Gauss(0.5f, 0.3f));
                float along = std::pow(1.0f - v, 1.6f);
                float core = Across(u, 0.1f) * along;
                return pal.body * (across * along * 0.9f) + pal.core * (core * 0.5f);
            });
}

void Spark(Painter const& p, Palette const& pal)
{
    p.Glow(Ellipse(V2(0, 0), 0.45f, 0.12f), pal.body * 0.75f, 0.3f);
    p.Glow(Ellipse(V2(0, 0), 0.3f, 0.05f), pal.core * 0.9f, 0.12f);
}

void Smoke(ArtContext& ctx, Palette const& pal, int seed)
{
    // A burning planet's plume: a hot, ragged puff. It is drawn additively
    // over the planet's lit face, so it has to be bright to show at all; it
    // is black well inside the tile's border.
    ShadeUV(ctx,
            [&](float u, float v)
            {
                float dx = u - 0.5f, dy = v - 0.5f;
                float r = std::sqrt(dx * dx + dy * dy) * 2.0f;
                float n = Fbm(u * 4.0f, v * 4.0f, 4, seed);
                float shape = Smoothstep(0.95f, 0.2f, r + (n - 0.5f) * 0.5f) * Smoothstep(1.0f, 0.8f, r);
                float heat = Smoothstep(0.7f, 0.0f, r + (0.5f - n) * 0.3f);
                Rgba c = Rgba::Lerp(pal.body, pal.core, heat * 0.8f);
                return c * std::min(1.0f, shape * (0.6f + 0.8f * n));
            });
}

void GlowDot(ArtContext& ctx)
{
    ShadeUV(ctx,
            [](float u, float v)
            {
                float d2 = (u - 0.5f) * (u - 0.5f) + (v - 0.5f) * (v - 0.5f);
                float k = std::max(0.0f, std::exp(-d2 / 0.035f) - std::exp(-0.25f / 0.035f));
                return White(k);
            });
}

void GridLine(ArtContext& ctx)
{
    ShadeUV(ctx, [](float, float v) { return White(Across(v, 0.25f) / (1.0f - Gauss(0.5f, 0.25f))); });
}

void Bullet(Painter const& p)
{
    // Head at the bottom (direction of flight), short glowing tail above.
    Rgba glow(0.45f, 0.8f, 1.0f), hot(0.92f, 0.98f, 1.0f);
    p.Glow(Capsule(V2(0, -0.9f), V2(0, 0.8f), 0.08f), glow * 0.6f, 0.4f);
    p.Fill(Capsule(V2(0, -0.2f), V2(0, 1.0f), 0.38f), glow * 0.6f, Blend::Add);
    p.Fill(Capsule(V2(0, 0.45f), V2(0, 1.05f), 0.3f), hot, Blend::Add);
}

void HitFlash(Painter const& p)
{
    Rgba hot(1.0f, 0.95f, 0.8f);
    p.Glow(Circle(V2(0, 0), 0.06f), Rgba(1.0f, 0.75f, 0.45f) * 0.6f, 0.35f);
    p.Glow(Star(V2(0, 0), 0.9f, 0.06f, 4, 0.0f), hot * 0.8f, 0.06f);
    p.Glow(Star(V2(0, 0), 0.5f, 0.05f, 4, kPi / 4.0f), hot * 0.5f, 0.05f);
    p.Glow(Circle(V2(0, 0), 0.02f), Rgba(1, 1, 1), 0.12f);
}

void StarTwinkle(ArtContext& ctx)
{
    // Each row is one brightness curve that wraps along x (GL_REPEAT scroll).
    PixelRect c = ctx.clip;
    for (int y = 0; y < c.h; ++y)
    {
        float row = float(y) / float(c.h - 1);
        Rgba tint = Rgba::Lerp(Rgba(0.85f, 0.92f, 1.0f), Rgba(1.0f, 0.92f, 0.82f), Hash(y, 0, 3));
        for (int x = 0; x < c.w; ++x)
        {
            float u = float(x) / float(c.w);
            float base = 0.55f + 0.3f * PeriodicFbm(u * 4.0f, float(y) * 3.1f, 4.0f, 3, 29);
            float twinkle = 0.0f;
            for (int k = 0; k < 3; ++k)
            {
                float centre = Hash(y, k + 1, 31);
                float d = std::fabs(u - centre);
                d = std::min(d, 1.0f - d);
                twinkle += Gauss(d, 0.02f + 0.02f * Hash(y, k, 37)) * (0.3f + 0.4f * Hash(y, k, 41));
            }
            // Outer stars (bottom rows) are a little dimmer and calmer.
            float k = std::min(1.0f, base * (1.0f - 0.25f * row) + twinkle * (1.0f - 0.4f * row));
            ctx.canvas.Put(c.x + x, c.y + y, tint * k, Blend::Add);
        }
    }
}

void ShadowMap(ArtContext& ctx)
{
    // Black, with a soft shape in alpha: dense in the middle and fading
    // smoothly all the way to the edges, so a backdrop drawn from it reads
    // as a shadow under what it backs rather than as a box.
    PixelRect c = ctx.clip;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
        {
            float u = 2.0f * (float(x) + 0.5f) / float(c.w) - 1.0f;
            float v = 2.0f * (float(y) + 0.5f) / float(c.h) - 1.0f;
            // A rounded rectangle's distance (superellipse), eased out.
            float d = std::pow(std::pow(std::fabs(u), 4.0f) + std::pow(std::fabs(v), 4.0f), 0.25f);
            float a = 1.0f - Smoothstep(0.45f, 1.0f, d);
            ctx.canvas.At(c.x + x, c.y + y) = Rgba(0, 0, 0, a * a * (3.0f - 2.0f * a));
        }
}

} // namespace

bool PaintEffectTile(Painter const& p, TileSpec const& s, ArtContext& ctx)
{
    std::string const& r = s.recipe;
    if (r == "soft_line")
        SoftLine(ctx);
    else if (r == "cannon_beam")
        CannonBeam(ctx);
    else if (r == "charge_ring")
        ChargeRing(ctx);
    else if (r == "charge_wisp")
        ChargeWisp(p);
    else if (r == "spare_particle")
        SpareParticle(p, s.IntArg(0));
    else if (r == "debris")
        Debris(p, FactionOf(s.Arg(0)));
    else if (r == "impact")
        Impact(p, s.IntArg(0));
    else if (r == "spark_streak")
        SparkStreak(p);
    else if (r == "health_fill" || r == "health_back")
        HealthBar(ctx, FactionOf(s.Arg(0)), r == "health_fill");
    else if (r == "trail")
        Trail(ctx, FactionOf(s.Arg(0)));
    else if (r == "spark")
        Spark(p, FactionOf(s.Arg(0)));
    else if (r == "smoke")
        Smoke(ctx, FactionOf(s.Arg(0)), s.Arg(0) == "green" ? 53 : 55);
    else if (r == "glow_dot")
        GlowDot(ctx);
    else if (r == "grid_line")
        GridLine(ctx);
    else if (r == "bullet")
        Bullet(p);
    else if (r == "hit_flash")
        HitFlash(p);
    else if (r == "star_twinkle")
        StarTwinkle(ctx);
    else if (r == "shadow")
        ShadowMap(ctx);
    else
        return false;
    return true;
}

} // namespace AssetGen
