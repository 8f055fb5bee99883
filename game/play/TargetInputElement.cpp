#include "game/play/TargetInputElement.h"

#include "engine/core/Log.h"
#include "game/scores/GamePrefs.h"
#include "game/simulation/Simulation.h"
#include "game/simulation/SimulationInput.h"

#include <climits>

TargetInputElement::TargetInputElement(Vexel::UI::ElementLayout const& layout, Simulation* simulation,
                                       TargetLockMap* locks, int index)
    : Element(layout, Vexel::UI::TouchMode::Take), simulation(simulation), locks(locks), index(index),
      lockId(-1), heldTicks(0)
{
}

TargetInputElement::~TargetInputElement() {}

int TargetInputElement::FindNearestLock(Vector2 const& screenPoint) const
{
    if (!GamePrefs::GetTargetLocks())
        return -1;
    int nearest = -1;
    float nearestSquared = kPickUpRadius * kPickUpRadius;
    for (auto const& entry : *locks)
    {
        if (entry.second.held)
            continue;
        const float squared =
            (simulation->WorldToScreen(entry.second.worldPos) - screenPoint).LengthSquared();
        if (squared < nearestSquared)
        {
            nearest = entry.first;
            nearestSquared = squared;
        }
    }
    return nearest;
}

int TargetInputElement::NextLockId(TargetLockMap const& locks)
{
    if (locks.empty())
        return kFirstLockId;
    const int largest = locks.rbegin()->first;
    if (largest >= INT_MAX - 1)
        return -1;
    int id = largest + 1;
    // The tilt aim has its own id; a lock under it would be overwritten.
    if (id == SimulationInput::kTiltAimId)
        id++;
    return id;
}

void TargetInputElement::OnTouchDown(Vector2 const& position, int tapCount)
{
    heldTicks = 0;
    lockId = FindNearestLock(position);
    if (lockId == -1 && tapCount > 1 && int(locks->size()) < kMaxLocks && GamePrefs::GetTargetLocks())
    {
        lockId = NextLockId(*locks);
        if (lockId != -1)
        {
            Vexel::Log::Verbose("playscreen", "lock %d placed", lockId);
            (*locks)[lockId] = TargetLock();
            // A new lock always outlives the touch that made it.
            heldTicks = kKeepAfterFrames + 2;
        }
    }
    Track(position);
}

void TargetInputElement::OnTouchMove(Vector2 const& position)
{
    Track(position);
}

void TargetInputElement::OnLayout()
{
    if (!IsPressed())
        return;
    if (lockId != -1)
        heldTicks++;
    Track(GetTouchPosition());
}

void TargetInputElement::OnTouchUp(Vector2 const& position, int)
{
    Track(position);
    if (lockId != -1)
    {
        // The play screen may have emptied the map meanwhile (game over, locks
        // turned off): then there is nothing to keep or delete, and writing
        // the entry would bring back a lock at the planet's centre.
        auto found = locks->find(lockId);
        if (found != locks->end())
        {
            if (heldTicks > kKeepAfterFrames)
            {
                found->second.held = false;
            }
            else
            {
                Vexel::Log::Verbose("playscreen", "lock %d removed", lockId);
                locks->erase(found);
            }
        }
    }
    lockId = -1;
}

void TargetInputElement::Track(Vector2 const& screenPoint)
{
    if (lockId != -1)
    {
        auto found = locks->find(lockId);
        if (found != locks->end())
        {
            found->second.worldPos = simulation->ScreenToWorld(screenPoint);
            found->second.held = true;
        }
    }
    if (GamePrefs::GetTargetSweep())
    {
        const int swept = FindNearestLock(screenPoint);
        if (swept != -1)
        {
            // Only free locks are ever found.
            Vexel::Log::Verbose("playscreen", "lock %d swept", swept);
            locks->erase(swept);
        }
    }
}
