#include "game/simulation/MovementBehaviours.h"

#include "engine/core/Random.h"
#include "engine/core/VectorMath.h"
#include "game/simulation/Enemy.h"
#include "game/simulation/EnemyType.h"
#include "game/simulation/Packing.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace
{

using Vexel::kHalfPi;
using Vexel::kPi;
using Vexel::kTwoPi;
const uint8_t kNone = 255;
// Packed speeds cover [0, 10.2]; signed ones [-10.2, 10.2].
const float kSpeedRange = 10.2f;
// The second boss pattern's side offset covers [-120, 120].
const float kOffsetRange = 120.0f;

struct Behaviour
{
    enum Enum
    {
        Drift = 0,
        TwoPhaseDrift = 1,
        Homing = 2,
        SnakeHead = 3,
        CyclingDrift = 4,
        Segment = 5,
        Carrier = 6,
        Builder = 7,
        Splicer = 8,
        Lockdown = 9,
        Driller = 10,
        Converter = 11,
        Hive = 12,
        Starburst = 13,
        Beacon = 14,
        Pillar = 15,
        BossPatternOne = 16,
        BossPatternTwo = 17,
        BossPatternThree = 18,
    };
};

// The state layouts. Every byte is a named member (no compiler padding), so
// the saved bytes are exactly what the code wrote. Bytes 0 and 1 are the
// behaviour number and the ticks since the last hit.
struct DriftState
{
    uint8_t behaviour, sinceHit, pad0, pad1;
    float vr, vt; // radial and tangential speed
    uint8_t pad2[4];
};
struct TwoPhaseState
{
    uint8_t behaviour, sinceHit;
    uint8_t a, b;      // crawl steps, move steps
    uint16_t vr0, vr1; // packed speeds
    uint16_t vt0, vt1; // packed signed speeds
    uint8_t pad[4];
};
struct HomingState
{
    uint8_t behaviour, sinceHit, pad0, pad1;
    float speed;
    uint8_t pad2[8];
};
struct SnakeHeadState
{
    uint8_t behaviour, sinceHit;
    uint8_t pending, side, counter, segmentKind, pad0, pad1;
    float turn;
    uint8_t pad2[4];
};
struct CyclingState
{
    uint8_t behaviour, sinceHit;
    uint8_t a, b, segmentKind, shotKind, pending, flipped;
    uint16_t vr, vt; // packed speed, packed signed speed
    uint8_t pad[4];
};
struct SegmentState
{
    uint8_t behaviour, sinceHit;
    uint8_t delay, firstMove;
    uint8_t pad[12];
};
struct CarrierState
{
    uint8_t behaviour, sinceHit;
    uint8_t kind, count, period, pad0, pad1, pad2;
    float speed;
    uint8_t pad3[4];
};
struct BuilderState
{
    uint8_t behaviour, sinceHit, pad0, pad1;
    float fast, slow;
    uint8_t kind, pad2[3];
};
struct SplicerState
{
    uint8_t behaviour, sinceHit;
    uint8_t splitKind, shotKind, generation, splitSide, driftSide, shotPeriod, shotMode, pad0, pad1, pad2;
    float speed;
};
struct LockdownState
{
    uint8_t behaviour, sinceHit;
    uint8_t ringKind, generation, releaseSides, driftSide, shotPeriod, shotKind;
    float speed;
    uint8_t pad[4];
};
struct DrillerState
{
    uint8_t behaviour, sinceHit;
    uint8_t period, counter, kind, pad0, pad1, pad2;
    float speed;
    uint8_t pad3[4];
};
struct ConverterState
{
    uint8_t behaviour, sinceHit, kind, pad0;
    float speed, hitTimer;
    uint8_t pad1[4];
};
struct HiveState
{
    uint8_t behaviour, sinceHit;
    uint8_t counter, limit, interval, countdown, deathKind, pad0;
    float speed;
    uint8_t pad1[4];
};
struct StarburstState
{
    uint8_t behaviour, sinceHit;
    uint8_t kind, period, burst, pad0, pad1, pad2;
    float speed;
    uint8_t pad3[4];
};
struct BeaconState
{
    uint8_t behaviour, sinceHit;
    uint8_t kinds[5], period, stage;
    uint8_t pad[7];
};
struct PillarState
{
    uint8_t behaviour, sinceHit;
    uint8_t copyKind, copyTime, shotKind, shotStart, shotPeriod, pad0;
    float speed;
    uint8_t pad1[4];
};
struct BossOneState
{
    uint8_t behaviour, sinceHit;
    uint8_t kind, volleyCount, volleySpacing, period, spread, outward;
    uint16_t speed; // packed
    uint8_t pad[6];
};
struct BossTwoState
{
    uint8_t behaviour, sinceHit;
    uint8_t firstKind, secondKind, period, pair;
    uint16_t speed, offset; // packed
    uint8_t pad[6];
};
struct BossThreeState
{
    uint8_t behaviour, sinceHit;
    uint8_t kind, period;
    float vr, vt;
    uint8_t pad[4];
};

template <class S> S ReadState(uint8_t const* movement)
{
    static_assert(sizeof(S) == Enemy::kMovementBytes, "a state fills the movement bytes exactly");
    static_assert(std::is_trivially_copyable<S>::value, "states are plain bytes");
    S state;
    std::memcpy(&state, movement, sizeof(S));
    return state;
}

template <class S> void WriteState(Enemy& enemy, S const& state)
{
    std::memcpy(enemy.movement, &state, sizeof(S));
}

// A zeroed state of a behaviour with the ticks-since-hit byte at 255.
template <class S> S NewState(Behaviour::Enum behaviour)
{
    S state;
    std::memset(&state, 0, sizeof(S));
    state.behaviour = uint8_t(behaviour);
    state.sinceHit = 255;
    return state;
}

bool IsLaunchKind(uint8_t kind)
{
    return kind < EnemyType::kCount || kind == kNone;
}
bool Finite(float value)
{
    return std::isfinite(value);
}

// The angle moved by whole turns to within half a turn of the reference.
// Bounded: a value too far off to reach by turns is left as it is.
float WrapNear(float value, float reference)
{
    for (int i = 0; i < 256 && value - reference > kPi; ++i)
        value -= kTwoPi;
    for (int i = 0; i < 256 && value - reference < -kPi; ++i)
        value += kTwoPi;
    return value;
}

// Turns current toward target by at most maxStep; reaching it when closer.
float TurnToward(float current, float target, float maxStep)
{
    const float d = target - current;
    if (fabsf(d) >= maxStep)
        return current + (d > 0.0f ? maxStep : -maxStep);
    return target;
}

void PolarUpdate(Enemy& e)
{
    e.position = Vector2(-e.distance * sinf(e.angle), e.distance * cosf(e.angle));
}

// Straight in (or out): distance changes by -amount and the position is
// scaled to it along its own direction.
void MoveInward(Enemy& e, float amount)
{
    const float old = e.distance;
    e.distance -= amount;
    if (old != 0.0f)
        e.position *= e.distance / old;
}

void ScaleToDistance(Enemy& e, float old)
{
    if (old != 0.0f)
        e.position *= e.distance / old;
}

Vector2 Heading(float angle)
{
    return Vector2(-sinf(angle), cosf(angle));
}

// Appends a request for a new enemy with the launcher's speed. A kind of
// none (or out of the table) launches nothing.
void Launch(MovementContext& c, Enemy const& e, Vector2 position, float angle, uint8_t kind,
            uint8_t leader = kNone, uint32_t param0 = 0, uint32_t param1 = 0)
{
    if (kind >= EnemyType::kCount)
        return;
    c.requests.push_back(SpawnRequest(position, angle, kind, e.speed, leader, param0, param1));
}

// --- Initialisers -----------------------------------------------------------

void InitDrift(Enemy& e, float vr, float vt)
{
    DriftState s = NewState<DriftState>(Behaviour::Drift);
    s.vr = vr;
    s.vt = vt;
    WriteState(e, s);
}

void InitTwoPhase(Enemy& e, uint8_t a, uint8_t b, float vr0, float vt0, float vr1, float vt1)
{
    TwoPhaseState s = NewState<TwoPhaseState>(Behaviour::TwoPhaseDrift);
    s.a = a;
    s.b = b;
    s.vr0 = PackFraction(vr0, kSpeedRange);
    s.vt0 = PackRange(vt0, -kSpeedRange, kSpeedRange);
    s.vr1 = PackFraction(vr1, kSpeedRange);
    s.vt1 = PackRange(vt1, -kSpeedRange, kSpeedRange);
    WriteState(e, s);
}

void InitHoming(Enemy& e, float speed)
{
    HomingState s = NewState<HomingState>(Behaviour::Homing);
    s.speed = speed;
    WriteState(e, s);
}

void InitSnakeHead(Enemy& e, uint8_t side, uint8_t segmentKind)
{
    SnakeHeadState s = NewState<SnakeHeadState>(Behaviour::SnakeHead);
    s.pending = 1;
    s.side = side;
    s.counter = 0;
    s.segmentKind = segmentKind;
    s.turn = side == 1 ? 1.35f : -1.35f;
    WriteState(e, s);
}

void InitCycling(Enemy& e, uint8_t a, uint8_t b, float vr, float vt, bool mirrored, bool flip,
                 uint8_t segmentKind, uint8_t shotKind)
{
    CyclingState s = NewState<CyclingState>(Behaviour::CyclingDrift);
    s.a = a;
    s.b = b;
    s.segmentKind = segmentKind;
    s.shotKind = shotKind;
    s.pending = 1;
    s.flipped = flip && !mirrored ? 1 : 0;
    s.vr = PackFraction(vr, kSpeedRange);
    s.vt = PackRange(mirrored ? -vt : vt, -kSpeedRange, kSpeedRange);
    WriteState(e, s);
}

void InitSegment(Enemy& e, uint32_t param0)
{
    SegmentState s = NewState<SegmentState>(Behaviour::Segment);
    s.delay = uint8_t(param0 & 0xFF);
    s.firstMove = 1;
    WriteState(e, s);
}

void InitCarrier(Enemy& e, float speed, uint8_t kind, uint8_t period, uint8_t count)
{
    CarrierState s = NewState<CarrierState>(Behaviour::Carrier);
    s.kind = kind;
    s.count = count;
    s.period = period;
    s.speed = speed;
    WriteState(e, s);
}

void InitBuilder(Enemy& e, float fast, float slow, uint8_t kind)
{
    BuilderState s = NewState<BuilderState>(Behaviour::Builder);
    s.fast = fast;
    s.slow = slow;
    s.kind = kind;
    WriteState(e, s);
}

void InitSplicer(Enemy& e, float speed, uint32_t param0, uint32_t param1, uint8_t splitKind, uint8_t shotKind,
                 uint8_t shotPeriod, uint8_t shotMode)
{
    SplicerState s = NewState<SplicerState>(Behaviour::Splicer);
    s.splitKind = splitKind;
    s.shotKind = shotKind;
    s.generation = uint8_t(param1 & 0xFF);
    s.splitSide = uint8_t(param0 & 0xFF);
    s.driftSide = uint8_t(param0 & 0xFF);
    s.shotPeriod = shotPeriod;
    s.shotMode = shotMode;
    s.speed = speed;
    WriteState(e, s);
}

void InitLockdown(Enemy& e, float speed, uint32_t param0, uint32_t param1, uint8_t ringKind,
                  uint8_t shotPeriod, uint8_t shotKind)
{
    LockdownState s = NewState<LockdownState>(Behaviour::Lockdown);
    s.ringKind = ringKind;
    s.generation = uint8_t(param1 & 0xFF);
    s.releaseSides = uint8_t(param0 & 0xFF);
    s.driftSide = uint8_t(param0 & 0xFF);
    s.shotPeriod = shotPeriod;
    s.shotKind = shotKind;
    s.speed = speed;
    WriteState(e, s);
}

void InitDriller(Enemy& e, float speed, uint8_t period, uint8_t kind)
{
    DrillerState s = NewState<DrillerState>(Behaviour::Driller);
    s.period = period;
    s.counter = 0;
    s.kind = kind;
    s.speed = speed;
    WriteState(e, s);
}

void InitConverter(Enemy& e, float speed, uint8_t kind)
{
    ConverterState s = NewState<ConverterState>(Behaviour::Converter);
    s.kind = kind;
    s.speed = speed;
    s.hitTimer = 0.0f;
    WriteState(e, s);
}

void InitHive(Enemy& e, float speed, uint8_t counter, uint8_t interval, uint8_t limit, uint8_t deathKind)
{
    HiveState s = NewState<HiveState>(Behaviour::Hive);
    s.counter = counter;
    s.limit = limit;
    s.interval = interval;
    s.countdown = interval;
    s.deathKind = deathKind;
    s.speed = speed;
    WriteState(e, s);
}

void InitStarburst(Enemy& e, float speed, uint8_t period, uint8_t kind)
{
    StarburstState s = NewState<StarburstState>(Behaviour::Starburst);
    s.kind = kind;
    s.period = period;
    s.burst = 0;
    s.speed = speed;
    WriteState(e, s);
}

void InitBeacon(Enemy& e, uint8_t stage, uint8_t period, uint8_t const (&kinds)[5])
{
    BeaconState s = NewState<BeaconState>(Behaviour::Beacon);
    for (int i = 0; i < 5; ++i)
        s.kinds[i] = kinds[i];
    s.period = period;
    s.stage = stage;
    WriteState(e, s);
}

void InitPillar(Enemy& e, float speed, uint8_t copyKind, uint8_t copyTime, uint8_t shotKind,
                uint8_t shotStart, uint8_t shotPeriod)
{
    PillarState s = NewState<PillarState>(Behaviour::Pillar);
    s.copyKind = copyKind;
    s.copyTime = copyTime;
    s.shotKind = shotKind;
    s.shotStart = shotStart;
    s.shotPeriod = shotPeriod;
    s.speed = speed;
    WriteState(e, s);
}

void InitBossOne(Enemy& e, float speed, uint8_t kind, uint8_t period, uint8_t volleyCount,
                 uint8_t volleySpacing, uint8_t outward, float spread)
{
    BossOneState s = NewState<BossOneState>(Behaviour::BossPatternOne);
    s.kind = kind;
    s.volleyCount = volleyCount;
    s.volleySpacing = volleySpacing;
    s.period = period;
    s.spread = PackRadians(spread);
    s.outward = outward;
    s.speed = PackFraction(speed, kSpeedRange);
    WriteState(e, s);
}

void InitBossTwo(Enemy& e, float speed, uint8_t firstKind, uint8_t secondKind, uint8_t period, uint8_t pair,
                 float offset)
{
    BossTwoState s = NewState<BossTwoState>(Behaviour::BossPatternTwo);
    s.firstKind = firstKind;
    s.secondKind = secondKind;
    s.period = period;
    s.pair = pair;
    s.speed = PackFraction(speed, kSpeedRange);
    s.offset = PackRange(offset, -kOffsetRange, kOffsetRange);
    WriteState(e, s);
}

void InitBossThree(Enemy& e, float vr, float vt, uint8_t period, uint8_t kind)
{
    BossThreeState s = NewState<BossThreeState>(Behaviour::BossPatternThree);
    s.kind = kind;
    s.period = period;
    s.vr = vr;
    s.vt = vt;
    WriteState(e, s);
}

// --- Updates ----------------------------------------------------------------

void Drift(Enemy& e, float vr, float vt, float s)
{
    e.distance -= vr * s;
    e.angle += vt * s / e.distance;
    e.rotation = e.angle + atan2f(vt, -vr);
    PolarUpdate(e);
}

void UpdateDrift(Enemy& e, MovementContext& c)
{
    const DriftState st = ReadState<DriftState>(e.movement);
    Drift(e, st.vr, st.vt, c.speedFactor);
}

void UpdateTwoPhase(Enemy& e, MovementContext& c)
{
    const TwoPhaseState st = ReadState<TwoPhaseState>(e.movement);
    const int cycle = int(st.a) + int(st.b);
    const bool moving = int(e.ticks) % cycle >= int(st.a);
    const float vr = UnpackFraction(moving ? st.vr1 : st.vr0, kSpeedRange);
    const float vt = UnpackRange(moving ? st.vt1 : st.vt0, -kSpeedRange, kSpeedRange);
    Drift(e, vr, vt, c.speedFactor);
}

void UpdateHoming(Enemy& e, MovementContext& c)
{
    const HomingState st = ReadState<HomingState>(e.movement);
    const float s = c.speedFactor;
    const float target = e.position.Angle() + kPi; // facing the planet
    e.rotation = TurnToward(WrapNear(e.rotation, target), target, 0.072f * s);
    e.position += Heading(e.rotation) * st.speed * s;
    e.distance = e.position.Length();
}

void UpdateSnakeHead(Enemy& e, MovementContext& c)
{
    SnakeHeadState st = ReadState<SnakeHeadState>(e.movement);
    const float s = c.speedFactor;
    if (c.wholeStep)
    {
        st.counter += 1;
        if (st.counter > 109)
        {
            st.counter = 0;
            st.side = st.side == 1 ? 0 : 1;
        }
    }
    st.turn = TurnToward(st.turn, st.side == 1 ? 1.35f : -1.35f, 0.1305f * s);

    const Vector2 step = e.position.Normalized().Rotate(st.turn + kPi) * (2.0f * s);
    e.position += step;
    e.distance = e.position.Length();
    e.angle = e.position.Angle();
    e.rotation = step.Angle();

    if (st.pending)
    {
        for (int i = 0; i < 5; ++i)
            Launch(c, e, e.position, e.rotation, st.segmentKind, uint8_t(c.ownIndex), uint32_t(11 + 9 * i));
        st.pending = 0;
    }
    WriteState(e, st);
}

void UpdateCycling(Enemy& e, MovementContext& c)
{
    CyclingState st = ReadState<CyclingState>(e.movement);
    const float s = c.speedFactor;
    const int cycle = int(st.a) + int(st.b);
    const int phase = int(e.ticks) % cycle;
    const float factor = phase < int(st.a) ? 1.0f : 0.2f;
    const float vr = UnpackFraction(st.vr, kSpeedRange);
    const float vt = UnpackRange(st.vt, -kSpeedRange, kSpeedRange);

    e.distance -= vr * s * factor;
    e.angle += vt * s * factor / e.distance;
    e.rotation = e.angle + atan2f(vt, -vr);
    if (st.flipped)
        e.rotation += kPi;
    PolarUpdate(e);

    if (st.pending && st.segmentKind != kNone)
    {
        for (int i = 0; i < 6; ++i)
            Launch(c, e, e.position, e.rotation, st.segmentKind, uint8_t(c.ownIndex), uint32_t(10 + 8 * i));
        st.pending = 0;
    }
    if (c.wholeStep && st.shotKind != kNone && phase == cycle - 1)
        Launch(c, e, e.position, e.position.Angle() + kPi, st.shotKind);
    WriteState(e, st);
}

void UpdateSegment(Enemy& e, MovementContext& c)
{
    SegmentState st = ReadState<SegmentState>(e.movement);
    if (e.ticks <= st.delay)
        return;
    // A segment whose leader is gone, or trails nothing, holds its place
    // (the Simulation kills orphans; a loaded record may still get here).
    if (c.leaders == nullptr || e.leader >= c.leaderCount)
        return;
    PositionTrail const* trail = c.leaders[e.leader].GetTrail();
    if (trail == nullptr)
        return;

    const Vector2 next = trail->Sample(float(st.delay));
    const Vector2 move = next - e.position;
    e.position = next;
    e.distance = next.Length();
    e.angle = next.Angle();
    if (move.x != 0.0f || move.y != 0.0f)
    {
        const float heading = move.Angle();
        if (st.firstMove)
        {
            e.rotation = heading;
            st.firstMove = 0;
        }
        else
            e.rotation = TurnToward(WrapNear(e.rotation, heading), heading, 0.1305f * c.speedFactor);
    }
    WriteState(e, st);
}

void UpdateCarrier(Enemy& e, MovementContext& c)
{
    const CarrierState st = ReadState<CarrierState>(e.movement);
    MoveInward(e, st.speed * c.speedFactor);
    if (c.wholeStep && int(e.ticks) % int(st.period) == int(st.period) - 1)
    {
        // Spread over a quarter turn around the way to the planet.
        const float first = e.rotation + kPi - kPi / 4.0f;
        const float spacing = st.count > 1 ? kHalfPi / float(st.count - 1) : 0.0f;
        for (int i = 0; i < st.count; ++i)
        {
            const float heading = first + float(i) * spacing;
            Launch(c, e, e.position + Heading(heading) * 5.0f, heading, st.kind);
        }
    }
}

void UpdateBuilder(Enemy& e, MovementContext& c)
{
    const BuilderState st = ReadState<BuilderState>(e.movement);
    const int phase = int(e.ticks) % 75;
    if (c.wholeStep && phase == 65)
        Launch(c, e, e.position * ((e.distance + 12.0f) / e.distance), e.rotation, st.kind);
    MoveInward(e, (phase > 59 ? st.slow : st.fast) * c.speedFactor);
}

void UpdateSplicer(Enemy& e, MovementContext& c)
{
    SplicerState st = ReadState<SplicerState>(e.movement);
    const float s = c.speedFactor;
    const float vt = st.driftSide == 1 ? -0.52f * s : (st.driftSide == 2 ? 0.52f * s : 0.0f);
    float f = 1.0f;
    if (e.ticks > 35)
    {
        if (e.ticks > 70 && st.splitSide != 3)
        {
            const uint32_t generation = uint32_t(st.generation) + 1;
            if (st.splitSide == 1 || st.splitSide == 0)
                Launch(c, e, e.position, e.rotation, st.splitKind, kNone, 1, generation);
            if (st.splitSide == 2 || st.splitSide == 0)
                Launch(c, e, e.position, e.rotation, st.splitKind, kNone, 2, generation);
            st.splitSide = 3;
        }
        f = 0.0f;
    }
    f += float(st.generation) * 0.11f;
    e.distance -= st.speed * s;
    e.angle += f * vt / e.distance;
    e.rotation = e.angle + kPi;
    PolarUpdate(e);

    if (c.wholeStep && int(e.ticks) % int(st.shotPeriod) == int(st.shotPeriod) - 1)
    {
        if (st.shotMode == 1)
            Launch(c, e, e.position, e.rotation, st.shotKind);
        else if (st.shotMode == 2)
        {
            const float headings[2] = {e.rotation + 3.0f * kPi / 4.0f, e.rotation - 3.0f * kPi / 4.0f};
            for (float h : headings)
                Launch(c, e, e.position + Heading(h) * 5.0f, h, st.shotKind);
        }
    }
    WriteState(e, st);
}

void UpdateLockdown(Enemy& e, MovementContext& c)
{
    LockdownState st = ReadState<LockdownState>(e.movement);
    const float s = c.speedFactor;
    const bool hasLeader = c.leaders != nullptr && e.leader < c.leaderCount;
    const float reference = hasLeader ? c.leaders[e.leader].angle : e.angle;

    const float vt = st.driftSide == 1 ? -4.8f * s : (st.driftSide == 2 ? 4.8f * s : 0.0f);
    float f = 1.0f;
    if (e.ticks > 10)
    {
        if (st.releaseSides != 3)
        {
            // Every ring of a chain follows the lockdown that started it.
            const uint8_t ringLeader = e.leader != kNone ? e.leader : uint8_t(c.ownIndex);
            const uint32_t generation = uint32_t(st.generation) + 1;
            if (st.releaseSides == 1 || st.releaseSides == 0)
                Launch(c, e, e.position, e.rotation, st.ringKind, ringLeader, 1, generation);
            if (st.releaseSides == 2 || st.releaseSides == 0)
                Launch(c, e, e.position, e.rotation, st.ringKind, ringLeader, 2, generation);
            st.releaseSides = 3;
        }
        f = 0.0f;
    }
    f += float(st.generation) * 0.021f;
    const float da = f * vt / e.distance;
    float a = e.angle + da;
    // Whole turns relative to the reference, on the side the ring drifts to.
    if (da <= 0.0f)
    {
        for (int i = 0; i < 256 && a > reference; ++i)
            a -= kTwoPi;
        for (int i = 0; i < 256 && a <= reference - kTwoPi; ++i)
            a += kTwoPi;
    }
    else
    {
        for (int i = 0; i < 256 && a < reference; ++i)
            a += kTwoPi;
        for (int i = 0; i < 256 && a >= reference + kTwoPi; ++i)
            a -= kTwoPi;
    }
    if (!(fabsf(reference - a) < kPi)) // half a turn round: the ring breaks
        e.health = 0;

    e.distance -= st.speed * s;
    e.angle = a;
    e.rotation = e.angle + kPi;
    PolarUpdate(e);

    if (c.wholeStep && st.shotKind != kNone && e.health > 0 &&
        int(e.ticks) % int(st.shotPeriod) == int(st.shotPeriod) - 1)
        Launch(c, e, e.position, e.rotation, st.shotKind);
    WriteState(e, st);
}

float StopDistance(Enemy const& e)
{
    return e.GetType().landingInset + 40.1f;
}

void UpdateDriller(Enemy& e, MovementContext& c)
{
    DrillerState st = ReadState<DrillerState>(e.movement);
    const float stop = StopDistance(e);
    const float old = e.distance;
    e.distance -= st.speed * c.speedFactor;
    if (e.distance < stop)
        e.distance = stop;
    ScaleToDistance(e, old);
    if (c.wholeStep && e.distance == stop)
    {
        st.counter += 1;
        if (st.counter == st.period)
        {
            // The bomb appears at the planet centre and lands at once.
            Launch(c, e, Vector2(0.0f, 0.0f), 0.0f, st.kind, kNone, 0, 0);
            st.counter = 0;
        }
    }
    WriteState(e, st);
}

void UpdateConverter(Enemy& e, MovementContext& c)
{
    ConverterState st = ReadState<ConverterState>(e.movement);
    const float s = c.speedFactor;
    const float stop = StopDistance(e);
    const float old = e.distance;
    e.distance -= st.speed * s;
    if (st.sinceHit == 0)
        st.hitTimer += s;
    if (st.hitTimer > 2.5f)
    {
        st.hitTimer -= 2.5f;
        const float a = c.random.NextFloat(-0.24f, 0.24f);
        const Vector2 position = e.position.Rotate(a) * 1.58f;
        const float jitter = c.random.NextFloat(-0.01f, 0.01f);
        Launch(c, e, position, e.angle + a + jitter, st.kind);
    }
    if (e.distance < stop)
        e.distance = stop;
    ScaleToDistance(e, old);
    WriteState(e, st);
}

void UpdateHive(Enemy& e, MovementContext& c)
{
    HiveState st = ReadState<HiveState>(e.movement);
    MoveInward(e, st.speed * c.speedFactor);
    if (c.wholeStep && st.counter < st.limit)
    {
        if (st.countdown == 0)
        {
            st.counter += 1;
            st.countdown = st.interval == 0 ? 1 : st.interval;
        }
        st.countdown -= 1;
    }
    WriteState(e, st);
}

void UpdateStarburst(Enemy& e, MovementContext& c)
{
    StarburstState st = ReadState<StarburstState>(e.movement);
    const float s = c.speedFactor;
    MoveInward(e, st.speed * s);
    const int phase = int(e.ticks) % int(st.period);
    e.rotation += s * 0.6f * (1.0f - float(phase) / float(st.period));
    if (e.rotation > kPi)
        e.rotation -= kTwoPi;
    if (c.wholeStep && phase == int(st.period) - 1)
    {
        st.burst = 1; // the enemy's update turns it into a fading mark
        for (int i = 0; i < 6; ++i)
        {
            const float h = e.rotation + kPi / 6.0f + float(i) * (kPi / 3.0f);
            Launch(c, e, e.position + Vector2(-5.0f * sinf(h), 5.0f * cosf(h)), h, st.kind);
        }
    }
    WriteState(e, st);
}

void UpdateBeacon(Enemy& e, MovementContext& c)
{
    BeaconState st = ReadState<BeaconState>(e.movement);
    if (!c.wholeStep)
        return;
    const int phase = int(e.ticks) % int(st.period);
    if (phase == int(st.period) - 1 && st.stage != 0)
        st.stage -= 1;
    if (st.stage == 0 && phase == int(st.period) / 3)
    {
        // Five rings of (radius, count) around the beacon; then it is spent.
        static const float kRadius[5] = {40.0f, 8.0f, 15.0f, 25.0f, 35.0f};
        static const int kCount[5] = {6, 1, 5, 8, 10};
        for (int ring = 0; ring < 5; ++ring)
            for (int j = 0; j < kCount[ring]; ++j)
            {
                const float h = e.rotation + (float(j) / float(kCount[ring])) * kTwoPi;
                const Vector2 p = e.position + Vector2(cosf(h), sinf(h)) * kRadius[ring];
                Launch(c, e, p, p.Angle(), st.kinds[ring]);
            }
        e.health = 0;
    }
    WriteState(e, st);
}

void UpdatePillar(Enemy& e, MovementContext& c)
{
    const PillarState st = ReadState<PillarState>(e.movement);
    MoveInward(e, st.speed * c.speedFactor);
    if (!c.wholeStep)
        return;
    if (e.ticks == st.copyTime)
        Launch(c, e, e.position * ((e.distance + 20.0f) / e.distance), e.rotation, st.copyKind);
    if (e.ticks >= st.shotStart && (int(e.ticks) - int(st.shotStart)) % int(st.shotPeriod) == 0)
        Launch(c, e, e.position, e.rotation, st.shotKind);
}

void UpdateBossOne(Enemy& e, MovementContext& c)
{
    const BossOneState st = ReadState<BossOneState>(e.movement);
    MoveInward(e, UnpackFraction(st.speed, kSpeedRange) * c.speedFactor);
    if (!c.wholeStep)
        return;
    const int phase = int(e.ticks) % int(st.period);
    const int volleys = int(st.volleyCount) * int(st.volleySpacing);
    if (phase >= volleys || phase % int(st.volleySpacing) != 0)
        return;
    const int k = phase / int(st.volleySpacing);
    const bool outward = st.outward == 1;
    const Vector2 unit = e.position.Normalized();
    const Vector2 dir = outward ? unit : -unit;
    const Vector2 perp = dir.Perpendicular();
    const Vector2 side = perp * ((float(k) + 0.5f) * 8.0f);
    const Vector2 ahead = dir * (cosf(float(k) * 0.31f) * 16.0f);
    const float spread = UnpackRadians(st.spread);
    const float sigmas[2] = {-1.0f, 1.0f};
    for (float sigma : sigmas)
    {
        const Vector2 p = e.position + side * sigma + ahead;
        float heading = p.Angle();
        if (!outward)
            heading += kPi;
        heading -= sigma * float(k + 1) * spread;
        Launch(c, e, p, heading, st.kind);
    }
}

void UpdateBossTwo(Enemy& e, MovementContext& c)
{
    const BossTwoState st = ReadState<BossTwoState>(e.movement);
    MoveInward(e, UnpackFraction(st.speed, kSpeedRange) * c.speedFactor);
    if (!c.wholeStep || int(e.ticks) % int(st.period) != int(st.period) / 2)
        return;
    const Vector2 dir = e.position.Normalized();
    const Vector2 perp = dir.Perpendicular();
    const float offset = UnpackRange(st.offset, -kOffsetRange, kOffsetRange);
    const float sigmas[2] = {-1.0f, 1.0f};
    for (float sigma : sigmas)
    {
        const Vector2 p = e.position + perp * offset * sigma;
        const uint8_t kind = sigma > 0.0f && st.pair ? st.secondKind : st.firstKind;
        float heading = p.Angle() + kPi;
        if (st.pair)
            heading += sigma * kHalfPi;
        Launch(c, e, p, heading, kind);
    }
}

void UpdateBossThree(Enemy& e, MovementContext& c)
{
    const BossThreeState st = ReadState<BossThreeState>(e.movement);
    const float s = c.speedFactor;
    e.distance -= st.vr * s;
    e.angle += st.vt * s / e.distance;
    PolarUpdate(e);
    const int phase = int(e.ticks) % int(st.period);
    e.rotation += ((1.0f - float(phase) / float(st.period)) * 0.3f + 0.3f) * s;
    if (e.rotation > kPi)
        e.rotation -= kTwoPi;
    if (c.wholeStep && phase == int(st.period) - 1)
        Launch(c, e, e.position, e.rotation, st.kind);
}

} // namespace

