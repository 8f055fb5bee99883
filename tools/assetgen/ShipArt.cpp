// Enemy ships of both factions, drawn as luminous vector hulls on black with
// the nose pointing down the image (+y). Red ships are angular, in reds and
// oranges; Green ships are rounded, in greens and cyans. Each kind is built
// from its own silhouette so it reads at its small in-game size.
#include "tools/assetgen/Art.h"

#include "engine/core/VectorMath.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace AssetGen
{

namespace
{

using Vexel::kPi;

// Design size of each kind's tile (pixels): the frame's aspect.
struct Design
{
    const char* kind;
    int w, h;
};

const Design Designs[] = {
    {"red_fighter", 32, 32},
    {"red_hulk", 40, 40},
    {"red_speeder", 24, 56},
    {"red_carrier", 44, 44},
    {"red_blocker", 128, 32},
    {"red_builder", 60, 36},
    {"red_splicer", 56, 56},
    {"red_half_splicer", 46, 46},
    {"red_driller", 66, 66},
    {"red_hive", 56, 56},
    {"red_chevron_boss", 168, 96},
    {"red_missile_boss", 200, 96},
    {"red_carrier_boss", 230, 132},
    {"red_snake_boss", 300, 160},
    {"green_fighter", 32, 40},
    {"green_proven", 48, 48},
    {"green_gunship", 52, 78},
    {"green_carrier", 72, 72},
    {"green_converter", 76, 76},
    {"green_pillar", 50, 54},
    {"green_starburst", 88, 88},
    {"green_lockdown", 136, 136},
    {"green_beacon", 96, 96},
    {"green_expendable_boss", 272, 100},
    {"green_carrier_boss", 240, 120},
    {"green_predator_boss", 280, 120},
    {"green_starburst_boss", 180, 210},
};

// Right half (x >= 0) from the nose round to the tail; mirrored into a whole hull.
Shape Symmetric(std::vector<V2> right)
{
    std::vector<V2> pts = right;
    for (size_t i = right.size(); i-- > 0;)
        if (right[i].x > 1e-6f)
            pts.push_back(V2(-right[i].x, right[i].y));
    return Polygon(pts);
}

float Rim(Painter const& p)
{
    return p.PixelSize() * 1.25f;
}

void Hull(Painter const& p, Shape const& s, Rgba c, float body = 0.32f, float halo = 0.0f)
{
    p.Neon(s, c, Rim(p), body, halo > 0 ? halo : p.PixelSize() * 3.0f);
}

// A point light: hot centre and soft falloff.
void Light(Painter const& p, V2 c, float r, Rgba colour)
{
    p.Glow(Circle(c, r * 0.12f), colour * 0.45f, r * 0.5f);
    p.Fill(Circle(c, r * 0.2f), Rgba::Lerp(colour, Rgba(1, 1, 1, 1), 0.4f) * 0.8f, Blend::Add);
}

// Thin bright detail line.
void Line(Painter const& p, V2 a, V2 b, Rgba c, float width = 0.0f)
{
    float w = width > 0 ? width : p.PixelSize() * 0.7f;
    p.Fill(Capsule(a, b, w), c * 0.9f, Blend::Add);
}

// Exhaust at the tail (towards -y).
void Engine(Painter const& p, V2 at, float r, Palette const& pal)
{
    p.Glow(Ellipse(at, r * 0.35f, r * 0.2f), pal.rim * 0.9f, r * 0.55f);
    p.Fill(Ellipse(at, r * 0.3f, r * 0.16f), pal.core, Blend::Add);
}

// ---- Red faction ---------------------------------------------------------

void RedFighter(Painter const& p)
{
    Palette r = RedFaction();
    Shape hull = Symmetric({{0, 0.86f},
                            {0.3f, 0.1f},
                            {0.78f, -0.42f},
                            {0.7f, -0.62f},
                            {0.28f, -0.36f},
                            {0.16f, -0.7f},
                            {0, -0.5f}});
    Hull(p, hull, r.body, 0.38f);
    Line(p, V2(0, 0.55f), V2(0, -0.3f), r.rim * 0.6f);
    // Small lights: drawn at a dozen pixels, a big hot core would wash the
    // red hull out to white.
    Engine(p, V2(0.16f, -0.62f), 0.4f, r);
    Engine(p, V2(-0.16f, -0.62f), 0.4f, r);
    Light(p, V2(0, 0.28f), 0.22f, r.rim);
}

void RedHulk(Painter const& p)
{
    Palette r = RedFaction();
    Shape hull = Symmetric({{0, 0.84f},
                            {0.46f, 0.64f},
                            {0.8f, 0.2f},
                            {0.84f, -0.4f},
                            {0.6f, -0.78f},
                            {0.22f, -0.66f},
                            {0, -0.78f}});
    Hull(p, hull, r.deep, 0.45f);
    Shape plate = Symmetric({{0, 0.6f}, {0.36f, 0.44f}, {0.56f, 0.08f}, {0.5f, -0.4f}, {0, -0.5f}});
    Hull(p, plate, r.body, 0.25f);
    Line(p, V2(-0.5f, -0.05f), V2(0.5f, -0.05f), r.rim * 0.7f);
    Line(p, V2(0, 0.55f), V2(0, -0.45f), r.rim * 0.5f);
    Engine(p, V2(0.42f, -0.72f), 0.55f, r);
    Engine(p, V2(-0.42f, -0.72f), 0.55f, r);
    Light(p, V2(0, 0.3f), 0.35f, r.core);
}

void RedSpeeder(Painter const& p)
{
    Palette r = RedFaction();
    Shape hull = Symmetric({{0, 2.15f},
                            {0.16f, 1.2f},
                            {0.28f, -0.6f},
                            {0.86f, -1.6f},
                            {0.82f, -2.0f},
                            {0.3f, -1.6f},
                            {0.16f, -2.05f},
                            {0, -1.9f}});
    Hull(p, hull, r.body, 0.35f);
    Line(p, V2(0, 1.7f), V2(0, -1.5f), r.core * 0.7f);
    Engine(p, V2(0, -1.95f), 0.9f, r);
    Light(p, V2(0, 0.9f), 0.4f, r.core);
}

void RedCarrier(Painter const& p)
{
    Palette r = RedFaction();
    Shape hull =
        Symmetric({{0, 0.84f}, {0.5f, 0.62f}, {0.84f, 0.1f}, {0.84f, -0.4f}, {0.5f, -0.8f}, {0, -0.8f}});
    Hull(p, hull, r.body, 0.3f);
    // Hangar bay: a dark slot with small ships glowing in it.
    Shape bay = RoundedBox(V2(0, 0.0f), V2(0.46f, 0.26f), 0.08f);
    p.Fill(bay, Rgba(0, 0, 0, 1));
    p.Fill(Outline(bay, Rim(p) * 0.6f), r.rim * 0.9f);
    for (int i = -1; i <= 1; ++i)
        Light(p, V2(float(i) * 0.27f, 0.02f), 0.26f, r.rim);
    Engine(p, V2(0.32f, -0.74f), 0.5f, r);
    Engine(p, V2(-0.32f, -0.74f), 0.5f, r);
    Light(p, V2(0, 0.55f), 0.3f, r.core);
}

void RedBlocker(Painter const& p)
{
    Palette r = RedFaction();
    // A barrier ship: an armoured core between two long arms that end in
    // emitter pods, a shield field stretched between the pods on the side
    // facing the planet.
    Shape arms = Symmetric({{0, 0.38f}, {3.3f, 0.3f}, {3.62f, 0.0f}, {3.3f, -0.34f}, {0, -0.3f}});
    Hull(p, arms, r.deep, 0.45f);
    Shape core = Symmetric({{0, 0.86f}, {1.2f, 0.7f}, {1.75f, 0.05f}, {1.3f, -0.72f}, {0, -0.86f}});
    Hull(p, core, r.body, 0.34f);
    Shape plate = Symmetric({{0, 0.5f}, {0.8f, 0.4f}, {1.1f, 0.0f}, {0.8f, -0.42f}, {0, -0.5f}});
    Hull(p, plate, r.rim, 0.2f);
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s);
        for (int i = 0; i < 3; ++i)
            Line(p, V2(x * (2.0f + 0.42f * float(i)), -0.26f), V2(x * (2.15f + 0.42f * float(i)), 0.24f),
                 r.rim * 0.6f);
        V2 pod(x * 3.2f, 0.0f);
        Hull(p, Circle(pod, 0.36f), r.rim, 0.45f);
        Light(p, pod, 0.55f, r.core);
    }
    // The shield between the pods.
    p.Glow(Capsule(V2(-3.1f, 0.62f), V2(3.1f, 0.62f), 0.02f), r.body * 0.6f, 0.14f);
    Line(p, V2(-3.05f, 0.62f), V2(3.05f, 0.62f), r.core * 0.8f, p.PixelSize() * 0.8f);
    Light(p, V2(0, 0.05f), 0.6f, r.core);
    Engine(p, V2(0.7f, -0.78f), 0.45f, r);
    Engine(p, V2(-0.7f, -0.78f), 0.45f, r);
}

