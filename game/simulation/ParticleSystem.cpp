#include "game/simulation/ParticleSystem.h"

#include "engine/core/VectorMath.h"

#include <cmath>

namespace
{

using Vexel::kHalfPi;
using Vexel::kPi;
using Vexel::kTwoPi;

// Tiles of the game's tile table.
const uint16_t kMuzzleTile = 0;
const uint16_t kChargeSparkTile = 3;
const uint16_t kSpriteTile = 25;
const uint16_t kImpactTile = 27;
const uint16_t kFadingMarkTile = 28;
const uint16_t kFireworksTile = 29;
const uint16_t kHitFlashTile = 70;

// Float to int, truncating toward zero, kept inside [lo, hi] so that no
// input can overflow the conversion.
int TruncClamped(float value, int lo, int hi)
{
    if (!(value > float(lo)))
        return lo;
    if (value >= float(hi))
        return hi;
    return int(value);
}

void SetAlpha(Vexel::Graphics::Sprites::SpriteState& sprite, int alpha)
{
    sprite.color.a = uint8_t(alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha));
}

} // namespace

ParticleSystem::SpriteParticle::SpriteParticle()
    : sprite(Vexel::Rectangle(), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, Color(255, 255, 255, 255)), tile(kSpriteTile),
      spin(0.0f), growth(1.0f), age(0), life(0), fadeOut(0), fadeIn(0)
{
}

ParticleSystem::Mark::Mark() : timeLeft(0.0f), duration(1.0f), tile(kImpactTile), size(0.0f), rotation(0.0f)
{
}

ParticleSystem::HitFlash::HitFlash() : timeLeft(0.0f), duration(1.0f), rotation(0.0f), tile(kHitFlashTile) {}

ParticleSystem::Smoke::Smoke() : timeLeft(0.0f), duration(1.0f), rotation(0.0f), aspect(0.0f), tile(54) {}

ParticleSystem::Spark::Spark() : angle(0.0f), turn(0.0f), speed(0.0f), width(0.0f), life(0.0f), tile(0) {}

ParticleSystem::ParticleSystem()
    : spriteCount(0), markCount(0), flashCount(0), smokeCount(0), sparkCount(0), random(1, kSeed)
{
}

uint16_t ParticleSystem::DebrisTile(uint32_t faction)
{
    return faction == 0 ? 25 : 26;
}
uint16_t ParticleSystem::SparkTile(uint32_t faction)
{
    return faction == 0 ? 54 : 52;
}
uint16_t ParticleSystem::SmokeTile(int kind)
{
    return kind == 0 ? 55 : 53;
}

void ParticleSystem::Save(std::ostream& /*out*/) const {}

bool ParticleSystem::Load(std::istream& /*in*/)
{
    return true;
}

void ParticleSystem::Clear()
{
    spriteCount = markCount = flashCount = smokeCount = sparkCount = 0;
}

void ParticleSystem::Update()
{
    // Each pool from its last record down: a record swapped into a hole has
    // already had its turn.
    for (int i = spriteCount - 1; i >= 0; --i)
    {
        SpriteParticle& p = sprites[i];
        p.life -= 1;
        if (p.life < 1)
        {
            spriteCount -= 1;
            if (i != spriteCount)
                sprites[i] = sprites[spriteCount];
            continue;
        }
        p.age += 1;
        p.sprite.x += p.velocity.x;
        p.sprite.y += p.velocity.y;
        p.sprite.rotation += p.spin;
        p.sprite.originX *= p.growth;
        p.sprite.originY *= p.growth;
        int alpha = 255;
        if (p.life < p.fadeOut)
            alpha = int(p.life) * 255 / int(p.fadeOut);
        else if (p.age < p.fadeIn)
            alpha = int(p.age) * 255 / int(p.fadeIn);
        SetAlpha(p.sprite, alpha);
    }

    for (int i = markCount - 1; i >= 0; --i)
    {
        marks[i].timeLeft -= 1.0f;
        if (marks[i].timeLeft <= 0.0f)
        {
            markCount -= 1;
            if (i != markCount)
                marks[i] = marks[markCount];
        }
    }
    for (int i = flashCount - 1; i >= 0; --i)
    {
        flashes[i].timeLeft -= 1.0f;
        if (flashes[i].timeLeft <= 0.0f)
        {
            flashCount -= 1;
            if (i != flashCount)
                flashes[i] = flashes[flashCount];
        }
    }
    for (int i = smokeCount - 1; i >= 0; --i)
    {
        smokes[i].timeLeft -= 1.0f;
        if (smokes[i].timeLeft <= 0.0f)
        {
            smokeCount -= 1;
            if (i != smokeCount)
                smokes[i] = smokes[smokeCount];
        }
    }

    for (int i = sparkCount - 1; i >= 0; --i)
    {
        Spark& s = sparks[i];
        s.life -= 1.0f;
        if (s.life > 0.0f)
        {
            s.angle += s.turn;
            s.turn *= 0.975f;
            s.speed *= 0.925f;
            s.position += Vector2(cosf(s.angle), sinf(s.angle)) * s.speed;
        }
        else
        {
            sparkCount -= 1;
            if (i != sparkCount)
                sparks[i] = sparks[sparkCount];
        }
    }
}

