// The world drawn once per frame, behind the menus as in play: the camera
// step, the star field, the grid, the planet, bullets, enemies and their
// trails, particles, the planet cannon's guides or beam, the aim lines and
// marks, the charge rings and finally the HUD.
//
// Everything that can share a texture goes into the one sprite batch, which
// draws in the order added with one call per run of texture and blend mode:
// the grid, bullets, enemies, particles, cannon and aim lines are additive,
// the planet and the aim marks alpha-blended. Trails and charge rings are
// strips drawn on the spot.
#include "game/simulation/Simulation.h"

#include "engine/core/Platform.h"
#include "engine/core/Transform2D.h"
#include "engine/core/VectorMath.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/GeometryBuffer.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"
#include "game/simulation/SimBeamChargeLine.h"

#include <algorithm>
#include <cmath>

namespace
{
namespace GL = Vexel::Graphics::GL;
using Vexel::Graphics::BlendMode;
using Vexel::Graphics::RenderState;
using Vexel::Graphics::Texture;
using Vexel::Graphics::Geometry::VertexP2T2C;

using Vexel::kPi;

// Tiles of the game's tile table.
const uint32_t kLineTile = 0;
const uint32_t kBeamTile = 1;
const uint32_t kPlanetTile = 5;
const uint32_t kGridCapTile = 58;
const uint32_t kGridLineTile = 59;
const uint32_t kBulletTile = 69;
const uint32_t kAimMarkTile = 72;
const uint32_t kLockMarkTile = 73;

const int kAlpha = BlendMode::Alpha;
const int kAdditive = BlendMode::Additive;

// The grid's zoom levels: the spacing doubles per level below scale 1; this
// bounds the walk even for the smallest scale the camera allows.
const int kMaxGridLevels = 64;

TileInfo const& Tile(uint32_t id)
{
    return *Vexel::Graphics::GetReferenceTiles().GetTile(id);
}

Texture TileTexture(TileInfo const& tile)
{
    return tile.texture ? *tile.texture : Texture::Empty;
}

// Screen diagonal over the reference phone's (576): how much bigger lines
// and guides are drawn on a bigger screen.
float ScreenFactor()
{
    return Vexel::Platform::GetScreenSize().Length() / 576.0f;
}

// trunc(v) as an int that cannot overflow.
int TruncClamped(float v)
{
    if (!(v > -1e9f))
        return -1000000000;
    if (!(v < 1e9f))
        return 1000000000;
    return int(v);
}
} // namespace