void RedBuilder(Painter const& p)
{
    Palette r = RedFaction();
    Shape body = Symmetric({{0, 0.3f}, {0.7f, 0.3f}, {0.95f, -0.1f}, {0.8f, -0.72f}, {0, -0.8f}});
    Hull(p, body, r.body, 0.34f);
    // Two claws reaching forward holding a small wall segment.
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s);
        Shape arm = Polygon({{x * 0.55f, 0.2f},
                             {x * 1.45f, 0.55f},
                             {x * 1.3f, 0.88f},
                             {x * 1.12f, 0.62f},
                             {x * 0.45f, 0.34f}});
        Hull(p, arm, r.rim, 0.3f);
    }
    Shape segment = RoundedBox(V2(0, 0.7f), V2(0.8f, 0.13f), 0.05f);
    Hull(p, segment, r.deep, 0.6f);
    Line(p, V2(-0.75f, 0.8f), V2(0.75f, 0.8f), r.core * 0.8f);
    Engine(p, V2(0.45f, -0.72f), 0.5f, r);
    Engine(p, V2(-0.45f, -0.72f), 0.5f, r);
    Light(p, V2(0, -0.15f), 0.4f, r.core);
}

void RedSplicerHalf(Painter const& p, float side, float scale)
{
    Palette r = RedFaction();
    // A "D": flat edge on the seam, round on the outside, nose down.
    V2 c(side * 0.08f * scale, 0);
    Shape disc = Circle(c, 0.82f * scale);
    Shape keep = RoundedBox(V2(side * 0.5f * scale + c.x, 0), V2(0.5f * scale, 0.9f * scale), 0.0f);
    Shape half = Intersect(disc, keep);
    Hull(p, half, r.body, 0.33f);
    Shape crescent = Subtract(Intersect(Circle(c, 0.6f * scale), keep),
                              Circle(c + V2(side * 0.2f * scale, 0), 0.5f * scale));
    p.Fill(crescent, r.rim * 0.55f, Blend::Add);
    Light(p, c + V2(side * 0.3f * scale, 0.25f * scale), 0.3f * scale, r.core);
}

