// The music module: started once by the UI manager; its per-frame work runs
// in every animate phase. Playback itself is not built yet: the frame
// handler does nothing.
#pragma once

namespace Vexel
{
namespace Audio
{

class Music
{
public:
    // Stores the flag and hooks the module onto FrameEvents::Animating. A
    // second call does nothing.
    static void Initialize(bool enabled);
    static bool IsInitialized();
    static bool IsEnabled();

    // Until the audio engine lands: the switch, its override (play even while
    // another application plays music) and the music volume level (0..1) are
    // only stored.
    static void SetEnabled(bool enabled, bool override);
    static void SetVolume(float volume);
    static float GetVolume();
};

} // namespace Audio
} // namespace Vexel