void Simulation::Draw(Vexel::Rectangle const& area, float alpha)
{
    const Color colour = Color(255, 255, 255, 255).ScaleAlpha(alpha);
    const Color grey(colour.a, colour.a, colour.a, 255);

    StepCamera(area);

    // The shake moves this frame only; the position is restored exactly at
    // the end, so the shake can never drift the camera.
    const Vector2 restPosition = view.position;
    view.position += shake.GetOffset() * 40.0f;

    const float scale = view.scale;
    const Transform2D world(view.Origin(), Vector2(scale, scale));
    const float screenFactor = ScreenFactor();

    stars.Draw(area, view.Origin(), scale, colour);
    DrawGrid(area, view, colour);

    spriteBatch.AddTileSized(Tile(kPlanetTile), Vector2(0.0f, 0.0f), Vector2(120.0f, 120.0f), grey, kAlpha);

    // Bullets fade out over their last 8 ticks.
    TileInfo const& bulletTile = Tile(kBulletTile);
    const Texture bulletTexture = TileTexture(bulletTile);
    for (int i = 0; i < bulletCount; i++)
    {
        Bullet const& bullet = bullets[i];
        const int a = bullet.life < 8 ? int(colour.a) * std::max(bullet.life, 0) * 32 / 256 : colour.a;
        spriteBatch.AddQuad(bulletTexture,
                            Vexel::Graphics::Sprites::SpriteState(bulletTile.uv, bullet.position.x,
                                                                  bullet.position.y, 3.0f, 6.0f, bullet.angle,
                                                                  Color(255, 255, 255, uint8_t(a))),
                            kAdditive);
    }

    drawnTrails.clear();
    const Enemy* arrays[3] = {enemies, followers, blockers};
    const int counts[3] = {enemyCount, followerCount, blockerCount};
    for (int a = 0; a < 3; a++)
        for (int i = 0; i < counts[a]; i++)
        {
            Enemy const& enemy = arrays[a][i];
            enemy.Draw(spriteBatch, scale, colour);
            if (enemy.trail && enemy.trail->GetCount() > 1)
                drawnTrails.push_back(&enemy);
        }
    // Trails go straight to GL: beneath everything the batch draws below.
    if (!drawnTrails.empty())
    {
        world.Push();
        DrawTrails(colour);
        Transform2D::Pop();
    }

    particles.Draw(spriteBatch, colour);

    if (cannonAim != Vector2(0.0f, 0.0f))
    {
        const float a = cannonAim.Angle();
        const Vector2 dir = cannonAim.Normalized();
        if (cannonCooldown <= 0.0f)
        {
            // The two edges of the beam to come.
            const Vector2 perp = dir.Perpendicular();
            const Vector2 size(screenFactor * 10.0f / scale, 900.0f);
            const Color guide = colour.ScaleAlpha(0.75f);
            spriteBatch.AddTileSizedRotated(Tile(kLineTile), a, dir * 450.0f + perp * 45.0f, size, guide,
                                            kAdditive);
            spriteBatch.AddTileSizedRotated(Tile(kLineTile), a, dir * 450.0f - perp * 45.0f, size, guide,
                                            kAdditive);
        }
        else
        {
            const float f = cannonCooldown / 0.9f;
            const Color beam = colour.ScaleAlpha(f <= 0.5f ? sinf(f * kPi) : 1.0f);
            spriteBatch.AddTileSizedRotated(Tile(kBeamTile), a, dir * 410.0f, Vector2(90.0f, 900.0f), beam,
                                            kAdditive);
        }
    }

    if (!IsGameOver())
    {
        // From 45 units out to beyond the screen's edge.
        const int r = TruncClamped(screenFactor * 576.0f / scale);
        const int d = TruncClamped(float(r) * 0.5f + 45.0f);
        const Vector2 lineSize(screenFactor * 6.0f / scale, float(r));
        const Color lineColour = colour.ScaleAlpha(0.333f);
        for (auto const& entry : locks)
        {
            AngularLock const& lock = entry.second;
            if (lock.held == 0)
                continue;
            spriteBatch.AddTileSizedRotated(Tile(kLineTile), lock.target,
                                            Vector2(0.0f, float(d)).Rotate(lock.target), lineSize, lineColour,
                                            kAdditive);
        }
        const float markSize = 48.0f / scale * hudScale;
        for (AimMark const& mark : aimMarks)
            spriteBatch.AddTileSized(Tile(mark.highlighted ? kLockMarkTile : kAimMarkTile), mark.position,
                                     Vector2(markSize, markSize), grey, kAlpha);
    }

    spriteBatch.DrawTransformed(world);

    for (SimBeamChargeLine* line : chargeLines)
    {
        world.Push();
        line->Draw(alpha);
        Transform2D::Pop();
    }

    DrawHud(area, colour);

    view.position = restPosition;
}

void Simulation::DrawTrails(Color colour)
{
    size_t points = 0;
    for (Enemy const* enemy : drawnTrails)
        points += size_t(enemy->trail->GetCount());
    const size_t vertexCount = 2 * points;
    const size_t indexCount = 2 * (drawnTrails.size() + points);
    if (trailVertices.size() < vertexCount)
        trailVertices.resize(vertexCount);
    if (trailIndices.size() < indexCount)
        trailIndices.resize(indexCount);
    Vexel::Graphics::Geometry::GeometryBuffer<VertexP2T2C> buffer(int(vertexCount), int(indexCount),
                                                                  trailVertices.data(), trailIndices.data());

    const int savedBlend = RenderState::GetBlendMode();
    RenderState::SetBlendMode(kAdditive);
    GL::Color4ub(colour.r, colour.g, colour.b, colour.a);
    Texture current;
    bool bound = false;
    for (Enemy const* enemy : drawnTrails)
    {
        PositionTrail const& trail = *enemy->trail;
        TileInfo const* tile = Vexel::Graphics::GetReferenceTiles().GetTile(trail.GetTile());
        if (!tile)
            continue;
        const Texture texture = TileTexture(*tile);
        if (!bound || texture != current)
        {
            buffer.Draw();
            buffer.Reset();
            current = texture;
            current.EnsureUploaded();
            current.Bind();
            bound = true;
        }
        VertexP2T2C* strip = buffer.AllocateStrip(2 * trail.GetCount());
        if (strip)
            trail.BuildRibbon(strip, tile->uv);
    }
    buffer.Draw();
    GL::Color4ub(255, 255, 255, 255);
    RenderState::SetBlendMode(savedBlend);
}

