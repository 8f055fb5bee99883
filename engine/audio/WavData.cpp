#include "engine/audio/WavData.h"

#include "engine/core/File.h"
#include "engine/core/Log.h"

#include <cstring>

namespace Vexel
{
namespace Audio
{

namespace
{
uint32_t ReadU32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

int16_t ReadI16(const uint8_t* at)
{
    return int16_t(uint16_t(at[0] | at[1] << 8));
}

bool HasTag(const uint8_t* at, const char* tag)
{
    return std::memcmp(at, tag, 4) == 0;
}

// Null when the header is acceptable, else what is wrong with it.
const char* Check(const uint8_t* bytes, int size)
{
    if (size < WavData::kHeaderSize)
        return "is shorter than the 44-byte header";
    if (!HasTag(bytes, "RIFF"))
        return "does not start with \"RIFF\"";
    if (!HasTag(bytes + 12, "fmt "))
        return "has no \"fmt \" chunk at byte 12";
    if (ReadU32(bytes + 16) != 16)
        return "has a format chunk that is not 16 bytes";
    const int channels = ReadI16(bytes + 22);
    if (channels != 1 && channels != 2)
        return "has neither one nor two channels";
    if (ReadU32(bytes + 24) == 0 || ReadU32(bytes + 24) > 1000000)
        return "has a sample rate outside 1..1000000 Hz";
    if (ReadI16(bytes + 34) != 16)
        return "does not hold 16-bit samples";
    if (!HasTag(bytes + 36, "data"))
        return "has no \"data\" chunk at byte 36";
    return nullptr;
}
} // namespace

WavData* WavData::Parse(uint8_t* bytes, int size, std::string const& name)
{
    const char* problem = bytes ? Check(bytes, size) : "is empty";
    if (problem)
    {
        Log::Error("audio", "\"%s\" %s", name.c_str(), problem);
        delete[] bytes;
        return nullptr;
    }
    WavData* wav = new WavData();
    wav->bytes = bytes;
    wav->channels = ReadI16(bytes + 22);
    wav->sampleRate = int(ReadU32(bytes + 24));
    // A data size beyond the file would read past the buffer: keep what is
    // there, in whole frames.
    const uint32_t declared = ReadU32(bytes + 40);
    const uint32_t present = uint32_t(size - kHeaderSize);
    const uint32_t dataSize = declared > present ? present : declared;
    const uint32_t frameBytes = uint32_t(2 * wav->channels);
    wav->dataSize = int(dataSize - dataSize % frameBytes);
    // Playback starts kPlaybackOffset bytes in: without a frame after that
    // the sound is never heard. Kept (it plays silence), and said.
    if (uint32_t(wav->dataSize) < uint32_t(kPlaybackOffset) + frameBytes)
        Log::Warning("audio",
                     "\"%s\" holds %u bytes of samples (%u declared), none after the first %d where "
                     "playback starts: it plays nothing",
                     name.c_str(), present, declared, kPlaybackOffset);
    else if (declared > present)
        Log::Warning("audio", "\"%s\" declares %u bytes of samples but holds %u", name.c_str(), declared,
                     present);
    wav->samples = reinterpret_cast<const int16_t*>(bytes + kHeaderSize);
    return wav;
}

WavData* WavData::Load(std::string const& fileName)
{
    int size = 0;
    uint8_t* bytes = IO::File::ReadAllBytes(fileName, false, &size);
    if (!bytes)
    {
        Log::Error("audio", "\"%s\" %s", fileName.c_str(), size < 0 ? "cannot be read" : "is empty");
        return nullptr;
    }
    return Parse(bytes, size, fileName);
}

WavData::~WavData()
{
    delete[] bytes;
}

} // namespace Audio
} // namespace Vexel
