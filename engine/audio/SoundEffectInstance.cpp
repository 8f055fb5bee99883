#include "engine/audio/SoundEffectInstance.h"

#include "engine/audio/AudioBackend.h"
#include "engine/audio/AudioDevice.h"
#include "engine/audio/FinishedInstances.h"
#include "engine/audio/Mixer.h"
#include "engine/audio/WavData.h"

#include <cstring>

namespace Vexel
{
namespace Audio
{

namespace
{
const int kOne = 16384; // 1.0 in Q14
// Beyond 1024 source frames per output frame a sound is a click at best;
// the bound keeps the position arithmetic far from overflow.
const int kMaxStep = kOne * 1024;
const int kCarrierSamples = 1024;

// 2048 bytes of silence that every instance's carrier chunk plays.
uint8_t* GetSilence()
{
    static uint8_t* silence = []
    {
        uint8_t* block = new uint8_t[kCarrierSamples * 2];
        std::memset(block, 0, kCarrierSamples * 2);
        return block;
    }();
    return silence;
}
} // namespace

SoundEffectInstance::SoundEffectInstance(int id, WavData const* data, bool loop)
    : id(id), loop(loop), data(data)
{
    UpdateStep(AudioDevice::GetOutputRate());
    UpdateGain();
    Rewind();
}

SoundEffectInstance::~SoundEffectInstance()
{
    Stop();
    FinishedInstances::Remove(this);
    if (carrier)
        GetBackend().FreeCarrier(carrier);
}

int SoundEffectInstance::ComputeStep(float pitch, int sourceRate, int outputRate)
{
    if (outputRate <= 0)
        return 1;
    const double step = double(pitch) * kOne * double(sourceRate) / double(outputRate) + 0.5;
    // Written so that NaN also lands on 1.
    if (!(step >= 1.0))
        return 1;
    if (step >= double(kMaxStep))
        return kMaxStep;
    return int(step);
}

int SoundEffectInstance::ComputeGain(float volume, float factors)
{
    const double gain = double(volume) * kOne * double(factors);
    if (!(gain > 0.0))
        return 0;
    if (gain >= double(kOne))
        return kOne;
    return int(gain);
}

void SoundEffectInstance::SetVolume(float newVolume)
{
    volume = newVolume;
    UpdateGain();
}

void SoundEffectInstance::SetPitch(float newPitch)
{
    pitch = newPitch;
    UpdateStep(AudioDevice::GetOutputRate());
}

void SoundEffectInstance::UpdateGain()
{
    const float factors =
        Mixer::GetEffectsGroupVolume() * Mixer::GetSecondEffectsVolume() * Mixer::GetMasterVolume();
    gain.store(ComputeGain(volume, factors), std::memory_order_relaxed);
}

void SoundEffectInstance::UpdateStep(int outputRate)
{
    const int sourceRate = data ? data->GetSampleRate() : outputRate;
    step.store(ComputeStep(pitch, sourceRate, outputRate), std::memory_order_relaxed);
}

void SoundEffectInstance::Rewind()
{
    position = data ? data->GetStartFrame() : 0;
    fraction = 0;
    ended = false;
}

bool SoundEffectInstance::Play()
{
    Stop();
    if (!carrier)
    {
        carrier = GetBackend().LoadCarrier(GetSilence(), kCarrierSamples * 2);
        if (!carrier)
            return false;
    }
    Rewind();
    // The rate may differ from the one the instance was made with.
    UpdateStep(AudioDevice::GetOutputRate());
    AudioBackend& backend = GetBackend();
    const int playing = backend.PlayLooped(carrier);
    if (playing < 0)
        return false;
    if (!backend.RegisterMix(playing, &SoundEffectInstance::Callback, this))
    {
        backend.HaltChannel(playing);
        return false;
    }
    channel = playing;
    return true;
}

void SoundEffectInstance::Stop()
{
    if (channel == -1)
        return;
    // Once the halt returns the callback never runs again.
    GetBackend().HaltChannel(channel);
    FinishedInstances::Remove(this);
    channel = -1;
}

void SoundEffectInstance::Callback(int, void* stream, int len, void* instance)
{
    static_cast<SoundEffectInstance*>(instance)->Mix(static_cast<int16_t*>(stream), len);
}

void SoundEffectInstance::Mix(int16_t* out, int len)
{
    if (ended || !data)
        return;
    const int16_t* samples = data->GetSamples();
    const int channels = data->GetChannels();
    const int start = data->GetStartFrame();
    const int end = data->GetFrameCount();
    const int stepNow = step.load(std::memory_order_relaxed);
    const int gainNow = gain.load(std::memory_order_relaxed);
    int frames = len / 4;

    while (frames > 0)
    {
        if (channels == 1)
        {
            while (position < end && frames > 0)
            {
                int s = (fraction * samples[position] + (kOne - fraction) * samples[position - 1]) >> 15;
                s = s * gainNow >> 14;
                out[0] = int16_t(s);
                out[1] = int16_t(s);
                out += 2;
                --frames;
                fraction += stepNow;
                position += fraction >> 14;
                fraction &= 0x3FFF;
            }
        }
        else if (channels == 2)
        {
            // Each output channel interpolates its own channel between the
            // previous and the current source frame.
            while (position < end && frames > 0)
            {
                const int16_t* current = samples + 2 * position;
                int left = (fraction * current[0] + (kOne - fraction) * current[-2]) >> 15;
                int right = (fraction * current[1] + (kOne - fraction) * current[-1]) >> 15;
                out[0] = int16_t(left * gainNow >> 14);
                out[1] = int16_t(right * gainNow >> 14);
                out += 2;
                --frames;
                fraction += stepNow;
                position += fraction >> 14;
                fraction &= 0x3FFF;
            }
        }
        else
        {
            position = end;
        }

        if (position >= end)
        {
            // Data too short to play would loop without producing a frame.
            if (loop && start < end && (channels == 1 || channels == 2))
            {
                position = start;
                continue;
            }
            ended = true;
            FinishedInstances::Add(this);
            return;
        }
    }
}

} // namespace Audio
} // namespace Vexel
