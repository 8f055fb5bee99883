// Menu chrome in one style: dark glass panels with a luminous border in the
// page's theme colour (blue, green or red, matching the label colours),
// captions with a soft glow, stars and badges in the same palette. Texture
// buttons draw no label of their own, so their captions are painted here.
#include "tools/assetgen/Art.h"

#include "engine/core/VectorMath.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

namespace
{

using Vexel::kPi;

struct Theme
{
    Rgba light;  // label colour
    Rgba border; // rim
    Rgba deep;   // tint of the glass
};

Theme ThemeOf(std::string const& name)
{
    if (name == "green")
        return Theme{Rgba(0.5f, 1.0f, 0.83f), Rgba(0.3f, 0.95f, 0.7f), Rgba(0.02f, 0.14f, 0.1f)};
    if (name == "red")
        return Theme{Rgba(1.0f, 0.5f, 0.5f), Rgba(1.0f, 0.38f, 0.32f), Rgba(0.17f, 0.03f, 0.03f)};
    return Theme{Rgba(0.5f, 0.83f, 1.0f), Rgba(0.32f, 0.72f, 1.0f), Rgba(0.03f, 0.08f, 0.17f)};
}

// A painter in tile pixels, origin at the tile centre.
Painter PixelPainter(ArtContext& ctx)
{
    PixelRect c = ctx.clip;
    return Painter(ctx.canvas, c.x, c.y, c.w, c.h, float(c.w) / 2.0f, float(c.h) / 2.0f);
}

// Glass panel: vertical gradient, top sheen, luminous border.
void Panel(Painter const& p, Shape const& s, Theme const& t, float top, float bottom, float border = 2.0f,
           float glass = 0.9f)
{
    p.Fill(s,
           [&](V2 q, float)
           {
               float k = Clamp01((q.y - top) / (bottom - top));
               Rgba c = Rgba::Lerp(Rgba::Lerp(t.deep, Rgba(0.22f, 0.26f, 0.32f), 0.35f), t.deep * 0.6f, k);
               return Rgba::Straight(c.r, c.g, c.b, glass);
           });
    // Sheen on the upper part.
    p.Fill(Intersect(s, Shape{[top, bottom](V2 q) { return q.y - (top + (bottom - top) * 0.42f); },
                              Box(-1e4f, top, 1e4f, bottom)}),
           [&](V2 q, float)
           {
               float k = 1.0f - Clamp01((q.y - top) / ((bottom - top) * 0.42f));
               return Rgba::Straight(1, 1, 1, 0.1f * k);
           });
    auto d = s.distance;
    Shape rim{[d, border](V2 q) { return std::fabs(d(q) + border * 0.5f) - border * 0.5f; }, s.bounds};
    p.Fill(rim,
           [&](V2 q, float)
           {
               float k = Clamp01((q.y - top) / (bottom - top));
               Rgba c = Rgba::Lerp(Rgba::Lerp(t.border, Rgba(1, 1, 1), 0.35f), t.border * 0.8f, k);
               return Rgba::Straight(c.r, c.g, c.b, 1.0f);
           });
    Shape inner{[d, border](V2 q) { return std::fabs(d(q) + border + 1.0f) - 0.5f; }, s.bounds};
    p.Fill(inner, Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.25f));
}

void Caption(ArtContext& ctx, std::string const& text, float size, float cx, float cy, Theme const& t,
             float maxWidth = 0.0f)
{
    if (maxWidth > 0.0f)
        size = ctx.text.FitSize(text, size, maxWidth);
    CaptionStyle st;
    st.face = Rgba::Lerp(t.light, Rgba(1, 1, 1), 0.25f);
    st.glow = Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.55f);
    st.glowRadius = 2;
    st.outline = Rgba::Straight(0, 0, 0, 0.55f);
    DrawCaption(ctx.text, ctx.canvas, ctx.clip, text, size, cx, cy, st);
}

std::string Spaced(std::string s)
{
    std::replace(s.begin(), s.end(), '_', ' ');
    return s;
}

