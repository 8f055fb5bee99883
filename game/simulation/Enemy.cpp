#include "game/simulation/Enemy.h"

#include "game/simulation/MovementBehaviours.h"
#include "game/simulation/ParticleSystem.h"
#include "game/simulation/RawBytes.h"

#include <cmath>
#include <cstring>

namespace
{

const int kStarburstBehaviour = 13;
const int kHiveBehaviour = 12;

} // namespace

Enemy::Enemy()
    : angle(0.0f), distance(0.0f), rotation(0.0f), health(0), ticks(0), leader(SpawnRequest::kNoLeader),
      kind(0), speed(0), stepFraction(0)
{
    std::memset(movement, 0, sizeof(movement));
}

Enemy::~Enemy() {}

Enemy::Enemy(Enemy&& other) noexcept
    : angle(other.angle), distance(other.distance), position(other.position), rotation(other.rotation),
      health(other.health), ticks(other.ticks), leader(other.leader), kind(other.kind), speed(other.speed),
      stepFraction(other.stepFraction), trail(std::move(other.trail))
{
    std::memcpy(movement, other.movement, sizeof(movement));
}

Enemy& Enemy::operator=(Enemy&& other) noexcept
{
    if (this == &other)
        return *this;
    angle = other.angle;
    distance = other.distance;
    position = other.position;
    rotation = other.rotation;
    health = other.health;
    ticks = other.ticks;
    leader = other.leader;
    kind = other.kind;
    speed = other.speed;
    stepFraction = other.stepFraction;
    trail = std::move(other.trail);
    std::memcpy(movement, other.movement, sizeof(movement));
    return *this;
}

void Enemy::Init(SpawnRequest const& request, Vexel::Random& random)
{
    trail.reset();
    position = request.position;
    angle = position.Angle();
    distance = position.Length();
    rotation = request.angle;

    EnemyType const& type = EnemyType::Get(request.kind);
    health = type.hitPoints;
    kind = request.kind < EnemyType::kCount ? request.kind : 0;
    leader = request.leader;
    speed = request.speed;
    ticks = 0;
    stepFraction = 0;

    InitMovement(*this, request, random);

    if (type.trailLength != 0)
        trail.reset(new PositionTrail(type.trailLength, position, type.trailTile, type.trailWidth));
}

void Enemy::Update(std::vector<SpawnRequest>& requests, Enemy const* leaders, int leaderCount, int ownIndex,
                   ParticleSystem& particles, bool wasHit, Vexel::Random& random)
{
    const int step = speed == 0 ? 256 : speed;
    const int total = int(stepFraction) + step;
    const bool wholeStep = total > 255;

    if (wasHit)
        movement[kSinceHitByte] = 0;
    else if (movement[kSinceHitByte] != 255)
        movement[kSinceHitByte] += 1;

    MovementContext context{requests, leaders, leaderCount, ownIndex, random, float(step) / 256.0f,
                            wholeStep};
    UpdateMovement(*this, context);

    if (movement[kBehaviourByte] == kStarburstBehaviour && movement[kBurstFlagByte] != 0)
    {
        movement[kBurstFlagByte] = 0;
        particles.AddFadingMark(position, rotation, GetType().size);
    }

    stepFraction = uint8_t(total % 256);
    if (wholeStep)
        ticks += 1;

    if (trail)
    {
        trail->Push(position, wholeStep);
        trail->SetPhase(float(stepFraction) / 256.0f);
    }
}

void Enemy::Kill(ParticleSystem& particles, std::vector<SpawnRequest>& requests, Vexel::Random& random)
{
    if (movement[kBehaviourByte] == kHiveBehaviour)
        RunDeathAction(*this, requests, random);
    EnemyType const& type = GetType();
    particles.AddExplosion(position, rotation, type.halfExtent, type.faction, type.debris != 0,
                           type.sparkStyle != 0);
    health = 0;
    trail.reset();
}

void Enemy::Clear()
{
    health = 0;
    trail.reset();
}

bool Enemy::HitTest(Vector2 const& point) const
{
    // A zero-sized kind has infinite inverse extents: the length is never a
    // number at most 1, so it is never hit.
    const Vector2 local = (point - position).Rotate(-rotation) * GetType().inverseHalfExtent;
    return local.Length() <= 1.0f;
}

bool Enemy::HasLanded() const
{
    return distance - GetType().landingInset < 40.0f;
}

void Enemy::Save(std::ostream& out) const
{
    WriteRaw(out, angle);
    WriteRaw(out, distance);
    WriteRaw(out, position.x);
    WriteRaw(out, position.y);
    WriteRaw(out, rotation);
    WriteRaw(out, health);
    WriteRaw(out, ticks);
    WriteRaw(out, leader);
    WriteRaw(out, kind);
    WriteRaw(out, speed);
    WriteRaw(out, stepFraction);
    out.write(reinterpret_cast<const char*>(movement), sizeof(movement));
    const uint8_t hasTrail = trail ? 1 : 0;
    WriteRaw(out, hasTrail);
    if (trail)
        trail->Save(out);
}

bool Enemy::Load(std::istream& in)
{
    Clear();
    Enemy loaded;
    uint8_t hasTrail = 0;
    const bool read =
        ReadRaw(in, loaded.angle) && ReadRaw(in, loaded.distance) && ReadRaw(in, loaded.position.x) &&
        ReadRaw(in, loaded.position.y) && ReadRaw(in, loaded.rotation) && ReadRaw(in, loaded.health) &&
        ReadRaw(in, loaded.ticks) && ReadRaw(in, loaded.leader) && ReadRaw(in, loaded.kind) &&
        ReadRaw(in, loaded.speed) && ReadRaw(in, loaded.stepFraction) &&
        in.read(reinterpret_cast<char*>(loaded.movement), sizeof(loaded.movement)) && ReadRaw(in, hasTrail);
    if (!read || loaded.kind >= EnemyType::kCount || loaded.movement[kBehaviourByte] >= kBehaviourCount ||
        !std::isfinite(loaded.angle) || !std::isfinite(loaded.distance) ||
        !std::isfinite(loaded.position.x) || !std::isfinite(loaded.position.y) ||
        !std::isfinite(loaded.rotation) || !IsMovementValid(loaded.movement))
        return false;

    if (hasTrail != 0)
    {
        EnemyType const& type = EnemyType::Get(loaded.kind);
        if (type.trailLength == 0)
            return false;
        loaded.trail = PositionTrail::Load(in, type.trailLength, type.trailTile, type.trailWidth);
        if (!loaded.trail)
            return false;
    }
    *this = std::move(loaded);
    return true;
}
