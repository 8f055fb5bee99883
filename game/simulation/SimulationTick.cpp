// The frame loop and the tick: aim input and target locks, the planet
// cannon, lock gliding, the wave state machine and population growth. The
// collision passes live in SimulationCollisions.cpp, spawning, smoke and
// fireworks in SimulationSpawning.cpp, the tutorial in Tutorial.cpp.
#include "game/simulation/Simulation.h"

#include "engine/core/VectorMath.h"
#include "game/audio/GameSounds.h"
#include "game/simulation/Packing.h"
#include "game/simulation/SimBeamChargeLine.h"

#include <algorithm>
#include <cmath>

namespace
{
using Vexel::kPi;
using Vexel::kTwoPi;
// Seconds before the cannon can be aimed again after a shot.
const float kCannonCooldown = 0.9f;
// Squared length of the cannon's dead zone (a drag shorter than 50 units).
const float kCannonDeadZoneSquared = 2500.0f;
// A free lock moves this far per tick, and merges once this close.
const float kLockGlideStep = 0.18f;
const float kLockMergeDistance = 0.08f;
// Ticks an intermission lasts (outside the tutorial) before the wave runs.
const int kIntermissionTicks = 72;
const Color kCannonFlashColour(127, 212, 255, 112);

// Whole turns at a time into [-pi, pi]. Bounded: a value too far off to
// reach by turns (or not finite) is left as it is.
float WrapTurns(float value)
{
    for (int i = 0; i < 256 && value > kPi; i++)
        value -= kTwoPi;
    for (int i = 0; i < 256 && value < -kPi; i++)
        value += kTwoPi;
    return value;
}

// The angular distance between two angles, folded into [0, pi].
float AngularDistance(float a, float b)
{
    return fabsf(WrapTurns(a - b));
}

float Clamp(float value, float low, float high)
{
    return std::min(std::max(value, low), high);
}
} // namespace

void Simulation::Update(float dt, SimulationInput const& input)
{
    // A broken frame time runs nothing rather than a garbage tick count.
    if (!std::isfinite(dt) || dt < 0.0f)
        dt = 0.0f;
    const float total = dt + stepAccumulator;
    const int ticks = int(total / kTickSeconds);
    stepAccumulator = total - float(ticks) * kTickSeconds;
    if (hud)
        hud->Update(total);
    for (int i = 0; i < ticks; i++)
        Tick(input);
}

void Simulation::Tick(SimulationInput const& input)
{
    enemyBelowCentre = 0;
    // A fresh Simulation starts at 0, so "reaching" 0 means 0 or below.
    secondTicks -= 1;
    if (secondTicks <= 0)
    {
        secondTicks = 30;
        seconds += 1;
    }
    UpdateInput(input, kTickSeconds);
    GlideLocks();
    UpdateWaves();
    GrowPopulation();
    stars.Update();

    // Bullets move and auto-fire adds one; then the tree is built over them.
    bulletTree.Clear();
    MoveBullets();
    FireAtLocks();
    bulletTree.Build();

    requests.clear();
    usedBullets.clear();
    deadLeaders.clear();
    moves.clear();
    CollideEnemies(enemies, nullptr, enemyCount, &moves, &deadLeaders);
    moves.InvertInto(moved);
    RebindFollowers();
    // Requests from here on name leaders by their present index.
    const size_t presentFrom = requests.size();
    CollideEnemies(followers, enemies, followerCount, nullptr, nullptr);
    CollideEnemies(blockers, nullptr, blockerCount, nullptr, nullptr);

    if (!usedBullets.empty())
    {
        GameSounds::Play(4, 1.0f, 1.0f);
        RemoveUsedBullets();
    }
    CarryOutSpawnRequests(requests, presentFrom, deadLeaders, moved);

    UpdateSmoke();
    particles.Update();
    shake.Update(kTickSeconds);
    if (hud)
        hud->Tick();
    UpdateFireworks();
}

void Simulation::UpdateInput(SimulationInput const& input, float tickSeconds)
{
    cannonCooldown -= tickSeconds;
    aimMarks.clear();
    if (population == 0 || mode == GameMode::None)
    {
        locks.clear();
        firedLocks.clear();
        cannonFired = 0;
        cannonArmed = 0;
    }
    else
    {
        aimMarks = input.marks;
        // Locks without an aim this tick are released.
        for (auto& entry : locks)
            if (input.aims.find(entry.first) == input.aims.end())
            {
                entry.second.held = 0;
                entry.second.heldTicks = 0;
            }
        // An id that comes back finds its old lock released: that lock moves to
        // a new id and stays behind as a free lock.
        for (auto const& aim : input.aims)
        {
            auto found = locks.find(aim.first);
            if (found == locks.end() || found->second.heldTicks != 0)
                continue;
            const int newId = locks.rbegin()->first + 1;
            const AngularLock moving = found->second;
            locks.erase(found);
            locks[newId] = moving;
        }
        for (auto const& aim : input.aims)
        {
            const int id = aim.first;
            const float angle = aim.second;
            auto found = locks.find(id);
            if (found != locks.end() && found->second.held != 0)
            {
                found->second.target = angle;
                found->second.heldTicks += 1;
                continue;
            }
            int freeId = 0;
            if (FindNearestFreeLock(angle, freeId, false))
            {
                // The touch takes over the nearest free lock, which glides to it.
                const float current = locks[freeId].current;
                locks[id] = AngularLock(angle, current);
                if (freeId != id)
                    locks.erase(freeId);
            }
            else
            {
                locks[id] = AngularLock(angle, NearestHeldLockAngle(angle));
            }
        }
    }
    UpdateCannon(input, tickSeconds);
}

