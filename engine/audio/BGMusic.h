// The background-music command thread. Loading and starting an MP3 can take
// long, so the music module queues commands here and this object's own
// thread executes them, in order, against the one music object of the
// mixer back end (MusicObject.h). The thread polls every 5 ms; it starts
// with the music module (BGMusicStart) and is stopped and joined before
// SDL_Quit (BGMusicShutdown, also bound to AppEvents::Shutdown). Commands
// queued before the start wait for it; commands queued after the shutdown
// are dropped, so no mixer call happens after it.
//
// The playing state (BGMusicIsPlaying) is what the callers last asked for,
// corrected by the thread when a play-once music has ended or a play
// failed; it is an atomic shared by both sides.
#pragma once

#include <string>

namespace Vexel
{
namespace Audio
{

struct BGMusicCommand
{
    enum Enum
    {
        Reset = 0,       // (and any unknown value) a fresh, empty music object
        Unload = 1,      // delete the music object
        PlayLooped = 2,  // play repeating forever
        Stop = 3,        // pause, then delete the music object
        ApplyVolume = 4, // re-apply the stored volume (the master volume changed)
        SetVolume = 5,   // set the volume
        Load = 6,        // a new music object with the file and the loops value
        PlayOnce = 7,    // flag set: play once; clear: pause
    };
};

struct BGMusicRecord
{
    int command = BGMusicCommand::SetVolume;
    std::string name;
    bool flag = false;
    float volume = 0.0f;
    int loops = 0;
};

struct BGMusicPlayingState
{
    enum Enum
    {
        None = 0,
        Once = 1,
        Looped = 2,
    };
};

// A test seam: sees every record as it is queued (on the caller's thread)
// and as it is executed (on the command thread, before the mixer is
// reached).
class IBGMusicObserver
{
public:
    virtual ~IBGMusicObserver() {}
    virtual void OnQueued(BGMusicRecord const& record) = 0;
    virtual void OnExecuted(BGMusicRecord const& record) = 0;
};

void BGMusicOff();
void BGMusicUnload();
void BGMusicLoad(std::string const& fileName, int loops);
void BGMusicStop();
void BGMusicPlayLooped();
void BGMusicPlayOnce(bool play);
void BGMusicSetVolume(float volume);
// Stores the master volume, recomputes the effects' gains and queues
// ApplyVolume (through Mixer::SetMasterVolume).
void BGMusicSetMasterVolume(float volume);
// Queues ApplyVolume alone.
void BGMusicApplyVolume();
// The playing state is not None.
bool BGMusicIsPlaying();
int BGMusicGetPlayingState();
// Whether the music last started by the back end has this loops value.
bool BGMusicLoopsStateIs(int value);

// Starts the thread once; does nothing after BGMusicShutdown.
void BGMusicStart();
// Stops and joins the thread, drops the waiting commands and deletes the
// music object (releasing its device reference). Idempotent.
void BGMusicShutdown();
bool BGMusicIsRunning();
// Waits until every queued command has executed; false after timeoutMs or
// when the thread does not run.
bool BGMusicWaitIdle(int timeoutMs);
// Installs the observer (null: none) and returns the previous one.
IBGMusicObserver* BGMusicSetObserver(IBGMusicObserver* observer);

} // namespace Audio
} // namespace Vexel
