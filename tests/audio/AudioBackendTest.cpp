// Engine audio over its back-end seam, without a mixer: the device and the
// voices call the installed back end (the recording one here), and the null
// back end lets a process without SDL open the device silently.
#include "engine/audio/AudioBackend.h"
#include "engine/audio/AudioBackendRecorder.h"
#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundEffectInstance.h"
#include "engine/core/AppSettings.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Vexel::Audio;

namespace
{

class AudioBackendTest : public ::testing::Test
{
protected:
    void SetUp() override { SetBackend(&recorder); }
    void TearDown() override { SetBackend(nullptr); }

    AudioBackendRecorder recorder;
};

TEST_F(AudioBackendTest, TheDeviceOpensAndClosesThroughTheBackEnd)
{
    const int rate = Vexel::GetAppSettings()->audioSampleRate;
    ASSERT_TRUE(AudioDevice::Acquire());
    ASSERT_TRUE(AudioDevice::Acquire());
    EXPECT_EQ(AudioDevice::GetOutputRate(), rate);
    AudioDevice::Release();
    EXPECT_EQ(recorder.GetCalls(), std::vector<std::string>{"OpenDevice " + std::to_string(rate) +
                                                            " 32784 2 1024 32"})
        << "the second reference opens nothing";
    AudioDevice::Release();
    EXPECT_EQ(recorder.GetCalls().back(), "CloseDevice");
    EXPECT_EQ(AudioDevice::GetReferenceCount(), 0);
}

TEST_F(AudioBackendTest, AVoiceWithoutAChannelDoesNotPlay)
{
    {
        SoundEffectInstance voice(1, nullptr, false);
        EXPECT_FALSE(voice.Play());
        EXPECT_FALSE(voice.IsPlaying());
        voice.Stop();
    }
    EXPECT_EQ(recorder.GetCalls(), (std::vector<std::string>{"LoadCarrier 2048", "PlayLooped", "FreeCarrier"}));
}

TEST(NullAudioBackend, OpensTheDeviceSilentlyWithoutSdl)
{
    SetBackend(nullptr);
    TestSupport::LogCapture log;
    ASSERT_TRUE(AudioDevice::Acquire());
    EXPECT_FALSE(AudioDevice::HasFailed());
    AudioDevice::Release();
    EXPECT_TRUE(log.Lines().empty());
}

} // namespace
