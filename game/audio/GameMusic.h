// The game's music: which of the four tracks plays (0 "Menu", 1 "InGame",
// 2 "Tutorial", 3 "Win") and the cross-fade between them. A change of track
// fades the current one out; the pending track starts when the fade level
// reaches 0 (or the current track has ended) and fades in. The fade level
// multiplies the music volume as a factor of the music module's volume set.
// The state is saved inside the saved game (22 bytes) so that a restored
// game resumes the same music.
//
// Main thread only; the music module does the loading and playing on its
// own thread.
#pragma once

#include <iosfwd>
#include <string>

class GameMusic
{
public:
    // Fades to the track (or, for the current track, fades it back in and
    // cancels any pending change), then runs the fader once at once. The
    // first call also joins the fade level to the music volume and starts
    // the per-frame fader (FrameEvents::Updating).
    static void Play(int track, bool repeat, float fadeOutSeconds, float fadeInSeconds);
    // Starts the current track again from its beginning (sound was switched
    // back on).
    static void Restart();
    // Level per second of a fade of that length: 1000 at 0.001 s or less,
    // lengths above 100 s count as 100 s.
    static float FadeRate(float seconds);

    // Fade level, rate, current track, repeat flag, pending fade-in, pending
    // track and its repeat flag: 22 raw little-endian bytes.
    static void Save(std::ostream& stream);
    // Reads what Save wrote and restarts the current track. A current track
    // other than -1..3 (or a short stream) leaves no music playing.
    static void Load(std::istream& stream);

    // The track's name as the music module plays it (set x 4 + track).
    static std::string TrackName(int track);

    static float GetFadeLevel();
    static float GetFadeRate();
    static int GetCurrentTrack();
    static int GetPendingTrack();
    // The music module's id of the playing track (-1: none).
    static int GetMusicId();

    // What GameMusic needs of the music module; tests put their own in.
    class IMusicPlayer
    {
    public:
        virtual ~IMusicPlayer() {}
        virtual int Play(std::string const& name, int queueMode, int playMode, float first, float second) = 0;
        virtual int GetTrackState(int id) = 0;
        virtual void StopCurrent(bool flag, float fade) = 0;
    };
    // Installs a player (null: the real music module); returns the previous
    // one (null when it was the real module).
    static IMusicPlayer* SetPlayer(IMusicPlayer* player);

    // The per-frame fader.
    class GameMusicHelper;
    // Runs the fader once with dt seconds, as a frame would.
    static void Update(float dt);
    // Back to the program-start state (no track, level 0). For tests.
    static void Reset();
};
