// The planet and the in-game HUD pieces: population bar, cannon charge tab
// and the touch aim markers. HUD tiles are tinted by the HUD colour, so
// they are painted in whites and greys.
#include "tools/assetgen/Art.h"

#include "engine/core/VectorMath.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

namespace
{

using Vexel::kPi;

void ChargeTab(Painter const& p, ArtContext& ctx)
{
    // A glass tab coming in from the right edge, holding one cannon shot: a
    // small planet firing its beam. The tab's rightmost strip is plain tab
    // (fill and rims only) so the HUD can stretch it to the screen edge
    // behind a count.
    PixelRect c = ctx.clip;
    Painter px(ctx.canvas, c.x, c.y, c.w, c.h, float(c.w) / 2.0f, float(c.h) / 2.0f);
    float hw = float(c.w) / 2.0f, hh = float(c.h) / 2.0f;
    Shape tile = RoundedBox(V2(0, 0), V2(hw, hh), 0);
    Shape tab = RoundedBox(V2(hw * 0.35f, 0), V2(hw * 1.4f, hh * 0.8f), hh * 0.38f);
    px.Fill(Intersect(tab, tile),
            LinearGradient(V2(0, -hh * 0.8f), Rgba::Straight(0.16f, 0.27f, 0.4f, 0.9f), V2(0, hh * 0.8f),
                           Rgba::Straight(0.05f, 0.09f, 0.16f, 0.9f)));
    px.Fill(Intersect(Outline(tab, 1.1f), tile), Rgba::Straight(0.55f, 0.85f, 1.0f, 0.95f));
    // A faint sheen along the top inside the rim.
    px.Fill(Intersect(RoundedBox(V2(hw * 0.35f, -hh * 0.62f), V2(hw * 1.4f, 1.0f), 0), tile),
            Rgba::Straight(0.7f, 0.9f, 1.0f, 0.18f));

    // The shot, centred 0.42 widths from the left: a planet low on the left
    // firing a broad beam up to the right, the beam first and the planet
    // over its root.
    V2 ic(-1.0f + 0.42f * 2.0f, 0.0f);
    V2 planet = ic + V2(-0.14f, 0.22f);
    V2 tip = ic + V2(0.3f, -0.46f);
    V2 along = (tip - planet) * (1.0f / (tip - planet).Length());
    V2 across(-along.y, along.x);
    Shape beam = Polygon(
        {planet + across * 0.12f, planet - across * 0.12f, tip - across * 0.05f, tip + across * 0.05f});
    p.Glow(beam, Rgba::Straight(0.3f, 0.75f, 1.0f, 0.75f), 0.08f);
    p.Fill(beam, LinearGradient(planet, Rgba::Straight(0.6f, 0.88f, 1.0f, 1.0f), tip,
                                Rgba::Straight(1.0f, 1.0f, 1.0f, 1.0f)));
    p.Glow(Circle(tip, 0.06f), Rgba::Straight(0.5f, 0.85f, 1.0f, 0.9f), 0.1f);
    p.Fill(Star(tip, 0.2f, 0.05f, 4, 0.3f), Rgba::Straight(1, 1, 1, 1));
    p.Glow(Circle(planet, 0.24f), Rgba::Straight(0.25f, 0.6f, 1.0f, 0.55f), 0.06f);
    p.Fill(Circle(planet, 0.27f),
           RadialGradient(planet + V2(-0.09f, -0.1f), 0.38f, Rgba::Straight(0.75f, 0.92f, 1.0f, 1.0f),
                          Rgba::Straight(0.08f, 0.28f, 0.68f, 1.0f)));
    p.Fill(Ring(planet, 0.27f, 0.025f), Rgba::Straight(0.85f, 0.95f, 1.0f, 0.9f));
}

void PopulationBar(ArtContext& ctx, bool fill)
{
    PixelRect c = ctx.clip;
    Painter p(ctx.canvas, c.x, c.y, c.w, c.h, float(c.w) / 2.0f, float(c.h) / 2.0f);
    float hw = float(c.w) / 2.0f, hh = float(c.h) / 2.0f;
    // Square ends: the HUD stretches the bar to the screen's width and cuts
    // the fill to the population left.
    float inner = hh - 2.0f;
    Shape bar = RoundedBox(V2(0, 0), V2(hw, inner), 0.0f);
    if (fill)
    {
        // Drawn additively over the track: a cool glowing core that is
        // brightest along its middle and fades to its edges. Nothing along
        // its length, so squeezing it never shows.
        p.Fill(bar,
               [inner](V2 q, float)
               {
                   float t = std::fabs(q.y) / inner;
                   float core = std::exp(-t * t * 3.0f);
                   return Rgba::Straight(0.45f + 0.55f * core, 0.75f + 0.25f * core, 1.0f,
                                         0.25f + 0.75f * core);
               });
        p.Fill(RoundedBox(V2(0, -inner * 0.35f), V2(hw, 0.8f), 0), Rgba::Straight(1, 1, 1, 0.45f));
    }
    else
    {
        // A dark glass track with light rims and a tick every tenth, which
        // makes the bar read as a gauge across the top of the screen.
        p.Fill(bar, LinearGradient(V2(0, -inner), Rgba::Straight(0.12f, 0.18f, 0.26f, 0.7f), V2(0, inner),
                                   Rgba::Straight(0.04f, 0.07f, 0.12f, 0.7f)));
        p.Fill(RoundedBox(V2(0, -(hh - 2.5f)), V2(hw, 0.7f), 0), Rgba::Straight(0.6f, 0.85f, 1.0f, 0.85f));
        p.Fill(RoundedBox(V2(0, hh - 2.5f), V2(hw, 0.7f), 0), Rgba::Straight(0.6f, 0.85f, 1.0f, 0.6f));
        for (int i = 1; i < 10; ++i)
        {
            float x = -hw + 2.0f * hw * float(i) / 10.0f;
            p.Fill(RoundedBox(V2(x, inner * 0.45f), V2(0.9f, inner * 0.45f), 0),
                   Rgba::Straight(0.6f, 0.85f, 1.0f, i == 5 ? 0.5f : 0.3f));
        }
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
            V2 d = V2(0, 1).Rotated(float(i) * kPi / 2.0f);
            p.Fill(Capsule(d * 0.68f, d * 0.9f, t * 1.9f), shade);
        }
        p.Fill(Ring(V2(0, 0), 0.56f, t), w);
        for (int i = 0; i < 4; ++i)
        {
            V2 d = V2(0, 1).Rotated(float(i) * kPi / 2.0f);
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
            float a = float(i) * kPi / 2.0f + kPi / 4.0f;
            p.Fill(Arc(V2(0, 0), 0.74f, t * 2.4f, a - 0.42f, a + 0.42f), shade);
        }
        p.Fill(Ring(V2(0, 0), 0.38f, t * 0.85f), w);
        // Corner brackets: the lock.
        for (int i = 0; i < 4; ++i)
        {
            float a = float(i) * kPi / 2.0f + kPi / 4.0f;
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
            // Sphere mapping so the features curve around the limb. The
            // planet is drawn several times its tile's size behind the
            // menus, so every feature is band-limited: few octaves of smooth
            // noise, coastlines, ice and clouds eased over several pixels,
            // nothing a bilinear filter would turn into steps.
            float lon = std::atan2(q.x, z), lat = std::asin(std::clamp(q.y, -1.0f, 1.0f));
            float n = Fbm(lon * 2.2f + 7.0f, lat * 2.6f + 3.0f, 3, 17);
            float land = Smoothstep(0.47f, 0.6f, n);
            float ice = Smoothstep(0.72f, 0.95f, std::fabs(q.y / std::sqrt(std::max(0.05f, 1.0f - q.x * q.x))));
            Rgba ocean =
                Rgba::Lerp(Rgba(0.03f, 0.16f, 0.42f), Rgba(0.08f, 0.38f, 0.7f), Clamp01((n - 0.2f) * 2.5f));
            float m = Fbm(lon * 4.0f, lat * 4.0f, 2, 23);
            Rgba ground =
                Rgba::Lerp(Rgba(0.16f, 0.45f, 0.2f), Rgba(0.62f, 0.55f, 0.35f), Smoothstep(0.35f, 0.75f, m));
            Rgba c = Rgba::Lerp(ocean, ground, land);
            c = Rgba::Lerp(c, Rgba(0.92f, 0.96f, 1.0f), ice);
            float cloud = Smoothstep(0.5f, 0.8f, Fbm(lon * 3.5f + 40.0f, lat * 5.0f, 3, 91));
            c = Rgba::Lerp(c, Rgba(1, 1, 1), cloud * 0.7f);
            // Day side lit from the upper left and the viewer's side.
            float diffuse = q.x * light.x + q.y * light.y + z * light.z;
            float shade = 0.12f + 0.95f * Smoothstep(-0.15f, 0.6f, diffuse);
            c = c * shade;
            float rim = std::pow(1.0f - z, 3.0f) * 0.6f;
            c = c + Rgba(0.25f, 0.55f, 1.0f, 0) * rim;
            // City lights on the night side: soft patches, not specks.
            float night = 1.0f - Smoothstep(-0.1f, 0.25f, diffuse);
            float city = Smoothstep(0.55f, 0.8f, Fbm(lon * 6.0f, lat * 6.0f, 2, 5)) * land * (1.0f - ice);
            c = c + Rgba(1.0f, 0.75f, 0.35f, 0) * (city * night * 0.6f);
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
