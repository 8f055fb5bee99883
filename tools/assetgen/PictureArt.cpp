// Menu pictures, all light on black (drawn additively): the 64 level cards
// (that level's enemies closing in on the planet in a formation of its own),
// the eight stage cards and the full-gauntlet card, the help strips that
// line up enemy kinds, and the two results headlines. Level cards keep their
// upper-right corner empty: the progress badge sits there.
#include "tools/assetgen/Art.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace AssetGen
{

namespace
{

const float Pi = 3.14159265f;

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

// Slot positions of a formation (local units; picture frame x in -1..1),
// all above the planet and away from the badge corner.
std::vector<V2> Formation(int style, int count, int seed, float hy)
{
    std::vector<V2> slots;
    float top = -hy + 0.3f;
    for (int i = 0; i < count; ++i)
    {
        float t = count > 1 ? float(i) / float(count - 1) : 0.5f;
        V2 s;
        switch (style % 6)
        {
        case 0: // rows
        {
            int perRow = 4;
            int row = i / perRow, col = i % perRow;
            s = V2((float(col) - 1.5f + 0.5f * float(row % 2)) * 0.44f, top + 0.25f + float(row) * 0.36f);
            break;
        }
        case 1: // V pointing at the planet
        {
            float side = (i % 2) ? 1.0f : -1.0f;
            float k = float((i + 1) / 2);
            s = V2(side * k * 0.24f, top + 0.85f - k * 0.22f);
            break;
        }
        case 2: // arc round the planet
        {
            float a = Pi * (1.15f + 0.7f * t);
            s = V2(std::cos(a) * 1.1f, hy - 0.2f + std::sin(a) * 1.65f);
            break;
        }
        case 3: // two streams
        {
            float side = (i % 2) ? 1.0f : -1.0f;
            float k = float(i / 2);
            s = V2(side * (0.75f - k * 0.1f), top + 0.2f + k * 0.34f);
            break;
        }
        case 4: // swarm
            s = V2(-0.85f + 1.7f * Hash(i, 5, seed), top + 0.1f + 1.5f * Hash(i, 6, seed));
            break;
        default: // spiral in
        {
            float a = float(i) * 0.9f + float(seed);
            float r = 1.45f - float(i) * 0.07f;
            s = V2(std::cos(a) * r * 0.72f, hy - 0.3f - std::fabs(std::sin(a)) * r);
            break;
        }
        }
        // Keep out of the badge corner and off the edges.
        s.x = std::clamp(s.x, -0.82f, 0.82f);
        s.y = std::clamp(s.y, -hy + 0.35f, hy - 0.75f);
        if (s.x > 0.3f && s.y < -hy + 0.95f)
            s = V2(s.x - 0.55f, -hy + 0.95f + 0.25f * Hash(i, 9, seed));
        slots.push_back(s);
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

void PlanetBelow(Painter const& p, float hy, float radius = 0.62f)
{
    PaintPlanet(p.Sub(V2(0, hy + radius * 0.35f), radius), 0.18f);
}

void LevelPicture(Painter const& p, TileSpec const& s, ArtContext& ctx)
{
    int level = s.IntArg(0), stage = s.IntArg(1), difficulty = s.IntArg(2);
    std::vector<Kind const*> kinds;
    for (auto const& n : Split(s.Arg(3), ','))
        if (Kind const* k = FindKind(n))
            kinds.push_back(k);
    bool greenTitle = (level >= 16 && level < 32) || (level >= 48 && level < 56);
    int greens = 0;
    for (auto k : kinds)
        greens += IsGreen(*k) ? 1 : 0;
    Rgba tint = FactionTint(greens * 2 > int(kinds.size()));
    float hy = p.HalfY();
    SpaceBackdrop(p, tint, 1000 + level, 0.16f);
    V2 planet(0, hy + 0.62f * 0.35f);
    PlanetBelow(p, hy);

    // Bosses lead at the top centre; the rest fill the level's formation.
    std::vector<Kind const*> bosses, troops;
    for (auto k : kinds)
        (k->boss ? bosses : troops).push_back(k);
    float unit = 4.3f;
    for (size_t i = 0; i < bosses.size(); ++i)
    {
        float n = float(bosses.size());
        float x = (float(i) - (n - 1) * 0.5f) * (1.5f / std::max(1.0f, n)) - (n > 1 ? 0.1f : 0.15f);
        float y = -hy + 0.75f + 0.3f * float(i % 2);
        float px = std::min(PixelsFor(*bosses[i], unit) * 1.05f, 150.0f / std::max(1.0f, n * 0.8f));
        DrawKind(p, *bosses[i], V2(x, y), px, planet);
    }
    if (!troops.empty())
    {
        int count = std::min(16, 4 + difficulty + int(troops.size()) * 2);
        if (!bosses.empty())
            count = std::max(3, count - 4 * int(bosses.size()));
        std::vector<V2> slots = Formation(level + stage, count, level, hy);
        for (int i = 0; i < count; ++i)
        {
            Kind const& k = *troops[size_t(i) % troops.size()];
            V2 at = slots[size_t(i)];
            if (!bosses.empty())
                at.y = std::max(at.y, -hy + 1.4f);
            DrawKind(p, k, at, std::min(PixelsFor(k, unit), 46.0f), planet);
        }
    }
    CardFrame(p, greenTitle ? FactionTint(true) : FactionTint(false));
    Number(ctx, std::to_string(level + 1), 30, float(ctx.clip.x) + 28.0f, float(ctx.clip.y) + 28.0f,
           greenTitle ? Rgba(0.4f, 1.0f, 0.8f) : Rgba(1.0f, 0.45f, 0.4f));
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
    V2 planet(0, hy + 0.3f);
    PaintPlanet(p.Sub(planet, 0.62f), 0.18f);
    auto kind = [](const char* n) { return *FindKind(n); };
    auto put = [&](const char* n, V2 at, float px, V2 target) { DrawKind(p, kind(n), at, px, target); };
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
            float a = float(i) * Pi / 3.0f;
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
            float a = Pi * (1.05f + 0.9f * float(i) / 11.0f);
            put(i % 2 ? "expendable" : "peon", V2(std::cos(a) * 0.9f, hy - 0.2f + std::sin(a) * 1.6f), 16,
                planet);
        }
        break;
    }
    CardFrame(p, tint);
    float cx = float(ctx.clip.x) + float(ctx.clip.w) / 2.0f;
    Number(ctx, StageNames[stage % 8], ctx.text.FitSize(StageNames[stage % 8], 26, float(ctx.clip.w) - 20),
           cx, float(ctx.clip.y) + float(ctx.clip.h) - 22.0f,
           green ? Rgba(0.3f, 1.0f, 0.75f) : Rgba(1.0f, 0.4f, 0.3f));
    Number(ctx, std::to_string(stage + 1), 30, float(ctx.clip.x) + 26.0f, float(ctx.clip.y) + 28.0f,
           green ? Rgba(0.3f, 1.0f, 0.75f) : Rgba(1.0f, 0.4f, 0.3f));
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
            float a = float(i) * Pi / 6.0f + float(ring) * 0.26f;
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
        PaintPlanet(p.Sub(V2(0, hy + 6.5f), 7.0f, Pi / 2.0f), 0.02f);
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
            float a = float(j) * Pi / 4.0f;
            V2 at = b + V2(std::cos(a) * 0.95f, std::sin(a) * 0.62f);
            DrawKind(p, *FindKind("expendable"), at, 12, at + (at - b));
        }
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
    Number(ctx, title, size, cx, cy, colour);
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