// Small icons for the menu buttons, in pixels around (0, 0), about 24 px.
void Icon(Painter const& p, std::string const& name, Rgba c)
{
    Rgba solid = Rgba::Straight(c.r, c.g, c.b, 1.0f);
    if (name == "back")
    {
        p.Fill(Polygon({{-11, 0}, {1, -10}, {1, -4}, {11, -4}, {11, 4}, {1, 4}, {1, 10}}), solid);
    }
    else if (name == "continue")
    {
        p.Fill(Polygon({{-10, -10}, {-3, -10}, {8, 0}, {-3, 10}, {-10, 10}, {1, 0}}), solid);
    }
    else if (name == "play")
    {
        p.Fill(Polygon({{-8, -11}, {11, 0}, {-8, 11}}), solid);
    }
    else if (name == "leaderboard")
    {
        p.Fill(RoundedBox(V2(-7, 4), V2(3.5f, 7), 1), solid);
        p.Fill(RoundedBox(V2(0, -1), V2(3.5f, 12), 1), solid);
        p.Fill(RoundedBox(V2(7, 7), V2(3.5f, 4), 1), solid);
    }
    else if (name == "options")
    {
        Shape gear =
            Subtract(Union(Circle(V2(0, 0), 8.5f), Star(V2(0, 0), 12, 8.5f, 8, 0)), Circle(V2(0, 0), 4));
        p.Fill(gear, solid);
    }
    else if (name == "practice")
    {
        p.Fill(Ring(V2(0, 0), 10, 1.6f), solid);
        p.Fill(Ring(V2(0, 0), 5, 1.6f), solid);
        p.Fill(Circle(V2(0, 0), 1.8f), solid);
    }
    else if (name == "surrender")
    {
        p.Fill(RoundedBox(V2(-8, 0), V2(1.5f, 12), 1), solid);
        p.Fill(Polygon({{-6.5f, -11}, {10, -7}, {-6.5f, -1}}), solid);
    }
    else if (name == "endless")
    {
        p.Fill(Ring(V2(-5.5f, 0), 5, 1.8f), solid);
        p.Fill(Ring(V2(5.5f, 0), 5, 1.8f), solid);
    }
    else if (name == "tips")
    {
        p.Fill(Circle(V2(0, -3), 7.5f), solid);
        p.Fill(RoundedBox(V2(0, 7), V2(3.5f, 3), 1), solid);
        p.Fill(Circle(V2(0, -3), 4), Rgba::Straight(1, 1, 1, 1));
    }
    else if (name == "tutorial")
    {
        p.Fill(Arc(V2(0, -4), 6, 1.9f, -kPi, kPi * 0.45f), solid);
        p.Fill(Capsule(V2(1.5f, 1.5f), V2(0, 4), 1.9f), solid);
        p.Fill(Circle(V2(0, 10), 2.1f), solid);
    }
    else if (name == "more")
    {
        p.Fill(Star(V2(0, 1), 12, 5, 5, 0), solid);
    }
}

void MenuButton(ArtContext& ctx, std::string const& theme, std::string const& icon, std::string const& label)
{
    Painter p = PixelPainter(ctx);
    Theme t = ThemeOf(theme);
    float hw = float(ctx.clip.w) / 2.0f, hh = float(ctx.clip.h) / 2.0f;
    // "More Games!" stands between the two bottom buttons of the title page,
    // raised by less than its height: narrower, so it clears their corners.
    const float inset = icon == "more" ? 22.0f : 0.0f;
    Shape box = RoundedBox(V2(0, 0), V2(hw - 2 - inset, hh - 4), 17);
    Panel(p, box, t, -hh, hh);
    Painter ip = p.Sub(V2(-hw + 36 + inset, 0), 1.0f);
    ip.Glow(Circle(V2(0, 0), 8), Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.3f), 10, Blend::Over);
    Icon(ip, icon, Rgba::Lerp(t.light, Rgba(1, 1, 1), 0.3f));
    float cx = float(ctx.clip.x) + float(ctx.clip.w) / 2.0f + 20.0f;
    float cy = float(ctx.clip.y) + float(ctx.clip.h) / 2.0f;
    float room = float(ctx.clip.w) - 84.0f - 2.0f * inset;
    std::string text = Spaced(label);
    size_t split = std::string::npos; // the blank nearest the middle
    for (size_t i = text.find(' '); i != std::string::npos; i = text.find(' ', i + 1))
        if (split == std::string::npos || std::fabs(float(i) - float(text.size()) / 2.0f) <
                                              std::fabs(float(split) - float(text.size()) / 2.0f))
            split = i;
    if (ctx.text.FitSize(text, 25, room) < 19.0f && split != std::string::npos)
    {
        // Long captions take two lines rather than shrinking out of sight.
        std::string first = text.substr(0, split), second = text.substr(split + 1);
        float size = std::min(ctx.text.FitSize(first, 21, room), ctx.text.FitSize(second, 21, room));
        Caption(ctx, first, size, cx, cy - size * 0.55f, t);
        Caption(ctx, second, size, cx, cy + size * 0.6f, t);
    }
    else
        Caption(ctx, text, 25, cx, cy, t, room);
}