void RedSplicer(Painter const& p)
{
    Palette r = RedFaction();
    RedSplicerHalf(p, 1.0f, 1.0f);
    RedSplicerHalf(p, -1.0f, 1.0f);
    // The seam where it splits.
    p.Glow(Capsule(V2(0, -0.82f), V2(0, 0.82f), 0.01f), r.core * 0.7f, 0.08f);
    Line(p, V2(0, -0.8f), V2(0, 0.8f), r.core);
}

void RedHalfSplicer(Painter const& p)
{
    Palette r = RedFaction();
    // One half, turned so its round side leads.
    Painter q = p.Sub(V2(0, -0.1f), 1.05f, -kPi / 2);
    RedSplicerHalf(q, 1.0f, 1.0f);
    Engine(p, V2(0, -0.78f), 0.5f, r);
}

void RedDriller(Painter const& p)
{
    Palette r = RedFaction();
    Shape ring = Circle(V2(0, -0.25f), 0.56f);
    Hull(p, ring, r.deep, 0.5f);
    // Drill cone with spiral bands.
    Shape cone = Polygon({{-0.34f, 0.05f}, {0.34f, 0.05f}, {0, 0.9f}});
    Hull(p, cone, r.rim, 0.35f);
    for (int i = 0; i < 3; ++i)
    {
        float y = 0.22f + float(i) * 0.2f, w = 0.3f * (0.9f - y) / 0.85f;
        Line(p, V2(-w, y - 0.05f), V2(w, y + 0.05f), r.core * 0.75f);
    }
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s);
        Shape fin = Polygon({{x * 0.45f, -0.1f}, {x * 0.88f, 0.2f}, {x * 0.8f, -0.62f}, {x * 0.4f, -0.6f}});
        Hull(p, fin, r.body, 0.3f);
    }
    p.Fill(Ring(V2(0, -0.25f), 0.34f, p.PixelSize() * 0.8f), r.rim * 0.8f, Blend::Add);
    Light(p, V2(0, -0.25f), 0.45f, r.core);
    Engine(p, V2(0, -0.82f), 0.5f, r);
}

