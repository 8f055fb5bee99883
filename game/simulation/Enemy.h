// One live enemy. The Simulation keeps three fixed arrays of these (main,
// followers, blockers) and drives each through Init, Update, the hit and
// landing tests and Kill; drawing lives in EnemyDraw.cpp. Enemies live in
// polar form around the planet centre (the origin):
// position = (-distance sin(angle), distance cos(angle)).
//
// A record owns its trail, so records move but never copy: swap-removal is
// `slot = std::move(last)`, which leaves the vacated record without a trail.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Vector2.h"
#include "game/simulation/EnemyType.h"
#include "game/simulation/PositionTrail.h"
#include "game/simulation/SpawnRequest.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

class ParticleSystem;

namespace Vexel
{
class Random;
namespace Graphics
{
namespace Sprites
{
class TransientBatch;
}
} // namespace Graphics
} // namespace Vexel

class Enemy
{
public:
    static constexpr int kMovementBytes = 16;
    // Movement bytes 0 and 1 belong to the record; the rest to the behaviour.
    static constexpr int kBehaviourByte = 0;
    static constexpr int kSinceHitByte = 1;
    static constexpr int kBehaviourCount = 19;
    // Bytes the drawing reads, by behaviour.
    static constexpr int kSegmentDelayByte = 2; // segments: start delay
    static constexpr int kHiveCounterByte = 2;  // hives: spawn counter
    static constexpr int kDrillPeriodByte = 2;  // driller: drill period
    static constexpr int kDrillCounterByte = 3; // driller: drill counter
    static constexpr int kBurstFlagByte = 4;    // starburst: burst this tick
    static constexpr int kBeaconStageByte = 8;  // beacon: stage

    Enemy();
    ~Enemy();
    Enemy(Enemy&& other) noexcept;
    Enemy& operator=(Enemy&& other) noexcept;
    Enemy(Enemy const&) = delete;
    Enemy& operator=(Enemy const&) = delete;

    // Makes this record a new enemy of the request's kind; some kinds draw
    // a random choice (mirroring, sides) from the game's generator.
    void Init(SpawnRequest const& request, Vexel::Random& random);

    // One tick. leaders/leaderCount is the array the leader index refers to
    // (the main list, in the follower pass); null elsewhere. A segment whose
    // leader is missing or trails nothing stays put; a lockdown ring without
    // one uses its own angle. Requests for new enemies are appended.
    void Update(std::vector<SpawnRequest>& requests, Enemy const* leaders, int leaderCount, int ownIndex,
                ParticleSystem& particles, bool wasHit, Vexel::Random& random);

    // Death: a hive's brood is requested, the explosion is made, health 0,
    // the trail released. Sound and score are the Simulation's.
    void Kill(ParticleSystem& particles, std::vector<SpawnRequest>& requests, Vexel::Random& random);
    // health 0, trail released (before loading a saved game).
    void Clear();

    // Inside the rotated hit ellipse.
    bool HitTest(Vector2 const& point) const;
    bool HasLanded() const;
    EnemyType const& GetType() const { return EnemyType::Get(kind); }

    // Adds the enemy to the world's sprite batch, every quad additive: the
    // body fading in over its first 16 steps, the hit flash, a big kind's
    // health bar, and the trail's colour for this frame (EnemyDraw.cpp).
    void Draw(Vexel::Graphics::Sprites::TransientBatch& batch, float viewScale, Color colour) const;

    uint8_t GetBehaviour() const { return movement[kBehaviourByte]; }
    uint8_t GetTicksSinceHit() const { return movement[kSinceHitByte]; }
    PositionTrail* GetTrail() const { return trail.get(); }

    // 28 bytes of fields, the 16 movement bytes, a trail flag and the trail.
    void Save(std::ostream& out) const;
    // False, with the record cleared, on a short read, a kind of 55 or more,
    // a behaviour above 18 or behaviour state that could not have been
    // made (a launched kind out of range, a zero period, a non-finite
    // float), a non-finite field, or a trail that does not fit the kind.
    // The leader index is the caller's to check: it depends on the array.
    bool Load(std::istream& in);

    float angle;    // polar angle of position, radians
    float distance; // from the planet centre
    Vector2 position;
    float rotation; // drawing and hit-test rotation
    int16_t health; // dead below 1
    uint16_t ticks; // whole movement steps made: fade-in and animations
    uint8_t leader; // index in the leader array, 255 none
    uint8_t kind;
    uint8_t speed;        // 1/256 step per tick; 0 stands for 256
    uint8_t stepFraction; // fractional step accumulator
    std::unique_ptr<PositionTrail> trail;
    uint8_t movement[kMovementBytes];
};
