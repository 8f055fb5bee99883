// GameMusic against a recording music player: fade rates, the cross-fade,
// reversing a fade, restarts, and the 22-byte saved form.
#include "engine/audio/BGMusic.h"
#include "engine/audio/Music.h"
#include "engine/audio/ParamFactor.h"
#include "game/audio/GameMusic.h"
#include "game/scores/GamePrefs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{

using State = Vexel::Audio::MusicTrackState;

class FakePlayer : public GameMusic::IMusicPlayer
{
public:
    struct Started
    {
        std::string name;
        int queueMode, playMode;
        float first, second;
    };
    int Play(std::string const& name, int queueMode, int playMode, float first, float second) override
    {
        started.push_back({name, queueMode, playMode, first, second});
        // Like the module: a replace drops every queued track.
        states.clear();
        states[++lastId] = State::Waiting;
        return lastId;
    }
    int GetTrackState(int id) override
    {
        auto it = states.find(id);
        return it == states.end() ? int(State::Absent) : it->second;
    }
    void StopCurrent(bool flag, float fade) override
    {
        stops.push_back(flag ? -fade : fade);
        states.clear();
    }
    // The command thread has started the last track.
    void Begin() { states[lastId] = State::Playing; }

    std::vector<Started> started;
    std::vector<float> stops;
    std::map<int, int> states;
    int lastId = 100;
};

class GameMusicTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = GameMusic::SetPlayer(&player);
        GameMusic::Reset();
    }
    void TearDown() override
    {
        GameMusic::Reset();
        GameMusic::SetPlayer(previous);
    }
    // Starts a track at full level, playing.
    void PlayingAtFullLevel(int track)
    {
        GameMusic::Play(track, true, 0.0f, 0.0f);
        player.Begin();
        ASSERT_EQ(GameMusic::GetCurrentTrack(), track);
        ASSERT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);
    }
    std::string Saved()
    {
        std::ostringstream out;
        GameMusic::Save(out);
        return out.str();
    }

    FakePlayer player;
    GameMusic::IMusicPlayer* previous = nullptr;
};

template <class T> std::string Bytes(T v)
{
    std::string s(sizeof(T), '\0');
    std::memcpy(&s[0], &v, sizeof(T));
    return s;
}

std::string SavedForm(float level, float rate, int32_t current, uint8_t repeat, float fadeIn, int32_t pending,
                      uint8_t pendingRepeat)
{
    return Bytes(level) + Bytes(rate) + Bytes(current) + Bytes(repeat) + Bytes(fadeIn) + Bytes(pending) +
           Bytes(pendingRepeat);
}

} // namespace

TEST(GameMusicFadeRate, ShortFadesAreInstantAndLongOnesCappedAt100Seconds)
{
    const struct
    {
        float seconds, rate;
    } cases[] = {{0.0f, 1000.0f}, {0.001f, 1000.0f}, {-3.0f, 1000.0f}, {0.5f, 2.0f},
                 {2.0f, 0.5f},    {100.0f, 0.01f},   {250.0f, 0.01f},  {1e9f, 0.01f}};
    for (auto const& c : cases)
        EXPECT_FLOAT_EQ(GameMusic::FadeRate(c.seconds), c.rate) << c.seconds;
    EXPECT_FLOAT_EQ(GameMusic::FadeRate(std::nanf("")), 1000.0f);
}

TEST_F(GameMusicTest, TheFirstTrackStartsAtOnceThroughTheMusicModule)
{
    GameMusic::Play(0, true, 0.0f, 0.0f);
    ASSERT_EQ(player.started.size(), 1u);
    EXPECT_EQ(player.started[0].name, "Menu");
    EXPECT_EQ(player.started[0].queueMode, int(Vexel::Audio::MusicQueueMode::Replace));
    EXPECT_EQ(player.started[0].playMode, int(Vexel::Audio::MusicPlayMode::Repeat));
    EXPECT_EQ(player.started[0].first, 1.0f);
    EXPECT_EQ(player.started[0].second, 0.0f);
    EXPECT_EQ(GameMusic::GetMusicId(), player.lastId);
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 0);
    EXPECT_EQ(GameMusic::GetPendingTrack(), -1);
    // A fade-in of 0 s starts at full level.
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);
    // The fade level is one of the music volume's factors.
    EXPECT_FLOAT_EQ(Vexel::Audio::Music::GetVolumeFactors().GetProduct(), 1.0f);
    GameMusic::Update(1.0f / 30);
    EXPECT_EQ(player.started.size(), 1u);
}

