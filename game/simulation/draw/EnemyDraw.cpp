// An enemy's picture: the body fading in, the per-kind tiles (hive fill,
// beacon countdown, the driller's beam), the hit flash, the health bar of
// the big kinds and the colour of its trail.
#include "game/simulation/Enemy.h"

#include "engine/core/VectorMath.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/SpriteBatch.h"

#include <algorithm>
#include <cmath>

namespace
{
using Vexel::kPi;
const int kAdditive = 2;

// Kinds with their own drawing.
const uint8_t kDriller = 14;
const uint8_t kHive = 16;
const uint8_t kBeacon = 42;
const uint8_t kBasicTarget = 52;
const uint8_t kSnakeBody = 8;
const uint8_t kPredatorBody = 33;

// Tiles of the game's tile table.
const uint16_t kHiveTiles[6] = {0, 11, 12, 13, 14, 15}; // 0: the kind's body tile
const uint16_t kBeaconFirstTile = 31;
const uint16_t kBeaconLastTile = 37;
const uint16_t kDrillBeamTile = 66;
const uint16_t kDrillHeadTile = 17;
const uint16_t kRedHealthFill = 62, kRedHealthBack = 63;
const uint16_t kGreenHealthFill = 42, kGreenHealthBack = 43;

// Health bars only for kinds this tough, once they have lost some.
const int kHealthBarHitPoints = 749;
const float kHealthBarShowRatio = 0.95f;

TileInfo const* Tile(uint32_t id)
{
    return Vexel::Graphics::GetReferenceTiles().GetTile(id);
}

uint8_t AlphaByte(int value)
{
    return uint8_t(std::min(std::max(value, 0), 255));
}

// Fading in over 16 steps: full alpha times the age in 1/256 steps over 4080.
int FadeIn(int alpha, int age, int stepFraction)
{
    if (age >= 16)
        return alpha;
    return alpha * (age * 256 + stepFraction) / 4080;
}
} // namespace

void Enemy::Draw(Vexel::Graphics::Sprites::TransientBatch& batch, float viewScale, Color colour) const
{
    EnemyType const& type = GetType();

    int alpha;
    if (kind == kSnakeBody || kind == kPredatorBody)
    {
        // A segment shows only once its start delay has passed.
        const int age = int(ticks) - int(movement[kSegmentDelayByte]);
        alpha = age < 1 ? 0 : FadeIn(colour.a, age, stepFraction);
    }
    else
        alpha = FadeIn(colour.a, ticks, stepFraction);
    const Color body(255, 255, 255, AlphaByte(alpha));

    uint32_t tileId = type.bodyTile;
    Vector2 size = type.size;
    if (kind == kHive || kind == kBasicTarget)
    {
        const int counter = movement[kHiveCounterByte];
        const int stage = std::min(counter / 3, 5);
        if (stage > 0)
            tileId = kHiveTiles[stage];
        size = size * ((float(counter) * 0.01f + 0.8f) * (cosf(float(ticks) * 0.14f) * 0.065f + 1.0f));
    }
    else if (kind == kBeacon)
    {
        const int stage = movement[kBeaconStageByte];
        tileId = stage <= 5 ? kBeaconFirstTile + stage : kBeaconLastTile;
    }
    else if (kind == kDriller && movement[kDrillCounterByte] != 0)
    {
        const int counter = movement[kDrillCounterByte];
        const int period = movement[kDrillPeriodByte];
        const int a1 = counter < 32 ? counter * 8 + stepFraction / 32 : 255;
        // The beam fades out over its last 16 counts; a counter past the
        // period (never made by the movement) shows no beam.
        const int remaining = std::max(period - counter, 0);
        const int a2 =
            remaining < 16 ? colour.a * (remaining * 256 + stepFraction) / 4080 : colour.a * a1 / 255;
        TileInfo const* beam = Tile(kDrillBeamTile);
        TileInfo const* head = Tile(kDrillHeadTile);
        if (a2 > 0 && period > 0 && beam && head)
        {
            const float t = (float(stepFraction) / 256.0f + float(counter)) / float(period);
            batch.AddTileSizedRotated(*beam, rotation, position * (0.9f * 0.54f),
                                      Vector2(4.5f, 0.9f * distance),
                                      Color(255, 255, 255, AlphaByte(a2 * colour.a / 255)), kAdditive);
            batch.AddTileSizedRotated(*head, rotation, position * ((1.0f - t) * 0.9f), Vector2(14.0f, 9.0f),
                                      Color(255, 255, 255, AlphaByte(a1 * colour.a / 255)), kAdditive);
        }
    }

    TileInfo const* tile = Tile(tileId);
    if (tile)
    {
        batch.AddTileSizedRotated(*tile, rotation, position, size, body, kAdditive);

        // The hit flash: a brighter, slightly larger copy that pulses and
        // fades over 15 ticks.
        const int sinceHit = movement[kSinceHitByte];
        if (sinceHit < 15)
        {
            const float pulse = cosf(float(int(ticks) * 255 + int(stepFraction)) * 0.0115f) * 0.5f + 0.5f;
            const float k = cosf(float(sinceHit) * 0.104f) * (pulse * 0.19f + 0.24f);
            batch.AddTileSizedRotated(*tile, rotation, position, size * 1.014f + Vector2(3.2f, 3.2f),
                                      body.ScaleAlpha(k), kAdditive);
        }
    }

    if (type.hitPoints > kHealthBarHitPoints && float(health) / float(type.hitPoints) <= kHealthBarShowRatio)
    {
        const bool red = type.faction == 0;
        TileInfo const* fill = Tile(red ? kRedHealthFill : kGreenHealthFill);
        TileInfo const* back = Tile(red ? kRedHealthBack : kGreenHealthBack);
        if (fill && back && fill->size.x > 0.0f)
        {
            const float ratio = std::min(std::max(float(health) / float(type.hitPoints), 0.0f), 1.0f);
            const Vector2 dir = position.Normalized();
            const Vector2 perp = dir.Perpendicular();
            float length = type.halfExtent.x * 2.0f * 1.2f;
            if (length <= 50.0f)
                length = 50.0f;
            if (viewScale < 1.0f && viewScale > 0.0f)
                length /= viewScale;
            const float k = length / fill->size.x;
            const Vector2 barSize = fill->size * k;
            const float inset = (fill->size.x - 8.0f) * k * 0.5f;
            const Vector2 centre = position + dir * (type.halfExtent.y + 10.0f);
            const float barRotation = angle + kPi;
            batch.AddTileSizedRotated(*back, barRotation, centre, barSize, body, kAdditive);
            batch.AddTileSizedRotated(*fill, barRotation, centre + perp * ((1.0f - ratio) * inset),
                                      Vector2(barSize.x * ratio, barSize.y), body, kAdditive);
        }
    }

    if (trail)
        trail->SetColour(body);
}
