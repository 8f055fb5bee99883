// The one seam through which the engine's audio reaches a mixer, as GL.h is
// for drawing. Engine audio calls the back end installed here:
// - the SDL_mixer back end (engine/audio/sdl, library vexel_audio_sdl), which
//   the game installs at start-up;
// - the null back end (the start state): the device opens at the requested
//   rate, but no voice gets a channel and music plays silently, so tools and
//   headless tests need no SDL;
// - a recording back end (AudioBackendRecorder.h), the null one logging every
//   call, for unit tests.
// Install before the first audio call and keep the back end alive until the
// audio modules have shut down.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Audio
{

class AudioBackend
{
public:
    // Runs on the mixer's thread: writes len bytes of the channel's stream.
    typedef void (*MixCallback)(int channel, void* stream, int len, void* user);

    virtual ~AudioBackend() {}

    // Opens the device (sample format and layout as AudioDevice names them)
    // and allocates the mixer channels; false on failure (GetError says why).
    // The rate the device really runs at goes to openedRate.
    virtual bool OpenDevice(int rate, int format, int channels, int chunkFrames, int mixerChannels,
                            int* openedRate) = 0;
    virtual void CloseDevice() = 0;
    // The last failure, as one line for the log.
    virtual std::string GetError() = 0;

    // A voice: a carrier block of samples (not copied; it must outlive the
    // carrier) played looped on any free channel, with a callback that
    // writes the real samples over it. Null or -1 when there is none.
    virtual void* LoadCarrier(uint8_t* samples, uint32_t bytes) = 0;
    virtual void FreeCarrier(void* carrier) = 0;
    virtual int PlayLooped(void* carrier) = 0;
    virtual bool RegisterMix(int channel, MixCallback callback, void* user) = 0;
    // Once it returns the channel's callback never runs again.
    virtual void HaltChannel(int channel) = 0;

    // The one music stream: a file loaded, played (loops -1: forever),
    // paused, and its volume 0..128.
    virtual void* LoadMusic(std::string const& path) = 0;
    virtual void FreeMusic(void* music) = 0;
    virtual bool PlayMusic(void* music, int loops) = 0;
    virtual void PauseMusic() = 0;
    virtual bool IsMusicPlaying() = 0;
    virtual void SetMusicVolume(int level) = 0;
};

// The back end engine audio uses; null puts the null one back. Any thread.
void SetBackend(AudioBackend* backend);
AudioBackend& GetBackend();

} // namespace Audio
} // namespace Vexel