void ParticleSystem::AddPlanetImpact(Vector2 direction, float distance, uint64_t amount)
{
    // Nothing lost leaves no mark (the logarithm of 0 has no size).
    if (markCount >= kMarkCapacity || amount == 0)
        return;
    const float e = logf(float(amount));
    Mark& mark = marks[markCount++];
    mark.rotation = random.NextFloat(0.0f, kTwoPi);
    mark.duration = random.NextFloat(0.0f, e * 1.2f) + 30.0f;
    mark.timeLeft = mark.duration;
    mark.position = direction.Normalized() * distance;
    const float m = (e - 14.0f) * 11.0f;
    mark.size = m + random.NextFloat(0.0f, m);
    mark.tile = random.Next(0, 100) < 50 ? kImpactTile : kFadingMarkTile;
}

void ParticleSystem::AddFadingMark(Vector2 position, float rotation, Vector2 extent)
{
    if (markCount >= kMarkCapacity)
        return;
    Mark& mark = marks[markCount++];
    mark.rotation = rotation;
    mark.duration = random.NextFloat(35.0f, 44.0f);
    mark.timeLeft = mark.duration;
    mark.position = position;
    mark.size = (fabsf(extent.x) + fabsf(extent.y)) * random.NextFloat(0.9f, 1.3f);
    mark.tile = kFadingMarkTile;
}

void ParticleSystem::AddChargeSpark()
{
    if (spriteCount >= kSpriteCapacity)
        return;
    SpriteParticle& p = sprites[spriteCount++];
    const float r = random.NextFloat(0.0f, kTwoPi);
    const Vector2 position = Vector2(0.0f, 42.0f).Rotate(r);
    p.tile = kChargeSparkTile;
    p.sprite.x = position.x;
    p.sprite.y = position.y;
    p.sprite.rotation = r + kPi;
    p.sprite.originX = 15.3f;
    p.sprite.originY = 12.2f;
    p.sprite.color = Color(255, 255, 255, 70);
    p.age = 0;
    p.life = 14;
    p.fadeOut = 9;
    p.fadeIn = 5;
    p.spin = 0.0f;
    p.velocity = position * -0.0535f; // towards the planet centre
    p.growth = 0.925f;
}

void ParticleSystem::AddMuzzleStreak(Vector2 direction, float strength)
{
    if (!(strength > 0.1f) || spriteCount >= kSpriteCapacity)
        return;
    SpriteParticle& p = sprites[spriteCount++];
    const Vector2 u = direction.Normalized();
    const float across = random.NextFloat(-30.0f, 30.0f);
    const Vector2 position = u * 28.0f + Vector2(u.y, -u.x) * across;
    p.tile = kMuzzleTile;
    p.sprite.x = position.x;
    p.sprite.y = position.y;
    p.sprite.rotation = direction.Angle();
    p.sprite.originX = 2.5f;
    p.sprite.originY = 9.0f;
    p.sprite.color = Color(255, 255, 255, 255);
    SetAlpha(p.sprite, TruncClamped(strength * 40.0f + 10.0f, 0, 255));
    p.age = 0;
    p.life = 21;
    p.fadeOut = int16_t(TruncClamped(36.0f + (1.0f - strength) * 27.0f, 1, 32767));
    p.fadeIn = -1;
    p.spin = 0.0f;
    p.velocity = u * random.NextFloat(25.0f, 32.0f);
    p.growth = 0.89f;
}

void ParticleSystem::AddPlanetSmoke(int kind, float minimumRadius, float maximumRadius, float planetRadius)
{
    // The two placement draws happen even when the pool is full, so the
    // sequence does not depend on how busy the pool is.
    const float r = random.NextFloat(minimumRadius, maximumRadius);
    const Vector2 position = Vector2(r, 0.0f).Rotate(random.NextFloat(0.0f, kTwoPi));
    if (smokeCount >= kSmokeCapacity)
        return;
    Smoke& smoke = smokes[smokeCount++];
    smoke.position = position;
    smoke.rotation = position.Angle();
    if (random.Next(0, 100) < 50)
        smoke.rotation += kPi;
    smoke.aspect = cosf(r / (planetRadius * 1.1f) * kHalfPi) * 0.9f + 0.15f;
    smoke.duration = random.NextFloat(32.0f, 44.0f);
    smoke.timeLeft = smoke.duration;
    smoke.tile = SmokeTile(kind);
}