TEST_F(GameMusicTest, ATrackThatIsNotRepeatedPlaysOnceThenLetsTheQueueGoOn)
{
    GameMusic::Play(3, false, 0.0f, 0.0f);
    ASSERT_EQ(player.started.size(), 1u);
    EXPECT_EQ(player.started[0].name, "Win");
    EXPECT_EQ(player.started[0].playMode, int(Vexel::Audio::MusicPlayMode::OnceThenNext));
    // Once it has ended (no queued track has its id) nothing is current.
    player.states.clear();
    GameMusic::Update(1.0f / 30);
    EXPECT_EQ(GameMusic::GetCurrentTrack(), -1);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 0.0f);
    EXPECT_EQ(player.started.size(), 1u);
}

TEST_F(GameMusicTest, AChangeFadesOutThenStartsThePendingTrackAndFadesItIn)
{
    PlayingAtFullLevel(0);
    GameMusic::Play(1, true, 0.5f, 2.0f);
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 0);
    EXPECT_EQ(GameMusic::GetPendingTrack(), 1);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeRate(), -2.0f);
    // The immediate update runs the minimum step of 0.005 s.
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f - 2.0f * 0.005f);
    int frames = 0;
    while (GameMusic::GetCurrentTrack() == 0 && frames < 100)
    {
        GameMusic::Update(1.0f / 30);
        ++frames;
    }
    // 0.5 s at 30 frames a second: the level reaches 0 in the second half
    // of frame 15, and the switch test of frame 16 sees it.
    EXPECT_EQ(frames, 16);
    ASSERT_EQ(player.started.size(), 2u);
    EXPECT_EQ(player.started[1].name, "InGame");
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 1);
    EXPECT_EQ(GameMusic::GetPendingTrack(), -1);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeRate(), 0.5f);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 0.0f);
    // Waiting for the command thread: the level holds.
    GameMusic::Update(1.0f / 30);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 0.0f);
    player.Begin();
    GameMusic::Update(0.1f);
    EXPECT_NEAR(GameMusic::GetFadeLevel(), 0.05f, 1e-6);
    for (int i = 0; i < 100; ++i)
        GameMusic::Update(0.1f);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);
}

TEST_F(GameMusicTest, PlayingTheCurrentTrackReversesAFadeOutAndCancelsThePendingOne)
{
    PlayingAtFullLevel(0);
    GameMusic::Play(2, true, 1.0f, 0.0f);
    for (int i = 0; i < 12; ++i)
        GameMusic::Update(1.0f / 30);
    float faded = GameMusic::GetFadeLevel();
    EXPECT_LT(faded, 0.7f);
    GameMusic::Play(0, true, 0.0f, 2.0f);
    EXPECT_EQ(GameMusic::GetPendingTrack(), -1);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeRate(), 0.5f);
    GameMusic::Update(0.2f);
    EXPECT_GT(GameMusic::GetFadeLevel(), faded);
    for (int i = 0; i < 200; ++i)
        GameMusic::Update(1.0f / 30);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 0);
    EXPECT_EQ(player.started.size(), 1u);
}

TEST_F(GameMusicTest, ASecondChangeReplacesThePendingTrackAndItsRate)
{
    PlayingAtFullLevel(0);
    GameMusic::Play(1, true, 4.0f, 0.0f);
    GameMusic::Play(3, false, 0.25f, 0.0f);
    EXPECT_EQ(GameMusic::GetPendingTrack(), 3);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeRate(), -4.0f);
    for (int i = 0; i < 10; ++i)
        GameMusic::Update(1.0f / 30);
    ASSERT_EQ(player.started.size(), 2u);
    EXPECT_EQ(player.started[1].name, "Win");
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 3);
    // A fade-in of 0 s jumps straight to full level.
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);
}

TEST_F(GameMusicTest, RestartStartsTheCurrentTrackAgainAndSwitchingSoundOnDoesItToo)
{
    GameMusic::Restart();
    EXPECT_TRUE(player.started.empty());
    EXPECT_TRUE(player.stops.empty());
    PlayingAtFullLevel(1);
    GameMusic::Restart();
    ASSERT_EQ(player.stops.size(), 1u);
    EXPECT_EQ(player.stops[0], 1.0f); // (false, 1.0)
    ASSERT_EQ(player.started.size(), 2u);
    EXPECT_EQ(player.started[1].name, "InGame");
    EXPECT_EQ(GameMusic::GetMusicId(), player.lastId);
    GamePrefs::SoundSwitchedOn().Raise();
    EXPECT_EQ(player.started.size(), 3u);
}

