// The music module and its command thread against the real mixer on SDL's
// dummy driver, with the build's generated tracks and a short MP3 made here
// with the lame encoder. Command sequences are read off the thread's
// observer as they are queued, on the main thread, so they do not depend on
// when the thread runs them.
#include "engine/audio/BGMusic.h"
#include "engine/audio/Music.h"
#include "engine/audio/ParamFactor.h"

#include "tests/audio/AudioTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using namespace Vexel::Audio;
using AudioTest::CommandRecorder;
using AudioTest::WaitFor;
using Words = std::vector<std::string>;

namespace
{

const int kWait = 10000;

std::string Track(const char* name)
{
    return AudioTest::DataDirectory() + "/" + name;
}

std::string Load(std::string const& name, int id)
{
    return "load " + name + ".mp3 " + std::to_string(id);
}

struct NameLog
{
    Words started, stopped;
    void OnStarted(std::string const& name) { started.push_back(name); }
    void OnStopped(std::string const& name) { stopped.push_back(name); }
};

class MusicTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Music::Initialize(true);
        directory = new TempDirectory();
        // A third of a second of 44.1 kHz stereo, encoded as the game's
        // tracks are.
        std::vector<int16_t> samples;
        for (int i = 0; i < 44100 / 3; ++i)
        {
            const int16_t value = int16_t((i % 100 < 50) ? 6000 : -6000);
            samples.push_back(value);
            samples.push_back(value);
        }
        AudioTest::WriteFile(directory->File("short.wav"), AudioTest::MakeWav(2, 44100, samples));
        const std::string command = "lame --quiet -b 128 --resample 44.1 " + directory->File("short.wav") +
                                    " " + directory->File("short.mp3");
        encoded = std::system(command.c_str()) == 0;
    }
    static void TearDownTestSuite()
    {
        delete directory;
        directory = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(BGMusicIsRunning());
        Music::SetEnabled(true);
        Music::SetVolume(1.0f);
        ASSERT_TRUE(Music::IsActive());
        ClearQueue();
        recorder.Clear();
    }
    void TearDown() override
    {
        ClearQueue();
        EXPECT_TRUE(BGMusicWaitIdle(kWait));
    }

    // Replace drops every queued track and leaves one started; stopping it
    // takes it away.
    void ClearQueue()
    {
        for (int i = 0; i < 3 && Music::GetQueueLength() > 0; ++i)
        {
            Music::Play(Track("Menu"), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
            Music::StopCurrent(false, 1.0f);
        }
        ASSERT_EQ(Music::GetQueueLength(), 0);
        ASSERT_TRUE(BGMusicWaitIdle(kWait));
    }

    static std::string ShortTrack() { return directory->File("short"); }

    static TempDirectory* directory;
    static bool encoded;
    CommandRecorder recorder;
};

TempDirectory* MusicTest::directory = nullptr;
bool MusicTest::encoded = false;

TEST_F(MusicTest, StartingATrackLoadsItsFileAndPlaysIt)
{
    struct Case
    {
        int playMode;
        bool once;
    };
    for (Case test : {Case{MusicPlayMode::Repeat, false}, Case{MusicPlayMode::OnceThenNext, true},
                      Case{MusicPlayMode::Once, true}})
    {
        ClearQueue();
        recorder.Clear();
        const int id = Music::Play(Track("Menu"), MusicQueueMode::Replace, test.playMode, 1.0f, 0.0f);
        ASSERT_GT(id, 0);
        Words expected{Load(Track("Menu"), id), "looped"};
        if (test.once)
            expected.push_back("once 1");
        expected.push_back("volume 1");
        EXPECT_EQ(recorder.QueuedWords(), expected) << test.playMode;
        EXPECT_EQ(Music::GetQueueLength(), 1);
    }
}

