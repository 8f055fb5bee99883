#include "game/scores/GamePrefs.h"

namespace GamePrefs
{

namespace
{
bool vibration = true;
bool tiltControls = true;
bool targetLocks = true;
bool targetSweep = true;
bool submitOnline = true;
Vector3 tiltReference(0.0f, -1.0f, 0.0f);
} // namespace

bool GetVibration()
{
    return vibration;
}
void SetVibration(bool on)
{
    vibration = on;
}
bool GetTiltControls()
{
    return tiltControls;
}
void SetTiltControls(bool on)
{
    tiltControls = on;
}
bool GetTargetLocks()
{
    return targetLocks;
}
void SetTargetLocks(bool on)
{
    targetLocks = on;
}
bool GetTargetSweep()
{
    return targetSweep;
}
void SetTargetSweep(bool on)
{
    targetSweep = on;
}
bool GetSubmitOnline()
{
    return submitOnline;
}
void SetSubmitOnline(bool on)
{
    submitOnline = on;
}
Vector3 GetTiltReference()
{
    return tiltReference;
}
void SetTiltReference(Vector3 const& reference)
{
    tiltReference = reference;
}

} // namespace GamePrefs
