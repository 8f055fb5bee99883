// The planet cannon's drag as the play screen hands it to the Simulation.
#pragma once

#include "engine/core/Vector2.h"

struct CannonInput
{
    Vector2 worldPos;    // where the finger is, in world units
    bool active = false; // the cannon is being aimed (its release fires)
};