void ParticleSystem::PlaceDebris(SpriteParticle& piece, Vector2 v, float speed)
{
    // Out to the rim of the shape, then at the outward speed. A shape with no
    // extent (the Driller Bomb) has no rim and no direction: the piece stays
    // at the centre with its drift alone.
    const float length = v.Length();
    if (length >= 1e-6f)
    {
        const Vector2 offset = v * ((length - 3.0f) / length);
        piece.sprite.x += offset.x;
        piece.sprite.y += offset.y;
        v *= speed / length;
    }
    const float drift = random.NextFloat(0.15f, 0.55f);
    const float direction = random.NextFloat(0.0f, kTwoPi);
    piece.velocity = v + Vector2(drift, 0.0f).Rotate(direction);
}

void ParticleSystem::AddExplosion(Vector2 position, float rotation, Vector2 size, uint32_t faction,
                                  bool withSparks, bool small)
{
    const float e = fabsf(size.x) + fabsf(size.y);
    const int pieces = TruncClamped((small ? 0.07f : 0.25f) * e, 0, kSpriteCapacity) + 3;
    const float q = small ? 1.7f : 1.0f;
    const Vector2 ax = Vector2(size.x, 0.0f).Rotate(rotation);
    const Vector2 ay = Vector2(0.0f, size.y).Rotate(rotation);
    const int lifeBase = TruncClamped(e * 0.1f, 0, 10000) + 14;
    const int lifeRange = lifeBase * 75 / 100;
    const float speed = e * 0.0035f + 0.65f;
    const bool longShape = e > 22.0f;

    if (withSparks)
    {
        int count = TruncClamped(float(pieces) * 1.25f, 0, 100000) + 8;
        float sparkSpeed = e * 0.03f + 3.4f;
        float sparkWidth = e * 0.018f + 3.4f;
        float sparkLife = e * 0.15f + 17.0f;
        if (faction == 0)
        {
            count = count * 80 / 100 + 1;
            sparkSpeed *= 1.05f;
            sparkWidth *= 1.8f;
            sparkLife *= 1.2f;
        }
        if (count > kSparkCapacity - sparkCount)
            count = kSparkCapacity - sparkCount;
        for (int k = 0; k < count; ++k)
        {
            Spark& s = sparks[sparkCount++];
            const float alongX = random.NextFloat(-1.0f, 1.0f);
            const float alongY = random.NextFloat(-1.0f, 1.0f);
            s.position = position + ax * alongX + ay * alongY;
            s.angle = random.NextFloat(0.0f, kTwoPi);
            s.turn = 0.0f;
            if (faction == 0)
            {
                const float turn = random.NextFloat(0.025f, 0.064f);
                const int sign = random.Next(0, 1023) / 512 * 2 - 1;
                s.turn = turn * float(sign);
            }
            s.speed = random.NextFloat(0.3f, 1.4f) * sparkSpeed;
            s.width = random.NextFloat(0.8f, 1.25f) * sparkWidth;
            s.life = random.NextFloat(1.0f, 1.25f) * sparkLife;
            s.tile = SparkTile(faction);
        }
    }

    for (int i = 0; i < pieces && spriteCount < kSpriteCapacity; ++i)
    {
        SpriteParticle& p = sprites[spriteCount++];
        const float t = float(i) * kTwoPi / float(pieces);
        p.tile = DebrisTile(faction);
        p.sprite.x = position.x;
        p.sprite.y = position.y;
        const Vector2 half = (longShape ? Vector2(4.0f, e * 0.18f) : Vector2(e * 0.18f, 4.0f)) * q;
        p.sprite.originX = half.x;
        p.sprite.originY = half.y;
        p.sprite.color = Color(255, 255, 255, 255);
        p.age = 0;
        p.life = int16_t(random.Next(0, lifeRange) + lifeBase);
        p.fadeOut = 10;
        p.fadeIn = -1;
        p.spin = random.NextFloat(-0.2f, 0.2f);
        p.growth = 0.97f;
        PlaceDebris(p, ax * sinf(t) - ay * cosf(t), speed);
        p.sprite.rotation = t + rotation + kHalfPi;
    }
}

