// The one music object: the audio back end's music (AudioBackend.h), its
// volume and its loops value (the music module passes the track id). It
// holds an audio device reference while it lives. Used only on the
// background-music command thread (BGMusic.h).
//
// The music loops state is process-wide: -2 while no music runs, else the
// loops value of the music last started; the main thread reads it
// (Music::GetTrackState), so it is an atomic.
#pragma once

#include <string>

namespace Vexel
{
namespace Audio
{

class MusicObject
{
public:
    static const int kNoMusic = -2;

    // Null when the audio device cannot be opened.
    static MusicObject* Create();
    // Frees the music, sets the loops state to -2 and releases the device.
    ~MusicObject();
    MusicObject(const MusicObject&) = delete;
    MusicObject& operator=(const MusicObject&) = delete;

    // Pauses playing music, frees the old music and loads the file
    // (resolved by the file helpers). -1 on failure, else 0. A folder, a
    // file that is not regular or is empty, and an MP3 without MPEG audio
    // frames are refused before the back end sees them (the mixer's reader
    // would play them as silence); those and the back end's own failures
    // ("SDL_mixer error: ...") are said once per file name for the
    // process's life.
    int Load(std::string const& fileName, int loops);
    // Plays repeating forever; the loops state becomes the loops value.
    int Play();
    // true: plays once from the start (the loops state becomes the loops
    // value); false: pauses (the loops state becomes -2).
    int PlayOnce(bool play);
    void SetVolume(float volume);
    void ApplyVolume();
    bool IsPlaying() const;
    bool IsLoaded() const { return music != nullptr; }
    float GetVolume() const { return volume; }
    int GetLoops() const { return loops; }

    static int GetLoopsState();
    static void SetLoopsState(int value);

private:
    MusicObject() = default;

    void* music = nullptr; // the back end's
    float volume = 1.0f;
    int loops = kNoMusic;
};

} // namespace Audio
} // namespace Vexel
