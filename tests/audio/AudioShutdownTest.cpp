// The audio shutdown that main runs before SDL_Quit: the command thread is
// stopped and joined, the device is closed, and nothing reaches the mixer
// afterwards. It cannot be undone, so it has a process of its own.
#include "engine/audio/AudioDevice.h"
#include "engine/audio/BGMusic.h"
#include "engine/audio/Effect.h"
#include "engine/audio/Music.h"
#include "engine/audio/SoundEffects.h"
#include "engine/core/AppEvents.h"

#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

using namespace Vexel::Audio;

namespace
{

TEST(AudioShutdownTest, NothingRunsAfterShutdown)
{
    TempDirectory directory;
    AudioTest::WriteFile(directory.File("tone.wav"), AudioTest::MakeWav(1, 44100, AudioTest::Tone(44100)));
    SoundEffects::Initialize(8, true);
    Music::Initialize(true);
    Effect effect(directory.File("tone"), 2, 1.0f, 50, false, StealPolicy::NeverOwn);
    ASSERT_NE(effect.Play(1.0f, 1.0f), -1);
    const int id = Music::Play(AudioTest::DataDirectory() + "/Menu", MusicQueueMode::Replace,
                               MusicPlayMode::Repeat, 1.0f, 0.0f);
    ASSERT_TRUE(
        AudioTest::WaitFor([&] { return Music::GetTrackState(id) == MusicTrackState::Playing; }, 10000));
    EXPECT_TRUE(BGMusicIsRunning());
    EXPECT_GE(AudioDevice::GetReferenceCount(), 2);

    AudioTest::CommandRecorder recorder;
    Music::Shutdown();
    SoundEffects::Shutdown();
    EXPECT_FALSE(BGMusicIsRunning());
    EXPECT_FALSE(SoundEffects::IsActive());
    EXPECT_FALSE(Music::IsActive());
    EXPECT_EQ(AudioDevice::GetReferenceCount(), 0);
    EXPECT_FALSE(effect.IsPlaying(0));

    // Every later call is refused or dropped.
    EXPECT_EQ(Music::Play(AudioTest::DataDirectory() + "/Win", MusicQueueMode::Replace, MusicPlayMode::Repeat,
                          1.0f, 0.0f),
              -1);
    BGMusicLoad("Win.mp3", 3);
    BGMusicPlayLooped();
    BGMusicSetVolume(0.5f);
    BGMusicStart();
    EXPECT_FALSE(BGMusicIsRunning());
    for (int i = 0; i < 5; ++i)
        AudioTest::RunFrame();
    SoundEffects::SetEnabled(true);
    EXPECT_FALSE(SoundEffects::IsActive());
    EXPECT_EQ(effect.Play(1.0f, 1.0f), -1);
    Music::SetEnabled(true);
    Music::Initialize(true);
    EXPECT_FALSE(Music::IsActive());
    EXPECT_TRUE(recorder.Queued().empty());
    EXPECT_TRUE(recorder.Executed().empty());
    EXPECT_EQ(AudioDevice::GetReferenceCount(), 0);

    // The Shutdown event, raised later by main, finds everything stopped.
    Vexel::AppEvents::Shutdown().Raise();
    EXPECT_FALSE(BGMusicIsRunning());
}

} // namespace
