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

// --- Kinds ------------------------------------------------------------------

// A kind's side marked for drawing at its spawn.
const uint8_t kDrawnSide = 2;

// How a kind's movement starts: its behaviour and the behaviour's numbers,
// each in the order of the fields of its state (see FillState), the speeds
// unpacked. The side mirrors the kind: drift and two-phase kinds run their
// tangential speeds the other way, cycling kinds mirror (and then do not
// flip), snake heads turn to side 1. fromRequest: segments take their
// delay, splicers and lockdown rings their sides and generation from the
// low bytes of the spawn request's words.
struct KindMovement
{
    Behaviour::Enum behaviour;
    float speeds[4];
    uint8_t bytes[7];
    uint8_t side;
    bool fromRequest;
};

// Speeds: drift, boss three {radial, tangential}; two-phase {radial and
// tangential of the crawl, then of the move}; cycling {radial, tangential};
// builder {fast, slow}; boss one {speed, spread}; boss two {speed, side
// offset}; the others {speed}. Bytes: the byte fields of the state that are
// the kind's own, in order; a cycling kind's last one says whether it flips.
const KindMovement kKinds[EnemyType::kCount] = {
    {Behaviour::Drift, {0.92f, 0.0f}, {}, 0, false},                                     // 0
    {Behaviour::Drift, {0.88f, 2.0f}, {}, kDrawnSide, false},                            // 1
    {Behaviour::Drift, {0.8f, 0.0f}, {}, 0, false},                                      // 2
    {Behaviour::Homing, {1.6f}, {}, 0, false},                                           // 3
    {Behaviour::Drift, {2.3f, 0.0f}, {}, 0, false},                                      // 4
    {Behaviour::SnakeHead, {}, {8}, 1, false},                                           // 5
    {Behaviour::SnakeHead, {}, {8}, 0, false},                                           // 6
    {Behaviour::SnakeHead, {}, {8}, kDrawnSide, false},                                  // 7
    {Behaviour::Segment, {}, {}, 0, true},                                               // 8
    {Behaviour::Carrier, {0.36f}, {3, 2, 25}, 0, false},                                 // 9
    {Behaviour::Drift, {0.1f, 0.0f}, {}, 0, false},                                      // 10
    {Behaviour::Builder, {0.4f, 0.1f}, {10}, 0, false},                                  // 11
    {Behaviour::Splicer, {0.3f}, {13, 2, 21, 1}, 0, false},                              // 12
    {Behaviour::Splicer, {0.3f}, {13, 3, 50, 2}, 0, true},                               // 13
    {Behaviour::Driller, {6.2f}, {120, 15}, 0, false},                                   // 14
    {Behaviour::Drift, {0.2f, 0.0f}, {}, 0, false},                                      // 15
    {Behaviour::Hive, {0.56f}, {0, 20, 12, 3}, 0, false},                                // 16
    {Behaviour::BossPatternOne, {0.18f, 0.0f}, {3, 4, 3, 60, 0}, 0, false},              // 17
    {Behaviour::BossPatternOne, {0.18f, 0.0f}, {3, 4, 3, 60, 0}, 0, false},              // 18
    {Behaviour::BossPatternOne, {0.16f, 0.18f}, {3, 5, 1, 75, 1}, 0, false},             // 19
    {Behaviour::BossPatternOne, {0.16f, 0.18f}, {3, 5, 1, 75, 1}, 0, false},             // 20
    {Behaviour::BossPatternTwo, {0.16f, 52.0f}, {9, 9, 65, 0}, 0, false},                // 21
    {Behaviour::BossPatternTwo, {0.16f, 52.0f}, {9, 9, 65, 0}, 0, false},                // 22
    {Behaviour::BossPatternTwo, {0.16f, -30.0f}, {5, 6, 61, 1}, 0, false},               // 23
    {Behaviour::BossPatternTwo, {0.16f, -30.0f}, {5, 6, 61, 1}, 0, false},               // 24
    {Behaviour::TwoPhaseDrift, {0.1f, 0.0f, 1.5f, 0.22f}, {7, 10}, kDrawnSide, false},   // 25
    {Behaviour::TwoPhaseDrift, {1.6f, 4.8f, 0.16f, 0.48f}, {15, 11}, kDrawnSide, false}, // 26
    {Behaviour::TwoPhaseDrift, {0.9f, 4.2f, 0.09f, 0.42f}, {15, 11}, kDrawnSide, false}, // 27
    {Behaviour::TwoPhaseDrift, {0.18f, 0.0f, 0.84f, 0.0f}, {9, 14}, 0, false},           // 28
    {Behaviour::Homing, {1.62f}, {}, 0, false},                                          // 29
    {Behaviour::CyclingDrift, {0.34f, 3.6f}, {30, 8, 33, kNone, 0}, 1, false},           // 30
    {Behaviour::CyclingDrift, {0.34f, 3.6f}, {30, 8, 33, kNone, 0}, 0, false},           // 31
    {Behaviour::CyclingDrift, {0.34f, 3.6f}, {30, 8, 33, kNone, 0}, kDrawnSide, false},  // 32
    {Behaviour::Segment, {}, {}, 0, true},                                               // 33
    {Behaviour::CyclingDrift, {0.3f, 3.4f}, {20, 7, kNone, 26, 1}, 1, false},            // 34
    {Behaviour::CyclingDrift, {0.3f, 3.4f}, {20, 7, kNone, 26, 1}, 0, false},            // 35
    {Behaviour::CyclingDrift, {0.3f, 3.4f}, {20, 7, kNone, 26, 1}, kDrawnSide, false},   // 36
    {Behaviour::Carrier, {0.38f}, {29, 4, 45}, 0, false},                                // 37
    {Behaviour::Starburst, {0.18f}, {29, 63}, 0, false},                                 // 38
    {Behaviour::Lockdown, {0.41f}, {40, 7, 25}, 0, false},                               // 39
    {Behaviour::Lockdown, {0.42f}, {40, 7, kNone}, 0, true},                             // 40
    {Behaviour::Converter, {7.0f}, {29}, 0, false},                                      // 41
    {Behaviour::Beacon, {}, {29, 37, 28, 25, 26, 15, 6}, 0, false},                      // 42
    {Behaviour::Pillar, {0.55f}, {43, 45, 27, 45, 23}, 0, false},                        // 43
    {Behaviour::BossPatternTwo, {0.17f, 61.0f}, {37, 37, 75, 0}, 0, false},              // 44
    {Behaviour::BossPatternTwo, {0.17f, 61.0f}, {37, 37, 75, 0}, 0, false},              // 45
    {Behaviour::BossPatternThree, {0.214f, 1.0f}, {38, 70}, 0, false},                   // 46
    {Behaviour::BossPatternThree, {0.214f, 1.0f}, {38, 70}, 0, false},                   // 47
    {Behaviour::BossPatternTwo, {0.1626f, 55.0f}, {31, 30, 77, 1}, 0, false},            // 48
    {Behaviour::BossPatternTwo, {0.1626f, 55.0f}, {31, 30, 77, 1}, 0, false},            // 49
    {Behaviour::BossPatternOne, {0.224f, 0.0f}, {25, 5, 2, 24, 0}, 0, false},            // 50
    {Behaviour::BossPatternOne, {0.224f, 0.0f}, {25, 5, 2, 24, 0}, 0, false},            // 51
    {Behaviour::Hive, {0.0f}, {0, 20, 12, 3}, 0, false},                                 // 52
    {Behaviour::Drift, {0.061f, 0.0f}, {}, 0, false},                                    // 53
    {Behaviour::Drift, {0.072f, 0.0f}, {}, 0, false},                                    // 54
};

