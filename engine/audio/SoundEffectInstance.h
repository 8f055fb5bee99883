// One playable voice of an effect. It plays a shared block of silence
// looped forever on a mixer channel, and an effect callback registered on
// that channel writes the real samples over it: resampled by a Q14 step
// (16384 = one source frame per output frame, from the pitch and the two
// sample rates) with linear interpolation at half amplitude, and scaled by a
// Q14 gain (16384 = full volume). The mixer thread runs the callback; it
// touches only this instance and, when the data ends (and the instance does
// not loop), the finished list, which the main thread empties once a frame.
//
// Main thread: construction, Play, Stop, SetVolume, SetPitch. Pitch and
// volume may change while the callback runs (the step and gain are atomics);
// everything else the callback reads is written only while no callback is
// registered.
#pragma once

#include <atomic>
#include <cstdint>

namespace Vexel
{
namespace Audio
{

class WavData;

class SoundEffectInstance
{
public:
    // The data is not owned and must outlive the instance.
    SoundEffectInstance(int id, WavData const* data, bool loop);
    // Stops the instance, frees its carrier and leaves the finished list.
    ~SoundEffectInstance();
    SoundEffectInstance(const SoundEffectInstance&) = delete;
    SoundEffectInstance& operator=(const SoundEffectInstance&) = delete;

    int GetId() const { return id; }
    bool IsLooping() const { return loop; }

    // Rewinds and starts on any free channel; false when the mixer gives
    // none (or the device is closed).
    bool Play();
    // Halts the channel and unregisters the callback; idempotent.
    void Stop();
    int GetChannel() const { return channel; }
    bool IsPlaying() const { return channel != -1; }

    void SetVolume(float volume);
    void SetPitch(float pitch);
    float GetVolume() const { return volume; }
    float GetPitch() const { return pitch; }
    // Recomputes the gain from the volume and the global factors.
    void UpdateGain();
    // Recomputes the step for the given mixer output rate.
    void UpdateStep(int outputRate);
    int GetStep() const { return step.load(std::memory_order_relaxed); }
    int GetGain() const { return gain.load(std::memory_order_relaxed); }

    // Back to the playback start, fraction 0, not ended.
    void Rewind();
    // The callback's work: fills len bytes of 16-bit stereo. Leaves the rest
    // of the stream alone once the data has ended (a non-looping instance
    // then joins the finished list). Allocates nothing.
    void Mix(int16_t* stream, int len);
    bool HasEnded() const { return ended; }
    // The source frame the next output frame reads, and the Q14 fraction.
    int GetPosition() const { return position; }
    int GetFraction() const { return fraction; }

    // Q14 values. step = int(pitch x 16384 x sourceRate / outputRate + 0.5),
    // at least 1; gain = int(volume x 16384 x factors), clamped to 0..16384.
    static int ComputeStep(float pitch, int sourceRate, int outputRate);
    static int ComputeGain(float volume, float factors);

    // The intrusive link of the finished list (FinishedInstances.h).
    SoundEffectInstance* nextFinished = nullptr;
    bool inFinishedList = false;

private:
    static void Callback(int channel, void* stream, int len, void* instance);

    int id;
    void* carrier = nullptr; // the back end's
    bool loop;
    float volume = 1.0f;
    float pitch = 1.0f;
    std::atomic<int> step{16384};
    std::atomic<int> gain{16384};
    int channel = -1;
    WavData const* data;
    int position = 0;
    int fraction = 0;
    bool ended = false;
};

} // namespace Audio
} // namespace Vexel