int GetKindBehaviour(int kind)
{
    static const uint8_t kBehaviours[EnemyType::kCount] = {
        0,  0,  0,  2,  0,  3,  3,  3,  5,  6,  // 0-9
        0,  7,  8,  8,  10, 0,  12, 16, 16, 16, // 10-19
        16, 17, 17, 17, 17, 1,  1,  1,  1,  2,  // 20-29
        4,  4,  4,  5,  4,  4,  4,  6,  13, 9,  // 30-39
        9,  11, 14, 15, 17, 17, 18, 18, 17, 17, // 40-49
        16, 16, 12, 0,  0,                      // 50-54
    };
    return kind >= 0 && kind < EnemyType::kCount ? kBehaviours[kind] : 0;
}

void InitMovement(Enemy& e, SpawnRequest const& request, Vexel::Random& random)
{
    std::memset(e.movement, 0, sizeof(e.movement));
    const uint32_t p0 = request.param[0];
    const uint32_t p1 = request.param[1];
    switch (request.kind)
    {
    case 0:
        InitDrift(e, 0.92f, 0.0f);
        break;
    case 1:
        InitDrift(e, 0.88f, random.Next(0, 100) > 49 ? -2.0f : 2.0f);
        break;
    case 2:
        InitDrift(e, 0.8f, 0.0f);
        break;
    case 3:
        InitHoming(e, 1.6f);
        break;
    case 4:
        InitDrift(e, 2.3f, 0.0f);
        break;
    case 5:
        InitSnakeHead(e, 1, 8);
        break;
    case 6:
        InitSnakeHead(e, 0, 8);
        break;
    case 7:
        InitSnakeHead(e, random.Next(0, 255) < 128 ? 1 : 0, 8);
        break;
    case 8:
    case 33:
        InitSegment(e, p0);
        break;
    case 9:
        InitCarrier(e, 0.36f, 3, 25, 2);
        break;
    case 10:
        InitDrift(e, 0.1f, 0.0f);
        break;
    case 11:
        InitBuilder(e, 0.4f, 0.1f, 10);
        break;
    case 12:
        InitSplicer(e, 0.3f, 0, 0, 13, 2, 21, 1);
        break;
    case 13:
        InitSplicer(e, 0.3f, p0, p1, 13, 3, 50, 2);
        break;
    case 14:
        InitDriller(e, 6.2f, 120, 15);
        break;
    case 15:
        InitDrift(e, 0.2f, 0.0f);
        break;
    case 16:
        InitHive(e, 0.56f, 0, 12, 20, 3);
        break;
    case 17:
    case 18:
        InitBossOne(e, 0.18f, 3, 60, 4, 3, 0, 0.0f);
        break;
    case 19:
    case 20:
        InitBossOne(e, 0.16f, 3, 75, 5, 1, 1, 0.18f);
        break;
    case 21:
    case 22:
        InitBossTwo(e, 0.16f, 9, 9, 65, 0, 52.0f);
        break;
    case 23:
    case 24:
        InitBossTwo(e, 0.16f, 5, 6, 61, 1, -30.0f);
        break;
    case 25:
    {
        const float vt = random.Next(0, 127) > 63 ? -0.22f : 0.22f;
        InitTwoPhase(e, 7, 10, 0.1f, 0.0f, 1.5f, vt);
        break;
    }
    case 26:
    case 27:
    {
        const float sign = random.Next(0, 100) < 50 ? 1.0f : -1.0f;
        if (request.kind == 26)
            InitTwoPhase(e, 15, 11, 1.6f, 4.8f * sign, 0.16f, 0.48f * sign);
        else
            InitTwoPhase(e, 15, 11, 0.9f, 4.2f * sign, 0.09f, 0.42f * sign);
        break;
    }
    case 28:
        InitTwoPhase(e, 9, 14, 0.18f, 0.0f, 0.84f, 0.0f);
        break;
    case 29:
        InitHoming(e, 1.62f);
        break;
    case 30:
        InitCycling(e, 30, 8, 0.34f, 3.6f, true, false, 33, kNone);
        break;
    case 31:
        InitCycling(e, 30, 8, 0.34f, 3.6f, false, false, 33, kNone);
        break;
    case 32:
        InitCycling(e, 30, 8, 0.34f, 3.6f, random.Next(0, 255) < 128, false, 33, kNone);
        break;
    case 34:
        InitCycling(e, 20, 7, 0.3f, 3.4f, true, true, kNone, 26);
        break;
    case 35:
        InitCycling(e, 20, 7, 0.3f, 3.4f, false, true, kNone, 26);
        break;
    case 36:
        InitCycling(e, 20, 7, 0.3f, 3.4f, random.Next(0, 255) < 128, true, kNone, 26);
        break;
    case 37:
        InitCarrier(e, 0.38f, 29, 45, 4);
        break;
    case 38:
        InitStarburst(e, 0.18f, 63, 29);
        break;
    case 39:
        InitLockdown(e, 0.41f, 0, 0, 40, 7, 25);
        break;
    case 40:
        InitLockdown(e, 0.42f, p0, p1, 40, 7, kNone);
        break;
    case 41:
        InitConverter(e, 7.0f, 29);
        break;
    case 42:
    {
        static const uint8_t kinds[5] = {29, 37, 28, 25, 26};
        InitBeacon(e, 6, 15, kinds);
        break;
    }
    case 43:
        InitPillar(e, 0.55f, 43, 45, 27, 45, 23);
        break;
    case 44:
    case 45:
        InitBossTwo(e, 0.17f, 37, 37, 75, 0, 61.0f);
        break;
    case 46:
    case 47:
        InitBossThree(e, 0.214f, 1.0f, 70, 38);
        break;
    case 48:
    case 49:
        InitBossTwo(e, 0.1626f, 31, 30, 77, 1, 55.0f);
        break;
    case 50:
    case 51:
        InitBossOne(e, 0.224f, 25, 24, 5, 2, 0, 0.0f);
        break;
    case 52:
        InitHive(e, 0.0f, 0, 12, 20, 3);
        break;
    case 53:
        InitDrift(e, 0.061f, 0.0f);
        break;
    case 54:
        InitDrift(e, 0.072f, 0.0f);
        break;
    default:
        InitDrift(e, 0.0f, 0.0f);
        break;
    }
}