void RedHive(Painter const& p, int frame)
{
    Palette r = RedFaction();
    Shape shell = RegularPolygon(V2(0, 0), 0.9f, 6, kPi / 6);
    Hull(p, shell, r.deep, 0.42f);
    // Seven cells; spawn fills them one frame at a time.
    const V2 cells[7] = {{0, 0},     {0, 0.5f},         {0.433f, 0.25f}, {0.433f, -0.25f},
                         {0, -0.5f}, {-0.433f, -0.25f}, {-0.433f, 0.25f}};
    int lit = frame >= 5 ? 7 : (frame * 7 + 2) / 5;
    for (int i = 0; i < 7; ++i)
    {
        Shape cell = RegularPolygon(cells[i], 0.235f, 6, kPi / 6);
        bool on = i < lit;
        Hull(p, cell, on ? r.rim : r.body * 0.7f, on ? 0.55f : 0.12f);
        if (on)
            Light(p, cells[i], 0.3f, r.core);
    }
    if (frame >= 5)
        p.Glow(shell, r.body * 0.25f, 0.12f);
}

void RedChevronBoss(Painter const& p)
{
    Palette r = RedFaction();
    auto chevron = [](float y, float t, float span)
    {
        return Symmetric(
            {{0, y + 0.62f}, {span, y - 0.55f}, {span - t * 1.2f, y - 0.72f}, {0, y + 0.62f - t * 1.6f}});
    };
    Hull(p, chevron(0.22f, 0.45f, 1.62f), r.deep, 0.45f);
    Hull(p, chevron(0.1f, 0.24f, 1.2f), r.body, 0.3f);
    Hull(p, chevron(-0.1f, 0.18f, 0.8f), r.rim, 0.3f);
    for (int s = -1; s <= 1; s += 2)
    {
        Light(p, V2(float(s) * 1.38f, -0.45f), 0.35f, r.core);
        Engine(p, V2(float(s) * 0.55f, -0.62f), 0.6f, r);
    }
    Light(p, V2(0, 0.5f), 0.45f, r.core);
}

void RedMissileBoss(Painter const& p)
{
    Palette r = RedFaction();
    Shape hull = Symmetric({{0, 0.72f},
                            {0.5f, 0.5f},
                            {1.95f, 0.1f},
                            {1.95f, -0.35f},
                            {0.6f, -0.55f},
                            {0.35f, -0.82f},
                            {0, -0.82f}});
    Hull(p, hull, r.deep, 0.42f);
    Shape core = Symmetric({{0, 0.6f}, {0.38f, 0.35f}, {0.42f, -0.5f}, {0, -0.62f}});
    Hull(p, core, r.body, 0.3f);
    // Missile racks under both wings, noses down.
    for (int s = -1; s <= 1; s += 2)
        for (int i = 0; i < 3; ++i)
        {
            float x = float(s) * (0.8f + float(i) * 0.38f);
            Shape missile =
                Symmetric({{0, 0.42f}, {0.07f, 0.28f}, {0.07f, -0.2f}, {0.13f, -0.3f}, {0, -0.25f}});
            Painter q = p.Sub(V2(x, 0.0f), 1.0f);
            Hull(q, missile, r.rim, 0.5f);
            Light(q, V2(0, 0.33f), 0.14f, r.core);
        }
    Engine(p, V2(0, -0.78f), 0.8f, r);
    Light(p, V2(0, 0.3f), 0.4f, r.core);
}

void RedCarrierBoss(Painter const& p)
{
    Palette r = RedFaction();
    Shape hull =
        Symmetric({{0, 0.82f}, {0.9f, 0.7f}, {1.62f, 0.25f}, {1.68f, -0.4f}, {1.2f, -0.82f}, {0, -0.7f}});
    Hull(p, hull, r.deep, 0.45f);
    Shape deck = Symmetric({{0, 0.62f}, {0.8f, 0.52f}, {1.3f, 0.15f}, {1.3f, -0.3f}, {0, -0.45f}});
    Hull(p, deck, r.body, 0.2f);
    for (int i = -1; i <= 1; ++i)
    {
        Shape bay = RoundedBox(V2(float(i) * 0.78f, 0.12f), V2(0.3f, 0.2f), 0.05f);
        p.Fill(bay, Rgba(0, 0, 0, 1));
        p.Fill(Outline(bay, Rim(p) * 0.7f), r.rim);
        Light(p, V2(float(i) * 0.78f, 0.14f), 0.28f, r.rim);
    }
    for (int i = -2; i <= 2; ++i)
        Engine(p, V2(float(i) * 0.5f, -0.72f), 0.55f, r);
    Light(p, V2(0, 0.55f), 0.35f, r.core);
}

