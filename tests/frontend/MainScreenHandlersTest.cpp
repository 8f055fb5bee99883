// Every handler of the page table: where each one leads from where, the
// games and music it starts, and the preferences it changes; handlers that
// belong to other pages do nothing.
#include "engine/core/Platform.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/MoreGames.h"
#include "game/simulation/SimulationView.h"
#include "tests/frontend/MainScreenTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

using FrontEndTest::MainScreenFixture;
using Vexel::UI::Element;

namespace
{

typedef void (MainScreen::*Press)(Element*, Vector2 const&);

class HandlersTest : public MainScreenFixture
{
protected:
    void SetUp() override
    {
        MainScreenFixture::SetUp();
        FirstRunDone();
        Make();
    }
    // Walks to a stack of pages from the title page.
    void Reach(std::vector<int> const& pages)
    {
        for (int page : pages)
            screen->ShowPage(page, true);
    }
    // Through the delegate the pages bind, as a press would.
    void Call(Press press) { Vexel::Action<Element*, Vector2 const&>(screen, press).Invoke(nullptr, Vector2()); }
};

TEST_F(HandlersTest, PageHandlersLeadWhereTheyShould)
{
    struct Case
    {
        const char* name;
        std::vector<int> from; // pages shown after the title page
        Press press;
        std::vector<int> stack; // afterwards
    };
    const Case cases[] = {
        {"quickstart", {}, &MainScreen::OnShowQuickstart, {1, 8}},
        {"classic", {}, &MainScreen::OnShowClassic, {1, 9}},
        {"gauntlet", {}, &MainScreen::OnShowGauntlet, {1, 10}},
        {"stages", {}, &MainScreen::OnShowStages, {1, 11}},
        {"options", {9}, &MainScreen::OnOptions, {1, 9, 23}},
        {"controls", {7}, &MainScreen::OnShowControls, {1, 7, 27}},
        {"calibration", {27}, &MainScreen::OnShowCalibration, {1, 27, 24}},
        {"surrender?", {2, 23}, &MainScreen::OnShowSurrender, {1, 2, 23, 22}},
        {"leaderboard", {9}, &MainScreen::OnLeaderboard, {1, 9, 6}},
        {"back", {11, 12}, &MainScreen::OnBack, {1, 11}},
        {"back at the bottom", {}, &MainScreen::OnBack, {1}},
        {"tips on 8", {8}, &MainScreen::OnStrategyTips, {1, 8, 43}},
        {"tips on 9", {9}, &MainScreen::OnStrategyTips, {1, 9, 43}},
        {"tips on 20", {20}, &MainScreen::OnStrategyTips, {1, 20, 43}},
        {"tips on 21", {21}, &MainScreen::OnStrategyTips, {1, 21, 43}},
        {"tips elsewhere", {11}, &MainScreen::OnStrategyTips, {1, 11}},
        {"play elsewhere", {11}, &MainScreen::OnPlay, {1, 11}},
        {"play level elsewhere", {21}, &MainScreen::OnPlayLevel, {1, 21}},
        {"practice elsewhere", {9}, &MainScreen::OnPracticeLevel, {1, 9}},
        {"endless elsewhere", {21}, &MainScreen::OnEndlessFromLevel, {1, 21}},
        {"grid choice on the title page", {}, &MainScreen::OnGridChoice3, {1}},
        {"grid choice on page 11", {11}, &MainScreen::OnGridChoice3, {1, 11, 15}},
        {"grid choice 8 on page 11", {11}, &MainScreen::OnGridChoice8, {1, 11}},
        {"grid choice on page 10", {10}, &MainScreen::OnGridChoice5, {1, 10, 21}},
        {"grid choice on a level page", {11, 14}, &MainScreen::OnGridChoice4, {1, 11, 14, 20}},
        {"nothing", {9}, &MainScreen::OnNothing, {1, 9}},
        {"page 25", {23}, &MainScreen::OnShowPage<25>, {1, 23, 25}},
        {"page 27", {23}, &MainScreen::OnShowPage<27>, {1, 23, 27}},
        {"page 28", {23}, &MainScreen::OnShowPage<28>, {1, 23, 28}},
        {"page 29", {28}, &MainScreen::OnShowPage<29>, {1, 28, 29}},
        {"page 30", {28}, &MainScreen::OnShowPage<30>, {1, 28, 30}},
        {"page 31", {20}, &MainScreen::OnShowPage<31>, {1, 20, 31}},
        {"page 32", {28}, &MainScreen::OnShowPage<32>, {1, 28, 32}},
        {"page 33", {28}, &MainScreen::OnShowPage<33>, {1, 28, 33}},
        {"page 34", {28}, &MainScreen::OnShowPage<34>, {1, 28, 34}},
        {"page 35", {28}, &MainScreen::OnShowPage<35>, {1, 28, 35}},
        {"page 36", {29}, &MainScreen::OnShowPage<36>, {1, 29, 36}},
        {"page 37", {29}, &MainScreen::OnShowPage<37>, {1, 29, 37}},
        {"page 38", {29}, &MainScreen::OnShowPage<38>, {1, 29, 38}},
        {"page 39", {29}, &MainScreen::OnShowPage<39>, {1, 29, 39}},
        {"page 40", {29}, &MainScreen::OnShowPage<40>, {1, 29, 40}},
        {"page 41", {29}, &MainScreen::OnShowPage<41>, {1, 29, 41}},
        {"page 42", {29}, &MainScreen::OnShowPage<42>, {1, 29, 42}},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.name);
        Destroy();
        Make();
        Reach(c.from);
        Call(c.press);
        EXPECT_EQ(c.stack, Stack());
        EXPECT_EQ(c.stack.back(), Page());
    }
    // The forwarders by page number, as the pages bind them.
    Destroy();
    Make();
    for (int page = 0; page < 44; page++)
    {
        Vexel::Action<Element*, Vector2 const&> forward = MainScreen::ShowPageHandler(screen, page);
        EXPECT_EQ(page == 25 || (page >= 27 && page <= 42), forward.IsBound()) << page;
        if (!forward.IsBound())
            continue;
        forward.Invoke(nullptr, Vector2());
        EXPECT_EQ(page, Page());
    }
    for (int item = -1; item <= 9; item++)
        EXPECT_EQ(item >= 0 && item <= 8, MainScreen::GridChoiceHandler(screen, item).IsBound()) << item;
}