void Pill(ArtContext& ctx, std::string const& theme)
{
    // End caps are the left and right 48%, the middle 4% stretches; both
    // halves are used on their own, so keep it symmetric.
    Painter p = PixelPainter(ctx);
    Theme t = ThemeOf(theme);
    float hw = float(ctx.clip.w) / 2.0f, hh = float(ctx.clip.h) / 2.0f;
    Shape pill = RoundedBox(V2(0, 0), V2(hw - 1.5f, hh - 1.5f), hh - 1.5f);
    Panel(p, pill, t, -hh, hh, 2.5f, 0.92f);
    if (theme == "green")
    {
        // The "on" face is a lit lamp: a round light with a halo (it is also
        // drawn small and additively as the checked mark). Round, not a bar,
        // so it never reads as a minus sign. The plate behind the label is
        // cut from this face, so the lamp stays soft enough for the label to
        // read over its stretched middle.
        const float lamp = hh * 0.4f;
        p.Glow(Circle(V2(0, 0), lamp), Rgba::Straight(t.light.r, t.light.g, t.light.b, 0.3f), hh * 0.3f,
               Blend::Over);
        p.Fill(Circle(V2(0, 0), lamp),
               [&](V2 q, float)
               {
                   float k = Clamp01(1.0f - q.Length() / lamp);
                   Rgba c = Rgba::Lerp(t.light, Rgba(1, 1, 1), 0.5f * k);
                   return Rgba::Straight(c.r, c.g, c.b, 0.35f + 0.3f * k);
               });
        p.Fill(Ring(V2(0, 0), lamp, 1.2f), Rgba::Straight(t.light.r, t.light.g, t.light.b, 0.9f));
    }
}

void PlayLevel(ArtContext& ctx)
{
    Painter p = PixelPainter(ctx);
    Theme t = ThemeOf("green");
    float hw = float(ctx.clip.w) / 2.0f, hh = float(ctx.clip.h) / 2.0f;
    Panel(p, RoundedBox(V2(0, 0), V2(hw - 2, hh - 4), 22), t, -hh, hh);
    Painter ip = p.Sub(V2(0, -22), 2.4f);
    ip.Glow(Circle(V2(0, 0), 9), Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.35f), 12, Blend::Over);
    Icon(ip, "play", Rgba::Lerp(t.light, Rgba(1, 1, 1), 0.35f));
    Caption(ctx, "Play Level", 30, float(ctx.clip.x) + hw, float(ctx.clip.y) + hh + 48, t,
            float(ctx.clip.w) - 30);
}

// Five-pointed star in pixels, point up.
Shape StarShape(float r)
{
    return Star(V2(0, 2), r, r * 0.48f, 5, 0.0f);
}

