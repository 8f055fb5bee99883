// Menu pictures, all light on black (drawn additively): the 64 level cards
// (that level's enemies closing in on the planet in a formation of its own),
// the eight stage cards and the full-gauntlet card, the help strips that
// line up enemy kinds, and the two results headlines. Level cards keep their
// upper-right corner empty: the progress badge sits there.
#include "tools/assetgen/Art.h"

#include "engine/core/VectorMath.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace AssetGen
{

namespace
{

using Vexel::kPi;

struct Kind
{
    const char* name; // as in the manifest's level rows
    const char* ship;
    float size; // in-game size (world units), larger axis
    bool trail;
    bool boss;
    int frame;
};

const Kind Kinds[] = {
    {"peon", "red_fighter", 12, false, false, 0},
    {"drifter", "red_fighter", 16, true, false, 0},
    {"streamer", "red_fighter", 20, true, false, 0},
    {"snake", "red_hulk", 24, false, false, 0},
    {"hulk", "red_hulk", 20, false, false, 0},
    {"speeder", "red_speeder", 28, true, false, 0},
    {"carrier_red", "red_carrier", 22, false, false, 0},
    {"blocker", "red_blocker", 64, false, false, 0},
    {"builder", "red_builder", 30, false, false, 0},
    {"splicer", "red_splicer", 28, false, false, 0},
    {"driller", "red_driller", 33, false, false, 0},
    {"hive", "red_hive", 28, false, false, 3},
    {"chevron_boss", "red_chevron_boss", 84, false, true, 0},
    {"missile_boss", "red_missile_boss", 100, false, true, 0},
    {"carrier_boss_red", "red_carrier_boss", 115, false, true, 0},
    {"snake_boss", "red_snake_boss", 150, false, true, 0},
    {"expendable", "green_fighter", 14, false, false, 0},
    {"wanderer", "green_fighter", 19, true, false, 0},
    {"predator", "green_proven", 29, true, false, 0},
    {"proven", "green_proven", 24, false, false, 0},
    {"missile", "green_proven", 26, true, false, 0},
    {"gunship", "green_gunship", 39, false, false, 0},
    {"carrier_green", "green_carrier", 36, false, false, 0},
    {"starburst", "green_starburst", 44, false, false, 0},
    {"converter", "green_converter", 38, false, false, 0},
    {"lockdown", "green_lockdown", 68, false, true, 0},
    {"pillar", "green_pillar", 27, false, false, 0},
    {"beacon", "green_beacon", 48, false, false, 6},
    {"carrier_boss_green", "green_carrier_boss", 120, false, true, 0},
    {"predator_boss", "green_predator_boss", 140, false, true, 0},
    {"starburst_boss", "green_starburst_boss", 105, false, true, 0},
    {"expendable_boss", "green_expendable_boss", 136, false, true, 0},
};

Kind const* FindKind(std::string const& name)
{
    for (auto const& k : Kinds)
        if (name == k.name)
            return &k;
    return nullptr;
}

bool IsGreen(Kind const& k)
{
    return std::string(k.ship).compare(0, 5, "green") == 0;
}

std::vector<std::string> Split(std::string const& s, char sep)
{
    std::vector<std::string> out;
    std::stringstream in(s);
    std::string item;
    while (std::getline(in, item, sep))
        if (!item.empty())
            out.push_back(item);
    return out;
}

// Faint space: a tinted nebula and hashed stars.
void SpaceBackdrop(Painter const& p, Rgba tint, int seed, float nebula = 0.12f)
{
    p.Shade(
        [&](V2 q, Rgba c)
        {
            float n = Fbm(q.x * 1.3f + float(seed) * 0.37f, q.y * 1.3f, 4, seed);
            float k = Smoothstep(0.45f, 0.8f, n) * nebula;
            return c + tint * k;
        });
    float hx = p.HalfX(), hy = p.HalfY();
    int count = int(hx * hy * 18.0f);
    for (int i = 0; i < count; ++i)
    {
        V2 s(-hx + 2.0f * hx * Hash(i, 1, seed), -hy + 2.0f * hy * Hash(i, 2, seed));
        float b = 0.15f + 0.6f * std::pow(Hash(i, 3, seed), 3.0f);
        p.Glow(Circle(s, p.PixelSize() * 0.3f), Rgba(0.8f, 0.88f, 1.0f) * b, p.PixelSize() * 0.8f);
    }
}

// A ship of a kind at `at` (local units), `px` pixels long, nose towards `target`.
void DrawKind(Painter const& p, Kind const& k, V2 at, float pixels, V2 target)
{
    V2 d = target - at;
    float rot = std::atan2(-d.x, d.y);
    V2 e = ShipExtent(k.ship);
    float scale = pixels * p.PixelSize() / (2.0f * std::max(e.x, e.y));
    Painter q = p.Sub(at, scale, rot);
    if (k.trail)
        PaintShipTrail(q.Sub(V2(0, -e.y * 0.8f), 1.0f), IsGreen(k) ? GreenFaction() : RedFaction(),
                       e.x * 0.35f, e.y * 4.0f);
    if (std::string(k.name) == "snake")
    {
        // Head plus a chain of body segments behind it.
        for (int i = 3; i >= 1; --i)
            PaintShip(q.Sub(V2(0, -float(i) * 1.55f), 0.72f), "red_fighter");
    }
    PaintShip(q, k.ship, k.frame);
}

float PixelsFor(Kind const& k, float unit)
{
    return unit * std::pow(k.size, 0.55f);
}

// Where a level card's planet sits: varied per level, so the cards of a
// stage do not all share one composition.
struct Scene
{
    V2 planet;
    float radius;
};

Scene LevelScene(int level, float hx, float hy)
{
    switch ((level * 5 + level / 8) % 4)
    {
    case 0: // rising from the bottom edge
        return {V2(0, hy + 0.22f), 0.62f};
    case 1: // low on the left
        return {V2(-hx + 0.12f, hy - 0.08f), 0.62f};
    case 2: // low on the right
        return {V2(hx - 0.12f, hy - 0.08f), 0.62f};
    default: // a wide horizon
        return {V2(0, hy + 1.45f), 1.85f};
    }
}

// Moves a slot out of the picture's reserved places: the level number at the
// upper left, the progress badge at the upper right, the planet and the
// edges.
V2 KeepClear(V2 s, Scene const& scene, float hx, float hy, float margin)
{
    s.x = std::clamp(s.x, -hx + 0.18f, hx - 0.18f);
    s.y = std::clamp(s.y, -hy + 0.3f, hy - 0.3f);
    const float cornerY = -hy + 0.78f + margin;
    if (s.y < cornerY && s.x < -0.25f)
        s.y = cornerY;
    if (s.y < cornerY && s.x > 0.25f)
        s.y = cornerY;
    V2 d = s - scene.planet;
    float len = d.Length();
    float minimum = scene.radius + 0.2f + margin;
    if (len < minimum)
        s = scene.planet + (len > 1e-4f ? d * (1.0f / len) : V2(0, -1)) * minimum;
    return s;
}

// Slot positions of a formation (local units; picture frame x in -1..1),
// closing in on the planet.
std::vector<V2> Formation(int style, int count, int seed, float hx, float hy, Scene const& scene)
{
    std::vector<V2> slots;
    V2 towards = scene.planet * (1.0f / std::max(0.01f, scene.planet.Length()));
    for (int i = 0; i < count; ++i)
    {
        float t = count > 1 ? float(i) / float(count - 1) : 0.5f;
        V2 s;
        switch (style % 6)
        {
        case 0: // ranks
        {
            int perRow = 4;
            int row = i / perRow, col = i % perRow;
            s = V2((float(col) - 1.5f + 0.5f * float(row % 2)) * 0.42f, -hy + 0.95f + float(row) * 0.34f);
            break;
        }
        case 1: // a wedge aimed at the planet
        {
            float side = (i % 2) ? 1.0f : -1.0f;
            float k = float((i + 1) / 2);
            V2 tip = scene.planet - towards * (scene.radius + 0.45f);
            V2 back = -towards;
            V2 across(-back.y, back.x);
            s = tip + back * (k * 0.24f) + across * (side * k * 0.2f);
            break;
        }
        case 2: // a ring closing round the planet
        {
            float r = scene.radius + 0.55f;
            float a0 = std::atan2(-scene.planet.y, -scene.planet.x);
            float a = a0 + (t - 0.5f) * 2.2f;
            s = scene.planet + V2(std::cos(a), std::sin(a)) * r;
            break;
        }
        case 3: // two streams from the upper corners
        {
            float side = (i % 2) ? 1.0f : -1.0f;
            float k = float(i / 2) / std::max(1.0f, float((count - 1) / 2));
            V2 from(side * (hx - 0.2f), -hy + 0.95f);
            s = from + (scene.planet - from) * (k * 0.7f);
            break;
        }
        case 4: // a loose swarm
            s = V2(-0.85f + 1.7f * Hash(i, 5, seed), -hy + 0.9f + 1.6f * Hash(i, 6, seed));
            break;
        default: // spiralling in
        {
            float a = float(i) * 0.8f + float(seed);
            float r = scene.radius + 0.45f + float(i) * 0.08f;
            s = scene.planet + V2(std::cos(a), -std::fabs(std::sin(a))) * r;
            break;
        }
        }
        slots.push_back(KeepClear(s, scene, hx, hy, 0.0f));
    }
    return slots;
}

Rgba FactionTint(bool green)
{
    return green ? Rgba(0.1f, 0.8f, 0.55f) : Rgba(0.9f, 0.25f, 0.1f);
}

void CardFrame(Painter const& p, Rgba colour)
{
    float hx = p.HalfX(), hy = p.HalfY(), px = p.PixelSize();
    Shape frame = RoundedBox(V2(0, 0), V2(hx - px * 2.0f, hy - px * 2.0f), 0.12f);
    p.Fill(Outline(frame, px * 0.6f), colour * 0.55f, Blend::Add);
    p.Glow(Outline(frame, px * 0.2f), colour * 0.12f, px * 3.0f);
}

void Number(ArtContext& ctx, std::string const& text, float size, float x, float y, Rgba colour)
{
    CaptionStyle st;
    st.face = Rgba::Lerp(colour, Rgba(1, 1, 1), 0.45f);
    st.glow = colour * 0.8f;
    st.glowRadius = 3;
    st.blend = Blend::Add;
    DrawCaption(ctx.text, ctx.canvas, ctx.clip, text, size, x, y, st);
}

// A dark plate with a faint rim under a label, so that nothing drawn before
// shows through it. pixelCentre and pixelHalf are in atlas pixels.
void LabelPlate(Painter const& p, ArtContext& ctx, float cx, float cy, float halfW, float halfH, Rgba rim)
{
    V2 c = p.ToLocal(cx, cy);
    float px = p.PixelSize();
    Shape plate = RoundedBox(c, V2(halfW * px, halfH * px), halfH * px * 0.6f);
    p.Fill(plate, Rgba(0, 0, 0, 1), Blend::Over);
    p.Fill(Outline(plate, px * 0.5f), rim * 0.35f, Blend::Add);
    (void)ctx;
}

// The level number at the upper left, on its plate.
void CornerNumber(Painter const& p, ArtContext& ctx, std::string const& text, Rgba colour)
{
    float x = float(ctx.clip.x) + 30.0f, y = float(ctx.clip.y) + 28.0f;
    float halfW = 9.0f * float(text.size()) + 9.0f;
    LabelPlate(p, ctx, x, y, halfW, 19.0f, colour);
    Number(ctx, text, 30, x, y, colour);
}

void PlanetAt(Painter const& p, Scene const& scene)
{
    // A wide horizon turns the equator, not the ice cap, to the sky.
    if (scene.radius > 1.0f)
        PaintPlanet(p.Sub(scene.planet, scene.radius, kPi / 2.0f), 0.05f);
    else
        PaintPlanet(p.Sub(scene.planet, scene.radius), 0.18f);
}

// What a kind brings along on its card: the ships it spawns or builds.
const char* EscortOf(std::string const& name)
{
    if (name == "hive" || name == "carrier_red" || name == "chevron_boss")
        return "peon";
    if (name == "carrier_boss_red")
        return "carrier_red";
    if (name == "carrier_boss_green")
        return "carrier_green";
    if (name == "carrier_green" || name == "beacon" || name == "expendable_boss")
        return "expendable";
    if (name == "starburst_boss")
        return "starburst";
    if (name == "missile_boss" || name == "converter")
        return "missile";
    if (name == "predator_boss")
        return "predator";
    if (name == "snake_boss")
        return "snake";
    return nullptr;
}

bool IsLander(std::string const& name)
{
    return name == "driller" || name == "converter";
}

void LevelPicture(Painter const& p, TileSpec const& s, ArtContext& ctx)
{
    int level = s.IntArg(0), difficulty = s.IntArg(2);
    std::vector<Kind const*> kinds;
    for (auto const& n : Split(s.Arg(3), ','))
        if (Kind const* k = FindKind(n))
            kinds.push_back(k);
    bool greenTitle = (level >= 16 && level < 32) || (level >= 48 && level < 56);
    int greens = 0;
    for (auto k : kinds)
        greens += IsGreen(*k) ? 1 : 0;
    Rgba tint = FactionTint(greens * 2 > int(kinds.size()));
    float hx = p.HalfX(), hy = p.HalfY();
    SpaceBackdrop(p, tint, 1000 + level, 0.16f);
    Scene scene = LevelScene(level, hx, hy);
    PlanetAt(p, scene);

    std::vector<Kind const*> bosses, landers, troops;
    for (auto k : kinds)
        (k->boss ? bosses : (IsLander(k->name) ? landers : troops)).push_back(k);
    const float unit = 4.3f;
    V2 away = -scene.planet * (1.0f / std::max(0.01f, scene.planet.Length()));

    // Landers sit on the surface, on the side that faces the sky.
    for (size_t i = 0; i < landers.size(); ++i)
    {
        float a = std::atan2(away.y, away.x) + (float(i) - 0.5f * float(landers.size() - 1)) * 0.55f /
                                                   std::max(1.0f, scene.radius);
        V2 n(std::cos(a), std::sin(a));
        V2 at = scene.planet + n * (scene.radius + 0.12f);
        DrawKind(p, *landers[i], at, std::min(PixelsFor(*landers[i], unit), 44.0f), scene.planet);
        if (const char* e = EscortOf(landers[i]->name))
            for (int j = 0; j < 3; ++j)
            {
                V2 m = KeepClear(at + n * (0.35f + 0.2f * float(j)) + V2(n.y, -n.x) * (0.18f * float(j - 1)),
                                 scene, hx, hy, 0.0f);
                DrawKind(p, *FindKind(e), m, 13, m + n);
            }
    }

    // Bosses lead; a boss alone fills the card with its brood around it.
    const bool bossAlone = troops.empty() && landers.empty() && bosses.size() <= 2;
    for (size_t i = 0; i < bosses.size(); ++i)
    {
        float n = float(bosses.size());
        float x = (float(i) - (n - 1) * 0.5f) * (1.3f / std::max(1.0f, n));
        float y = -hy + 1.05f + 0.32f * float(i % 2);
        float px = std::min(PixelsFor(*bosses[i], unit) * (bossAlone ? 1.6f : 1.05f),
                            (bossAlone ? 160.0f : 150.0f) / std::max(1.0f, n * (n >= 3 ? 0.5f : 0.8f)));
        V2 at = V2(x, bossAlone && n == 1 ? -0.15f : y);
        if (n >= 3)
        {
            // A crowd of bosses closes in on an arc round the planet.
            float a = std::atan2(away.y, away.x) + (float(i) - (n - 1) * 0.5f) * 0.5f;
            at = scene.planet + V2(std::cos(a), std::sin(a)) * (scene.radius + 0.75f + 0.3f * float(i % 2));
        }
        at = KeepClear(at, scene, hx, hy, 0.1f);
        DrawKind(p, *bosses[i], at, px, scene.planet);
        if (const char* e = EscortOf(bosses[i]->name))
        {
            int brood = bossAlone ? 7 : (bosses.size() >= 3 ? 0 : 3);
            for (int j = 0; j < brood; ++j)
            {
                float a = float(j) * 2.0f * kPi / float(brood) + 0.4f * float(i);
                float r = px * p.PixelSize() * 0.62f + 0.12f;
                V2 m = KeepClear(at + V2(std::cos(a), std::sin(a) * 0.8f) * r, scene, hx, hy, 0.0f);
                Kind const& ek = *FindKind(e);
                DrawKind(p, ek, m, std::min(PixelsFor(ek, unit) * 0.8f, 26.0f), scene.planet);
            }
        }
    }

    if (!troops.empty())
    {
        int count = std::min(16, 4 + difficulty + int(troops.size()) * 2);
        if (!bosses.empty())
            count = std::max(3, count - 4 * int(bosses.size()));
        int style = (level * 7 + 3) % 6;
        std::vector<V2> slots = Formation(style, count, level, hx, hy, scene);
        for (int i = 0; i < count; ++i)
        {
            Kind const& k = *troops[size_t(i) % troops.size()];
            V2 at = slots[size_t(i)];
            if (!bosses.empty())
                at = KeepClear(V2(at.x, std::max(at.y, -hy + 1.7f)), scene, hx, hy, 0.0f);
            float px = std::min(PixelsFor(k, unit), k.name == std::string("blocker") ? 70.0f : 46.0f);
            DrawKind(p, k, at, px, scene.planet);
            // Builders set their Blockers between them and the planet.
            if (k.name == std::string("builder") && i < int(troops.size()))
            {
                V2 wall = KeepClear(at + (scene.planet - at) * 0.35f, scene, hx, hy, 0.0f);
                DrawKind(p, *FindKind("blocker"), wall, 60, scene.planet);
            }
            else if (const char* e = EscortOf(k.name))
            {
                if (i < int(troops.size()))
                    for (int j = 0; j < 2; ++j)
                    {
                        V2 m = KeepClear(at + V2(float(j) * 0.36f - 0.18f, 0.26f), scene, hx, hy, 0.0f);
                        DrawKind(p, *FindKind(e), m, 12, scene.planet);
                    }
            }
        }
    }
    CardFrame(p, greenTitle ? FactionTint(true) : FactionTint(false));
    CornerNumber(p, ctx, std::to_string(level + 1), greenTitle ? Rgba(0.4f, 1.0f, 0.8f) : Rgba(1.0f, 0.45f, 0.4f));
}

// The card's name in a dark band along its foot, clear of the picture.
void CaptionBand(Painter const& p, ArtContext& ctx, std::string const& text, Rgba colour)
{
    float hx = p.HalfX(), hy = p.HalfY(), px = p.PixelSize();
    const float bandPixels = 40.0f;
    float top = hy - bandPixels * px;
    p.Fill(RoundedBox(V2(0, (top + hy) * 0.5f), V2(hx, (hy - top) * 0.5f), 0.0f), Rgba(0, 0, 0, 1), Blend::Over);
    p.Fill(Capsule(V2(-hx + 0.12f, top), V2(hx - 0.12f, top), px * 0.6f), colour * 0.45f, Blend::Add);
    float cx = float(ctx.clip.x) + float(ctx.clip.w) / 2.0f;
    float cy = float(ctx.clip.y) + float(ctx.clip.h) - bandPixels * 0.5f;
    Number(ctx, text, ctx.text.FitSize(text, 26, float(ctx.clip.w) - 24), cx, cy, colour);
}

const char* StageNames[8] = {"CHAOS", "ORDER", "VANGUARD", "TACTICAL", "FLANKED", "SWARM", "HORDE", "GANKED"};

void StagePicture(Painter const& p, int stage, ArtContext& ctx)
{
    float hy = p.HalfY();
    bool green = stage == 2 || stage == 3 || stage == 6;
    Rgba tint = FactionTint(green);
    SpaceBackdrop(p, tint, 2000 + stage, 0.22f);
    if (stage == 4 || stage == 7)
        SpaceBackdrop(p, FactionTint(!green), 2100 + stage, 0.14f);
    // The whole planet stands above the caption band, besieged.
    V2 planet(0, hy - 0.98f);
    PaintPlanet(p.Sub(planet, 0.36f), 0.2f);
    auto kind = [](const char* n) { return *FindKind(n); };
    const Scene scene{planet, 0.36f};
    const float hx = p.HalfX();
    auto put = [&](const char* n, V2 at, float px, V2 target)
    {
        at = KeepClear(at, scene, hx, hy, 0.0f);
        at.y = std::min(at.y, hy - 0.62f); // above the caption band
        DrawKind(p, kind(n), at, px, target);
    };
    switch (stage)
    {
    case 0: // Chaos: a loose red swirl
        for (int i = 0; i < 14; ++i)
        {
            float a = float(i) * 2.4f, r = 0.25f + 0.055f * float(i);
            put(i % 4 == 0 ? "drifter" : "peon", V2(std::cos(a) * r, -0.1f + std::sin(a) * r * 0.9f), 16,
                planet);
        }
        break;
    case 1: // Order: ranks
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                put(row == 0 ? "hulk" : (row == 1 ? "carrier_red" : "streamer"),
                    V2((float(col) - 1.5f) * 0.42f, -hy + 0.75f + float(row) * 0.38f), 22, planet);
        break;
    case 2: // Vanguard: a green arrowhead
        put("gunship", V2(0, -0.2f), 40, planet);
        for (int i = 1; i <= 4; ++i)
            for (int s = -1; s <= 1; s += 2)
                put("expendable", V2(float(s) * float(i) * 0.19f, -0.2f - float(i) * 0.2f), 18, planet);
        break;
    case 3: // Tactical: Lockdown with escorts
        put("lockdown", V2(0, -0.5f), 64, planet);
        for (int i = 0; i < 6; ++i)
        {
            float a = float(i) * kPi / 3.0f;
            put("proven", V2(std::cos(a) * 0.62f, -0.5f + std::sin(a) * 0.62f), 20, planet);
        }
        break;
    case 4: // Flanked: both factions from both sides
        for (int i = 0; i < 5; ++i)
        {
            put("peon", V2(-0.75f + float(i) * 0.07f, -0.9f + float(i) * 0.3f), 18, planet);
            put("expendable", V2(0.75f - float(i) * 0.07f, -0.6f + float(i) * 0.3f), 18, planet);
        }
        put("hulk", V2(-0.35f, -0.35f), 26, planet);
        put("proven", V2(0.35f, -0.05f), 26, planet);
        break;
    case 5: // Swarm: dense red cloud
        for (int i = 0; i < 30; ++i)
            put(i % 5 == 0 ? "speeder" : "peon",
                V2(-0.85f + 1.7f * Hash(i, 1, 55), -hy + 0.55f + 1.6f * Hash(i, 2, 55)), 14, planet);
        break;
    case 6: // Horde: green heavies and masses
        put("predator_boss", V2(0, -hy + 0.8f), 80, planet);
        for (int i = 0; i < 18; ++i)
            put(i % 3 == 0 ? "wanderer" : "expendable",
                V2(-0.85f + 1.7f * Hash(i, 3, 66), -hy + 1.3f + 1.1f * Hash(i, 4, 66)), 15, planet);
        break;
    default: // Ganked: everything, from everywhere
        put("snake_boss", V2(-0.3f, -hy + 0.75f), 66, planet);
        put("starburst_boss", V2(0.45f, -0.25f), 56, planet);
        for (int i = 0; i < 12; ++i)
        {
            float a = kPi * (1.05f + 0.9f * float(i) / 11.0f);
            put(i % 2 ? "expendable" : "peon", planet + V2(std::cos(a) * 0.85f, std::sin(a) * 1.1f), 16,
                planet);
        }
        break;
    }
    Rgba label = green ? Rgba(0.3f, 1.0f, 0.75f) : Rgba(1.0f, 0.4f, 0.3f);
    CaptionBand(p, ctx, StageNames[stage % 8], label);
    CardFrame(p, tint);
    CornerNumber(p, ctx, std::to_string(stage + 1), label);
}

void GauntletPicture(Painter const& p, ArtContext& ctx)
{
    float hy = p.HalfY();
    Rgba gold(1.0f, 0.75f, 0.3f);
    SpaceBackdrop(p, Rgba(0.6f, 0.4f, 0.15f), 3000, 0.2f);
    V2 planet(0, 0.25f);
    PaintPlanet(p.Sub(planet, 0.42f), 0.2f);
    // Rings of both factions closing in from every side.
    for (int ring = 0; ring < 2; ++ring)
        for (int i = 0; i < 12; ++i)
        {
            float a = float(i) * kPi / 6.0f + float(ring) * 0.26f;
            float r = 0.68f + 0.24f * float(ring);
            V2 at = planet + V2(std::cos(a) * r, std::sin(a) * r * 1.25f);
            if (at.x > 0.38f && at.y < -hy + 0.75f)
                continue;
            DrawKind(p, *FindKind((i + ring) % 2 ? "expendable" : "peon"), at, 15, planet);
        }
    p.Glow(Ring(planet, 0.5f, 0.01f), gold * 0.25f, 0.05f);
    CardFrame(p, gold);
    float cx = float(ctx.clip.x) + float(ctx.clip.w) / 2.0f;
    Number(ctx, "64", 46, cx, float(ctx.clip.y) + float(ctx.clip.h) - 34.0f, gold);
}

void HelpStrip(Painter const& p, std::string const& which, ArtContext&)
{
    float hx = p.HalfX(), hy = p.HalfY();
    SpaceBackdrop(p, Rgba(0.3f, 0.45f, 0.7f), 4000 + int(which.size()), 0.08f);
    auto row = [&](std::vector<const char*> const& names, float px)
    {
        float n = float(names.size());
        for (size_t i = 0; i < names.size(); ++i)
        {
            Kind const& k = *FindKind(names[i]);
            V2 at((float(i) - (n - 1) * 0.5f) * (2.0f * hx - 0.5f) / n, 0.0f);
            DrawKind(p, k, at, px, at + V2(0, 1));
        }
    };
    if (which == "basic")
        row({"peon", "drifter", "streamer", "speeder", "hulk", "expendable", "wanderer", "proven", "gunship"},
            48);
    else if (which == "bosses")
        row({"chevron_boss", "missile_boss", "carrier_boss_red", "snake_boss", "lockdown", "expendable_boss",
             "carrier_boss_green", "predator_boss", "starburst_boss"},
            54);
    else if (which == "builders")
    {
        DrawKind(p, *FindKind("builder"), V2(-hx * 0.62f, -0.1f), 62, V2(-hx * 0.62f, 2));
        for (int i = 0; i < 3; ++i)
            DrawKind(p, *FindKind("blocker"),
                     V2(-hx * 0.12f + float(i) * hx * 0.42f, 0.18f - 0.1f * float(i % 2)), 96,
                     V2(-hx * 0.12f + float(i) * hx * 0.42f, 3));
    }
    else if (which == "landers")
    {
        // The surface below, a Driller drilling and a Converter landing.
        // Turned a quarter so the equator, not the ice cap, faces up.
        PaintPlanet(p.Sub(V2(0, hy + 6.5f), 7.0f, kPi / 2.0f), 0.02f);
        V2 d(-hx * 0.45f, -0.05f), c(hx * 0.45f, -0.05f);
        p.Glow(Capsule(d + V2(0, 0.3f), d + V2(0, 0.95f), 0.03f), RedFaction().body * 0.7f, 0.08f);
        DrawKind(p, *FindKind("driller"), d, 60, d + V2(0, 1));
        p.Glow(Capsule(c + V2(0, 0.3f), c + V2(0, 0.95f), 0.05f), GreenFaction().rim * 0.3f, 0.15f);
        DrawKind(p, *FindKind("converter"), c, 62, c + V2(0, 1));
    }
    else if (which == "spawner_bosses")
    {
        const char* names[3] = {"carrier_boss_red", "carrier_boss_green", "starburst_boss"};
        for (int i = 0; i < 3; ++i)
        {
            V2 at(float(i - 1) * hx * 0.66f, -0.15f);
            DrawKind(p, *FindKind(names[i]), at, 70, at + V2(0, 1));
            for (int j = 0; j < 3; ++j)
                DrawKind(p, *FindKind(i == 0 ? "peon" : (i == 1 ? "missile" : "missile")),
                         at + V2(float(j - 1) * 0.45f, 0.62f), 14, at + V2(float(j - 1) * 0.9f, 3));
        }
    }
    else
    {
        V2 h(-hx * 0.45f, -0.1f), b(hx * 0.45f, -0.1f);
        DrawKind(p, *FindKind("hive"), h, 64, h + V2(0, 1));
        for (int j = 0; j < 4; ++j)
            DrawKind(p, *FindKind("peon"), h + V2(0.6f + 0.28f * float(j), 0.3f * float(j % 2) - 0.1f), 14,
                     h + V2(2, 3));
        Kind beacon = *FindKind("beacon");
        beacon.frame = 2;
        DrawKind(p, beacon, b, 64, b + V2(0, 1));
        for (int j = 0; j < 8; ++j)
        {
            float a = float(j) * kPi / 4.0f;
            V2 at = b + V2(std::cos(a) * 0.95f, std::sin(a) * 0.62f);
            DrawKind(p, *FindKind("expendable"), at, 12, at + (at - b));
        }
    }
}

// Clears a soft-edged patch round a label to black (pixelCentre and pixel
// half sizes in atlas pixels): in an additive picture, a dark halo.
void LabelHalo(Painter const& p, float cx, float cy, float halfW, float halfH)
{
    V2 c = p.ToLocal(cx, cy);
    float px = p.PixelSize();
    p.Glow(RoundedBox(c, V2(halfW * px, halfH * px), halfH * px), Rgba(0, 0, 0, 1), halfH * px * 0.8f, Blend::Over);
    p.Fill(RoundedBox(c, V2(halfW * px, halfH * px), halfH * px), Rgba(0, 0, 0, 1), Blend::Over);
}

// Darkens the tile towards its edges, so an additive picture ends softly
// instead of as a box of backdrop.
void FadeEdges(ArtContext& ctx)
{
    PixelRect c = ctx.clip;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
        {
            float u = std::fabs(2.0f * (float(x) + 0.5f) / float(c.w) - 1.0f);
            float v = std::fabs(2.0f * (float(y) + 0.5f) / float(c.h) - 1.0f);
            float k = (1.0f - Smoothstep(0.82f, 1.0f, u)) * (1.0f - Smoothstep(0.6f, 1.0f, v));
            Rgba& px = ctx.canvas.At(c.x + x, c.y + y);
            px = Rgba(px.r * k, px.g * k, px.b * k, px.a * k);
        }
}

void Headline(Painter const& p, bool survived, ArtContext& ctx)
{
    float hx = p.HalfX();
    Rgba colour = survived ? Rgba(0.35f, 0.85f, 1.0f) : Rgba(1.0f, 0.35f, 0.2f);
    SpaceBackdrop(p, colour, survived ? 5001 : 5002, 0.1f);
    V2 planet(-hx + 0.95f, 0.0f);
    PaintPlanet(p.Sub(planet, 0.62f), 0.25f);
    if (survived)
    {
        p.Glow(Ring(planet, 0.8f, 0.01f), colour * 0.5f, 0.06f);
        p.Glow(Ring(planet, 0.95f, 0.005f), colour * 0.25f, 0.05f);
    }
    else
    {
        // Burning: red glow and fire spots, debris drifting off.
        p.Glow(Circle(planet, 0.55f), Rgba(1.0f, 0.25f, 0.05f) * 0.35f, 0.3f);
        for (int i = 0; i < 9; ++i)
        {
            V2 at = planet + V2(Hash(i, 1, 9) - 0.5f, Hash(i, 2, 9) - 0.5f) * 0.9f;
            p.Glow(Circle(at, 0.02f), Rgba(1.0f, 0.6f, 0.2f) * 0.8f, 0.07f);
        }
        for (int i = 0; i < 6; ++i)
        {
            float a = float(i) * 1.1f - 0.4f;
            DrawKind(p, *FindKind(i % 2 ? "peon" : "hulk"), planet + V2(std::cos(a), std::sin(a)) * 0.85f, 14,
                     planet);
        }
    }
    float cx = float(ctx.clip.x) + float(ctx.clip.w) * 0.62f;
    float cy = float(ctx.clip.y) + float(ctx.clip.h) * 0.5f;
    const char* title = survived ? "PLANET SAVED" : "PLANET LOST";
    float size = ctx.text.FitSize(title, 40, float(ctx.clip.w) * 0.62f);
    // The words get a dark halo of their own: nothing of the backdrop is
    // added around them, so over a bright scene they stand on the shadow the
    // page draws beneath the picture.
    LabelHalo(p, cx, cy, float(ctx.clip.w) * 0.33f, size * 0.75f);
    Number(ctx, title, size, cx, cy, colour);
    FadeEdges(ctx);
}

} // namespace

bool PaintPictureTile(Painter const& p, TileSpec const& s, ArtContext& ctx)
{
    std::string const& r = s.recipe;
    if (r == "level")
        LevelPicture(p, s, ctx);
    else if (r == "stage_picture")
        StagePicture(p, s.IntArg(0), ctx);
    else if (r == "gauntlet_picture")
        GauntletPicture(p, ctx);
    else if (r == "help_strip")
        HelpStrip(p, s.Arg(0), ctx);
    else if (r == "headline")
        Headline(p, s.Arg(0) == "survived", ctx);
    else
        return false;
    return true;
}

} // namespace AssetGen
