// The planet and the in-game HUD pieces: population bar, cannon charge tab
// and the touch aim markers. HUD tiles are tinted by the HUD colour, so
// they are painted in whites and greys.
#include "tools/assetgen/Art.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

namespace
{

const float Pi = 3.14159265f;

void ChargeTab(Painter const& p, ArtContext& ctx)
{
    // A tab coming in from the right edge; its rightmost strip is plain tab
    // so it can be stretched up to the screen edge behind the count.
    PixelRect c = ctx.clip;
    Painter px(ctx.canvas, c.x, c.y, c.w, c.h, float(c.w) / 2.0f, float(c.h) / 2.0f);
    float hw = float(c.w) / 2.0f, hh = float(c.h) / 2.0f;
    Shape tab = RoundedBox(V2(hw * 0.35f, 0), V2(hw * 1.4f, hh * 0.8f), hh * 0.38f);
    Shape clipped = Intersect(tab, RoundedBox(V2(0, 0), V2(hw, hh), 0));
    px.Fill(clipped, Rgba::Straight(0.16f, 0.2f, 0.26f, 0.82f));
    px.Fill(Intersect(Outline(tab, 1.0f), RoundedBox(V2(0, 0), V2(hw, hh), 0)),
            Rgba::Straight(0.9f, 0.95f, 1.0f, 0.9f));
    // Cannon icon: the planet with a beam leaving it, centred at 0.42 widths.
    V2 ic(-1.0f + 0.42f * 2.0f, 0.0f);
    p.Fill(Circle(ic + V2(0, 0.12f), 0.22f), Rgba::Straight(0.95f, 0.97f, 1.0f, 1.0f));
    p.Fill(Circle(ic + V2(0, 0.12f), 0.13f), Rgba::Straight(0.35f, 0.42f, 0.5f, 1.0f));
    p.Fill(Polygon({ic + V2(-0.07f, -0.08f), ic + V2(0.07f, -0.08f), ic + V2(0.03f, -0.5f),
                    ic + V2(-0.03f, -0.5f)}),
           Rgba::Straight(1, 1, 1, 1));
    p.Fill(Ring(ic + V2(0, -0.52f), 0.1f, 0.025f), Rgba::Straight(1, 1, 1, 0.9f));
}

void PopulationBar(ArtContext& ctx, bool fill)
{
    PixelRect c = ctx.clip;
    Painter p(ctx.canvas, c.x, c.y, c.w, c.h, float(c.w) / 2.0f, float(c.h) / 2.0f);
    float hw = float(c.w) / 2.0f, hh = float(c.h) / 2.0f;
    // Square ends: the bar is cut and stretched by the HUD.
    Shape bar = RoundedBox(V2(0, 0), V2(hw, hh - 2.0f), 0.0f);
    if (fill)
    {
        p.Fill(bar,
               [hh](V2 q, float)
               {
                   float t = std::fabs(q.y) / (hh - 2.0f);
                   float k = 1.0f - 0.55f * t * t;
                   return Rgba::Straight(0.85f + 0.15f * (1 - t), 0.9f + 0.1f * (1 - t), 1.0f, k);
               });
        p.Fill(RoundedBox(V2(0, -hh * 0.3f), V2(hw, 1.0f), 0), Rgba::Straight(1, 1, 1, 0.6f));
    }
    else
    {
        p.Fill(bar, Rgba::Straight(0.2f, 0.24f, 0.3f, 0.55f));
        p.Fill(RoundedBox(V2(0, -(hh - 2.5f)), V2(hw, 0.6f), 0), Rgba::Straight(0.85f, 0.9f, 1.0f, 0.7f));
        p.Fill(RoundedBox(V2(0, hh - 2.5f), V2(hw, 0.6f), 0), Rgba::Straight(0.85f, 0.9f, 1.0f, 0.5f));
    }
}

void AimMark(Painter const& p, bool locked)
{
    // Bold enough to read at 48 px over anything: light strokes on a dark
    // halo. A finger is a cool crosshair ring; a lock is amber brackets
    // closing on a hot centre.
    Rgba shade = Rgba::Straight(0.0f, 0.04f, 0.1f, 0.55f);
    float t = 0.055f;
    if (!locked)
    {
        Rgba w = Rgba::Straight(0.75f, 0.92f, 1.0f, 1.0f);
        p.Fill(Ring(V2(0, 0), 0.56f, t * 2.2f), shade);
        for (int i = 0; i < 4; ++i)
        {
            V2 d = V2(0, 1).Rotated(float(i) * Pi / 2.0f);
            p.Fill(Capsule(d * 0.68f, d * 0.9f, t * 1.9f), shade);
        }
        p.Fill(Ring(V2(0, 0), 0.56f, t), w);
        for (int i = 0; i < 4; ++i)
        {
            V2 d = V2(0, 1).Rotated(float(i) * Pi / 2.0f);
            p.Fill(Capsule(d * 0.68f, d * 0.9f, t * 0.9f), w);
        }
        p.Fill(Circle(V2(0, 0), 0.1f), shade);
        p.Fill(Circle(V2(0, 0), 0.06f), w);
    }
    else
    {
        Rgba w = Rgba::Straight(1.0f, 0.84f, 0.42f, 1.0f);
        Rgba hot = Rgba::Straight(1.0f, 0.97f, 0.85f, 1.0f);
        p.Fill(Ring(V2(0, 0), 0.38f, t * 2.0f), shade);
        for (int i = 0; i < 4; ++i)
        {
            float a = float(i) * Pi / 2.0f + Pi / 4.0f;
            p.Fill(Arc(V2(0, 0), 0.74f, t * 2.4f, a - 0.42f, a + 0.42f), shade);
        }
        p.Fill(Ring(V2(0, 0), 0.38f, t * 0.85f), w);
        // Corner brackets: the lock.
        for (int i = 0; i < 4; ++i)
        {
            float a = float(i) * Pi / 2.0f + Pi / 4.0f;
            p.Fill(Arc(V2(0, 0), 0.74f, t * 1.25f, a - 0.42f, a + 0.42f), w);
        }
        p.Fill(Circle(V2(0, 0), 0.15f), shade);
        p.Fill(Circle(V2(0, 0), 0.1f), hot);
    }
}

} // namespace