void Badge(ArtContext& ctx, std::string const& kind)
{
    Painter p = PixelPainter(ctx);
    float r = float(std::min(ctx.clip.w, ctx.clip.h)) / 2.0f - 2.0f;
    if (kind == "complete")
    {
        Rgba gold(1.0f, 0.82f, 0.3f);
        p.Glow(StarShape(r * 0.82f), Rgba::Straight(1.0f, 0.8f, 0.3f, 0.35f), r * 0.12f, Blend::Over);
        p.Fill(StarShape(r * 0.9f),
               [&](V2 q, float)
               {
                   float k = Clamp01((q.y + r) / (2 * r));
                   Rgba c = Rgba::Lerp(Rgba(1.0f, 0.95f, 0.65f), Rgba(0.95f, 0.6f, 0.12f), k);
                   return Rgba::Straight(c.r, c.g, c.b, 1.0f);
               });
        p.Fill(Outline(StarShape(r * 0.9f - 1.0f), 1.0f), Rgba::Straight(1.0f, 0.98f, 0.85f, 1.0f));
        p.Fill(StarShape(r * 0.4f), Rgba::Straight(1, 1, 0.9f, 0.35f));
        return;
    }
    // A coloured star behind a dark disc: the count, in light ink, is
    // written on the disc, which is wide enough for two digits.
    Theme t = ThemeOf(kind == "some" ? "blue" : "red");
    Shape star = StarShape(r);
    p.Fill(star, Rgba::Straight(t.deep.r, t.deep.g, t.deep.b, 0.85f));
    p.Fill(Outline(Star(V2(0, 2), r - 2.0f, (r - 2.0f) * 0.48f, 5, 0.0f), 1.6f),
           Rgba::Straight(t.border.r, t.border.g, t.border.b, 1.0f));
    p.Glow(Circle(V2(0, 2), r * 0.6f), Rgba::Straight(0, 0, 0, 0.6f), r * 0.12f, Blend::Over);
    p.Fill(Circle(V2(0, 2), r * 0.6f), Rgba::Straight(0.02f, 0.03f, 0.05f, 0.97f));
    p.Fill(Ring(V2(0, 2), r * 0.6f - 0.8f, 0.8f), Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.8f));
}

void Award(Painter const& p, std::string const& kind, float r, bool additive)
{
    // Award star, with its own emblem; the kill star keeps a calm centre for
    // the threshold written over it.
    Rgba gold(1.0f, 0.78f, 0.28f);
    auto put = [&](Shape const& s, Rgba c, float a)
    { p.Fill(s, additive ? c * a : Rgba::Straight(c.r, c.g, c.b, a), additive ? Blend::Add : Blend::Over); };
    Shape star = StarShape(r);
    put(star, Rgba(0.18f, 0.12f, 0.04f), 0.92f);
    put(Outline(Star(V2(0, 2), r - 2.0f, (r - 2.0f) * 0.48f, 5, 0.0f), 1.8f), gold, 1.0f);
    put(Outline(Star(V2(0, 2), r * 0.72f, r * 0.72f * 0.48f, 5, 0.0f), 0.8f), gold, 0.5f);
    if (kind == "kills")
    {
        put(Ring(V2(0, 4), r * 0.34f, 1.2f), Rgba(1.0f, 0.6f, 0.5f), 0.5f);
        for (int i = 0; i < 4; ++i)
        {
            V2 d = V2(0, 1).Rotated(float(i) * kPi / 2.0f);
            put(Capsule(V2(0, 4) + d * (r * 0.38f), V2(0, 4) + d * (r * 0.5f), 1.1f), Rgba(1.0f, 0.6f, 0.5f),
                0.7f);
        }
    }
    else if (kind == "no_cannon")
    {
        put(Circle(V2(0, 7), r * 0.2f), Rgba(0.5f, 0.8f, 1.0f), 1.0f);
        put(Capsule(V2(0, 2), V2(0, -r * 0.3f), 2.0f), Rgba(0.5f, 0.8f, 1.0f), 1.0f);
        put(Capsule(V2(-r * 0.3f, r * 0.3f), V2(r * 0.3f, -r * 0.25f), 2.0f), Rgba(1.0f, 0.35f, 0.3f), 1.0f);
    }
    else
    {
        // Perfection: an untouched planet in a laurel of light.
        put(Circle(V2(0, 5), r * 0.24f), Rgba(0.3f, 0.65f, 1.0f), 1.0f);
        put(Circle(V2(-r * 0.06f, 5 - r * 0.06f), r * 0.1f), Rgba(0.6f, 1.0f, 0.6f), 0.8f);
        put(Arc(V2(0, 5), r * 0.36f, 1.1f, kPi * 0.15f, kPi * 0.85f), gold, 0.9f);
    }
}