void RedSnakeBoss(Painter const& p)
{
    Palette r = RedFaction();
    Shape head =
        Symmetric({{0, 0.5f}, {0.55f, 0.55f}, {1.2f, 0.2f}, {1.6f, -0.3f}, {1.2f, -0.8f}, {0, -0.86f}});
    Hull(p, head, r.deep, 0.45f);
    // Mandibles reaching forward.
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s);
        Shape jaw = Polygon({{x * 0.5f, 0.45f}, {x * 1.05f, 0.35f}, {x * 0.45f, 0.92f}, {x * 0.28f, 0.55f}});
        Hull(p, jaw, r.rim, 0.35f);
        Light(p, V2(x * 0.62f, 0.0f), 0.42f, r.core);
        Shape scale = Symmetric({{0, 0.22f}, {0.25f, 0.0f}, {0, -0.22f}});
        for (int i = 0; i < 3; ++i)
            Hull(p.Sub(V2(x * (0.95f + 0.2f * float(i)), -0.35f - 0.12f * float(i)), 1.0f), scale, r.body,
                 0.3f);
    }
    Line(p, V2(0, 0.4f), V2(0, -0.75f), r.rim * 0.7f);
    Engine(p, V2(0, -0.8f), 0.8f, r);
}

// ---- Green faction -------------------------------------------------------

void GreenFighter(Painter const& p)
{
    Palette g = GreenFaction();
    Shape drop =
        Union(Circle(V2(0, -0.18f), 0.66f), Polygon({{-0.55f, -0.05f}, {0.55f, -0.05f}, {0, 1.12f}}));
    Hull(p, drop, g.body, 0.3f);
    p.Fill(Ring(V2(0, -0.18f), 0.36f, p.PixelSize() * 0.9f), g.rim * 0.8f, Blend::Add);
    Light(p, V2(0, -0.18f), 0.5f, g.rim);
    Light(p, V2(0, 0.55f), 0.28f, g.core);
}

void GreenProven(Painter const& p)
{
    Palette g = GreenFaction();
    Shape kite = Symmetric({{0, 0.9f}, {0.62f, 0.1f}, {0.5f, -0.5f}, {0, -0.82f}});
    Hull(p, kite, g.body, 0.28f);
    Shape inner = Symmetric({{0, 0.52f}, {0.3f, 0.05f}, {0, -0.42f}});
    Hull(p, inner, g.rim, 0.35f);
    Light(p, V2(0, 0.05f), 0.4f, g.core);
    Engine(p, V2(0, -0.76f), 0.45f, g);
}

void GreenGunship(Painter const& p)
{
    Palette g = GreenFaction();
    Shape hull = Union(Ellipse(V2(0, -0.1f), 0.5f, 1.12f), Ellipse(V2(0, -0.6f), 0.86f, 0.42f));
    Hull(p, hull, g.body, 0.3f);
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s) * 0.66f;
        Shape pod = RoundedBox(V2(x, 0.25f), V2(0.13f, 0.72f), 0.12f);
        Hull(p, pod, g.rim, 0.4f);
        Light(p, V2(x, 0.95f), 0.28f, g.core);
    }
    p.Fill(Ring(V2(0, -0.25f), 0.25f, p.PixelSize() * 0.9f), g.rim, Blend::Add);
    Light(p, V2(0, 0.55f), 0.3f, g.core);
    Engine(p, V2(0, -1.05f), 0.5f, g);
}

void GreenCarrier(Painter const& p)
{
    Palette g = GreenFaction();
    Hull(p, Circle(V2(0, 0), 0.84f), g.body, 0.22f);
    p.Fill(Ring(V2(0, 0), 0.58f, p.PixelSize() * 1.2f), g.rim * 0.9f, Blend::Add);
    for (int i = 0; i < 6; ++i)
    {
        float a = float(i) * kPi / 3.0f + kPi / 6.0f;
        V2 c = V2(std::cos(a), std::sin(a)) * 0.58f;
        p.Fill(Circle(c, 0.11f), Rgba(0, 0, 0, 1));
        Light(p, c, 0.22f, g.rim);
    }
    Hull(p, Circle(V2(0, 0), 0.28f), g.rim, 0.4f);
    Light(p, V2(0, 0), 0.38f, g.core);
}

