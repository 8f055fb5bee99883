// libFuzzer target over the WAV loader and the effect instance that plays
// its data: any bytes must be refused, or give sample data that lies inside
// the file in whole frames and that the resampling callback can play at any
// pitch, looped or not, without reading outside it.
#include "engine/audio/SoundEffectInstance.h"
#include "engine/audio/WavData.h"
#include "engine/core/Log.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
using Vexel::Audio::SoundEffectInstance;
using Vexel::Audio::WavData;

// Refused inputs are reported through the log; keep them off stderr.
class QuietSink : public Vexel::Log::ISink
{
public:
    void Write(Vexel::Log::Level::Enum, const char*, const char*) override {}
};

void Play(WavData const& wav, bool loop, float pitch)
{
    SoundEffectInstance instance(1, &wav, loop);
    instance.SetPitch(pitch);
    instance.UpdateStep(44100);
    std::vector<int16_t> stream(2 * 1024);
    for (int round = 0; round < 3; ++round)
        instance.Mix(stream.data(), int(stream.size() * 2));
    if (instance.GetPosition() < 0 || (instance.GetPosition() > wav.GetFrameCount() && !instance.HasEnded()))
        abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietSink sink;
    static bool quiet = (Vexel::Log::SetSink(&sink), true);
    (void)quiet;
    if (size > (1u << 20))
        return 0;
    uint8_t* copy = new uint8_t[size ? size : 1];
    if (size)
        std::memcpy(copy, data, size);
    WavData* wav = WavData::Parse(copy, int(size), "fuzz.wav");
    if (!wav)
        return 0;
    const int frameBytes = 2 * wav->GetChannels();
    if ((wav->GetChannels() != 1 && wav->GetChannels() != 2) || wav->GetDataSize() < 0 ||
        size_t(wav->GetDataSize()) > size - WavData::kHeaderSize || wav->GetDataSize() % frameBytes != 0)
        abort();
    for (bool loop : {false, true})
        for (float pitch : {1.0f, 0.37f, 3.3f, 1e6f})
            Play(*wav, loop, pitch);
    delete wav;
    return 0;
}