void Simulation::UpdateCannon(SimulationInput const& input, float tickSeconds)
{
    if (cannonCooldown <= 0.0f)
    {
        cannonCooldown = 0.0f;
        cannonAim = input.cannonAim;
        if (cannonAim.LengthSquared() < kCannonDeadZoneSquared)
            cannonAim = Vector2(0.0f, 0.0f);
    }
    const bool over = IsGameOver();
    const bool hasAim = cannonAim != Vector2(0.0f, 0.0f);
    const bool fire = cannonCooldown <= 0.0f && cannonArmed != 0 && hasAim && input.cannonHeld == 0 &&
                      !over && cannonCharges > 0;
    cannonFired = fire ? 1 : 0;
    if (fire)
    {
        if (activeChargeLine != nullptr)
        {
            activeChargeLine->Discharge(true);
            activeChargeLine = nullptr;
        }
        cannonCharges -= 1;
        cannonUsed = 1;
        Flash(kCannonFlashColour, 1.25f);
        shake.KickCannon();
        cannonCooldown = kCannonCooldown;
    }
    cannonArmed = (input.cannonHeld != 0 && cannonCooldown <= 0.0f && !over && cannonCharges >= 1) ? 1 : 0;
    // While the beam fires the aim stays, for the beam's drawing.
    if ((cannonCooldown <= 0.0f && input.cannonHeld == 0) || (cannonCharges == 0 && cannonCooldown <= 0.0f) ||
        over)
        cannonAim = Vector2(0.0f, 0.0f);

    if (cannonCooldown <= 0.0f)
    {
        if (cannonArmed != 0)
        {
            particles.AddChargeSpark();
            particles.AddChargeSpark();
        }
    }
    else
    {
        particles.AddMuzzleStreak(cannonAim, cannonCooldown / kCannonCooldown);
    }

    if (cannonArmed == 0)
    {
        if (activeChargeLine != nullptr)
        {
            activeChargeLine->Discharge(false);
            activeChargeLine = nullptr;
        }
        cannonGlow.factor = Clamp(cannonGlow.factor - 0.041f, 0.0f, 0.5f);
    }
    else
    {
        cannonGlow.factor = Clamp(cannonGlow.factor + 0.016f, 0.0f, 0.4f);
        if (activeChargeLine == nullptr)
        {
            activeChargeLine = new SimBeamChargeLine();
            chargeLines.push_back(activeChargeLine);
        }
    }
    shake.SetDrive(cannonGlow.factor);

    for (SimBeamChargeLine* line : chargeLines)
        line->Update(tickSeconds);
    size_t kept = 0;
    for (size_t i = 0; i < chargeLines.size(); i++)
    {
        if (chargeLines[i]->IsFinished())
            delete chargeLines[i];
        else
            chargeLines[kept++] = chargeLines[i];
    }
    chargeLines.resize(kept);
}

float Simulation::NearestHeldLockAngle(float angle) const
{
    float best = angle;
    float bestDistance = 0.0f;
    bool found = false;
    for (auto const& entry : locks)
    {
        if (entry.second.held == 0)
            continue;
        const float d = AngularDistance(entry.second.current, angle);
        if (!found || d < bestDistance)
        {
            found = true;
            bestDistance = d;
            best = entry.second.current;
        }
    }
    return best;
}

bool Simulation::FindNearestFreeLock(float angle, int& id, bool /*onlyFree*/) const
{
    bool found = false;
    float bestDistance = kPi;
    for (auto const& entry : locks)
    {
        if (entry.second.held != 0)
            continue;
        const float d = AngularDistance(entry.second.current, angle);
        if (d < bestDistance)
        {
            found = true;
            bestDistance = d;
            id = entry.first;
        }
    }
    return found;
}

