// The mixer back end's effect side, as the effects layer sees it: one sound
// manager (SoundEffectObject) that owns the loaded effects by instance id,
// and the three global volume factors. Every function here runs on the main
// thread; the instances' mixing runs on SDL_mixer's audio thread.
//
// Instance ids come from a process-wide counter (the first id is 1); a
// failed load gives ids of -1. Calls with an unknown id do nothing.
#pragma once

#include <string>

namespace Vexel
{
namespace Audio
{
namespace Mixer
{

// Deletes an existing manager and creates a new one; false (and no
// manager) when the audio device cannot be opened.
bool CreateManager();
void DestroyManager();
bool HasManager();

// The effects group volume (set by the effects layer), the master volume
// (also used by the music) and a second effects factor; all start at 1.0.
// Each setter recomputes every instance's gain; the master volume also
// queues a volume refresh for the music.
void SetEffectsGroupVolume(float volume);
float GetEffectsGroupVolume();
void SetMasterVolume(float volume);
float GetMasterVolume();
void SetSecondEffectsVolume(float volume);
float GetSecondEffectsVolume();

// Reads "<name>.wav" and makes an effect of count instances (looping or
// not) that share the file; their ids go to ids[0..count). Creates the
// manager when missing. 0, or -1 with every id -1 when the file is
// missing or rejected (or no manager can be made).
int LoadEffect(std::string const& name, int* ids, int count, bool loop);
int LoadEffect(std::string const& name, int* id);

// Stops and deletes the instance; the effect goes when its last instance
// does.
void Unload(int id);
// Starts the instance from the beginning (stopping it first when it
// plays); false when it could not get a mixer channel or is unknown.
bool Play(int id);
void Stop(int id);
bool IsStopped(int id); // an unknown id is stopped
bool IsPlaying(int id); // an unknown id is not playing
void SetPitch(int id, float pitch);
void SetVolume(int id, float volume);
// The instance's Q14 step and gain; -1 for an unknown id.
int GetStep(int id);
int GetGain(int id);

// Positional audio is not supported: these accept their arguments and do
// nothing.
int SetListenerPosition(float x, float y, float z);
int SetEffectPosition(int id, float x, float y, float z);
int SetDistanceFactor(float factor);

// Stops every instance the mixer thread has finished with. The effects
// layer runs it in every update phase.
void CleanUpFinished();

} // namespace Mixer
} // namespace Audio
} // namespace Vexel
