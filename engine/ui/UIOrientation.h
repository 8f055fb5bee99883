// Inside the UI manager: the per-frame step of the orientation animation and
// the angle table. The public operations are static functions of UIManager.
#pragma once

namespace Vexel
{
namespace UI
{
namespace Internal
{

// Angle in radians of an orientation: 0 -> -pi/2, 1 -> 0, 2 -> pi/2,
// 3 -> pi, anything else 0.
float GetOrientationAngle(int orientation);
// 0 and 2 are landscape, and so is any number outside 0..3.
bool IsLandscapeOrientation(int orientation);
// Moves the rotation and the blend toward their targets by speed x dt.
void StepOrientation(float dt);

} // namespace Internal
} // namespace UI
} // namespace Vexel