void GreenConverter(Painter const& p)
{
    Palette g = GreenFaction();
    Shape dome = Intersect(Circle(V2(0, 0.15f), 0.72f), RoundedBox(V2(0, -0.35f), V2(0.8f, 0.52f), 0.0f));
    Hull(p, dome, g.body, 0.3f);
    Shape base = RoundedBox(V2(0, 0.2f), V2(0.8f, 0.1f), 0.08f);
    Hull(p, base, g.rim, 0.45f);
    // Landing legs and the converter emitter pointing at the surface.
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s);
        Line(p, V2(x * 0.5f, 0.28f), V2(x * 0.8f, 0.78f), g.rim, p.PixelSize() * 1.3f);
        Line(p, V2(x * 0.68f, 0.78f), V2(x * 0.92f, 0.78f), g.rim, p.PixelSize() * 1.3f);
    }
    Shape emitter = Symmetric({{0, 0.82f}, {0.2f, 0.35f}, {0, 0.3f}});
    Hull(p, emitter, g.core, 0.4f);
    Light(p, V2(0, 0.7f), 0.4f, g.rim);
    Light(p, V2(0, -0.2f), 0.45f, g.core);
}

void GreenPillar(Painter const& p)
{
    Palette g = GreenFaction();
    Shape column = Symmetric({{0, 1.0f}, {0.44f, 0.7f}, {0.44f, -0.7f}, {0, -1.0f}});
    Hull(p, column, g.body, 0.3f);
    Shape facet = Symmetric({{0, 0.78f}, {0.16f, 0.6f}, {0.16f, -0.6f}, {0, -0.78f}});
    Hull(p, facet, g.rim, 0.35f);
    for (int i = -1; i <= 1; ++i)
        Line(p, V2(-0.4f, float(i) * 0.42f), V2(0.4f, float(i) * 0.42f), g.rim * 0.6f);
    Light(p, V2(0, 0.15f), 0.45f, g.core);
}

void GreenStarburst(Painter const& p)
{
    Palette g = GreenFaction();
    Shape star = Star(V2(0, 0), 0.9f, 0.42f, 6, 0.0f);
    Hull(p, star, g.body, 0.3f);
    for (int i = 0; i < 6; ++i)
    {
        float a = float(i) * kPi / 3.0f + kPi / 2.0f;
        V2 c = V2(std::cos(a), std::sin(a)) * 0.66f;
        Light(p, c, 0.24f, g.rim);
    }
    Hull(p, Circle(V2(0, 0), 0.26f), g.rim, 0.4f);
    Light(p, V2(0, 0), 0.4f, g.core);
}

void GreenLockdown(Painter const& p)
{
    Palette g = GreenFaction();
    p.Fill(Ring(V2(0, 0), 0.72f, 0.14f), g.body * 0.3f);
    p.Fill(Outline(Ring(V2(0, 0), 0.72f, 0.14f), Rim(p) * 0.6f), g.rim);
    for (int i = 0; i < 4; ++i)
    {
        float a = float(i) * kPi / 2.0f + kPi / 4.0f;
        Painter q = p.Sub(V2(std::cos(a), std::sin(a)) * 0.72f, 1.0f, a + kPi / 2.0f);
        Shape clamp = RoundedBox(V2(0, 0), V2(0.2f, 0.24f), 0.05f);
        Hull(q, clamp, g.rim, 0.5f);
    }
    Hull(p, Circle(V2(0, 0), 0.36f), g.body, 0.3f);
    Hull(p, Ellipse(V2(0, 0.05f), 0.2f, 0.12f), g.core, 0.6f);
    Light(p, V2(0, 0.05f), 0.5f, g.rim);
    p.Glow(Ring(V2(0, 0), 0.72f, 0.14f), g.rim * 0.15f, 0.1f);
}