TEST_F(HandlersTest, GridChoicesRememberTheStageAndLevel)
{
    Reach({10});
    MainScreen::GridChoiceHandler(screen, 6).Invoke(nullptr, Vector2());
    EXPECT_EQ(6, screen->GetChosenStage());
    Reach({11, 19});
    MainScreen::GridChoiceHandler(screen, 7).Invoke(nullptr, Vector2());
    EXPECT_EQ(63, screen->GetChosenLevel());
    EXPECT_EQ(20, Page());
    // Going back to page 20 shows the same level again.
    screen->ShowPage(43, true);
    screen->OnBack(nullptr, Vector2());
    EXPECT_EQ(20, Page());
    EXPECT_EQ(63, screen->GetChosenLevel());
}

TEST_F(HandlersTest, GamesStartWithTheirModeWaveAndMusic)
{
    struct Case
    {
        const char* name;
        std::vector<int> from;
        int level, stage;
        Press press;
        int mode;
        int firstWave; // the wave list's first entry (a level), -1: not checked
        int waveNumber;
        int music;
        std::vector<int> stack;
    };
    const Case cases[] = {
        {"classic", {9}, 0, 0, &MainScreen::OnPlay, 1, -1, 1, 1, {1, 9, 2}},
        {"quickstart", {8}, 0, 0, &MainScreen::OnPlay, 2, -1, 8, 1, {1, 8, 2}},
        {"stage", {10, 21}, 0, 4, &MainScreen::OnPlay, 5, 32, 1, 1, {1, 10, 21, 2}},
        {"full gauntlet", {10, 21}, 0, 8, &MainScreen::OnPlay, 6, 0, 1, 1, {1, 10, 21, 2}},
        {"level", {20}, 45, 0, &MainScreen::OnPlayLevel, 3, 45, 1, 1, {1, 20, 2}},
        {"practice", {20}, 45, 0, &MainScreen::OnPracticeLevel, 4, 45, 1, 1, {1, 20, 2}},
        {"endless from a level", {20}, 45, 0, &MainScreen::OnEndlessFromLevel, 1, 45, 1, 1, {1, 20, 9, 2}},
        {"tutorial", {}, 0, 0, &MainScreen::OnTutorial, 7, -1, -1, 2, {1, 2}},
    };
    GamePrefs::SetStartingWave(7);
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.name);
        Destroy();
        GameMusic::Reset();
        Make();
        screen->SetChosenLevel(c.level);
        screen->SetChosenStage(c.stage);
        Reach(c.from);
        Call(c.press);
        EXPECT_EQ(c.mode, Sim().GetMode());
        if (c.firstWave >= 0)
        {
            ASSERT_FALSE(Sim().View().Waves().empty());
            EXPECT_EQ(c.firstWave, Sim().View().Waves()[0]);
        }
        if (c.waveNumber >= 0)
        {
            EXPECT_EQ(c.waveNumber, Sim().View().WaveNumber());
        }
        EXPECT_EQ(c.music, MusicHeading());
        EXPECT_EQ(c.stack, Stack());
        EXPECT_EQ(2, Page());
    }
}

