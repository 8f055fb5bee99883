// One of the play screen's twelve invisible full-screen touch elements. A
// touch it takes aims the guns; it also manages the target locks: a touch
// that starts within 42 px of a free lock picks it up and carries it, a
// double tap away from every lock creates one (at most ten), a short touch
// on a lock deletes it, and with target sweep on a finger passing over free
// locks clears them. Main thread only.
#pragma once

#include "engine/ui/Element.h"
#include "game/play/TargetLock.h"

class Simulation;

class TargetInputElement : public Vexel::UI::Element
{
public:
    // A lock is picked up by a touch closer than this, in screen pixels.
    static constexpr float kPickUpRadius = 42.0f;
    static constexpr int kMaxLocks = 10;
    static constexpr int kFirstLockId = 13;
    // Frames a touch must hold its lock for the lock to outlive the touch.
    static constexpr int kKeepAfterFrames = 8;

    // Touch mode Take; simulation and locks belong to the play screen.
    TargetInputElement(Vexel::UI::ElementLayout const& layout, Simulation* simulation, TargetLockMap* locks,
                       int index);
    ~TargetInputElement() override;

    // The lock this touch holds, or the element's index when it holds none.
    int GetAimId() const { return lockId != -1 ? lockId : index; }
    bool HasLock() const { return lockId != -1; }
    int GetLockId() const { return lockId; }
    int GetHeldTicks() const { return heldTicks; }
    int GetIndex() const { return index; }

    // The free (unheld) lock whose screen position is nearest the point and
    // closer than 42 px; the first in id order on a tie. -1 when there is
    // none or target locks are off.
    int FindNearestLock(Vector2 const& screenPoint) const;

    // The id a new lock gets: one above the largest present (13 for an
    // empty map), stepping over the tilt aim's id. -1 when none is left.
    static int NextLockId(TargetLockMap const& locks);

    void OnLayout() override;
    void OnTouchDown(Vector2 const& position, int tapCount) override;
    void OnTouchMove(Vector2 const& position) override;
    void OnTouchUp(Vector2 const& position, int tapCount) override;

private:
    // Moves the held lock to the point and sweeps free locks under it.
    void Track(Vector2 const& screenPoint);

    Simulation* simulation;
    TargetLockMap* locks;
    int index;
    int lockId;
    int heldTicks;
};