void Simulation::GlideLocks()
{
    int candidates = 0;
    int rememberedId = 0;
    int rememberedTicks = 0;
    bool remembered = false;
    for (auto& entry : locks)
    {
        AngularLock& lock = entry.second;
        // A free lock is drawn towards the nearest held lock.
        if (lock.held == 0 && locks.size() >= 2)
            lock.target = NearestHeldLockAngle(lock.current);
        lock.target = WrapTurns(lock.target);
        float d = lock.target - lock.current;
        for (int i = 0; i < 256 && d > kPi; i++)
        {
            d -= kTwoPi;
            lock.current += kTwoPi;
        }
        for (int i = 0; i < 256 && d < -kPi; i++)
        {
            d += kTwoPi;
            lock.current -= kTwoPi;
        }
        if (fabsf(d) >= kLockGlideStep)
            lock.current += kLockGlideStep * d / fabsf(d);
        else
            lock.current = lock.target;
        if (lock.held == 0 && fabsf(lock.current - lock.target) < kLockMergeDistance)
        {
            candidates += 1;
            if (!remembered || lock.heldTicks > rememberedTicks)
            {
                remembered = true;
                rememberedId = entry.first;
                rememberedTicks = lock.heldTicks;
            }
        }
    }
    if (candidates == 0)
        return;
    // Free locks that reached a held lock merge into it; when every lock is
    // free and settled, one of them survives.
    const bool keepOne = candidates == int(locks.size());
    for (auto it = locks.begin(); it != locks.end();)
    {
        AngularLock const& lock = it->second;
        const bool candidate = lock.held == 0 && fabsf(lock.current - lock.target) < kLockMergeDistance;
        if (candidate && !(keepOne && it->first == rememberedId))
            it = locks.erase(it);
        else
            ++it;
    }
}

void Simulation::UpdateWaves()
{
    stateTicks += 1;
    if (waveState == 0)
    {
        if (mode == GameMode::Tutorial || stateTicks > kIntermissionTicks)
        {
            waveState = 1;
            stateTicks = 0;
        }
        // The wave's first spawn comes on the next tick.
        return;
    }
    if (waveState != 1)
        return;

    bool pending = false;
    waveRequests.clear();
    for (SpawnRecord& record : spawnList)
    {
        if (record.delay != 0)
        {
            record.delay -= 1;
            pending = true;
            break;
        }
        if (record.count == 0)
            continue;
        pending = true;
        if (record.countdown != 0)
            record.countdown -= 1;
        if (record.countdown != 0)
            continue;
        const float distance =
            random.NextFloat(UnpackRadius(record.radiusMin), UnpackRadius(record.radiusMax));
        const float spread = random.NextFloat(0.0f, UnpackRadians(record.angleWidth));
        const float angle = UnpackRadians(record.angleStart) + spread;
        const Vector2 position = Vector2(0.0f, -distance).Rotate(angle);
        waveRequests.push_back(SpawnRequest(position, position.Angle() + kPi, record.kind, record.speed,
                                            SpawnRequest::kNoLeader));
        record.count -= 1;
        record.countdown = record.interval;
    }
    CarryOutSpawnRequests(waveRequests, waveRequests.size(), noDeadLeaders, noMoves);

    bool done = !pending && enemyCount == 0 && followerCount == 0 && population != 0;
    if (mode == GameMode::Level)
        done = done && blockerCount == 0;

    if (mode == GameMode::Tutorial)
    {
        done = UpdateTutorialStep(done);
        const bool byTap = !done && tutorialAwaitingTap != 0 && tutorialTapped != 0;
        if (done || byTap)
        {
            if (byTap)
            {
                // The continue tap clears the field.
                KillAllEnemies();
                bulletCount = 0;
                ClearSpawnList(spawnList);
            }
            done = true;
            tutorialStep += 1;
            UpdateTutorialStep(false);
            Flash(Color(127, 212, 255, 144), 1.25f);
        }
    }
    else
    {
        tutorialAwaitingTap = 0;
    }
    tutorialTapped = 0;

    if (!done)
        return;
    if (mode == GameMode::Practice)
        cannonCharges = 3;
    waveNumber += 1;
    if (!IsWaveListComplete(mode, waveNumber, waveList))
    {
        BuildWaveList(spawnList, mode, waveNumber, tutorialWave, &random, waveList, kNoDesignedLevel);
        waveState = 0;
        if (hud)
            hud->waveStarted();
        stateTicks = 0;
        if ((mode == GameMode::Classic || mode == GameMode::Quickstart || mode == GameMode::FullGauntlet) &&
            waveNumber % 10 == 0)
            cannonCharges += 1;
    }
    else
    {
        // Every wave of the mode is done: the game is won.
        waveList.push_back(64);
        waveState = 2;
        stateTicks = 0;
    }
}

void Simulation::GrowPopulation()
{
    if (waveState != 0 || population == 0)
        return;
    const uint64_t growth = uint64_t(random.Next(175000, 250000));
    population += growth;
    lossFreePopulation += growth;
}
