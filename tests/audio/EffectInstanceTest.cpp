// The effect instance's resampling callback, called directly on a buffer:
// no mixer, no device.
#include "engine/audio/FinishedInstances.h"
#include "engine/audio/SoundEffectInstance.h"
#include "engine/audio/WavData.h"

#include "tests/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using Vexel::Audio::SoundEffectInstance;
using Vexel::Audio::WavData;
using Vexel::Audio::FinishedInstances::GetCount;

namespace
{

const int16_t kUntouched = 0x7777;

std::unique_ptr<WavData> Wav(int channels, int rate, std::vector<int16_t> const& samples)
{
    std::vector<uint8_t> bytes = AudioTest::MakeWav(channels, rate, samples);
    return std::unique_ptr<WavData>(WavData::Parse(AudioTest::NewCopy(bytes), int(bytes.size()), "test.wav"));
}

// frames of stereo output, pre-filled so that untouched frames show.
std::vector<int16_t> Stream(int frames)
{
    return std::vector<int16_t>(size_t(frames) * 2, kUntouched);
}

void Mix(SoundEffectInstance& instance, std::vector<int16_t>& stream)
{
    instance.Mix(stream.data(), int(stream.size() * 2));
}

TEST(EffectInstanceTest, StepFollowsPitchAndBothRates)
{
    struct Case
    {
        float pitch;
        int source;
        int output;
        int step;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {1.0f, 44100, 44100, 16384}, {2.0f, 44100, 44100, 32768}, {1.0f, 22050, 44100, 8192},
        {0.5f, 44100, 44100, 8192},  {0.0f, 44100, 44100, 1},     {-1.0f, 44100, 44100, 1},
        {nan, 44100, 44100, 1},      {1.0f, 44100, 0, 1},         {1e30f, 44100, 44100, 16384 * 1024},
    };
    for (Case const& test : cases)
        EXPECT_EQ(SoundEffectInstance::ComputeStep(test.pitch, test.source, test.output), test.step)
            << test.pitch << " " << test.source << " " << test.output;
    // int(pitch x 16384 x rate / 44100 + 0.5) for odd values, computed here
    // in double as the rule says.
    for (float pitch : {0.68f, 1.21f, 1.66f, 0.9f})
        for (int rate : {8000, 11025, 22050, 32000, 44100, 48000})
            EXPECT_EQ(SoundEffectInstance::ComputeStep(pitch, rate, 44100),
                      int(double(pitch) * 16384.0 * rate / 44100.0 + 0.5))
                << pitch << " " << rate;
}

TEST(EffectInstanceTest, GainIsClampedToFullVolume)
{
    struct Case
    {
        float volume;
        float factors;
        int gain;
    };
    const Case cases[] = {
        {2.0f, 1.0f, 16384},
        {0.5f, 1.0f, 8192},
        {1.0f, 1.0f, 16384},
        {1.0f, 0.25f, 4096},
        {0.0f, 1.0f, 0},
        {-1.0f, 1.0f, 0},
        {std::numeric_limits<float>::quiet_NaN(), 1.0f, 0},
    };
    for (Case const& test : cases)
        EXPECT_EQ(SoundEffectInstance::ComputeGain(test.volume, test.factors), test.gain) << test.volume;
}

TEST(EffectInstanceTest, MonoConstantPlaysAtHalfAmplitudeOnBothChannels)
{
    auto wav = Wav(1, 44100, std::vector<int16_t>(400, 1000));
    SoundEffectInstance instance(1, wav.get(), false);
    instance.UpdateStep(44100);
    ASSERT_EQ(instance.GetStep(), 16384);
    ASSERT_EQ(instance.GetGain(), 16384);
    std::vector<int16_t> stream = Stream(64);
    Mix(instance, stream);
    for (size_t i = 0; i < stream.size(); ++i)
        ASSERT_EQ(stream[i], 500) << i;

    instance.SetVolume(0.5f);
    EXPECT_EQ(instance.GetGain(), 8192);
    Mix(instance, stream);
    EXPECT_EQ(stream[0], 250);
    EXPECT_EQ(stream[1], 250);
}

// A ramp: sample i holds 10 i, so every output names the source it came from.
std::vector<int16_t> Ramp(int frames)
{
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i)
        samples.push_back(int16_t(10 * i));
    return samples;
}

TEST(EffectInstanceTest, OneShotEndsWithItsDataAndLeavesTheRestAlone)
{
    const int frames = 60;
    auto wav = Wav(1, 44100, Ramp(frames));
    SoundEffectInstance instance(1, wav.get(), false);
    instance.UpdateStep(44100);
    const int before = GetCount();
    std::vector<int16_t> stream = Stream(100);
    Mix(instance, stream);

    // Playback starts 20 bytes in: output k interpolates samples 9+k and
    // 10+k at fraction 0, so it is sample 9+k halved.
    const int played = frames - 10;
    for (int k = 0; k < played; ++k)
    {
        ASSERT_EQ(stream[2 * size_t(k)], 10 * (9 + k) / 2) << k;
        ASSERT_EQ(stream[2 * size_t(k) + 1], 10 * (9 + k) / 2) << k;
    }
    for (size_t i = 2 * size_t(played); i < stream.size(); ++i)
        ASSERT_EQ(stream[i], kUntouched) << i;
    EXPECT_TRUE(instance.HasEnded());
    EXPECT_EQ(GetCount(), before + 1);

    // An ended instance writes nothing more and is listed once.
    std::vector<int16_t> again = Stream(10);
    Mix(instance, again);
    EXPECT_EQ(again, Stream(10));
    EXPECT_EQ(GetCount(), before + 1);

    // Rewinding plays it again; deleting takes it off the list.
    instance.Rewind();
    EXPECT_EQ(instance.GetPosition(), 10);
    EXPECT_FALSE(instance.HasEnded());
}

