// Every short-lived effect of the play field: explosion debris and sparks,
// hit debris and flashes, impact marks, planet smoke and cannon effects.
// Five fixed pools of plain records, nothing allocated after construction; a
// full pool drops new particles. Positions are world units around the planet
// centre, times are ticks. Drawing lives in draw/ParticleSystemDraw.cpp.
//
// The effects draw from the system's own generator (MT11213A, seed 51231),
// never from the game's, so that effects cannot disturb the game's sequence
// and repeat exactly for the same calls. Particles are not saved.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Random.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteState.h"

#include <cstdint>
#include <iosfwd>

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{
class TransientBatch;
}
} // namespace Graphics
} // namespace Vexel

class ParticleSystem
{
public:
    static constexpr int kSpriteCapacity = 192;
    static constexpr int kMarkCapacity = 16;
    static constexpr int kFlashCapacity = 16;
    static constexpr int kSmokeCapacity = 16;
    static constexpr int kSparkCapacity = 64;
    static constexpr unsigned kSeed = 51231;

    // Pool A: a textured quad that moves, spins, grows and fades.
    struct SpriteParticle
    {
        // Position, half size (origin), rotation and colour; the drawing
        // fills the region from tile.
        Vexel::Graphics::Sprites::SpriteState sprite;
        uint16_t tile; // picture on the shared sprite atlas
        float spin;    // radians per tick
        Vector2 velocity;
        float growth; // half size factor per tick
        int16_t age;
        int16_t life; // ticks left
        int16_t fadeOut;
        int16_t fadeIn; // -1: none
        SpriteParticle();
    };
    // Pool B: impact marks and fading marks.
    struct Mark
    {
        Vector2 position;
        float timeLeft;
        float duration;
        uint16_t tile; // picture, drawn from tile 28's texture
        float size;
        float rotation;
        Mark();
    };
    // Pool C: hit flashes.
    struct HitFlash
    {
        Vector2 position;
        float timeLeft;
        float duration;
        float rotation;
        uint16_t tile;
        HitFlash();
    };
    // Pool D: planet smoke.
    struct Smoke
    {
        Vector2 position;
        float timeLeft;
        float duration;
        float rotation;
        float aspect; // width factor
        uint16_t tile;
        Smoke();
    };
    // Pool E: sparks.
    struct Spark
    {
        Vector2 position;
        float angle; // direction of travel
        float turn;  // radians per tick
        float speed;
        float width;
        float life; // ticks
        uint16_t tile;
        Spark();
    };

    ParticleSystem();
    ParticleSystem(ParticleSystem const&) = delete;
    ParticleSystem& operator=(ParticleSystem const&) = delete;

    // One tick: ages, moves and fades every particle, removing the spent.
    void Update();
    // Particles are not part of the saved game: both do nothing.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);
    // Empties every pool (the generator keeps its place).
    void Clear();

    // Adds every live particle to the world's sprite batch, additive, pools
    // in order. Only the tint's alpha counts; it is stored into the sprite
    // records' alpha, which the next update recomputes
    // (draw/ParticleSystemDraw.cpp).
    void Draw(Vexel::Graphics::Sprites::TransientBatch& batch, Color tint);

    // Spawners.
    void AddPlanetImpact(Vector2 direction, float distance, uint64_t amount);
    void AddFadingMark(Vector2 position, float rotation, Vector2 extent);
    void AddChargeSpark();
    void AddMuzzleStreak(Vector2 direction, float strength);
    void AddPlanetSmoke(int kind, float minimumRadius, float maximumRadius, float planetRadius);
    void AddExplosion(Vector2 position, float rotation, Vector2 size, uint32_t faction, bool withSparks,
                      bool small);
    void AddHitDebris(Vector2 position, float rotation, Vector2 size, uint32_t faction, bool large);
    void AddHitFlash(Vector2 position);
    void AddBurst(Vector2 position);
    void AddGlint(Vector2 position, float level);

    // The live records are the first count of each pool.
    int GetSpriteCount() const { return spriteCount; }
    int GetMarkCount() const { return markCount; }
    int GetFlashCount() const { return flashCount; }
    int GetSmokeCount() const { return smokeCount; }
    int GetSparkCount() const { return sparkCount; }
    int GetLiveCount() const { return spriteCount + markCount + flashCount + smokeCount + sparkCount; }
    SpriteParticle* GetSprites() { return sprites; }
    SpriteParticle const* GetSprites() const { return sprites; }
    Mark const* GetMarks() const { return marks; }
    HitFlash const* GetFlashes() const { return flashes; }
    Smoke const* GetSmokes() const { return smokes; }
    Spark const* GetSparks() const { return sparks; }

    // Tile numbers of the game's tile table behind the effects.
    static uint16_t DebrisTile(uint32_t faction);
    static uint16_t SparkTile(uint32_t faction);
    static uint16_t SmokeTile(int kind);

private:
    // Places a debris piece: pushed out to the rim of its shape, given the
    // outward speed and a random drift.
    void PlaceDebris(SpriteParticle& piece, Vector2 v, float speed);

    SpriteParticle sprites[kSpriteCapacity];
    int32_t spriteCount;
    Mark marks[kMarkCapacity];
    int32_t markCount;
    HitFlash flashes[kFlashCapacity];
    int32_t flashCount;
    Smoke smokes[kSmokeCapacity];
    int32_t smokeCount;
    Spark sparks[kSparkCapacity];
    int32_t sparkCount;
    Vexel::Random random;
};