// A kind outside the table stands still.
const KindMovement kStill = {Behaviour::Drift, {}, {}, 0, false};

// The one draw of a kind whose side is drawn; the ranges and thresholds are
// the kinds' own, and the order of draws is part of every replay.
uint8_t DrawSide(int kind, Vexel::Random& random)
{
    switch (kind)
    {
    case 1:
        return random.Next(0, 100) > 49 ? 1 : 0;
    case 25:
        return random.Next(0, 127) > 63 ? 1 : 0;
    case 26:
    case 27:
        return random.Next(0, 100) < 50 ? 0 : 1;
    default: // 7, 32, 36
        return random.Next(0, 255) < 128 ? 1 : 0;
    }
}

// The state of a kind's row with its side settled; the brace lists name
// every byte of the state in order.
void FillState(Enemy& e, KindMovement const& k, uint8_t side, uint32_t p0, uint32_t p1)
{
    const uint8_t beh = uint8_t(k.behaviour);
    const uint8_t hit = 255; // no hit yet
    float const* f = k.speeds;
    uint8_t const* b = k.bytes;
    const uint8_t low0 = k.fromRequest ? uint8_t(p0 & 0xFF) : 0;
    const uint8_t low1 = k.fromRequest ? uint8_t(p1 & 0xFF) : 0;
    const bool mirrored = side == 1;
    // Packed radial and (mirrored) tangential speeds of speeds[i].
    auto vr = [f](int i) { return PackFraction(f[i], kSpeedRange); };
    auto vt = [f, mirrored](int i) { return PackRange(mirrored ? -f[i] : f[i], -kSpeedRange, kSpeedRange); };
    auto offset = [](float v) { return PackRange(v, -kOffsetRange, kOffsetRange); };
    switch (k.behaviour)
    {
    case Behaviour::Drift:
        return WriteState(e, DriftState{beh, hit, 0, 0, f[0], mirrored ? -f[1] : f[1], {}});
    case Behaviour::TwoPhaseDrift:
        return WriteState(e, TwoPhaseState{beh, hit, b[0], b[1], vr(0), vr(2), vt(1), vt(3), {}});
    case Behaviour::Homing:
        return WriteState(e, HomingState{beh, hit, 0, 0, f[0], {}});
    case Behaviour::SnakeHead:
        return WriteState(e, SnakeHeadState{beh, hit, 1, side, 0, b[0], 0, 0, mirrored ? 1.35f : -1.35f, {}});
    case Behaviour::CyclingDrift:
    {
        const uint8_t flipped = b[4] == 1 && !mirrored ? 1 : 0;
        return WriteState(e, CyclingState{beh, hit, b[0], b[1], b[2], b[3], 1, flipped, vr(0), vt(1), {}});
    }
    case Behaviour::Segment:
        return WriteState(e, SegmentState{beh, hit, low0, 1, {}});
    case Behaviour::Carrier:
        return WriteState(e, CarrierState{beh, hit, b[0], b[1], b[2], 0, 0, 0, f[0], {}});
    case Behaviour::Builder:
        return WriteState(e, BuilderState{beh, hit, 0, 0, f[0], f[1], b[0], {}});
    case Behaviour::Splicer:
        return WriteState(e, SplicerState{beh, hit, b[0], b[1], low1, low0, low0, b[2], b[3], 0, 0, 0, f[0]});
    case Behaviour::Lockdown:
        return WriteState(e, LockdownState{beh, hit, b[0], low1, low0, low0, b[1], b[2], f[0], {}});
    case Behaviour::Driller:
        return WriteState(e, DrillerState{beh, hit, b[0], 0, b[1], 0, 0, 0, f[0], {}});
    case Behaviour::Converter:
        return WriteState(e, ConverterState{beh, hit, b[0], 0, f[0], 0.0f, {}});
    case Behaviour::Hive: // the countdown starts at the interval
        return WriteState(e, HiveState{beh, hit, b[0], b[1], b[2], b[2], b[3], 0, f[0], {}});
    case Behaviour::Starburst:
        return WriteState(e, StarburstState{beh, hit, b[0], b[1], 0, 0, 0, 0, f[0], {}});
    case Behaviour::Beacon:
        return WriteState(e, BeaconState{beh, hit, {b[0], b[1], b[2], b[3], b[4]}, b[5], b[6], {}});
    case Behaviour::Pillar:
        return WriteState(e, PillarState{beh, hit, b[0], b[1], b[2], b[3], b[4], 0, f[0], {}});
    case Behaviour::BossPatternOne:
        return WriteState(e,
                          BossOneState{beh, hit, b[0], b[1], b[2], b[3], PackRadians(f[1]), b[4], vr(0), {}});
    case Behaviour::BossPatternTwo:
        return WriteState(e, BossTwoState{beh, hit, b[0], b[1], b[2], b[3], vr(0), offset(f[1]), {}});
    case Behaviour::BossPatternThree:
        return WriteState(e, BossThreeState{beh, hit, b[0], b[1], f[0], f[1], {}});
    }
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
    return kind >= 0 && kind < EnemyType::kCount ? kKinds[kind].behaviour : 0;
}

void InitMovement(Enemy& e, SpawnRequest const& request, Vexel::Random& random)
{
    std::memset(e.movement, 0, sizeof(e.movement));
    KindMovement const& k = request.kind < EnemyType::kCount ? kKinds[request.kind] : kStill;
    const uint8_t side = k.side == kDrawnSide ? DrawSide(request.kind, random) : k.side;
    FillState(e, k, side, request.param[0], request.param[1]);
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