void Pip(Painter const& p)
{
    // White hexagon glow: tinted by the page colour, drawn additively.
    p.Glow(RegularPolygon(V2(0, 0), 0.8f, 6, 0.0f), Rgba::Straight(1, 1, 1, 0.3f), 0.12f, Blend::Over);
    p.Fill(RegularPolygon(V2(0, 0), 0.8f, 6, 0.0f), Rgba::Straight(1, 1, 1, 0.55f));
    p.Fill(Outline(RegularPolygon(V2(0, 0), 0.74f, 6, 0.0f), 0.06f), Rgba::Straight(1, 1, 1, 1.0f));
    p.Fill(RegularPolygon(V2(0, 0), 0.36f, 6, 0.0f), Rgba::Straight(1, 1, 1, 1.0f));
}

void TitleBar(ArtContext& ctx, std::string const& theme)
{
    // Tapered bar; its middle stays plain for the page title. The panel
    // fills all but kClear rows of the tile at top and bottom: the title is
    // drawn at 0.9 of the tile's height, and its capitals and descenders
    // need nearly all of it.
    const float kClear = 2.0f;
    Painter p = PixelPainter(ctx);
    Theme t = ThemeOf(theme);
    float hw = float(ctx.clip.w) / 2.0f, hh = float(ctx.clip.h) / 2.0f;
    Shape bar = Polygon(
        {{-hw + 1, -hh + kClear}, {hw - 1, -hh + kClear}, {hw - 34, hh - kClear}, {-hw + 34, hh - kClear}});
    Panel(p, bar, t, -hh, hh, 2.0f, 0.86f);
    for (int s = -1; s <= 1; s += 2)
    {
        float x = float(s);
        for (int i = 0; i < 3; ++i)
        {
            float xx = x * (hw - 60 - float(i) * 14);
            Shape chev = Polygon(
                {{xx, -hh + 20}, {xx + x * 6, -hh + 20}, {xx + x * 1, hh - 20}, {xx - x * 5, hh - 20}});
            p.Fill(chev, Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.7f - 0.2f * float(i)));
        }
    }
    p.Fill(RoundedBox(V2(0, hh - kClear - 3), V2(hw * 0.5f, 1.0f), 1),
           Rgba::Straight(t.light.r, t.light.g, t.light.b, 0.6f));
}