void ParticleSystem::AddHitDebris(Vector2 position, float rotation, Vector2 size, uint32_t faction,
                                  bool large)
{
    const float e = fabsf(size.x) + fabsf(size.y);
    // Small targets rarely shed debris.
    if (random.NextFloat(0.0f, e + 50.0f) < 50.0f || spriteCount >= kSpriteCapacity)
        return;
    const float q = large ? 0.9f : 0.5f;
    const Vector2 ax = Vector2(size.x * 0.7f, 0.0f).Rotate(rotation);
    const Vector2 ay = Vector2(0.0f, size.y * 0.7f).Rotate(rotation);
    const float speed = e * 0.0033f + 0.6f;
    const bool longShape = e > 50.0f;

    SpriteParticle& p = sprites[spriteCount++];
    p.tile = DebrisTile(faction);
    p.sprite.x = position.x;
    p.sprite.y = position.y;
    const float t = random.NextFloat(0.0f, kTwoPi);
    const Vector2 half = (longShape ? Vector2(6.0f, e * 0.12f) : Vector2(e * 0.12f, 6.0f)) * q;
    p.sprite.originX = half.x;
    p.sprite.originY = half.y;
    p.sprite.color = Color(255, 255, 255, 255);
    p.age = 0;
    p.life = int16_t(random.Next(11, 20));
    p.fadeOut = 10;
    p.fadeIn = -1;
    p.spin = random.NextFloat(-0.2f, 0.2f);
    p.growth = 0.98f;
    PlaceDebris(p, ax * sinf(t) - ay * cosf(t), speed);
    p.sprite.rotation = t + rotation + kHalfPi;
}

void ParticleSystem::AddHitFlash(Vector2 position)
{
    if (flashCount >= kFlashCapacity)
        return;
    HitFlash& flash = flashes[flashCount++];
    flash.rotation = random.NextFloat(0.0f, kTwoPi);
    flash.duration = random.NextFloat(5.0f, 7.0f);
    flash.timeLeft = flash.duration;
    flash.position = position;
    flash.tile = kHitFlashTile;
}

void ParticleSystem::AddBurst(Vector2 position)
{
    const float a = position.Angle();
    const Vector2 u = position.Normalized();
    const Vector2 inward = u * -0.07f;
    const Vector2 outward = u * 0.17f;
    float squash = 1.0f - position.Length() / 300.0f;
    if (squash < 0.65f)
        squash = 0.65f;
    if (squash > 1.0f)
        squash = 1.0f;

    for (int k = 0; k < 45 && spriteCount < kSpriteCapacity; ++k)
    {
        SpriteParticle& p = sprites[spriteCount++];
        const float s = random.NextFloat(1.28f, 1.72f);
        p.tile = kFireworksTile;
        // The spread is flattened along the direction from the planet.
        Vector2 d = Vector2(0.0f, 1.0f).Rotate(random.NextFloat(0.0f, kTwoPi)) + inward;
        d = d.Rotate(-a);
        d.y *= squash;
        d = d.Rotate(a);
        p.sprite.x = position.x + d.x * 6.2f;
        p.sprite.y = position.y + d.y * 6.2f;
        p.sprite.rotation = d.Angle();
        d *= cosf(random.NextFloat(0.0f, kHalfPi)) * 0.95f + 0.05f;
        p.sprite.originX = 2.5f;
        p.sprite.originY = d.Length() * 12.0f + 3.0f;
        p.sprite.color = Color(255, 255, 255, 255);
        SetAlpha(p.sprite, random.Next(80, 190));
        p.age = 0;
        p.life = int16_t(TruncClamped(random.NextFloat(20.0f, 35.0f) / s, 0, 32767));
        p.fadeOut = int16_t(p.life - 6);
        p.fadeIn = -1;
        p.spin = 0.0f;
        p.velocity = d * s + outward;
        p.growth = 0.95f;
    }
}

void ParticleSystem::AddGlint(Vector2 position, float level)
{
    if (spriteCount >= kSpriteCapacity)
        return;
    SpriteParticle& p = sprites[spriteCount++];
    const float f = sinf(level * kHalfPi);
    p.tile = kFireworksTile;
    p.sprite.x = position.x;
    p.sprite.y = position.y;
    p.sprite.rotation = position.Angle() + kPi;
    p.sprite.originX = f * 0.8f + 0.7f;
    p.sprite.originY = f * 0.4f + 1.2f;
    p.sprite.color = Color(255, 255, 255, 255);
    p.age = 0;
    p.life = 1; // drawn once, removed by the next update
    p.fadeOut = 100;
    p.fadeIn = -1;
    p.spin = 0.0f;
    p.velocity = Vector2();
    p.growth = 1.0f;
}
