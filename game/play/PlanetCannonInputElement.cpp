#include "game/play/PlanetCannonInputElement.h"

#include "game/simulation/Simulation.h"

PlanetCannonInputElement::PlanetCannonInputElement(Vexel::UI::ElementLayout const& layout,
                                                   Simulation* simulation)
    : Element(layout, Vexel::UI::TouchMode::Take), simulation(simulation), pauseRequest(false)
{
}

PlanetCannonInputElement::~PlanetCannonInputElement() {}

bool PlanetCannonInputElement::HitTest(Vector2 const& point)
{
    return simulation->ScreenToWorld(point).LengthSquared() <= kReach * kReach;
}

void PlanetCannonInputElement::OnTouchDown(Vector2 const& position, int tapCount)
{
    pauseRequest = tapCount >= 2;
    cannon.worldPos = simulation->ScreenToWorld(position);
}

void PlanetCannonInputElement::OnTouchMove(Vector2 const& position)
{
    cannon.worldPos = simulation->ScreenToWorld(position);
}

void PlanetCannonInputElement::OnTouchUp(Vector2 const& position, int)
{
    cannon.worldPos = simulation->ScreenToWorld(position);
}

void PlanetCannonInputElement::Update(float)
{
    cannon.active = IsPressed() && !simulation->IsCannonLockedByTutorial();
}

void PlanetCannonInputElement::OnLayout()
{
    if (IsPressed())
        cannon.worldPos = simulation->ScreenToWorld(GetTouchPosition());
    // Also when the double tap's touch is already gone: the request lasts
    // one frame whatever the finger does.
    pauseRequest = false;
}
