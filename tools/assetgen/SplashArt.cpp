// The splash shown while the game starts: drawn once as a full-screen quad,
// so the whole image is stretched to the portrait screen (320 x 480 at
// first). It is painted at twice that design size and resampled into the
// power-of-two texture, so it looks right once stretched back.
#include "tools/assetgen/Art.h"

#include "engine/core/VectorMath.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

namespace
{

using Vexel::kPi;

Rgba Sample(Canvas const& c, float x, float y)
{
    x = std::clamp(x, 0.0f, float(c.Width() - 1));
    y = std::clamp(y, 0.0f, float(c.Height() - 1));
    int x0 = int(x), y0 = int(y);
    int x1 = std::min(x0 + 1, c.Width() - 1), y1 = std::min(y0 + 1, c.Height() - 1);
    float fx = x - float(x0), fy = y - float(y0);
    Rgba a = Rgba::Lerp(c.At(x0, y0), c.At(x1, y0), fx), b = Rgba::Lerp(c.At(x0, y1), c.At(x1, y1), fx);
    return Rgba::Lerp(a, b, fy);
}

} // namespace

void PaintSplash(Canvas& out, TextRenderer& text)
{
    const int w = 640, h = 960;
    Canvas c(w, h);
    Painter p(c, 0, 0, w, h, float(w) / 2.0f, float(h) / 2.0f); // local units = design pixels
    // Deep space with a blue nebula and stars.
    p.Shade(
        [](V2 q, Rgba)
        {
            float n = Fbm(q.x / 260.0f + 3.0f, q.y / 260.0f, 5, 77);
            float k = Smoothstep(0.42f, 0.85f, n);
            return Rgba(0.05f, 0.12f, 0.3f) * k * 0.8f + Rgba(0.25f, 0.05f, 0.2f) * (k * k * 0.3f);
        });
    for (int i = 0; i < 260; ++i)
    {
        V2 s(-320.0f + 640.0f * Hash(i, 1, 8), -480.0f + 960.0f * Hash(i, 2, 8));
        float b = 0.2f + 0.8f * std::pow(Hash(i, 3, 8), 3.0f);
        p.Glow(Circle(s, 0.4f), Rgba(0.85f, 0.9f, 1.0f) * b, 1.2f + 1.5f * b);
    }
    // The planet rising from the bottom, under attack from both factions.
    V2 planet(0, 400);
    PaintPlanet(p.Sub(planet, 250.0f), 0.12f);
    for (int i = 0; i < 18; ++i)
    {
        float a = kPi * (1.08f + 0.84f * float(i) / 17.0f);
        float r = 340.0f + 40.0f * Hash(i, 0, 12);
        V2 at = planet + V2(std::cos(a), std::sin(a)) * r;
        V2 d = planet - at;
        float rot = std::atan2(-d.x, d.y);
        bool green = i % 2 == 1;
        std::string kind = green ? (i % 3 == 0 ? "green_proven" : "green_fighter")
                                 : (i % 4 == 0 ? "red_hulk" : "red_fighter");
        Painter q = p.Sub(at, 11.0f, rot);
        PaintShipTrail(q.Sub(V2(0, -0.8f), 1.0f), green ? GreenFaction() : RedFaction(), 0.35f, 4.0f);
        PaintShip(q, kind);
    }
    // Title.
    PixelRect all{0, 0, w, h};
    CaptionStyle glow;
    glow.face = Rgba(0, 0, 0, 0);
    glow.glow = Rgba(0.25f, 0.55f, 1.0f) * 0.9f;
    glow.glowRadius = 10;
    glow.blend = Blend::Add;
    DrawCaption(text, c, all, "Cobalt Keep", text.FitSize("Cobalt Keep", 96, 560), 320, 330, glow);
    CaptionStyle face;
    face.face = Rgba(0.85f, 0.95f, 1.0f);
    face.glow = Rgba(0.5f, 0.8f, 1.0f) * 0.8f;
    face.glowRadius = 3;
    face.blend = Blend::Add;
    DrawCaption(text, c, all, "Cobalt Keep", text.FitSize("Cobalt Keep", 96, 560), 320, 330, face);
    CaptionStyle sub;
    sub.face = Rgba(0.55f, 0.75f, 0.95f) * 0.9f;
    sub.blend = Blend::Add;
    DrawCaption(text, c, all, "HOLD THE LINE", 26, 320, 410, sub);
    p.Fill(Capsule(V2(-150, -55), V2(150, -55), 1.0f), Rgba(0.4f, 0.7f, 1.0f) * 0.6f, Blend::Add);

    // Resample to the texture: the full-screen quad stretches it back.
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
        {
            float sx = (float(x) + 0.5f) * float(w) / float(out.Width()) - 0.5f;
            float sy = (float(y) + 0.5f) * float(h) / float(out.Height()) - 0.5f;
            Rgba v = Sample(c, sx, sy);
            out.At(x, y) = Rgba(v.r, v.g, v.b, 1.0f);
        }
}

} // namespace AssetGen
