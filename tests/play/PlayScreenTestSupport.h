// Plumbing for the play screen tests: a GameScreen attached to the real UI
// manager, touches injected as the shell delivers them, frames run as the
// shell runs them (update, then the layout pass), and the preferences put
// back to their defaults around every test.
#pragma once

#include "engine/core/Platform.h"
#include "engine/ui/InternalUIManagerEventCore.h"
#include "engine/ui/UIManager.h"
#include "game/play/GameScreen.h"
#include "game/play/PlanetCannonInputElement.h"
#include "game/play/TargetInputElement.h"
#include "game/scores/GamePrefs.h"
#include "game/simulation/Flash.h"
#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace PlayTest
{

const float kFrame = 1.0f / 30.0f;

inline void DefaultPrefs()
{
    GamePrefs::SetTiltControls(true);
    GamePrefs::SetTargetLocks(true);
    GamePrefs::SetTargetSweep(true);
    GamePrefs::SetTiltReference(Vector3(0.0f, -1.0f, 0.0f));
}

// A GameScreen on layer 0 of the UI manager, never drawn: its Simulation
// keeps the view it was made with (planet centre at the screen centre, two
// screen pixels per world unit at 320 x 480), so screen and world points map
// onto each other exactly.
class PlayScreenFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UITest::ResetUIState();
        DefaultPrefs();
        // Most tests aim by touch only; the tilt tests turn it back on.
        GamePrefs::SetTiltControls(false);
        ResetFlashes();
        screen.reset(new GameScreen(7));
        Vexel::UI::UIManager::AttachElement(screen.get(), 0);
    }

    // A fresh screen in place of the current one.
    void NewScreen(unsigned seed = 7)
    {
        Vexel::UI::UIManager::DetachElement(screen.get());
        screen.reset(new GameScreen(seed));
        Vexel::UI::UIManager::AttachElement(screen.get(), 0);
    }

    void TearDown() override
    {
        Vexel::UI::UIManager::DetachElement(screen.get());
        screen.reset();
        UITest::ResetUIState();
        DefaultPrefs();
        ResetFlashes();
    }

    Simulation& Sim() { return screen->GetSimulation(); }
    TargetLockMap const& Locks() const { return screen->GetLocks(); }
    SimulationInput const& Input() const { return screen->GetLastInput(); }

    Vector2 ToScreen(Vector2 world) { return Sim().WorldToScreen(world); }

    // One frame as the shell runs it, without the drawing.
    void Frame(int count = 1)
    {
        InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
        for (int i = 0; i < count; i++)
        {
            core.Update(kFrame);
            core.Animate(kFrame);
        }
    }

    static void Down(int finger, Vector2 point, int taps = 1)
    {
        Vexel::UI::UIManager::InjectTouchDown(finger, point, taps);
    }
    static void Move(int finger, Vector2 point) { Vexel::UI::UIManager::InjectTouchMove(finger, point); }
    static void Up(int finger, Vector2 point) { Vexel::UI::UIManager::InjectTouchUp(finger, point, 1); }

    // The second touch of a double tap (as the shell counts taps), which
    // leaves a free lock at the screen point when none is near it.
    void PlaceLock(Vector2 point, int finger = 0)
    {
        Down(finger, point, 2);
        Frame();
        Up(finger, point);
        Frame();
    }

    // The element that holds a finger, or null.
    static Vexel::UI::Element* Holder(int finger)
    {
        return InternalUIManagerEventCore::Instance().GetCapture(finger);
    }

    std::unique_ptr<GameScreen> screen;
};

} // namespace PlayTest