TEST_F(HandlersTest, SurrenderEndsTheGameBehindThePauseMenu)
{
    Reach({9});
    screen->OnPlay(nullptr, Vector2());
    screen->OnOptions(nullptr, Vector2());
    screen->OnShowSurrender(nullptr, Vector2());
    EXPECT_EQ((std::vector<int>{1, 9, 2, 23, 22}), Stack());
    screen->OnSurrender(nullptr, Vector2());
    EXPECT_FALSE(Sim().HasPopulation());
    EXPECT_EQ(2, Page());
    EXPECT_FALSE(game->IsPaused());
    Frame();
    EXPECT_EQ(4, Page());
    EXPECT_EQ((std::vector<int>{1, 9, 4}), Stack());
}

TEST_F(HandlersTest, CalibrationStoresTheTiltUnlessFlat)
{
    const Vector3 before = GamePrefs::GetTiltReference();
    *Vexel::UI::UIManager::GetTilt() = Vector3(0.0f, 0.05f, -1.0f);
    screen->OnCalibrate(nullptr, Vector2());
    EXPECT_EQ(before.x, GamePrefs::GetTiltReference().x);
    EXPECT_EQ(before.y, GamePrefs::GetTiltReference().y);
    EXPECT_EQ(before.z, GamePrefs::GetTiltReference().z);

    *Vexel::UI::UIManager::GetTilt() = Vector3(0.6f, -0.8f, 0.0f) * 0.5f;
    std::remove(SavePath("quellar_prefs.prf").c_str());
    screen->OnCalibrate(nullptr, Vector2());
    const Vector3 stored = GamePrefs::GetTiltReference();
    EXPECT_NEAR(0.6f, stored.x, 1e-5f);
    EXPECT_NEAR(-0.8f, stored.y, 1e-5f);
    EXPECT_NEAR(0.0f, stored.z, 1e-5f);
    EXPECT_TRUE(Exists("quellar_prefs.prf")); // saved at once
    *Vexel::UI::UIManager::GetTilt() = Vector3();
}

int vibrations = 0;
void CountVibration()
{
    ++vibrations;
}