TEST_F(GameMusicTest, TheSavedFormIs22LittleEndianBytesThatLoadBack)
{
    PlayingAtFullLevel(0);
    GameMusic::Play(2, true, 2.0f, 0.75f);
    std::string saved = Saved();
    ASSERT_EQ(saved.size(), 22u);
    EXPECT_EQ(saved, SavedForm(GameMusic::GetFadeLevel(), -0.5f, 0, 1, 0.75f, 2, 1));

    GameMusic::Reset();
    std::istringstream in(saved);
    GameMusic::Load(in);
    EXPECT_EQ(Saved(), saved);
    // The current track plays again under a new id.
    ASSERT_EQ(player.started.size(), 2u);
    EXPECT_EQ(player.started[1].name, "Menu");
    EXPECT_EQ(GameMusic::GetMusicId(), player.lastId);
    // The fade goes on from the saved values.
    player.Begin();
    int frames = 0;
    while (GameMusic::GetCurrentTrack() == 0 && frames < 200)
    {
        GameMusic::Update(1.0f / 30);
        ++frames;
    }
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 2);
    EXPECT_EQ(player.started.back().name, "Tutorial");
}

TEST_F(GameMusicTest, LoadStopsTheMusicFirstAndStartsOnlyTracksMinusOneToThree)
{
    const struct
    {
        int32_t current;
        const char* started; // null: no music
    } cases[] = {{-1, nullptr}, {0, "Menu"}, {3, "Win"}, {4, nullptr}, {-2, nullptr}, {1000000, nullptr}};
    for (auto const& c : cases)
    {
        PlayingAtFullLevel(1);
        size_t startedBefore = player.started.size(), stopsBefore = player.stops.size();
        std::istringstream in(SavedForm(0.5f, 0.25f, c.current, 1, 0.33f, -1, 0));
        GameMusic::Load(in);
        EXPECT_EQ(player.stops.size(), stopsBefore + 1) << c.current;
        if (c.started)
        {
            ASSERT_EQ(player.started.size(), startedBefore + 1) << c.current;
            EXPECT_EQ(player.started.back().name, c.started);
            EXPECT_EQ(GameMusic::GetCurrentTrack(), c.current);
        }
        else
        {
            EXPECT_EQ(player.started.size(), startedBefore) << c.current;
            EXPECT_EQ(GameMusic::GetCurrentTrack(), -1) << c.current;
            EXPECT_EQ(GameMusic::GetMusicId(), -1);
        }
        GameMusic::Reset();
    }
}

TEST_F(GameMusicTest, AShortOrDamagedSavedFormPlaysNothingAndKeepsTheVolumeSane)
{
    std::istringstream shortStream(std::string("\x00\x00\x80\x3f\x00\x00", 6));
    GameMusic::Load(shortStream);
    EXPECT_EQ(GameMusic::GetCurrentTrack(), -1);
    EXPECT_TRUE(player.started.empty());
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);

    std::istringstream damaged(SavedForm(std::nanf(""), std::nanf(""), 0, 1, 1.0f, -1, 0));
    GameMusic::Load(damaged);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 0.0f);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeRate(), 0.0f);
    std::istringstream loud(SavedForm(7.0f, 1.0f, 0, 1, 1.0f, -1, 0));
    GameMusic::Load(loud);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);
}

// The real music module and its command thread over SDL_mixer's dummy
// driver: the generated "Menu" loads, plays and fades in, and its fade level
// scales the music volume.
TEST(GameMusicWithTheMixer, TheMenuTrackStartsAndFadesIn)
{
    setenv("COBALT_KEEP_DATA", VEXEL_DATA_DIR, 1);
    GameMusic::Reset();
    Vexel::Audio::Music::Initialize(true);
    struct Closing
    {
        ~Closing()
        {
            GameMusic::Reset();
            Vexel::Audio::Music::Shutdown();
        }
    } closing;
    GameMusic::Play(0, true, 0.0f, 0.5f);
    if (GameMusic::GetMusicId() < 0)
        GTEST_SKIP() << "no audio device, not even the dummy driver";
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (GameMusic::GetFadeLevel() < 1.0f && std::chrono::steady_clock::now() < until)
    {
        Vexel::Audio::Music::Refresh(1.0f / 30);
        GameMusic::Update(1.0f / 30);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(Vexel::Audio::Music::GetTrackState(GameMusic::GetMusicId()),
              int(Vexel::Audio::MusicTrackState::Playing));
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 0);
    EXPECT_FLOAT_EQ(GameMusic::GetFadeLevel(), 1.0f);
    EXPECT_TRUE(Vexel::Audio::BGMusicIsPlaying());
    GameMusic::Play(1, true, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(Vexel::Audio::Music::GetVolumeFactors().GetProduct(), GameMusic::GetFadeLevel());
    EXPECT_EQ(GameMusic::GetCurrentTrack(), 1);
}
