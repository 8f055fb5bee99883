// Tilt aiming relative to the way the player holds the device, and the
// lying-flat test that pauses the game. The tilt is the UI manager's
// filtered reading, already in screen orientation; the caller passes it in
// (this library sits below the UI).
#pragma once

#include "engine/core/Vector2.h"
#include "engine/core/Vector3.h"

// The tilt in the calibrated frame: the normalised tilt, mirrored in x and
// rotated by the angle of the calibration reference (the preferences'
// tilt reference) + pi. The reference angle is recomputed only when the
// reference changes.
Vector2 GetCalibratedTilt(Vector3 const& tilt);
// |z| of the normalised tilt above 0.972 (about 13.6 degrees from level).
bool IsDeviceFlat(Vector3 const& tilt);