void UpdateMovement(Enemy& e, MovementContext& c)
{
    switch (e.movement[Enemy::kBehaviourByte])
    {
    case Behaviour::Drift:
        UpdateDrift(e, c);
        break;
    case Behaviour::TwoPhaseDrift:
        UpdateTwoPhase(e, c);
        break;
    case Behaviour::Homing:
        UpdateHoming(e, c);
        break;
    case Behaviour::SnakeHead:
        UpdateSnakeHead(e, c);
        break;
    case Behaviour::CyclingDrift:
        UpdateCycling(e, c);
        break;
    case Behaviour::Segment:
        UpdateSegment(e, c);
        break;
    case Behaviour::Carrier:
        UpdateCarrier(e, c);
        break;
    case Behaviour::Builder:
        UpdateBuilder(e, c);
        break;
    case Behaviour::Splicer:
        UpdateSplicer(e, c);
        break;
    case Behaviour::Lockdown:
        UpdateLockdown(e, c);
        break;
    case Behaviour::Driller:
        UpdateDriller(e, c);
        break;
    case Behaviour::Converter:
        UpdateConverter(e, c);
        break;
    case Behaviour::Hive:
        UpdateHive(e, c);
        break;
    case Behaviour::Starburst:
        UpdateStarburst(e, c);
        break;
    case Behaviour::Beacon:
        UpdateBeacon(e, c);
        break;
    case Behaviour::Pillar:
        UpdatePillar(e, c);
        break;
    case Behaviour::BossPatternOne:
        UpdateBossOne(e, c);
        break;
    case Behaviour::BossPatternTwo:
        UpdateBossTwo(e, c);
        break;
    case Behaviour::BossPatternThree:
        UpdateBossThree(e, c);
        break;
    default:
        break;
    }
}

