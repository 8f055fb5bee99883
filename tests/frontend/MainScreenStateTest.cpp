// "state.sav" as the main screen writes and restores it: the 5-byte form,
// the layout of a resumable state, the round trip through a new start, and
// damaged files, each reported once and rewritten as the 5-byte form.
#include "game/frontend/SavedState.h"
#include "game/simulation/SimulationView.h"
#include "tests/frontend/MainScreenTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using FrontEndTest::MainScreenFixture;

namespace
{

const std::string kFinished("\x03\x00\x00\x00\x00", 5);

template <class T> T At(std::string const& bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <class T> void Put(std::string& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

std::string MusicBytes()
{
    std::ostringstream out;
    GameMusic::Save(out);
    return out.str();
}

// A resumable file around a saved game.
std::string StateFile(std::vector<int32_t> const& pages, std::string const& game, int32_t level = 5,
                      int32_t stage = 2)
{
    std::string b;
    Put<int32_t>(b, 3);
    Put<uint8_t>(b, 1);
    Put<int32_t>(b, int32_t(pages.size()));
    for (int32_t page : pages)
        Put(b, page);
    Put<int32_t>(b, pages.back());
    Put<int32_t>(b, level);
    Put<int32_t>(b, stage);
    b += std::string("\x00\x01\x00", 3);
    Put<int64_t>(b, 777);
    Put<int32_t>(b, 12);
    Put<int32_t>(b, 3);
    Put<uint8_t>(b, 0);
    b += std::string(3, '\0');
    Put<int32_t>(b, 61);
    b += game;
    Put<float>(b, 1.0f);
    Put<float>(b, 0.0f);
    Put<int32_t>(b, 1);
    Put<uint8_t>(b, 1);
    Put<float>(b, 0.0f);
    Put<int32_t>(b, -1);
    Put<uint8_t>(b, 0);
    return b;
}

class MainScreenStateTest : public MainScreenFixture
{
};

TEST_F(MainScreenStateTest, TheTitlePageAloneIsFiveBytes)
{
    FirstRunDone();
    Make();
    screen->SaveState(false);
    EXPECT_EQ(kFinished, ReadSaved("state.sav"));
}

TEST_F(MainScreenStateTest, ARunningGameIsWrittenWithItsStackChoicesGameAndMusic)
{
    FirstRunDone();
    Make();
    screen->SetChosenLevel(17);
    screen->SetChosenStage(4);
    screen->OnTutorial(nullptr, Vector2());
    Frame(30);
    screen->SaveState(false);
    const std::vector<int> stack = Stack();
    EXPECT_EQ((std::vector<int>{1, 2}), stack);
    const std::string bytes = ReadSaved("state.sav");
    ASSERT_GT(bytes.size(), 48u + 8u);
    EXPECT_EQ(3, At<int32_t>(bytes, 0));
    EXPECT_EQ(1, bytes[4]);
    EXPECT_EQ(2, At<int32_t>(bytes, 5));
    EXPECT_EQ(1, At<int32_t>(bytes, 9));
    EXPECT_EQ(2, At<int32_t>(bytes, 13));
    const size_t n = 2;
    EXPECT_EQ(2, At<int32_t>(bytes, 9 + 4 * n));
    EXPECT_EQ(17, At<int32_t>(bytes, 13 + 4 * n));
    EXPECT_EQ(4, At<int32_t>(bytes, 17 + 4 * n));
    EXPECT_EQ(std::string(3, '\0'), bytes.substr(21 + 4 * n, 3));
    EXPECT_EQ(std::string(24, '\0'), bytes.substr(24 + 4 * n, 24));
    const std::string gameBytes = GameBytes();
    const std::string music = MusicBytes();
    ASSERT_EQ(22u, music.size());
    EXPECT_EQ(gameBytes, bytes.substr(48 + 4 * n, gameBytes.size()));
    EXPECT_EQ(music, bytes.substr(48 + 4 * n + gameBytes.size()));
    // Writing leaves the stack as it was.
    EXPECT_EQ(stack, Stack());

    // Discarded, the same moment is five bytes.
    screen->SaveState(true);
    EXPECT_EQ(kFinished, ReadSaved("state.sav"));
    EXPECT_EQ(stack, Stack());
}

TEST_F(MainScreenStateTest, WhichStacksAreResumable)
{
    FirstRunDone();
    struct Case
    {
        std::vector<int> pages;
        bool resumable;
    };
    const Case cases[] = {
        {{18}, true},      {{28, 29}, true}, {{22}, false}, {{23}, false},
        {{3, 23}, true},   {{5}, true},      {{43}, false}, {{11, 12}, false},
    };
    for (Case const& c : cases)
    {
        Make();
        for (int page : c.pages)
            screen->ShowPage(page, true);
        screen->SaveState(false);
        const std::string bytes = ReadSaved("state.sav");
        ASSERT_GE(bytes.size(), 5u);
        EXPECT_EQ(c.resumable ? 1 : 0, bytes[4]) << c.pages.front();
        EXPECT_EQ(c.resumable, bytes.size() > 5u);
        // The next start must not restore this one.
        screen->SaveState(true);
        Destroy();
    }
}

TEST_F(MainScreenStateTest, ARestartResumesTheSameGameOnce)
{
    FirstRunDone();
    Make();
    screen->SetChosenLevel(33);
    screen->SetChosenStage(6);
    screen->OnShowQuickstart(nullptr, Vector2());
    GamePrefs::SetStartingWave(11);
    screen->OnPlay(nullptr, Vector2());
    Frame(45);
    ASSERT_EQ(2, Sim().GetMode());
    const int wave = Sim().View().WaveNumber();
    EXPECT_EQ(12, wave);
    const std::string gameBefore = GameBytes();
    const int track = GameMusic::GetCurrentTrack();
    screen->SaveState(false);
    Destroy();
    GameMusic::Reset();

    Make();
    EXPECT_TRUE(screen->WasRestored());
    // The game came back paused: the pause page opens over it at once.
    EXPECT_EQ(23, Page());
    EXPECT_EQ((std::vector<int>{1, 8, 2, 23}), Stack());
    EXPECT_EQ(33, screen->GetChosenLevel());
    EXPECT_EQ(6, screen->GetChosenStage());
    EXPECT_EQ(wave, Sim().View().WaveNumber());
    EXPECT_EQ(1, track);
    EXPECT_EQ(track, GameMusic::GetCurrentTrack());
    EXPECT_TRUE(game->IsPaused());
    // Restored once: the file is finished now.
    EXPECT_EQ(kFinished, ReadSaved("state.sav"));
    // The world came back as it was saved, apart from the pause.
    Simulation restored(1);
    std::istringstream before(gameBefore);
    ASSERT_TRUE(restored.Load(before));
    EXPECT_EQ(restored.View().Score(), Sim().View().Score());
    EXPECT_EQ(restored.View().EnemyCount(), Sim().View().EnemyCount());
    EXPECT_EQ(restored.View().Seconds(), Sim().View().Seconds());

    // A later start begins afresh on the title page.
    Destroy();
    Make();
    EXPECT_FALSE(screen->WasRestored());
    EXPECT_EQ(1, Page());
}

TEST_F(MainScreenStateTest, ResultsSurviveARestart)
{
    FirstRunDone();
    const std::string game = SimTest::SavedGame().Bytes();
    WriteSaved("state.sav", StateFile({1, 9, 4}, game));
    Make();
    EXPECT_EQ(4, Page());
    EXPECT_EQ((std::vector<int>{1, 9, 4}), Stack());
    EXPECT_EQ(777, screen->GetLastGameStats().score);
    EXPECT_EQ(12, screen->GetLastGameStats().kills);
    EXPECT_EQ(3, screen->GetLastGameStats().lastWaveIndex);
    EXPECT_EQ(61, screen->GetLastGameStats().seconds);
    EXPECT_EQ(1, screen->GetLastGameAwards().Count());
    EXPECT_EQ(1, screen->GetLastGameAwards().flags[1]);
}

TEST_F(MainScreenStateTest, ASingleRestoredPageGetsTheTitlePageBelowIt)
{
    FirstRunDone();
    WriteSaved("state.sav", StateFile({2}, SimTest::SavedGame().Bytes()));
    Make();
    EXPECT_TRUE(screen->WasRestored());
    EXPECT_EQ(23, Page());
    EXPECT_EQ((std::vector<int>{1, 2, 23}), Stack());
    screen->OnBackKey();
    EXPECT_EQ(2, Page());
    EXPECT_EQ((std::vector<int>{1, 2}), Stack());
}

TEST_F(MainScreenStateTest, DamagedFilesAreReportedOnceAndRewritten)
{
    FirstRunDone();
    const std::string game = SimTest::SavedGame().Bytes();
    const std::string valid = StateFile({1, 9, 2}, game);
    struct Case
    {
        const char* name;
        std::string bytes;
    };
    SimTest::SavedGame refused;
    refused.viewScale = -1.0f;
    const Case cases[] = {
        {"empty", std::string()},
        {"version 2", std::string("\x02\x00\x00\x00\x00", 5)},
        {"depth 65", StateFile(std::vector<int32_t>(65, 2), game)},
        {"page 44", StateFile({1, 44, 2}, game)},
        {"level 64", StateFile({1, 9, 2}, game, 64)},
        {"stage 9", StateFile({1, 9, 2}, game, 5, 9)},
        {"game refused", StateFile({1, 9, 2}, refused.Bytes())},
        {"cut short", valid.substr(0, valid.size() - 3)},
        {"trailing", valid + "zz"},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteSaved("state.sav", c.bytes);
        {
            TestSupport::LogCapture log;
            Make();
            std::vector<TestSupport::LogCapture::Line> lines = log.Lines();
            ASSERT_EQ(1u, lines.size());
            EXPECT_EQ(Vexel::Log::Level::Error, lines[0].level);
            EXPECT_NE(std::string::npos, lines[0].message.find("\"state.sav\" is not restored")) << lines[0].message;
        }
        EXPECT_FALSE(screen->WasRestored());
        EXPECT_EQ(1, Page());
        EXPECT_EQ((std::vector<int>{1}), Stack());
        EXPECT_EQ(0, Sim().GetMode());
        EXPECT_EQ(kFinished, ReadSaved("state.sav"));
        Destroy();
    }

    // A finished state and a missing file are a normal start, silently.
    for (bool present : {true, false})
    {
        if (present)
            WriteSaved("state.sav", kFinished);
        else
            std::remove(SavePath("state.sav").c_str());
        TestSupport::LogCapture log;
        Make();
        EXPECT_TRUE(log.Lines().empty());
        EXPECT_EQ(1, Page());
        EXPECT_EQ(present, Exists("state.sav"));
        Destroy();
    }
}

} // namespace
