// The full-screen root under which a game is played. It owns the Simulation,
// twelve TargetInputElements (one per finger that aims) and the
// PlanetCannonInputElement over the planet, and the target locks they share.
// Once per frame it turns the touches, the locks and the device tilt into
// the Simulation's aim input, pauses the game when the device has lain flat
// for 12 frames (tilt controls on) or the planet was double-tapped, and runs
// the Simulation. The front end starts games and reads results through
// GetSimulation. Main thread only.
#pragma once

#include "engine/ui/Screen.h"
#include "game/play/TargetLock.h"
#include "game/simulation/Simulation.h"

#include <iosfwd>

class PlanetCannonInputElement;
class TargetInputElement;

class GameScreen : public Vexel::UI::Screen
{
public:
    static constexpr int kTouchElements = 12;
    // Consecutive flat frames that pause a game.
    static constexpr int kFlatFrames = 12;
    // Touches this close to the planet centre (world units) give no aim.
    static constexpr float kDeadZone = 25.0f;

    // The Simulation seeded from the clock; a fixed seed for replays and tests.
    GameScreen();
    explicit GameScreen(unsigned seed);
    ~GameScreen() override;

    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;
    // The screen itself takes no touch: its children do.
    void OnTouchDown(Vector2 const& position, int tapCount) override;
    void OnTouchMove(Vector2 const& position) override;
    void OnTouchUp(Vector2 const& position, int tapCount) override;

    // The application's Pause event: pauses a running game (not the world
    // behind the menus, not the tutorial).
    void OnPause();
    void SetPaused(bool paused);
    bool IsPaused() const { return paused; }
    bool IsPausedByTap() const { return pausedByTap; }
    bool IsFlat() const { return flat; }
    int GetFlatFrames() const { return flatFrames; }

    // The saved game is the Simulation's; a loaded game that is still running
    // comes back paused.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    Simulation& GetSimulation() { return simulation; }
    Simulation const& GetSimulation() const { return simulation; }
    TargetLockMap const& GetLocks() const { return locks; }
    TargetInputElement* GetTarget(int index) const { return targets[index]; }
    PlanetCannonInputElement* GetCannon() const { return cannon; }
    // What the last unpaused frame handed the Simulation.
    SimulationInput const& GetLastInput() const { return lastInput; }

private:
    void Build();
    void UpdateTraced(float dt, SimulationInput const& input);
    // Not over and neither the menu world (0) nor the tutorial (7).
    bool IsPausable() const;

    Simulation simulation;
    TargetInputElement* targets[kTouchElements];
    PlanetCannonInputElement* cannon;
    TargetLockMap locks;
    bool pausedByTap;
    bool flat;
    int flatFrames;
    bool paused;
    SimulationInput lastInput;
};
