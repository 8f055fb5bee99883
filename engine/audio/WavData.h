// A WAV file held in memory for the effect instances. Only the canonical
// 44-byte header is accepted: "RIFF" at 0, "fmt " at 12, a format chunk of
// 16 bytes, 16-bit samples in one or two channels, "data" at 36 and the
// samples from 44. The data size is clamped to the bytes present and to
// whole frames. Playback starts 20 bytes into the samples, so data of 20
// bytes or less plays nothing: such a file is kept, and said once.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Audio
{

class WavData
{
public:
    static const int kHeaderSize = 44;
    // Where playback starts, in bytes from the first sample.
    static const int kPlaybackOffset = 20;

    // Takes the new[] buffer in every case (freed when rejected). Null when
    // rejected; the reason is reported once under the given name.
    static WavData* Parse(uint8_t* bytes, int size, std::string const& name);
    // Reads the whole file (resolved by the file helpers) and parses it.
    static WavData* Load(std::string const& fileName);

    ~WavData();
    WavData(const WavData&) = delete;
    WavData& operator=(const WavData&) = delete;

    int GetChannels() const { return channels; }
    int GetSampleRate() const { return sampleRate; }
    // Bytes of sample data after clamping.
    int GetDataSize() const { return dataSize; }
    int GetFrameCount() const { return dataSize / (2 * channels); }
    // The frame where playback starts.
    int GetStartFrame() const { return kPlaybackOffset / (2 * channels); }
    const int16_t* GetSamples() const { return samples; }

private:
    WavData() = default;

    uint8_t* bytes = nullptr;
    const int16_t* samples = nullptr;
    int channels = 0;
    int sampleRate = 0;
    int dataSize = 0;
};

} // namespace Audio
} // namespace Vexel