void GreenBeacon(Painter const& p, int stage)
{
    Palette g = GreenFaction();
    // Seven countdown segments: lit ones show the stages left; the core
    // grows hotter as the release comes near (stage 0).
    int lit = std::clamp(stage, 0, 6) + 1;
    for (int i = 0; i < 7; ++i)
    {
        float a0 = -kPi / 2.0f + float(i) * 2.0f * kPi / 7.0f + 0.12f;
        float a1 = a0 + 2.0f * kPi / 7.0f - 0.24f;
        Shape seg = Arc(V2(0, 0), 0.72f, 0.09f, a0, a1);
        bool on = i < lit;
        Hull(p, seg, on ? g.rim : g.body * 0.5f, on ? 0.7f : 0.12f);
    }
    float heat = 1.0f - float(std::clamp(stage, 0, 6)) / 6.0f;
    Hull(p, RegularPolygon(V2(0, 0), 0.42f, 7, 0.0f), g.body, 0.3f);
    p.Glow(Circle(V2(0, 0), 0.05f + 0.08f * heat), Rgba::Lerp(g.rim, g.core, heat) * (0.25f + 0.3f * heat),
           0.18f + 0.12f * heat);
    Light(p, V2(0, 0), 0.3f + 0.15f * heat, g.core);
}

void GreenExpendableBoss(Painter const& p)
{
    Palette g = GreenFaction();
    Shape hull = Union(Ellipse(V2(0, 0), 2.45f, 0.58f), Ellipse(V2(0, 0.25f), 0.9f, 0.62f));
    Hull(p, hull, g.body, 0.26f);
    for (int i = -2; i <= 2; ++i)
    {
        Painter q = p.Sub(V2(float(i) * 0.9f, 0.02f), 0.42f);
        GreenFighter(q);
    }
    Light(p, V2(0, 0.55f), 0.4f, g.core);
}

void GreenCarrierBoss(Painter const& p)
{
    Palette g = GreenFaction();
    Shape wing = Union(Ellipse(V2(0, 0), 1.85f, 0.5f), Circle(V2(0, 0.05f), 0.78f));
    Hull(p, wing, g.body, 0.24f);
    p.Fill(Ring(V2(0, 0.05f), 0.5f, p.PixelSize() * 1.2f), g.rim, Blend::Add);
    for (int i = 0; i < 4; ++i)
    {
        float x = (i < 2 ? -1.0f : 1.0f) * (1.0f + 0.45f * float(i % 2));
        p.Fill(Circle(V2(x, 0.05f), 0.13f), Rgba(0, 0, 0, 1));
        Light(p, V2(x, 0.05f), 0.28f, g.rim);
    }
    Hull(p, Circle(V2(0, 0.05f), 0.25f), g.rim, 0.45f);
    Light(p, V2(0, 0.05f), 0.4f, g.core);
}

void GreenPredatorBoss(Painter const& p)
{
    Palette g = GreenFaction();
    Shape wing = Symmetric({{0, 0.5f},
                            {0.6f, 0.2f},
                            {1.4f, 0.3f},
                            {2.25f, 0.85f},
                            {2.0f, -0.05f},
                            {1.3f, -0.55f},
                            {0.5f, -0.5f},
                            {0, -0.85f}});
    Hull(p, wing, g.body, 0.26f);
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s);
        Shape claw = Polygon({{x * 0.2f, 0.35f}, {x * 0.5f, 0.35f}, {x * 0.3f, 0.95f}});
        Hull(p, claw, g.rim, 0.4f);
        Line(p, V2(x * 0.6f, 0.05f), V2(x * 1.9f, 0.6f), g.rim * 0.7f);
        Light(p, V2(x * 1.3f, -0.15f), 0.35f, g.rim);
    }
    Hull(p, Ellipse(V2(0, 0), 0.3f, 0.5f), g.rim, 0.35f);
    Light(p, V2(0, 0.1f), 0.5f, g.core);
}

void GreenStarburstBoss(Painter const& p)
{
    Palette g = GreenFaction();
    Shape star = Star(V2(0, 0), 0.95f, 0.45f, 8, 0.0f);
    Painter tall = p.Sub(V2(0, 0), 1.0f);
    Hull(tall, star, g.body, 0.28f);
    Hull(p, Star(V2(0, 0), 0.6f, 0.33f, 8, kPi / 8.0f), g.rim, 0.3f);
    for (int i = 0; i < 8; ++i)
    {
        float a = float(i) * kPi / 4.0f - kPi / 2.0f;
        Light(p, V2(std::cos(a), std::sin(a)) * 0.75f, 0.2f, g.rim);
    }
    Hull(p, Circle(V2(0, 0), 0.24f), g.rim, 0.4f);
    Light(p, V2(0, 0), 0.4f, g.core);
}

