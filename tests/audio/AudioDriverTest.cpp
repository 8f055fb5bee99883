// The audio layers on a machine without a sound device, and the mixed
// output captured by SDL's disk driver. Each case needs its own driver, so
// CTest runs this program once per case with SDL_AUDIODRIVER set; a case
// whose driver is not selected is skipped.
#include "engine/audio/AudioDevice.h"
#include "engine/audio/Effect.h"
#include "engine/audio/Music.h"
#include "engine/audio/SoundEffectInstance.h"
#include "engine/audio/SoundEffects.h"
#include "engine/audio/WavData.h"

#include "tests/audio/AudioTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <memory>

using namespace Vexel::Audio;

namespace
{

std::string Driver()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return driver ? driver : "";
}

TEST(NoAudioDevice, LayersStayInactiveAfterOneMessage)
{
    if (Driver() != "none")
        GTEST_SKIP() << "runs with SDL_AUDIODRIVER=none";
    TestSupport::LogCapture log;
    SoundEffects::Initialize(8, true);
    Music::Initialize(true);
    EXPECT_FALSE(SoundEffects::IsActive());
    EXPECT_TRUE(AudioDevice::HasFailed());
    EXPECT_EQ(AudioDevice::GetReferenceCount(), 0);

    Effect effect(AudioTest::DataDirectory() + "/sfx_menubeep", 2, 1.0f, 100, false,
                  StealPolicy::RestartOldest);
    EXPECT_EQ(effect.Play(1.0f, 1.0f), -1);
    EXPECT_EQ(Music::Play("Menu", MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f), -1);
    for (int i = 0; i < 10; ++i)
        AudioTest::RunFrame();
    SoundEffects::SetEnabled(false);
    SoundEffects::SetEnabled(true);
    Music::SetEnabled(false);
    Music::SetEnabled(true);
    EXPECT_EQ(effect.Play(1.0f, 1.0f), -1);
    EXPECT_FALSE(SoundEffects::IsActive());
    EXPECT_FALSE(Music::IsActive());
    // Music switched off never tries the device, so its plays still queue.
    Music::SetEnabled(false);
    EXPECT_GT(Music::Play("Menu", MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f), 0);

    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0].level, Vexel::Log::Level::Error);
    EXPECT_EQ(log.Lines()[0].message.find("SDL_mixer error: "), 0u);
    Music::Shutdown();
    SoundEffects::Shutdown();
}

// The 16-bit stereo frames the instance should mix for the file at pitch 1
// and full volume, worked out from the rule rather than by the instance:
// output k reads source position start + k x step / 16384.
std::vector<int16_t> Expected(WavData const& wav, int outputRate)
{
    const int step = SoundEffectInstance::ComputeStep(1.0f, wav.GetSampleRate(), outputRate);
    const int16_t* samples = wav.GetSamples();
    std::vector<int16_t> mono;
    for (long long k = 0;; ++k)
    {
        const long long at = k * step;
        const long long position = wav.GetStartFrame() + (at >> 14);
        const int fraction = int(at & 0x3FFF);
        if (position >= wav.GetFrameCount())
            break;
        mono.push_back(
            int16_t((fraction * samples[position] + (16384 - fraction) * samples[position - 1]) >> 15));
    }
    return mono;
}

// The first frame at or after from whose left sample is not zero; -1 when
// none.
long FirstSound(std::vector<int16_t> const& frames, size_t from)
{
    for (size_t i = from; i < frames.size(); i += 2)
        if (frames[i] != 0)
            return long(i / 2);
    return -1;
}

TEST(DiskCapture, MixedSoundsAreTheirHalfAmplitudeSamples)
{
    if (Driver() != "disk")
        GTEST_SKIP() << "runs with SDL_AUDIODRIVER=disk";
    TempDirectory directory;
    const std::string capture = directory.File("capture.raw");
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);

    SoundEffects::Initialize(8, true);
    ASSERT_TRUE(SoundEffects::IsActive());
    const int outputRate = AudioDevice::GetOutputRate();
    const char* const names[2] = {"sfx_menubeep", "explosion_rcq1"};
    for (const char* name : names)
    {
        Effect effect(AudioTest::DataDirectory() + "/" + name, 1, 1.0f, 100, false, StealPolicy::NeverOwn);
        const int handle = effect.Play(1.0f, 1.0f);
        ASSERT_NE(handle, -1) << name;
        ASSERT_TRUE(AudioTest::WaitFor([&] { return !effect.IsPlaying(handle); }, 20000, true)) << name;
    }
    // Closing the device flushes the capture.
    SoundEffects::Shutdown();
    ASSERT_EQ(AudioDevice::GetReferenceCount(), 0);

    const std::vector<uint8_t> bytes = AudioTest::ReadFile(capture);
    std::vector<int16_t> frames(bytes.size() / 2);
    std::memcpy(frames.data(), bytes.data(), frames.size() * 2);
    size_t from = 0;
    for (const char* name : names)
    {
        std::unique_ptr<WavData> wav(WavData::Load(AudioTest::DataDirectory() + "/" + name + ".wav"));
        ASSERT_TRUE(wav) << name;
        const std::vector<int16_t> expected = Expected(*wav, outputRate);
        size_t leading = 0;
        while (leading < expected.size() && expected[leading] == 0)
            ++leading;
        ASSERT_LT(leading, expected.size()) << name << " is silent";
        const long start = FirstSound(frames, from);
        ASSERT_GE(start, 0) << name << " was not captured";
        const size_t first = size_t(start) - leading;
        ASSERT_LE((first + expected.size()) * 2, frames.size()) << name << " was cut short";

        int peak = 0;
        size_t mismatches = 0;
        for (size_t k = 0; k < expected.size(); ++k)
        {
            const int16_t left = frames[2 * (first + k)];
            const int16_t right = frames[2 * (first + k) + 1];
            if (left != expected[k] || right != expected[k])
                ++mismatches;
            peak = std::max(peak, std::abs(int(left)));
        }
        EXPECT_EQ(mismatches, 0u) << name;
        // Heard, and far from clipping: half amplitude stays under 16384.
        EXPECT_GT(peak, 2000) << name;
        EXPECT_LE(peak, 16384) << name;
        for (size_t i = 2 * first; i < 2 * (first + expected.size()); ++i)
            ASSERT_TRUE(frames[i] > -32768 && frames[i] < 32767) << name;
        from = 2 * (first + expected.size());
    }
}

} // namespace
