// The particles' pictures: every live record of the five pools added to the
// world's sprite batch, additive, in pool order. All the effect tiles share
// one atlas, so the whole system costs one draw call.
#include "game/simulation/ParticleSystem.h"

#include "engine/core/VectorMath.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/Texture.h"

#include <cmath>

namespace
{
using Vexel::kHalfPi;
const int kAdditive = 2;

TileInfo const* Tile(uint32_t id)
{
    return Vexel::Graphics::GetReferenceTiles().GetTile(id);
}

Vexel::Graphics::Texture TileTexture(TileInfo const* tile)
{
    return tile && tile->texture ? *tile->texture : Vexel::Graphics::Texture::Empty;
}

Color White(int alpha)
{
    return Color(255, 255, 255, uint8_t(alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha)));
}
} // namespace

void ParticleSystem::Draw(Vexel::Graphics::Sprites::TransientBatch& batch, Color tint)
{
    const int ta = tint.a;

    // Pool A: ready sprites; the stored alpha takes the tint until the next
    // update recomputes it.
    for (int i = 0; i < spriteCount; i++)
    {
        SpriteParticle& p = sprites[i];
        TileInfo const* tile = Tile(p.tile);
        if (!tile)
            continue;
        p.sprite.color.a = uint8_t(p.sprite.color.a * ta / 255);
        p.sprite.region = tile->uv;
        batch.AddQuad(TileTexture(tile), p.sprite, kAdditive);
    }

    // Pool B: a mark starts opaque and of no size, and grows to its full
    // size while it fades out.
    for (int i = 0; i < markCount; i++)
    {
        Mark const& mark = marks[i];
        TileInfo const* tile = Tile(mark.tile);
        if (!tile)
            continue;
        const float a = mark.timeLeft / mark.duration * kHalfPi;
        const float side = mark.size * cosf(a);
        batch.AddRegionSizedRotated(TileTexture(tile), mark.rotation, tile->uv, mark.position,
                                    Vector2(side, side), White(int(sinf(a) * 255.0f) * ta / 255), kAdditive);
    }

    // Pool C: hit flashes shrink as they fade.
    for (int i = 0; i < flashCount; i++)
    {
        HitFlash const& flash = flashes[i];
        TileInfo const* tile = Tile(flash.tile);
        if (!tile)
            continue;
        const float k = flash.timeLeft / flash.duration;
        const float side = cosf(k * kHalfPi) * 10.0f + 2.0f;
        batch.AddTileSizedRotated(*tile, flash.rotation, flash.position, Vector2(side, side),
                                  White(int(k * 255.0f) * ta / 255), kAdditive);
    }

    // Pool D: each puff is three sprites, the two small ones radially
    // farther out from the planet.
    for (int i = 0; i < smokeCount; i++)
    {
        Smoke const& smoke = smokes[i];
        TileInfo const* tile = Tile(smoke.tile);
        if (!tile)
            continue;
        const float k = smoke.timeLeft / smoke.duration;
        const float side = cosf(k * kHalfPi) * 17.0f + 3.4f;
        const Vector2 s(side * smoke.aspect, side);
        const Color c = White(int(k * 180.0f) * ta / 255);
        batch.AddTileSizedRotated(*tile, smoke.rotation, smoke.position, s, c, kAdditive);
        batch.AddTileSizedRotated(*tile, smoke.rotation, smoke.position * (k * 0.018f + 1.009f), s * 0.2f, c,
                                  kAdditive);
        batch.AddTileSizedRotated(*tile, smoke.rotation, smoke.position * (k * 0.022f + 1.0f), s * 0.32f, c,
                                  kAdditive);
    }

    // Pool E: sparks stretch along their travel while fast.
    for (int i = 0; i < sparkCount; i++)
    {
        Spark const& spark = sparks[i];
        TileInfo const* tile = Tile(spark.tile);
        if (!tile)
            continue;
        float length = spark.speed * 15.0f;
        float breadth = spark.width;
        if (length < breadth)
        {
            length = length * 0.25f + breadth * 0.75f;
            breadth = length;
        }
        else if (length > 33.0f)
            length = 33.0f;
        const int alpha = spark.life >= 16.0f ? ta : int(spark.life * 15.9f) * ta / 255;
        batch.AddTileSizedRotated(*tile, spark.angle, spark.position, Vector2(length, breadth), White(alpha),
                                  kAdditive);
    }
}