TEST_F(HandlersTest, TogglesAndSlidersChangeThePreferences)
{
    struct Toggle
    {
        const char* name;
        void (MainScreen::*handler)(UICheckButton*, bool);
        std::function<bool()> read;
    };
    const Toggle toggles[] = {
        {"vibration", &MainScreen::OnVibrationToggled, [] { return GamePrefs::GetVibration(); }},
        {"tilt", &MainScreen::OnTiltToggled, [] { return GamePrefs::GetTiltControls(); }},
        {"locks", &MainScreen::OnLocksToggled, [] { return GamePrefs::GetTargetLocks(); }},
        {"sweep", &MainScreen::OnSweepToggled, [] { return GamePrefs::GetTargetSweep(); }},
        {"sound", &MainScreen::OnSoundToggled, [] { return GamePrefs::IsSoundEnabled(); }},
        {"submit online", &MainScreen::OnSubmitOnlineToggled, [] { return GamePrefs::GetSubmitOnline(); }},
    };
    Vexel::Platform::VibrateHook previous = Vexel::Platform::SetVibrateHook(&CountVibration);
    for (Toggle const& t : toggles)
    {
        SCOPED_TRACE(t.name);
        for (bool on : {false, true, false})
        {
            vibrations = 0;
            Vexel::Action<UICheckButton*, bool>(screen, t.handler).Invoke(nullptr, on);
            EXPECT_EQ(on, t.read());
            // Switching vibration on gives one buzz as a sample.
            EXPECT_EQ(t.handler == &MainScreen::OnVibrationToggled && on ? 1 : 0, vibrations);
        }
    }
    Vexel::Platform::SetVibrateHook(previous);

    struct Volume
    {
        int value;
        float volume;
    };
    const Volume volumes[] = {{-4, 0.0f}, {0, 0.0f}, {1, 0.015f}, {50, 0.505f}, {99, 0.995f}, {100, 1.005f}};
    for (Volume const& v : volumes)
        EXPECT_FLOAT_EQ(v.volume, MainScreen::SliderVolume(v.value)) << v.value;
    screen->OnMusicVolume(nullptr, 0);
    EXPECT_FLOAT_EQ(0.0f, GamePrefs::GetMusicVolume());
    screen->OnMusicVolume(nullptr, 50);
    EXPECT_FLOAT_EQ(0.505f, GamePrefs::GetMusicVolume());
    screen->OnEffectsVolume(nullptr, 0);
    EXPECT_FLOAT_EQ(0.0f, GamePrefs::GetSoundVolume());
    screen->OnEffectsVolume(nullptr, 20);
    EXPECT_FLOAT_EQ(0.205f, GamePrefs::GetSoundVolume());

    sounds.played.clear();
    screen->OnEffectsSliderReleased(nullptr, Vector2(), 1);
    ASSERT_EQ(1u, sounds.played.size());
    EXPECT_EQ(2, sounds.played[0].id);
    EXPECT_FLOAT_EQ(1.4f, sounds.played[0].volume);
    EXPECT_FLOAT_EQ(1.0f, sounds.played[0].pitch);

    const int waves[][2] = {{0, 1}, {1, 1}, {42, 42}, {99, 99}, {150, 99}, {-7, 1}};
    for (auto const& w : waves)
    {
        screen->OnStartingWave(nullptr, w[0]);
        EXPECT_EQ(w[1], GamePrefs::GetStartingWave()) << w[0];
    }
}

TEST_F(HandlersTest, MoreGamesOpensTheConfiguredAddressOnce)
{
    TempDirectory bin;
    const std::string opened = bin.File("opened.txt");
    {
        std::ofstream script(bin.File("xdg-open"));
        script << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" << opened << ".part' && mv '" << opened << ".part' '"
               << opened << "'\n";
    }
    chmod(bin.File("xdg-open").c_str(), 0755);

    {
        ScopedEnvironment url(kMoreGamesUrlVariable, "");
        TestSupport::LogCapture log;
        screen->OnMoreGames(nullptr, Vector2());
        ASSERT_EQ(1u, log.Lines().size());
        EXPECT_NE(std::string::npos, log.Lines()[0].message.find(kMoreGamesUrlVariable));
    }
    {
        ScopedEnvironment url(kMoreGamesUrlVariable, "https://example.org/more games; rm -rf /");
        TestSupport::LogCapture log;
        EXPECT_FALSE(LaunchMoreGamesPage());
        EXPECT_EQ(1u, log.Lines().size());
    }
    {
        ScopedEnvironment url(kMoreGamesUrlVariable, "https://example.org/more");
        ScopedEnvironment path("PATH", bin.Path() + "/nowhere");
        TestSupport::LogCapture log;
        EXPECT_FALSE(LaunchMoreGamesPage());
        ASSERT_EQ(1u, log.Lines().size());
        EXPECT_NE(std::string::npos, log.Lines()[0].message.find("xdg-open"));
    }
    {
        ScopedEnvironment url(kMoreGamesUrlVariable, "https://example.org/more?a=1&b='2'");
        ScopedEnvironment path("PATH", bin.Path() + ":/usr/bin:/bin");
        TestSupport::LogCapture log;
        screen->OnMoreGames(nullptr, Vector2());
        EXPECT_TRUE(log.Lines().empty());
        std::string got;
        for (int i = 0; i < 500 && got.empty(); i++)
        {
            std::ifstream in(opened);
            std::getline(in, got);
            if (got.empty())
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // One argument, exactly as configured: no shell came between.
        EXPECT_EQ("1|https://example.org/more?a=1&b='2'", got);
    }
}

} // namespace
