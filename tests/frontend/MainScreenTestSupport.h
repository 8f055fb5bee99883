// The main screen under test: attached to the real UI manager with its play
// screen, frames run as the shell runs them (without drawing), fonts of
// fixed advances, a recording music player, and empty save and data folders.
#pragma once

#include "engine/core/Platform.h"
#include "engine/ui/InternalUIManagerEventCore.h"
#include "engine/ui/UIManager.h"
#include "game/audio/GameMusic.h"
#include "game/frontend/MainScreen.h"
#include "game/play/GameScreen.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "game/scores/HighScores.h"
#include "game/scores/online/LiveScoreService.h"
#include "tests/frontend/FrontEndTestSupport.h"
#include "tests/support/TempDirectory.h"
#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace FrontEndTest
{

// Plays nothing; every started track at once counts as playing.
class SilentMusic : public GameMusic::IMusicPlayer
{
public:
    int Play(std::string const& name, int, int, float, float) override
    {
        started.push_back(name);
        return ++lastId;
    }
    int GetTrackState(int id) override { return id == lastId ? 1 : 0; }
    void StopCurrent(bool, float) override {}

    std::vector<std::string> started;
    int lastId = 0;
};

class MainScreenFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // No score server: the tables stay offline.
        setenv("COBALT_KEEP_SCORE_SERVER", "offline", 0);
        HighScores::SetTableHost(&LiveScoreTableHost::Instance());
        UITest::ResetUIState();
        previousPlayer = GameMusic::SetPlayer(&music);
        GameMusic::Reset();
        GamePrefs::Unload();
        AllAwards::Unload();
        GamePrefs::SetSubmitOnline(false);
    }

    void TearDown() override
    {
        Destroy();
        UITest::ResetUIState();
        GameMusic::Reset();
        GameMusic::SetPlayer(previousPlayer);
        GamePrefs::Unload();
        AllAwards::Unload();
    }

    // A later start: the tutorial was seen.
    void FirstRunDone() { GamePrefs::MarkFirstRunDone(); }

    void Make()
    {
        Destroy();
        screen = new MainScreen();
        Vexel::UI::UIManager::AttachElement(screen, 0);
        game = screen->GetGameScreen();
    }

    // The program never deletes its screens; the tests do, the play screen
    // after the main screen that left it alone.
    void Destroy()
    {
        if (!screen)
            return;
        Vexel::UI::UIManager::DetachElement(screen);
        Vexel::UI::UIManager::DetachElement(game);
        delete screen;
        delete game;
        screen = nullptr;
        game = nullptr;
    }

    void Frame(int count = 1)
    {
        InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
        for (int i = 0; i < count; i++)
        {
            core.Update(kFrame);
            core.Animate(kFrame);
        }
    }

    // Long enough for every queued fade to end: each page change queues
    // 0.2 s more on the bottom buttons.
    void Settle() { Frame(60); }

    // A finger down and up at the element's centre (a child of the screen).
    void Click(Vexel::UI::Element* element, int finger = 0)
    {
        const Vector2 centre = element->GetPosition() + element->GetSize() * 0.5f;
        Vexel::UI::UIManager::InjectTouchDown(finger, centre, 1);
        Frame();
        Vexel::UI::UIManager::InjectTouchUp(finger, centre, 1);
        Frame();
    }

    Simulation& Sim() { return game->GetSimulation(); }
    std::vector<int> Stack() const { return screen->GetPageStack(); }
    int Page() const { return screen->GetCurrentPage(); }

    // The track that plays or is about to.
    static int MusicHeading()
    {
        const int pending = GameMusic::GetPendingTrack();
        return pending >= 0 ? pending : GameMusic::GetCurrentTrack();
    }

    std::string SavePath(std::string const& name) const { return home.Path() + "/cobalt-keep/" + name; }
    bool Exists(std::string const& name) const
    {
        std::ifstream in(SavePath(name), std::ios::binary);
        return in.is_open();
    }
    std::string ReadSaved(std::string const& name) const
    {
        std::ifstream in(SavePath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteSaved(std::string const& name, std::string const& bytes) const
    {
        mkdir((home.Path() + "/cobalt-keep").c_str(), 0700);
        std::ofstream out(SavePath(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }

    // Loads a saved game (SimulationTestSupport's builder) into the play
    // screen, unpaused.
    void LoadGame(std::string const& bytes)
    {
        std::istringstream in(bytes);
        ASSERT_TRUE(game->Load(in));
        game->SetPaused(false);
    }
    std::string GameBytes() const
    {
        std::ostringstream out;
        game->Save(out);
        return out.str();
    }

    TempDirectory home;
    TempDirectory data;
    ScopedEnvironment homeVariable{"XDG_DATA_HOME", home.Path()};
    ScopedEnvironment dataVariable{"COBALT_KEEP_DATA", data.Path()};
    TextWidgetTest::FakeWidgetFonts fonts;
    SilentMusic music;
    GameMusic::IMusicPlayer* previousPlayer = nullptr;
    SoundLog sounds;
    MainScreen* screen = nullptr;
    GameScreen* game = nullptr;
};

} // namespace FrontEndTest
