// The sound-effect layer's switches: started once by the UI manager with its
// voice count; its refresh runs in every update phase (FrameEvents::
// Updating). While effects are enabled the layer is active: the mixer's
// sound manager exists (it holds an audio device reference). Switching
// effects off stops and unloads every effect and destroys the manager; the
// next play after switching on loads its file again. When the audio device
// cannot be opened the layer stays inactive and every play returns -1.
// Main thread only.
#pragma once

namespace Vexel
{
namespace Audio
{

class SoundEffects
{
public:
    // Stores the flag, refreshes once, stores the voice count (the free
    // voices of the shared pool) and hooks the refresh onto
    // FrameEvents::Updating. A second call does nothing.
    static void Initialize(int voiceCount, bool enabled);
    static bool IsInitialized();
    static bool IsEnabled();
    // The voice count given to Initialize (8 before it).
    static int GetVoiceCount();
    // Voices of the pool not held by a playing instance.
    static int GetFreeVoiceCount();
    // True while the mixer's sound manager exists for this layer.
    static bool IsActive();

    // override: play even while another application plays music.
    static void SetEnabled(bool enabled, bool override = false);
    // The effects volume level, applied to the mixer at the next refresh.
    static void SetVolume(float volume);
    static float GetVolume();

    // The per-frame work: switches the layer on or off as the flags say,
    // applies the effects volume and returns the voices of instances the
    // mixer has finished. Does nothing before Initialize.
    static void Refresh(float dt = 0.0f);

    // Stops and unloads everything and releases the device for good: later
    // refreshes never make the layer active again. Called before SDL_Quit.
    static void Shutdown();
};

} // namespace Audio
} // namespace Vexel
