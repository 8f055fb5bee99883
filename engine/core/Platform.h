// Questions about the device: identity, screen metrics, screen timeout, and
// the file-name join used for sound and music files.
#pragma once

#include "engine/core/Vector2.h"
#include "engine/core/WideValues.h"

#include <string>

namespace Vexel
{
namespace Platform
{

// The platform code sent with every leaderboard record.
int GetPlatformId();
// The device identity; all zero until the platform answers (asked again on
// every call until then).
uint256 GetDeviceId();

// Handed over by main from the platform's screen metrics; 320 x 480 and a
// zero DPI until then.
void SetScreenMetrics(int width, int height, Vector2 dpi);
int GetScreenWidth();
int GetScreenHeight();
Vector2 GetScreenSize();
Vector2 GetRotatedScreenSize(); // (height, width)
Vector2 GetScreenDpi();

// Reaches the platform only when the value changes (it starts false).
void SetScreenTimeoutEnabled(bool enabled);
bool IsScreenTimeoutEnabled();

void Vibrate();              // no vibration motor here
// Test seam: a function Vibrate calls (null for none); returns the previous.
typedef void (*VibrateHook)();
VibrateHook SetVibrateHook(VibrateHook hook);
bool IsOtherMusicPlaying();  // never on this platform

// Whether the device has a tilt sensor: told by the shell from the joystick
// it could open; true until then (a device as designed).
void SetTiltSensorPresent(bool present);
bool HasTiltSensor();

// name + "." + extension
std::string AppendExtension(std::string const& name, std::string const& extension);

} // namespace Platform

// Tells the platform whether the program plays its own music.
void NotifyMusicPlaying(bool playing);

} // namespace Vexel