void Simulation::DrawGrid(Vexel::Rectangle const& area, ViewFrame const& frame, Color colour)
{
    const float scale = frame.scale;
    const Vector2 topLeft = frame.Inverse(area.TopLeft());
    const Vector2 bottomRight = frame.Inverse(area.BottomRight());
    const float m = 6.0f / scale;
    const float low[2] = {std::min(topLeft.x, bottomRight.x) - m, std::min(topLeft.y, bottomRight.y) - m};
    const float high[2] = {std::max(topLeft.x, bottomRight.x) + m, std::max(topLeft.y, bottomRight.y) + m};

    float spacing = 120.0f;
    float level = std::min(log2f(scale), 1.0f);
    if (!std::isfinite(level))
        level = 1.0f;
    for (int i = 0; level <= 0.0f && i < kMaxGridLevels; i++)
    {
        level += 1.0f;
        spacing *= 2.0f;
    }

    TileInfo const& capTile = Tile(kGridCapTile);
    TileInfo const& lineTile = Tile(kGridLineTile);
    const float thickness = hudScale * 3.0f / scale;
    const float fadeIn = sinf(level * kPi * 0.5f);

    // Axis 0: lines across y (horizontal, tile rotation 0); axis 1: across x.
    for (int axis = 0; axis < 2; axis++)
    {
        const int along = axis == 0 ? 0 : 1;  // the axis a line runs along
        const int across = axis == 0 ? 1 : 0; // the axis the lines are spaced on
        const float rotation = axis == 0 ? 0.0f : kPi * 0.5f;
        const float length = high[along] - low[along];
        const float middle = (high[along] + low[along]) * 0.5f;
        for (int pass = 0; pass < 2; pass++)
        {
            Vector2 capSize = capTile.size * Vector2(0.2f, 0.42f) * (hudScale / scale);
            Color capColour = colour.ScaleAlpha(0.46f).ScaleAlpha(0.6f);
            Color lineColour = colour.ScaleAlpha(0.17f);
            float offset = 0.0f;
            if (pass == 1)
            {
                // The in-between lines fade in while zooming in.
                offset = spacing * 0.5f;
                capSize = capSize * ((1.0f - level) * 0.4f + level);
                capColour = capColour.ScaleAlpha(fadeIn);
                lineColour = lineColour.ScaleAlpha(fadeIn);
            }
            const float first = ceilf((low[across] - offset) / spacing);
            const float last = floorf((high[across] - offset) / spacing);
            if (!(last - first < 1000.0f))
                continue; // never: the visible range holds a few lines
            for (float k = first; k <= last; k += 1.0f)
            {
                const float at = k * spacing + offset;
                Vector2 start, end, centre;
                if (axis == 0)
                {
                    start = Vector2(low[0], at);
                    end = Vector2(high[0], at);
                    centre = Vector2(middle, at);
                }
                else
                {
                    start = Vector2(at, low[1]);
                    end = Vector2(at, high[1]);
                    centre = Vector2(at, middle);
                }
                spriteBatch.AddTileSizedRotated(capTile, rotation, start, capSize, capColour, kAdditive);
                spriteBatch.AddTileSizedRotated(capTile, rotation, end, capSize, capColour, kAdditive);
                spriteBatch.AddTileSizedRotated(lineTile, rotation, centre, Vector2(length + 2.0f, thickness),
                                                lineColour, kAdditive);
            }
        }
    }
}

void Simulation::DrawHud(Vexel::Rectangle const& area, Color colour)
{
    const bool visible = paused == 0 && flatWarning == 0 && !IsGameOver() && mode != GameMode::None;
    hudAlpha = visible ? std::min(hudAlpha + 0.1f, 1.0f) : std::max(hudAlpha - 0.1f, 0.0f);
    if (!(hudAlpha > 0.005f) || !hud)
        return;
    const int32_t listSize = int32_t(waveList.size());
    const int32_t extraWaves = waveNumber - listSize;
    const int32_t wave = waveNumber - extraWaves;
    const float bannerProgress = waveState == 0 ? float(stateTicks) / 72.0f : 0.0f;
    hud->Draw(spriteBatch, hudAlpha, hudScale, colour, area, kills, population, lossFreePopulation, score,
              uint64_t(multiplier), wave, extraWaves, GetAward(), view, cannonCharges, bannerProgress, mode,
              tutorialStep);
}

void Simulation::SetHud(std::unique_ptr<ISimulationHud> newHud)
{
    hud = std::move(newHud);
}