void BigButton(ArtContext& ctx, std::string const& kind, std::string const& label)
{
    Painter p = PixelPainter(ctx);
    Theme t = ThemeOf("blue");
    float hw = float(ctx.clip.w) / 2.0f, hh = float(ctx.clip.h) / 2.0f;
    Shape box = RoundedBox(V2(0, 0), V2(hw - 3, hh - 3), 24);
    Panel(p, box, t, -hh, hh, 3.0f, 0.9f);
    // The picture window.
    Shape window = RoundedBox(V2(0, -22), V2(hw - 20, hh - 62), 14);
    p.Fill(window, Rgba::Straight(0, 0, 0, 0.95f));
    p.Fill(Outline(window, 0.8f), Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.6f));
    Painter w = p.Clipped(Box(-hw + 21, -hh + 41, hw - 21, hh - 85));
    // Stars.
    for (int i = 0; i < 60; ++i)
    {
        V2 s(-hw + 22 + Hash(i, 1, 7) * (2 * hw - 44), -hh + 42 + Hash(i, 2, 7) * (2 * hh - 128));
        float b = 0.3f + 0.7f * Hash(i, 3, 7);
        w.Fill(Circle(s, 0.6f + 0.6f * Hash(i, 4, 7)), Rgba::Straight(0.8f, 0.9f, 1.0f, b));
    }
    auto ship = [&](std::string const& k, V2 at, float size, float rot)
    {
        V2 e = ShipExtent(k);
        Painter q = w.Sub(at, size / std::max(e.x, e.y), rot);
        PaintShip(q, k);
    };
    V2 c(0, -22);
    if (kind == "gauntlet")
    {
        PaintPlanet(w.Sub(c + V2(0, 78), 44), 0.15f);
        for (int row = 0; row < 4; ++row)
            for (int i = 0; i < 5 - (row % 2); ++i)
            {
                float x = (float(i) - (4 - (row % 2)) * 0.5f) * 34.0f;
                ship(row < 2 ? "red_fighter" : "green_fighter", c + V2(x, -72 + float(row) * 26), 11, 0);
            }
        CaptionStyle st;
        st.face = Rgba::Straight(1, 1, 1, 1);
        st.glow = Rgba::Straight(t.border.r, t.border.g, t.border.b, 0.8f);
        st.glowRadius = 3;
        DrawCaption(ctx.text, ctx.canvas, ctx.clip, "64", 40, float(ctx.clip.x) + hw,
                    float(ctx.clip.y) + hh - 32 + 18, st);
    }
    else if (kind == "classic")
    {
        PaintPlanet(w.Sub(c + V2(0, 10), 34), 0.2f);
        for (int i = 0; i < 10; ++i)
        {
            float a = float(i) * 2.0f * kPi / 10.0f + 0.3f;
            V2 at = c + V2(0, 10) + V2(std::cos(a), std::sin(a)) * (66.0f + 8.0f * Hash(i, 0, 3));
            ship(i % 3 == 0 ? "green_proven" : "red_fighter", at, 10, a + kPi / 2.0f);
        }
        w.Fill(Ring(c + V2(0, 10), 50, 0.8f), Rgba::Straight(0.5f, 0.8f, 1.0f, 0.35f));
    }
    else if (kind == "quickstart")
    {
        PaintPlanet(w.Sub(c + V2(-30, 60), 36), 0.2f);
        for (int i = 0; i < 5; ++i)
        {
            V2 at = c + V2(-55.0f + float(i) * 28.0f, -70.0f + float(i) * 22.0f);
            PaintShipTrail(w.Sub(at, 1.0f, -0.7f), RedFaction(), 4, 40);
            ship("red_speeder", at, 16, -0.7f);
        }
        Painter bolt = w.Sub(c + V2(50, -10), 1.0f);
        Shape z = Polygon({{4, -40}, {-16, 4}, {-2, 4}, {-8, 40}, {16, -6}, {2, -6}});
        bolt.Glow(z, Rgba::Straight(1.0f, 0.85f, 0.3f, 0.5f), 6, Blend::Over);
        bolt.Fill(z, Rgba::Straight(1.0f, 0.92f, 0.55f, 1.0f));
    }
    else
    {
        // Stage and level selection: a grid of small picture cards.
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
            {
                V2 at = c + V2(float(col - 1) * 62.0f, float(row - 1) * 56.0f);
                bool red = (row * 3 + col) % 2 == 0;
                Shape card = RoundedBox(at, V2(26, 23), 5);
                w.Fill(card, Rgba::Straight(0.04f, 0.05f, 0.09f, 1));
                w.Fill(Outline(card, 1.0f),
                       red ? Rgba::Straight(1.0f, 0.45f, 0.35f, 1) : Rgba::Straight(0.3f, 1.0f, 0.7f, 1));
                ship(red ? "red_fighter" : "green_fighter", at, 12, 0);
            }
    }
    Caption(ctx, Spaced(label), 30, float(ctx.clip.x) + hw, float(ctx.clip.y) + float(ctx.clip.h) - 38, t,
            float(ctx.clip.w) - 30);
}

} // namespace

bool PaintUiTile(Painter const& p, TileSpec const& s, ArtContext& ctx)
{
    std::string const& r = s.recipe;
    if (r == "menu_button")
        MenuButton(ctx, s.Arg(0), s.Arg(1), s.Arg(2));
    else if (r == "pill")
        Pill(ctx, s.Arg(0));
    else if (r == "play_level")
        PlayLevel(ctx);
    else if (r == "badge")
        Badge(ctx, s.Arg(0));
    else if (r == "award")
        Award(PixelPainter(ctx), s.Arg(0), float(std::min(ctx.clip.w, ctx.clip.h)) / 2.0f - 2.0f, false);
    else if (r == "awards_help")
    {
        Painter px = PixelPainter(ctx);
        const char* kinds[3] = {"kills", "no_cannon", "perfection"};
        for (int i = 0; i < 3; ++i)
            Award(px.Sub(V2(float(i - 1) * 80.0f, 0), 1.0f), kinds[i], 38.0f, true);
    }
    else if (r == "difficulty_pip")
        Pip(p);
    else if (r == "title_bar")
        TitleBar(ctx, s.Arg(0));
    else if (r == "big_button")
        BigButton(ctx, s.Arg(0), s.Arg(1));
    else
        return false;
    return true;
}

} // namespace AssetGen
