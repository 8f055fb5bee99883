// The start-up glue: the settings the game asks of the shell, the save on a
// deactivation before and after the game exists, and the main screen that
// InitializeGame leaves attached for the rest of the run (checked in a
// child process, since it is never taken down).
#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/GameStartup.h"
#include "tests/frontend/MainScreenTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace
{

TEST(GameStartup, SettingsAndAPauseBeforeTheGame)
{
    TempDirectory home;
    ScopedEnvironment homeVariable("XDG_DATA_HOME", home.Path());
    GamePrefs::Unload();

    Vexel::AppSettings settings;
    const Vexel::AppSettings defaults;
    ConfigureApplication(&settings);
    EXPECT_EQ(1, settings.orientation);
    EXPECT_EQ(8, settings.effectVoiceCount);
    ASSERT_EQ(1u, settings.extensionMap.size());
    EXPECT_EQ("rgb_game.png", settings.MapFileName("rgb_game.dat"));
    EXPECT_EQ("default_pot.png", settings.MapFileName("default_pot.png"));
    // Everything else keeps its default.
    EXPECT_EQ(defaults.musicEnabled, settings.musicEnabled);
    EXPECT_EQ(defaults.soundEnabled, settings.soundEnabled);
    EXPECT_EQ(defaults.audioSampleRate, settings.audioSampleRate);
    EXPECT_EQ(defaults.uiFlag, settings.uiFlag);
    EXPECT_EQ(defaults.runWhileInactive, settings.runWhileInactive);
    EXPECT_EQ(defaults.clearColor, settings.clearColor);

    // Before the game exists a deactivation saves the preferences alone.
    ASSERT_EQ(nullptr, GetMainScreen());
    Vexel::AppEvents::Pause().Raise();
    std::FILE* prefs = std::fopen((home.Path() + "/cobalt-keep/quellar_prefs.prf").c_str(), "rb");
    EXPECT_NE(nullptr, prefs);
    if (prefs)
        std::fclose(prefs);
    std::FILE* state = std::fopen((home.Path() + "/cobalt-keep/state.sav").c_str(), "rb");
    EXPECT_EQ(nullptr, state);
    if (state)
        std::fclose(state);
    GamePrefs::Unload();
}

// The main screen's start, in a child that exits with 0 when all is well.
void StartTheGame(std::string const& home)
{
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("COBALT_KEEP_SCORE_SERVER", "offline", 1);
    UITest::ResetUIState();
    TextWidgetTest::FakeWidgetFonts fonts;
    FrontEndTest::SilentMusic music;
    GameMusic::SetPlayer(&music);
    GamePrefs::Unload();
    Vexel::AppSettings settings;
    ConfigureApplication(&settings);

    InitializeGame();
    MainScreen* screen = GetMainScreen();
    int failures = 0;
    auto expect = [&](bool ok, const char* what) {
        if (!ok)
        {
            std::fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };
    expect(screen != nullptr, "a main screen");
    if (!screen)
        std::_Exit(1);
    expect(Vexel::UI::UIManager::GetElementLayer(screen) == 0, "the main screen on layer 0");
    expect(Vexel::UI::UIManager::GetElementLayer(screen->GetGameScreen()) == -2000000001,
           "the play screen on layer -2000000001");
    expect(GamePrefs::IsFirstRunDone(), "the first run marked");
    expect(screen->GetCurrentPage() == 2, "the tutorial on page 2");
    // A deactivation during the tutorial saves both files, the state
    // resumable.
    Vexel::AppEvents::Pause().Raise();
    std::FILE* state = std::fopen((home + "/cobalt-keep/state.sav").c_str(), "rb");
    expect(state != nullptr, "state.sav written");
    if (state)
    {
        unsigned char head[5] = {};
        expect(std::fread(head, 1, 5, state) == 5 && head[0] == 3 && head[4] == 1, "state.sav resumable");
        std::fclose(state);
    }
    std::fflush(stderr);
    std::_Exit(failures == 0 ? 0 : 1);
}

TEST(GameStartupDeathTest, InitializeGameAttachesTheMainScreenOverThePlayScreen)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDirectory home;
    EXPECT_EXIT(StartTheGame(home.Path()), ::testing::ExitedWithCode(0), "");
}

} // namespace
