// The splash frame shown while the game starts: "default_pot.png" stretched
// upright over the whole screen.
#pragma once

namespace Vexel
{
namespace App
{

// Draws the splash into the back buffer (the caller swaps). Expects the
// fixed GL state of start-up and an identity matrix.
void DrawSplash();

} // namespace App
} // namespace Vexel
