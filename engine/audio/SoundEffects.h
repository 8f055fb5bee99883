// The sound-effect module: started once by the UI manager with its voice
// count; its per-frame work runs in every update phase. Mixing itself is not
// built yet: the frame handler does nothing.
#pragma once

namespace Vexel
{
namespace Audio
{

class SoundEffects
{
public:
    // Stores the flag, runs the frame handler once with 0, stores the voice
    // count and hooks the handler onto FrameEvents::Updating. A second call
    // does nothing.
    static void Initialize(int voiceCount, bool enabled);
    static bool IsInitialized();
    static bool IsEnabled();

    // Until the audio engine lands: the switch, its override (play even while
    // another application plays music) and the effects volume level (0..1) are
    // only stored.
    static void SetEnabled(bool enabled, bool override);
    static void SetVolume(float volume);
    static float GetVolume();
    static int GetVoiceCount();
};

} // namespace Audio
} // namespace Vexel