// Ship tiles leave this much room around the hull (a frame 14% larger than
// the design's).
const float kShipRoom = 1.14f;

// Light within a few pixels of the tile's border fades to black.
void FadeBorder(Canvas& canvas, PixelRect const& clip)
{
    const float width = std::max(2.0f, float(std::min(clip.w, clip.h)) * 0.1f);
    for (int y = 0; y < clip.h; ++y)
        for (int x = 0; x < clip.w; ++x)
        {
            const float dx = std::min(float(x) + 0.5f, float(clip.w - x) - 0.5f);
            const float dy = std::min(float(y) + 0.5f, float(clip.h - y) - 0.5f);
            const float k = Smoothstep(0.0f, width, std::min(dx, dy));
            if (k < 1.0f)
            {
                Rgba& c = canvas.At(clip.x + x, clip.y + y);
                c = c * k;
            }
        }
}

} // namespace

V2 ShipExtent(std::string const& kind)
{
    for (auto const& d : Designs)
        if (kind == d.kind)
        {
            float m = float(std::min(d.w, d.h));
            return V2(float(d.w) / m, float(d.h) / m);
        }
    return V2(1, 1);
}

bool PaintShip(Painter const& p, std::string const& kind, int frame)
{
    static const std::map<std::string, void (*)(Painter const&)> plain = {
        {"red_fighter", RedFighter},
        {"red_hulk", RedHulk},
        {"red_speeder", RedSpeeder},
        {"red_carrier", RedCarrier},
        {"red_blocker", RedBlocker},
        {"red_builder", RedBuilder},
        {"red_splicer", RedSplicer},
        {"red_half_splicer", RedHalfSplicer},
        {"red_driller", RedDriller},
        {"red_chevron_boss", RedChevronBoss},
        {"red_missile_boss", RedMissileBoss},
        {"red_carrier_boss", RedCarrierBoss},
        {"red_snake_boss", RedSnakeBoss},
        {"green_fighter", GreenFighter},
        {"green_proven", GreenProven},
        {"green_gunship", GreenGunship},
        {"green_carrier", GreenCarrier},
        {"green_converter", GreenConverter},
        {"green_pillar", GreenPillar},
        {"green_starburst", GreenStarburst},
        {"green_lockdown", GreenLockdown},
        {"green_expendable_boss", GreenExpendableBoss},
        {"green_carrier_boss", GreenCarrierBoss},
        {"green_predator_boss", GreenPredatorBoss},
        {"green_starburst_boss", GreenStarburstBoss},
    };
    if (kind == "red_hive")
        RedHive(p, frame);
    else if (kind == "green_beacon")
        GreenBeacon(p, frame);
    else
    {
        auto it = plain.find(kind);
        if (it == plain.end())
            return false;
        it->second(p);
    }
    return true;
}

void PaintShipTrail(Painter const& p, Palette const& pal, float halfWidth, float length)
{
    // From the tail (y = 0) backwards (towards -y), fading out.
    p.Fill(
        Shape{[=](V2 q)
              {
                  float t = Clamp01(-q.y / length);
                  float w = halfWidth * (1.0f - 0.6f * t);
                  return std::max(std::fabs(q.x) - w, std::max(q.y, -q.y - length));
              },
              Box(-halfWidth, -length, halfWidth, 0)},
        [=](V2 q, float)
        {
            float t = Clamp01(-q.y / length);
            float across = 1.0f - Clamp01(std::fabs(q.x) / halfWidth);
            return pal.body * ((1.0f - t) * (1.0f - t) * (0.35f + 0.65f * across) * 0.8f);
        },
        Blend::Add);
}

bool PaintShipTile(Painter const&, TileSpec const& tile, ArtContext& ctx)
{
    if (tile.recipe != "ship")
        return false;
    std::string kind = tile.Arg(0);
    // The hull keeps clear of the border so that the engine glows behind it
    // fade inside the tile; what light still reaches the border is faded
    // out, so no tile shows a hard edge when drawn additively.
    V2 e = ShipExtent(kind) * kShipRoom;
    Painter p(ctx.canvas, ctx.clip.x, ctx.clip.y, ctx.clip.w, ctx.clip.h, e.x, e.y);
    if (!PaintShip(p, kind, tile.IntArg(1, 0)))
        return false;
    FadeBorder(ctx.canvas, ctx.clip);
    return true;
}

} // namespace AssetGen
