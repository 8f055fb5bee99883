// The MP3 check the music object runs before the mixer sees a file: frame
// headers that chain, after an optional ID3v2 tag.
#include "engine/audio/MpegAudioProbe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace Vexel::Audio;

namespace
{

// MPEG-1 layer III, 128 kbit/s, 44.1 kHz, no padding: 417 bytes a frame.
const uint8_t kHeader[4] = {0xff, 0xfb, 0x90, 0x64};
// The same at 48 kHz: another stream's kind.
const uint8_t kOtherRate[4] = {0xff, 0xfb, 0x94, 0x64};

void AppendFrame(std::vector<uint8_t>& bytes, const uint8_t* header)
{
    const size_t at = bytes.size();
    bytes.resize(at + size_t(MpegAudioProbe::FrameLength(header)), 0);
    for (int i = 0; i < 4; i++)
        bytes[at + size_t(i)] = header[i];
}

std::vector<uint8_t> Frames(int count)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; i++)
        AppendFrame(bytes, kHeader);
    return bytes;
}

TEST(MpegAudioProbeTest, FrameLengthsOfTheThreeLayers)
{
    struct Case
    {
        uint8_t header[4];
        int length;
    };
    const Case cases[] = {
        {{0xff, 0xfb, 0x90, 0x64}, 417}, // MPEG-1 layer III 128k 44.1k
        {{0xff, 0xfb, 0x92, 0x64}, 418}, // the same, padded
        {{0xff, 0xf3, 0x90, 0x64}, 261}, // MPEG-2 layer III 80k 22.05k
        {{0xff, 0xfd, 0x94, 0x64}, 480}, // MPEG-1 layer II 160k 48k
        {{0xff, 0xff, 0x94, 0x64}, 288}, // MPEG-1 layer I 288k 48k
        {{0xff, 0xfb, 0xf0, 0x64}, 0},   // bit rate index 15
        {{0xff, 0xfb, 0x00, 0x64}, 0},   // free format
        {{0xff, 0xfb, 0x9c, 0x64}, 0},   // sample rate index 3
        {{0xff, 0xeb, 0x90, 0x64}, 0},   // reserved version
        {{0xff, 0xf9, 0x90, 0x64}, 0},   // reserved layer
        {{0xfe, 0xfb, 0x90, 0x64}, 0},   // no sync
    };
    for (Case const& test : cases)
        EXPECT_EQ(test.length, MpegAudioProbe::FrameLength(test.header))
            << std::hex << int(test.header[1]) << " " << int(test.header[2]);
}

TEST(MpegAudioProbeTest, ChainedFramesMakeAStream)
{
    std::vector<uint8_t> tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 0x02, 0x00}; // 256 bytes of tag
    tagged.resize(10 + 256, 0xff);
    const std::vector<uint8_t> three = Frames(3);
    tagged.insert(tagged.end(), three.begin(), three.end());

    std::vector<uint8_t> junkFirst(100, 0x55);
    junkFirst.insert(junkFirst.end(), three.begin(), three.end());

    std::vector<uint8_t> mixed = Frames(1);
    AppendFrame(mixed, kOtherRate);
    AppendFrame(mixed, kHeader);

    std::vector<uint8_t> random(100000);
    std::mt19937 generator(17);
    for (uint8_t& b : random)
        b = uint8_t(generator());

    std::vector<uint8_t> cut = Frames(3);
    cut.resize(cut.size() - 1);

    struct Case
    {
        const char* what;
        std::vector<uint8_t> bytes;
        bool complete;
        bool stream;
    };
    const Case cases[] = {
        {"three frames", Frames(3), true, true},
        {"three frames of a longer file", Frames(3), false, true},
        {"after an ID3v2 tag", tagged, true, true},
        {"after a little junk", junkFirst, true, true},
        {"two frames, the whole file", Frames(2), true, true},
        {"two frames of a longer file", Frames(2), false, false},
        {"the third frame cut short", cut, true, false},
        {"a frame of another kind between", mixed, false, false},
        {"random bytes", random, true, false},
        {"empty", {}, true, false},
    };
    for (Case const& test : cases)
        EXPECT_EQ(test.stream, MpegAudioProbe::HasFrames(test.bytes.data(), test.bytes.size(), test.complete))
            << test.what;
}

} // namespace