TEST_F(MusicTest, ReplaceStopsTheCurrentTrackAndDropsTheQueue)
{
    const int first = Music::Play(Track("Menu"), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
    Music::Play(Track("Win"), MusicQueueMode::Append, MusicPlayMode::Once, 1.0f, 0.0f);
    Music::Play(Track("Tutorial"), MusicQueueMode::Append, MusicPlayMode::Once, 1.0f, 0.0f);
    ASSERT_EQ(Music::GetQueueLength(), 3);
    NameLog names;
    Music::Stopped().Subscribe(Vexel::Action<std::string const&>(&names, &NameLog::OnStopped));
    recorder.Clear();

    const int second = Music::Play(Track("InGame"), 7, MusicPlayMode::Repeat, 1.0f, 0.0f);
    EXPECT_EQ(second, first + 3);
    EXPECT_EQ(recorder.QueuedWords(),
              (Words{"once 0", "stop", Load(Track("InGame"), second), "looped", "volume 1"}));
    EXPECT_EQ(Music::GetQueueLength(), 1);
    EXPECT_EQ(Music::GetTrackState(first), MusicTrackState::Absent);
    EXPECT_EQ(names.stopped, Words{Track("Menu")});
    Music::Stopped().Unsubscribe(&names);
}

TEST_F(MusicTest, AppendedTracksWaitForTheCurrentOne)
{
    NameLog names;
    Music::Started().Subscribe(Vexel::Action<std::string const&>(&names, &NameLog::OnStarted));
    const int first =
        Music::Play(Track("Menu"), MusicQueueMode::Append, MusicPlayMode::OnceThenNext, 1.0f, 0.0f);
    EXPECT_EQ(recorder.QueuedWords(), (Words{Load(Track("Menu"), first), "looped", "once 1", "volume 1"}));
    recorder.Clear();
    const int second =
        Music::Play(Track("Win"), MusicQueueMode::Append, MusicPlayMode::OnceThenNext, 1.0f, 0.0f);
    EXPECT_EQ(recorder.QueuedWords(), Words{"volume 1"});
    EXPECT_EQ(Music::GetQueueLength(), 2);
    EXPECT_EQ(Music::GetTrackState(second), MusicTrackState::Waiting);

    // Stopping the first with "continue" starts the second at once.
    recorder.Clear();
    Music::StopCurrentAndContinue(false, 1.0f);
    EXPECT_EQ(recorder.QueuedWords(),
              (Words{"once 0", "stop", "volume 1", Load(Track("Win"), second), "looped", "once 1"}));
    EXPECT_EQ(Music::GetQueueLength(), 1);
    EXPECT_EQ(names.started, (Words{Track("Menu"), Track("Win")}));

    // Stopping without "continue" ends the queue's play.
    Music::Play(Track("Tutorial"), MusicQueueMode::Append, MusicPlayMode::OnceThenNext, 1.0f, 0.0f);
    recorder.Clear();
    Music::StopCurrent(false, 1.0f);
    EXPECT_EQ(recorder.QueuedWords(), (Words{"once 0", "stop", "volume 1"}));
    EXPECT_EQ(Music::GetQueueLength(), 1);
    Music::Started().Unsubscribe(&names);
}

TEST_F(MusicTest, InterruptedTrackResumesAfterTheInterruption)
{
    const int menu = Music::Play(Track("Menu"), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
    recorder.Clear();
    const int win =
        Music::Play(Track("Win"), MusicQueueMode::Interrupt, MusicPlayMode::OnceThenNext, 1.0f, 0.0f);
    EXPECT_EQ(recorder.QueuedWords(),
              (Words{"once 1", "stop", Load(Track("Win"), win), "looped", "once 1", "volume 1"}));
    EXPECT_EQ(Music::GetQueueLength(), 2);
    ASSERT_TRUE(BGMusicWaitIdle(kWait));
    EXPECT_EQ(Music::GetTrackState(menu), MusicTrackState::Waiting);

    recorder.Clear();
    Music::StopCurrentAndContinue(false, 1.0f);
    EXPECT_EQ(recorder.QueuedWords(),
              (Words{"once 0", "stop", "volume 1", Load(Track("Menu"), menu), "looped"}));
    EXPECT_EQ(Music::GetQueueLength(), 1);
}

TEST_F(MusicTest, DisabledMusicStillQueuesTracksButLoadsNothing)
{
    const int menu = Music::Play(Track("Menu"), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
    recorder.Clear();
    Music::SetEnabled(false);
    EXPECT_FALSE(Music::IsActive());
    EXPECT_EQ(recorder.QueuedWords(), (Words{"once 0", "stop", "once 1", "stop", "unload"}));
    ASSERT_TRUE(BGMusicWaitIdle(kWait));
    EXPECT_EQ(Music::GetTrackState(menu), MusicTrackState::Waiting);

    recorder.Clear();
    const int game = Music::Play(Track("InGame"), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
    EXPECT_GT(game, 0);
    AudioTest::RunFrame();
    EXPECT_TRUE(recorder.QueuedWords().empty());
    EXPECT_EQ(Music::GetTrackState(game), MusicTrackState::Waiting);
    EXPECT_EQ(Music::GetQueueLength(), 1);

    // Switching on makes a fresh music object; the queued track waits for
    // its owner to start it again.
    Music::SetEnabled(true);
    EXPECT_TRUE(Music::IsActive());
    EXPECT_EQ(recorder.QueuedWords(), (Words{"off", "volume 1", "volume 1"}));
    recorder.Clear();
    Music::StartOrRestartCurrent();
    EXPECT_EQ(recorder.QueuedWords(), (Words{Load(Track("InGame"), game), "looped", "volume 1"}));
}

TEST_F(MusicTest, VolumeIsTheFactorsTimesTheLevelClampedToOne)
{
    struct Case
    {
        float level;
        float factor;
        float expected;
    };
    ParamFactor factor;
    Music::GetVolumeFactors().Add(&factor);
    for (Case test : {Case{1.005f, 1.0f, 1.0f}, Case{1.005f, 0.5f, 1.005f * 0.5f}, Case{0.5f, 0.5f, 0.25f},
                      Case{-1.0f, 1.0f, 0.0f}, Case{4.0f, 0.0f, 0.0f}})
    {
        Music::SetVolume(test.level);
        factor.SetValue(test.factor);
        EXPECT_EQ(Music::GetVolume(), test.level);
        recorder.Clear();
        Music::Refresh();
        ASSERT_EQ(recorder.Queued().size(), 1u);
        EXPECT_EQ(recorder.Queued()[0].command, BGMusicCommand::SetVolume);
        EXPECT_EQ(recorder.Queued()[0].volume, test.expected) << test.level << " x " << test.factor;
    }
    Music::GetVolumeFactors().Remove(&factor);
}

TEST_F(MusicTest, TrackStateFollowsTheMusicTheMixerLastStarted)
{
    EXPECT_EQ(Music::GetTrackState(123456), MusicTrackState::Absent);
    const int id = Music::Play(Track("Menu"), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
    ASSERT_TRUE(WaitFor([&] { return Music::GetTrackState(id) == MusicTrackState::Playing; }, kWait));
    EXPECT_TRUE(BGMusicLoopsStateIs(id));
    // Looped play keeps its state over many polling rounds and frames.
    for (int i = 0; i < 5; ++i)
    {
        AudioTest::RunFrame();
        Vexel::Threading::Thread::Sleep(6);
    }
    EXPECT_EQ(BGMusicGetPlayingState(), BGMusicPlayingState::Looped);
    EXPECT_EQ(Music::GetTrackState(id), MusicTrackState::Playing);
    Music::StopCurrent(false, 1.0f);
    EXPECT_EQ(Music::GetTrackState(id), MusicTrackState::Absent);
    EXPECT_FALSE(BGMusicIsPlaying());
}

TEST_F(MusicTest, EveryGeneratedTrackLoadsAndPlaysThroughTheMixer)
{
    TestSupport::LogCapture log;
    for (const char* name : AudioTest::kGeneratedTracks)
    {
        const int id = Music::Play(Track(name), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
        EXPECT_TRUE(WaitFor([&] { return Music::GetTrackState(id) == MusicTrackState::Playing; }, kWait))
            << name;
    }
    ASSERT_TRUE(BGMusicWaitIdle(kWait));
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(MusicTest, CommandsRunInTheOrderTheyWereQueued)
{
    for (int i = 0; i < 50; ++i)
        BGMusicSetVolume(float(i) / 64.0f);
    BGMusicOff();
    BGMusicApplyVolume();
    BGMusicUnload();
    // No music object now: a volume does nothing, harmlessly.
    BGMusicSetVolume(0.5f);
    ASSERT_TRUE(BGMusicWaitIdle(kWait));
    EXPECT_EQ(recorder.ExecutedWords(), recorder.QueuedWords());
    EXPECT_EQ(recorder.Executed().size(), 54u);
}

TEST_F(MusicTest, PlayingStateFollowsTheCallers)
{
    // Real music plays throughout, so the thread never sees an end.
    BGMusicLoad(Track("Menu") + ".mp3", 77);
    BGMusicPlayLooped();
    ASSERT_TRUE(WaitFor([] { return BGMusicLoopsStateIs(77); }, kWait));
    EXPECT_EQ(BGMusicGetPlayingState(), BGMusicPlayingState::Looped);
    BGMusicPlayOnce(true);
    EXPECT_EQ(BGMusicGetPlayingState(), BGMusicPlayingState::Once);
    BGMusicPlayOnce(false);
    EXPECT_EQ(BGMusicGetPlayingState(), BGMusicPlayingState::None);
    // Play-once from no state stays at none.
    BGMusicPlayOnce(true);
    EXPECT_EQ(BGMusicGetPlayingState(), BGMusicPlayingState::None);
    BGMusicPlayLooped();
    BGMusicStop();
    EXPECT_FALSE(BGMusicIsPlaying());
    ASSERT_TRUE(BGMusicWaitIdle(kWait));
}

TEST_F(MusicTest, OneShotMusicEndsAndStopsPlaying)
{
    ASSERT_TRUE(encoded) << "the lame encoder is needed (scripts/install-deps installs it)";
    BGMusicLoad(ShortTrack() + ".mp3", 4242);
    BGMusicPlayLooped();
    BGMusicPlayOnce(true);
    EXPECT_TRUE(BGMusicIsPlaying());
    EXPECT_TRUE(WaitFor([] { return BGMusicLoopsStateIs(4242); }, kWait));
    EXPECT_TRUE(WaitFor([] { return !BGMusicIsPlaying(); }, kWait));
    EXPECT_TRUE(BGMusicLoopsStateIs(-2));
    BGMusicUnload();
}

TEST_F(MusicTest, NextTrackStartsAfterTheCurrentOneEnds)
{
    ASSERT_TRUE(encoded) << "the lame encoder is needed (scripts/install-deps installs it)";
    NameLog names;
    Music::Stopped().Subscribe(Vexel::Action<std::string const&>(&names, &NameLog::OnStopped));
    const int first =
        Music::Play(ShortTrack(), MusicQueueMode::Append, MusicPlayMode::OnceThenNext, 1.0f, 0.0f);
    const int second = Music::Play(Track("Menu"), MusicQueueMode::Append, MusicPlayMode::Repeat, 1.0f, 0.0f);
    EXPECT_TRUE(
        WaitFor([&] { return Music::GetTrackState(first) == MusicTrackState::Playing; }, kWait, true));
    EXPECT_TRUE(
        WaitFor([&] { return Music::GetTrackState(second) == MusicTrackState::Playing; }, kWait, true));
    EXPECT_EQ(Music::GetTrackState(first), MusicTrackState::Absent);
    EXPECT_EQ(names.stopped, Words{ShortTrack()});
    Music::Stopped().Unsubscribe(&names);
}

TEST_F(MusicTest, MissingFileIsReportedAndTheQueueMovesOn)
{
    TestSupport::LogCapture log;
    const int missing =
        Music::Play(Track("NoSuchTrack"), MusicQueueMode::Append, MusicPlayMode::Repeat, 1.0f, 0.0f);
    Music::Play(Track("Menu"), MusicQueueMode::Append, MusicPlayMode::Repeat, 1.0f, 0.0f);
    // The failed track never plays; the module drops it. A repeating
    // track does not lead on to the next, so the queue then waits.
    EXPECT_TRUE(
        WaitFor([&] { return Music::GetTrackState(missing) == MusicTrackState::Absent; }, kWait, true));
    EXPECT_EQ(Music::GetQueueLength(), 1);
    ASSERT_TRUE(BGMusicWaitIdle(kWait));
    int errors = 0;
    for (auto const& line : log.Lines())
        if (line.message.find("SDL_mixer error:") == 0 &&
            line.message.find("NoSuchTrack.mp3") != std::string::npos)
            ++errors;
    EXPECT_EQ(errors, 1);
}

TEST_F(MusicTest, DamagedTracksAreSaidOnceAndNeverPlay)
{
    // Named like tracks; the mixer's reader would take each and play silence.
    mkdir(directory->File("folder.mp3").c_str(), 0700);
    AudioTest::WriteFile(directory->File("empty.mp3"), {});
    std::vector<uint8_t> random(50000);
    uint32_t state = 17;
    for (uint8_t& b : random)
        b = uint8_t((state = state * 1664525u + 1013904223u) >> 24);
    AudioTest::WriteFile(directory->File("random.mp3"), random);
    mkfifo(directory->File("pipe.mp3").c_str(), 0600);
    const char* names[] = {"folder", "empty", "random", "pipe"};

    TestSupport::LogCapture log;
    for (int round = 0; round < 2; ++round)
        for (const char* name : names)
        {
            const int id = Music::Play(directory->File(name), MusicQueueMode::Replace, MusicPlayMode::Repeat,
                                       1.0f, 0.0f);
            EXPECT_TRUE(
                WaitFor([&] { return Music::GetTrackState(id) == MusicTrackState::Absent; }, kWait, true))
                << name;
            ASSERT_TRUE(BGMusicWaitIdle(kWait));
        }
    for (const char* name : names)
    {
        int said = 0;
        for (auto const& line : log.Lines())
            if (line.message.find(std::string(name) + ".mp3") != std::string::npos)
            {
                ++said;
                EXPECT_EQ(line.level, Vexel::Log::Level::Error) << line.message;
            }
        EXPECT_EQ(said, 1) << name;
    }
    // A sound track still plays after them.
    if (encoded)
    {
        const int id = Music::Play(ShortTrack(), MusicQueueMode::Replace, MusicPlayMode::Repeat, 1.0f, 0.0f);
        EXPECT_TRUE(
            WaitFor([&] { return Music::GetTrackState(id) == MusicTrackState::Playing; }, kWait, true));
    }
}

} // namespace
