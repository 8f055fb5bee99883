// The game's nine sound effects, the only way game code plays them. Ids:
// 0 small explosion, 1 heavy explosion, 2 boss explosion, 3 medium
// explosion, 4 bullet hit, 5 cannon charge (loops), 6 cannon shot, 7
// auto-fire (loops), 8 menu beep. Each id's effect is created at its first
// play and kept until exit; every play varies volume and pitch a little by
// the sound's own jitter (its own generator, so game randomness is not
// disturbed). Handles are the effects layer's (-1: nothing plays).
//
// Main thread only.
#pragma once

namespace GameSounds
{

// -1 for an id outside 0..8, or when the sound could not play.
int Play(int id, float volume, float pitch);
// Stops the instance of that handle, whichever sound it belongs to.
void Stop(int handle);
void SetVolumeAndPitch(int handle, float volume, float pitch);
// Sound 8 at volume 1.2 and pitch 1.2 (variant 0), 0.8 (variant 1) or 1.0.
void PlayMenuBeep(int variant);

// Sees every call with the caller's arguments, before any jitter. A test
// seam: it does not replace the sound.
class IObserver
{
public:
    virtual ~IObserver() {}
    virtual void OnPlay(int id, float volume, float pitch) = 0;
    virtual void OnStop(int handle) = 0;
    virtual void OnSetVolumeAndPitch(int handle, float volume, float pitch) = 0;
};
// Installs an observer (null for none) and returns the previous one.
IObserver* SetObserver(IObserver* observer);

} // namespace GameSounds