TEST(EffectInstanceTest, DeletedInstanceLeavesTheFinishedList)
{
    const int before = GetCount();
    auto wav = Wav(1, 44100, Ramp(30));
    {
        SoundEffectInstance instance(1, wav.get(), false);
        std::vector<int16_t> stream = Stream(100);
        Mix(instance, stream);
        EXPECT_EQ(GetCount(), before + 1);
    }
    EXPECT_EQ(GetCount(), before);
}

TEST(EffectInstanceTest, LoopRestartsTwentyBytesIntoTheData)
{
    const int frames = 40;
    auto wav = Wav(1, 44100, Ramp(frames));
    SoundEffectInstance instance(1, wav.get(), true);
    instance.UpdateStep(44100);
    const int played = frames - 10;
    std::vector<int16_t> stream = Stream(played * 3 + 7);
    Mix(instance, stream);
    for (int k = 0; k < played * 3 + 7; ++k)
        ASSERT_EQ(stream[2 * size_t(k)], 10 * (9 + k % played) / 2) << k;
    EXPECT_FALSE(instance.HasEnded());
    EXPECT_EQ(instance.GetPosition(), 10 + 7);
}

TEST(EffectInstanceTest, PitchInterpolatesBetweenNeighbouringFrames)
{
    auto wav = Wav(1, 44100, Ramp(100));
    SoundEffectInstance instance(1, wav.get(), false);
    instance.SetPitch(0.25f);
    instance.UpdateStep(44100);
    ASSERT_EQ(instance.GetStep(), 4096);
    std::vector<int16_t> stream = Stream(8);
    Mix(instance, stream);
    // Position 10 + k/4, fraction (k mod 4) quarters: between 10 (9 + p)
    // and 10 (10 + p), halved.
    for (int k = 0; k < 8; ++k)
    {
        const int p = 10 + k / 4;
        const int f = (k % 4) * 4096;
        const int expected = (f * 10 * p + (16384 - f) * 10 * (p - 1)) >> 15;
        EXPECT_EQ(stream[2 * size_t(k)], expected) << k;
    }
}

TEST(EffectInstanceTest, StereoKeepsEachChannelToItself)
{
    // Left rises, right falls; each frame's channels differ in sign.
    std::vector<int16_t> samples;
    const int frames = 50;
    for (int i = 0; i < frames; ++i)
    {
        samples.push_back(int16_t(100 * i));
        samples.push_back(int16_t(-100 * i - 50));
    }
    auto wav = Wav(2, 44100, samples);
    SoundEffectInstance instance(1, wav.get(), false);
    instance.SetPitch(0.5f);
    instance.UpdateStep(44100);
    ASSERT_EQ(instance.GetStep(), 8192);
    std::vector<int16_t> stream = Stream(20);
    Mix(instance, stream);
    // Start frame 5 (20 bytes of stereo); position 5 + k/2, fraction half
    // on odd k.
    for (int k = 0; k < 20; ++k)
    {
        const int p = 5 + k / 2;
        const int f = (k % 2) * 8192;
        const int left = (f * 100 * p + (16384 - f) * 100 * (p - 1)) >> 15;
        const int right = (f * (-100 * p - 50) + (16384 - f) * (-100 * (p - 1) - 50)) >> 15;
        EXPECT_EQ(stream[2 * size_t(k)], left) << k;
        EXPECT_EQ(stream[2 * size_t(k) + 1], right) << k;
    }
}

TEST(EffectInstanceTest, TwentyBytesOrLessPlayNothingEvenLooped)
{
    for (bool loop : {false, true})
        for (int samples : {0, 4, 10})
        {
            auto wav = Wav(1, 44100, std::vector<int16_t>(size_t(samples), 1000));
            ASSERT_TRUE(wav);
            SoundEffectInstance instance(1, wav.get(), loop);
            std::vector<int16_t> stream = Stream(16);
            Mix(instance, stream);
            EXPECT_EQ(stream, Stream(16)) << loop << " " << samples;
            EXPECT_TRUE(instance.HasEnded()) << loop << " " << samples;
        }
}

TEST(EffectInstanceTest, LargestStepStaysInsideTheData)
{
    auto wav = Wav(2, 44100, std::vector<int16_t>(2000, 3));
    SoundEffectInstance instance(1, wav.get(), true);
    instance.SetPitch(1e9f);
    instance.UpdateStep(44100);
    std::vector<int16_t> stream = Stream(256);
    Mix(instance, stream);
    EXPECT_FALSE(instance.HasEnded());
    EXPECT_GE(instance.GetPosition(), 5);
    EXPECT_LT(instance.GetPosition(), 1000);
}

} // namespace
