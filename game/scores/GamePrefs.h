// Stand-in until the preferences land: the values the game reads, at their
// defaults (every switch on, the tilt reference pointing down the screen),
// kept in memory only; nothing is loaded or saved.
#pragma once

#include "engine/core/Vector3.h"

namespace GamePrefs
{

bool GetVibration();
void SetVibration(bool on);
bool GetTiltControls();
void SetTiltControls(bool on);
bool GetTargetLocks();
void SetTargetLocks(bool on);
bool GetTargetSweep();
void SetTargetSweep(bool on);
bool GetSubmitOnline();
void SetSubmitOnline(bool on);
Vector3 GetTiltReference();
void SetTiltReference(Vector3 const& reference);

} // namespace GamePrefs
