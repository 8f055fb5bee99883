#include "game/play/GameScreen.h"

#include "engine/core/AppEvents.h"
#include "engine/core/Log.h"
#include "engine/core/Platform.h"
#include "engine/ui/UIManager.h"
#include "game/play/PlanetCannonInputElement.h"
#include "game/play/SimInfoBar.h"
#include "game/play/TargetInputElement.h"
#include "game/play/TiltHelpers.h"
#include "game/scores/GamePrefs.h"
#include "game/simulation/Flash.h"
#include "game/simulation/GameMode.h"
#include "game/simulation/SimulationView.h"

#include <memory>
#include <set>

using Vexel::UI::UIManager;

namespace
{
// By value: the header's constant has no out-of-line definition for the
// map's reference parameters to bind to.
const int kTiltAim = SimulationInput::kTiltAimId;

// The whole screen, in both orientations.
Vexel::UI::ElementLayout FullScreenLayout()
{
    return Vexel::UI::ElementLayout(Vexel::UI::ElementPosition(Vector2(0.0f, 0.0f)),
                                    Vexel::Platform::GetScreenSize(),
                                    Vexel::Platform::GetRotatedScreenSize());
}
} // namespace

GameScreen::GameScreen() : Screen(Vexel::UI::TouchMode::Ignore), simulation()
{
    Build();
}

GameScreen::GameScreen(unsigned seed) : Screen(Vexel::UI::TouchMode::Ignore), simulation(seed)
{
    Build();
}

void GameScreen::Build()
{
    pausedByTap = false;
    flat = false;
    flatFrames = 0;
    paused = false;
    simulation.SetHud(std::make_unique<SimInfoBar>());
    // The world's background is the flash colour.
    SetFlashOutput(&UIManager::SetClearColor);
    for (int i = 0; i < kTouchElements; i++)
    {
        targets[i] = new TargetInputElement(FullScreenLayout(), &simulation, &locks, i);
        AddChild(targets[i]);
    }
    // Last: children are offered a touch from the last added, so the planet
    // gets the touches near it first.
    cannon = new PlanetCannonInputElement(FullScreenLayout(), &simulation);
    AddChild(cannon);
    Vexel::AppEvents::Pause().Subscribe(Vexel::Action<>(this, &GameScreen::OnPause));
}

GameScreen::~GameScreen()
{
    Vexel::AppEvents::Pause().Unsubscribe(this);
    SetFlashOutput(nullptr);
}

void GameScreen::OnTouchDown(Vector2 const&, int) {}
void GameScreen::OnTouchMove(Vector2 const&) {}
void GameScreen::OnTouchUp(Vector2 const&, int) {}

bool GameScreen::IsPausable() const
{
    const int mode = simulation.GetMode();
    return !simulation.IsGameOver() && mode != GameMode::None && mode != GameMode::Tutorial;
}

void GameScreen::OnPause()
{
    if (IsPausable())
        paused = true;
}

void GameScreen::SetPaused(bool isPaused)
{
    paused = isPaused;
}

void GameScreen::Save(std::ostream& out) const
{
    simulation.Save(out);
}

bool GameScreen::Load(std::istream& in)
{
    const bool loaded = simulation.Load(in);
    paused = IsPausable();
    flat = false;
    flatFrames = 0;
    return loaded;
}

void GameScreen::Draw(Vexel::Rectangle rect, float alpha)
{
    simulation.Draw(rect, alpha);
}

void GameScreen::Update(float dt)
{
    const bool over = simulation.IsGameOver();
    if (over || !GamePrefs::GetTargetLocks())
        locks.clear();

    Vector2 tiltAim(0.0f, 0.0f);
    const bool playing = !over && simulation.GetMode() != GameMode::None;
    const bool tiltControls = GamePrefs::IsTiltInUse();
    Vector3 const& tilt = *UIManager::GetTilt();

    flat = IsDeviceFlat(tilt) && playing && tiltControls;
    if (flat)
    {
        if (flatFrames < kFlatFrames)
            flatFrames++;
        flat = flatFrames >= kFlatFrames;
    }
    else
    {
        if (tiltControls && !IsDeviceFlat(tilt))
            tiltAim = GetCalibratedTilt(tilt);
        flatFrames = 0;
    }

    if (flat && playing)
        SetPaused(true);
    if (cannon->IsPauseRequested() && playing)
    {
        pausedByTap = true;
        SetPaused(true);
    }
    if (!paused)
        pausedByTap = false;

    simulation.SetPaused(paused, pausedByTap);
    simulation.SetFlatWarning(!paused && flat);
    // The display may dim only when nothing is being played.
    Vexel::Platform::SetScreenTimeoutEnabled(paused || flat || over);

    if (!paused && !flat)
    {
        SimulationInput& input = lastInput;
        input.aims.clear();
        input.marks.clear();
        CannonInput const& drag = cannon->GetCannonInput();
        input.cannonAim = drag.worldPos;
        input.cannonHeld = drag.active ? 1 : 0;

        std::set<int> seen;
        const float deadZone = kDeadZone * kDeadZone;
        for (int i = 0; i < kTouchElements; i++)
        {
            TargetInputElement* target = targets[i];
            if (!target->IsPressed())
                continue;
            const int id = target->GetAimId();
            const Vector2 p = simulation.ScreenToWorld(target->GetTouchPosition());
            if (p.LengthSquared() > deadZone)
            {
                seen.insert(id);
                input.aims[id] = p.Angle();
                input.marks.push_back(AimMark{1, uint8_t(target->HasLock() ? 1 : 0), p});
            }
        }
        for (auto const& entry : locks)
        {
            if (seen.count(entry.first))
                continue;
            const Vector2 p = entry.second.worldPos;
            if (p.LengthSquared() > deadZone)
            {
                seen.insert(entry.first);
                input.aims[entry.first] = p.Angle();
                input.marks.push_back(AimMark{0, 1, p});
            }
        }
        if (tiltAim.x != 0.0f || tiltAim.y != 0.0f)
            input.aims[kTiltAim] = tiltAim.Angle();
        if (Vexel::Log::IsVerbose())
            UpdateTraced(dt, input);
        else
            simulation.Update(dt, input);
    }
    simulation.UpdateFiringSound(dt);
}

// What the end-to-end tests wait for instead of wall time: kills, cannon
// shots and the end of the game, as the world's update saw them.
void GameScreen::UpdateTraced(float dt, SimulationInput const& input)
{
    const SimulationView view(simulation);
    const int kills = view.Kills();
    const int charges = view.CannonCharges();
    const bool over = simulation.IsGameOver();
    simulation.Update(dt, input);
    if (view.Kills() != kills)
        Vexel::Log::Verbose("playscreen", "kills %d", view.Kills());
    if (view.CannonCharges() < charges)
        Vexel::Log::Verbose("playscreen", "cannon fired, %d left", view.CannonCharges());
    if (!over && simulation.IsGameOver())
        Vexel::Log::Verbose("playscreen", "game over");
}