void PaintPlanet(Painter const& p, float atmosphere)
{
    // Radius 1: the surface; the atmosphere glows beyond it in alpha.
    struct
    {
        float x, y, z;
    } light{-0.55f, -0.6f, 0.58f};
    if (atmosphere > 0.0f)
        p.Fill(Circle(V2(0, 0), 1.0f + atmosphere),
               [=](V2 q, float)
               {
                   float r = q.Length();
                   float t = Clamp01((r - 0.98f) / atmosphere);
                   float k = std::pow(1.0f - t, 2.2f);
                   float lit =
                       0.45f + 0.55f * Clamp01((q.x * light.x + q.y * light.y) / std::max(r, 1e-3f) + 0.5f);
                   return Rgba::Straight(0.35f, 0.7f, 1.0f, k * 0.85f * lit);
               });
    p.Fill(
        Circle(V2(0, 0), 1.0f),
        [=](V2 q, float)
        {
            float r2 = std::min(1.0f, q.x * q.x + q.y * q.y);
            float z = std::sqrt(1.0f - r2);
            // Sphere mapping so the features curve around the limb.
            float lon = std::atan2(q.x, z), lat = std::asin(std::clamp(q.y, -1.0f, 1.0f));
            float n = Fbm(lon * 2.2f + 7.0f, lat * 2.6f + 3.0f, 5, 17);
            float land = Smoothstep(0.5f, 0.56f, n);
            float ice = Smoothstep(0.8f, 0.9f, std::fabs(q.y / std::sqrt(std::max(0.05f, 1.0f - q.x * q.x))));
            Rgba ocean =
                Rgba::Lerp(Rgba(0.03f, 0.16f, 0.42f), Rgba(0.08f, 0.38f, 0.7f), Clamp01((n - 0.2f) * 2.5f));
            float m = Fbm(lon * 6.0f, lat * 6.0f, 3, 23);
            Rgba ground =
                Rgba::Lerp(Rgba(0.16f, 0.45f, 0.2f), Rgba(0.62f, 0.55f, 0.35f), Smoothstep(0.4f, 0.7f, m));
            Rgba c = Rgba::Lerp(ocean, ground, land);
            c = Rgba::Lerp(c, Rgba(0.92f, 0.96f, 1.0f), ice);
            float cloud = Smoothstep(0.55f, 0.75f, Fbm(lon * 3.5f + 40.0f, lat * 5.0f, 5, 91));
            c = Rgba::Lerp(c, Rgba(1, 1, 1), cloud * 0.75f);
            // Day side lit from the upper left and the viewer's side.
            float diffuse = q.x * light.x + q.y * light.y + z * light.z;
            float shade = 0.12f + 0.95f * Smoothstep(-0.15f, 0.6f, diffuse);
            c = c * shade;
            float rim = std::pow(1.0f - z, 3.0f) * 0.6f;
            c = c + Rgba(0.25f, 0.55f, 1.0f, 0) * rim;
            // City lights on the night side.
            float night = 1.0f - Smoothstep(-0.1f, 0.25f, diffuse);
            float city = Smoothstep(0.8f, 0.95f, Fbm(lon * 18.0f, lat * 18.0f, 2, 5)) * land * (1.0f - ice);
            c = c + Rgba(1.0f, 0.75f, 0.35f, 0) * (city * night * 0.9f);
            c.a = 1.0f;
            return Rgba(std::min(c.r, 1.0f), std::min(c.g, 1.0f), std::min(c.b, 1.0f), 1.0f);
        });
}

bool PaintHudTile(Painter const& p, TileSpec const& s, ArtContext& ctx)
{
    std::string const& r = s.recipe;
    if (r == "planet")
    {
        // Disc radius is 2/3 of the half size; the outer third is atmosphere.
        Painter planet = p.Sub(V2(0, 0), 2.0f / 3.0f);
        PaintPlanet(planet, 0.42f);
    }
    else if (r == "hud_charge_tab")
        ChargeTab(p, ctx);
    else if (r == "population_fill" || r == "population_back")
        PopulationBar(ctx, r == "population_fill");
    else if (r == "aim_mark" || r == "lock_mark")
        AimMark(p, r == "lock_mark");
    else if (r == "unused")
        ; // never drawn: a transparent record
    else
        return false;
    return true;
}

} // namespace AssetGen
