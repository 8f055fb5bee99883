// The audio device's reference count. The first reference opens the audio
// back end's device (AudioBackend.h) with the settings' sample rate, signed 16-bit samples in
// the machine's order, 2 channels, 1024-frame chunks); releasing the last
// one closes it. A failed open is not counted as a reference: it is reported
// once, and later Acquire calls fail at once without trying again, so a
// machine without a sound card runs silently without retrying every frame.
// Any thread; the count has its own mutex.
#pragma once

namespace Vexel
{
namespace Audio
{

class AudioDevice
{
public:
    // True when a reference is now held (the device is open).
    static bool Acquire();
    // Releases a reference taken by a successful Acquire.
    static void Release();
    static int GetReferenceCount();
    // True once an open has failed.
    static bool HasFailed();
    // The output rate the mixer reports while open; the settings' rate
    // otherwise.
    static int GetOutputRate();

    // The requested format: SDL's AUDIO_S16SYS (signed 16-bit samples in the
    // machine's order), stereo, 1024-frame chunks.
    static const int kFormat = 0x8010;
    static const int kChannels = 2;
    static const int kChunkFrames = 1024;
    // Mixer channels allocated on open: enough for the effect voices.
    static const int kMixerChannels = 32;
};

} // namespace Audio
} // namespace Vexel
