#include "engine/audio/MpegAudioProbe.h"

namespace Vexel
{
namespace Audio
{
namespace MpegAudioProbe
{

namespace
{
// Bit rates in kbit/s by [MPEG-1 or not][layer I, II, III][index].
const int kBitRates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
};
// Sample rates in Hz by [version bits][index]; version 1 is reserved.
const int kSampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

// Version, layer and sample rate: what stays the same along a stream.
int Kind(const uint8_t* header)
{
    return (header[1] & 0x1e) << 8 | (header[2] & 0x0c);
}

// Where the frames begin: after an ID3v2 tag, if there is one.
size_t SkipTag(const uint8_t* bytes, size_t size)
{
    if (size < 10 || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3')
        return 0;
    if ((bytes[6] | bytes[7] | bytes[8] | bytes[9]) & 0x80)
        return 0;
    const size_t body = size_t(bytes[6]) << 21 | size_t(bytes[7]) << 14 | size_t(bytes[8]) << 7 | bytes[9];
    const size_t footer = (bytes[5] & 0x10) ? 10 : 0;
    return 10 + body + footer;
}

// Frames chained from offset; stops at kFramesNeeded. *endsAtEnd: the last
// one counted ends exactly at size.
int ChainLength(const uint8_t* bytes, size_t size, size_t offset, bool* endsAtEnd)
{
    *endsAtEnd = false;
    const int kind = Kind(bytes + offset);
    int frames = 0;
    while (frames < kFramesNeeded && offset + 4 <= size)
    {
        const int length = FrameLength(bytes + offset);
        if (length == 0 || Kind(bytes + offset) != kind || offset + size_t(length) > size)
            break;
        frames++;
        offset += size_t(length);
        *endsAtEnd = offset == size;
    }
    return frames;
}
} // namespace

int FrameLength(const uint8_t* header)
{
    if (header[0] != 0xff || (header[1] & 0xe0) != 0xe0)
        return 0;
    const int version = (header[1] >> 3) & 3;   // 0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1
    const int layerBits = (header[1] >> 1) & 3; // 3 layer I, 2 layer II, 1 layer III
    const int bitRateIndex = header[2] >> 4;
    const int sampleRateIndex = (header[2] >> 2) & 3;
    if (version == 1 || layerBits == 0 || sampleRateIndex == 3)
        return 0;
    const int layer = 4 - layerBits; // 1..3
    const int bitRate = kBitRates[version == 3 ? 1 : 0][layer - 1][bitRateIndex] * 1000;
    const int sampleRate = kSampleRates[version][sampleRateIndex];
    if (bitRate == 0)
        return 0;
    const int padding = (header[2] >> 1) & 1;
    if (layer == 1)
        return (12 * bitRate / sampleRate + padding) * 4;
    if (layer == 3 && version != 3)
        return 72 * bitRate / sampleRate + padding;
    return 144 * bitRate / sampleRate + padding;
}

bool HasFrames(const uint8_t* bytes, size_t size, bool complete)
{
    // Encoders put little before the first frame; a stream that starts
    // further in is not one this game ships.
    const size_t kSearch = 64 * 1024;
    const size_t start = SkipTag(bytes, size);
    for (size_t offset = start; offset + 4 <= size && offset < start + kSearch; offset++)
    {
        if (bytes[offset] != 0xff || (bytes[offset + 1] & 0xe0) != 0xe0)
            continue;
        bool endsAtEnd = false;
        const int frames = ChainLength(bytes, size, offset, &endsAtEnd);
        if (frames >= kFramesNeeded || (frames > 0 && complete && endsAtEnd))
            return true;
    }
    return false;
}

} // namespace MpegAudioProbe
} // namespace Audio
} // namespace Vexel
