// The music module: a queue of tracks (the current one at the front), the
// music volume and the enabled switch. It never calls the mixer's music
// functions itself: every load, play, pause and volume change is queued to
// the background-music command thread (BGMusic.h), which the module starts
// when it is initialised. The refresh runs after every operation and in
// every animate phase (FrameEvents::Animating); it notices tracks that have
// ended and starts the next one. The file of a track is its name + ".mp3".
//
// Track ids run 1..999999999 and then wrap to 0. Main thread only.
#pragma once

#include "engine/core/Event.h"

#include <string>

namespace Vexel
{
namespace Audio
{

class ParamFactorSet;

struct MusicQueueMode
{
    enum Enum
    {
        Replace = 0,   // (and any value not below) stop the current track, drop the queue
        Append = 1,    // queue at the back; start it when it is the only track
        Interrupt = 2, // stop the current track and start the new one in front of the queue
    };
};

struct MusicPlayMode
{
    enum Enum
    {
        Once = 0,         // play once and stop
        OnceThenNext = 1, // play once, then start the next queued track
        Repeat = 2,       // repeat until stopped
    };
};

struct MusicTrackState
{
    enum Enum
    {
        Waiting = 0, // queued, but not the music the mixer last started
        Playing = 1, // the music the mixer last started
        Absent = 2,  // no queued track has the id
    };
};

class Music
{
public:
    // Stores the flag, marks the module initialised, starts the command
    // thread and hooks the refresh onto FrameEvents::Animating. A second
    // call (and a call after Shutdown) does nothing.
    static void Initialize(bool enabled);
    static bool IsInitialized();
    static bool IsEnabled();
    // True while the command thread holds a music object for this module.
    static bool IsActive();

    // override: start music even while another application plays music.
    static void SetEnabled(bool enabled, bool override = false);
    // The music volume level; the mixer gets the factors' product times the
    // level, clamped to 0..1, at the next refresh.
    static void SetVolume(float volume);
    static float GetVolume();
    static ParamFactorSet& GetVolumeFactors();

    // Queues a track as queueMode says (MusicQueueMode::Enum) and returns
    // its id; -1 before Initialize, after Shutdown or when the audio device
    // could not be opened. playMode is a MusicPlayMode::Enum. The two floats
    // are kept with the track and not used.
    static int Play(std::string const& name, int queueMode, int playMode, float first, float second);
    // MusicTrackState::Enum of the track with that id.
    static int GetTrackState(int id);

    // Stops the current track; nothing follows it.
    static void StopCurrent(bool flag, float fade);
    // Stops the current track; the next queued track starts once it is gone.
    static void StopCurrentAndContinue(bool flag, float fade);
    // Drops every queued track but the current one, which stops as above.
    static void StopAll(bool flag, float fade);
    // Queues a track at the back or the front without starting it; its id.
    static int Queue(std::string const& name, bool atBack, int playMode, float first, float second);
    // Restarts a stopped current track once.
    static void RestartCurrent();
    // Starts the current track when it never started, else restarts it
    // looped; the second form first stores its argument as the track's
    // first float.
    static void StartOrRestartCurrent();
    static void StartOrRestartCurrent(float first);

    static int GetQueueLength();

    // The per-frame work (see above). Does nothing before Initialize.
    static void Refresh(float dt = 0.0f);

    // Stops and joins the command thread and releases the music object and
    // the audio device; afterwards no command reaches the mixer. Called
    // before SDL_Quit.
    static void Shutdown();

    // Raised with the track name.
    static Event<std::string const&>& Started();
    static Event<std::string const&>& Stopped();
    static Event<std::string const&>& RestartedOnce();
    static Event<std::string const&>& RestartedLooped();
};

} // namespace Audio
} // namespace Vexel