void RunDeathAction(Enemy& e, std::vector<SpawnRequest>& requests, Vexel::Random& random)
{
    if (e.movement[Enemy::kBehaviourByte] != Behaviour::Hive)
        return;
    const HiveState st = ReadState<HiveState>(e.movement);
    if (st.deathKind >= EnemyType::kCount)
        return;
    for (int i = 0; i < st.counter; ++i)
    {
        float a = random.NextFloat(0.2f, 1.2f);
        if (random.Next(0, 100) < 50)
            a = -a;
        a += e.angle;
        const float reach = random.NextFloat(18.0f, 36.0f);
        const Vector2 position = e.position + Heading(a) * reach;
        const float jitter = random.NextFloat(-0.15f, 0.15f);
        requests.push_back(SpawnRequest(position, a + jitter, st.deathKind, e.speed, kNone));
    }
}

bool IsMovementValid(uint8_t const* m)
{
    switch (m[Enemy::kBehaviourByte])
    {
    case Behaviour::Drift:
    {
        const DriftState s = ReadState<DriftState>(m);
        return Finite(s.vr) && Finite(s.vt);
    }
    case Behaviour::TwoPhaseDrift:
    {
        const TwoPhaseState s = ReadState<TwoPhaseState>(m);
        return int(s.a) + int(s.b) > 0;
    }
    case Behaviour::Homing:
        return Finite(ReadState<HomingState>(m).speed);
    case Behaviour::SnakeHead:
    {
        const SnakeHeadState s = ReadState<SnakeHeadState>(m);
        return Finite(s.turn) && IsLaunchKind(s.segmentKind);
    }
    case Behaviour::CyclingDrift:
    {
        const CyclingState s = ReadState<CyclingState>(m);
        return int(s.a) + int(s.b) > 0 && IsLaunchKind(s.segmentKind) && IsLaunchKind(s.shotKind);
    }
    case Behaviour::Segment:
        return true;
    case Behaviour::Carrier:
    {
        const CarrierState s = ReadState<CarrierState>(m);
        return s.period > 0 && IsLaunchKind(s.kind) && Finite(s.speed);
    }
    case Behaviour::Builder:
    {
        const BuilderState s = ReadState<BuilderState>(m);
        return Finite(s.fast) && Finite(s.slow) && IsLaunchKind(s.kind);
    }
    case Behaviour::Splicer:
    {
        const SplicerState s = ReadState<SplicerState>(m);
        return s.shotPeriod > 0 && IsLaunchKind(s.splitKind) && IsLaunchKind(s.shotKind) && Finite(s.speed);
    }
    case Behaviour::Lockdown:
    {
        const LockdownState s = ReadState<LockdownState>(m);
        return s.shotPeriod > 0 && IsLaunchKind(s.ringKind) && IsLaunchKind(s.shotKind) && Finite(s.speed);
    }
    case Behaviour::Driller:
    {
        const DrillerState s = ReadState<DrillerState>(m);
        return IsLaunchKind(s.kind) && Finite(s.speed);
    }
    case Behaviour::Converter:
    {
        const ConverterState s = ReadState<ConverterState>(m);
        return IsLaunchKind(s.kind) && Finite(s.speed) && Finite(s.hitTimer);
    }
    case Behaviour::Hive:
    {
        const HiveState s = ReadState<HiveState>(m);
        return IsLaunchKind(s.deathKind) && Finite(s.speed);
    }
    case Behaviour::Starburst:
    {
        const StarburstState s = ReadState<StarburstState>(m);
        return s.period > 0 && IsLaunchKind(s.kind) && Finite(s.speed);
    }
    case Behaviour::Beacon:
    {
        const BeaconState s = ReadState<BeaconState>(m);
        for (uint8_t kind : s.kinds)
            if (!IsLaunchKind(kind))
                return false;
        return s.period > 0;
    }
    case Behaviour::Pillar:
    {
        const PillarState s = ReadState<PillarState>(m);
        return s.shotPeriod > 0 && IsLaunchKind(s.copyKind) && IsLaunchKind(s.shotKind) && Finite(s.speed);
    }
    case Behaviour::BossPatternOne:
    {
        const BossOneState s = ReadState<BossOneState>(m);
        return s.period > 0 && s.volleySpacing > 0 && IsLaunchKind(s.kind);
    }
    case Behaviour::BossPatternTwo:
    {
        const BossTwoState s = ReadState<BossTwoState>(m);
        return s.period > 0 && IsLaunchKind(s.firstKind) && IsLaunchKind(s.secondKind);
    }
    case Behaviour::BossPatternThree:
    {
        const BossThreeState s = ReadState<BossThreeState>(m);
        return s.period > 0 && IsLaunchKind(s.kind) && Finite(s.vr) && Finite(s.vt);
    }
    default:
        return false;
    }
}
