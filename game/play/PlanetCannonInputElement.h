// The play screen's invisible touch element over the planet. It takes only
// touches that start within 47 world units of the planet centre: dragging
// from there aims the planet cannon (its release fires), and a double tap
// asks the play screen to pause for the frame in which it arrives. Main
// thread only.
#pragma once

#include "engine/ui/Element.h"
#include "game/play/CannonInput.h"

class Simulation;

class PlanetCannonInputElement : public Vexel::UI::Element
{
public:
    // World units from the planet centre within which a touch is the cannon's.
    static constexpr float kReach = 47.0f;

    // Touch mode Take.
    PlanetCannonInputElement(Vexel::UI::ElementLayout const& layout, Simulation* simulation);
    ~PlanetCannonInputElement() override;

    CannonInput const& GetCannonInput() const { return cannon; }
    bool IsPauseRequested() const { return pauseRequest; }

    void Update(float dt) override;
    void OnLayout() override;
    void OnTouchDown(Vector2 const& position, int tapCount) override;
    void OnTouchMove(Vector2 const& position) override;
    void OnTouchUp(Vector2 const& position, int tapCount) override;
    bool HitTest(Vector2 const& point) override;

private:
    Simulation* simulation;
    CannonInput cannon;
    bool pauseRequest;
};
