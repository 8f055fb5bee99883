// Start-up glue. Until the menus exist the game starts straight into a
// Classic game on the play screen, with a small overlay above it standing in
// for the pause and results pages; Escape quits. There are no preferences
// or game state to save yet.
#include "game/frontend/GameStartup.h"

#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/core/BackKeyEvent.h"
#include "engine/core/Event.h"
#include "engine/core/Log.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/PlayOverlay.h"
#include "game/scores/GamePrefs.h"
#include "game/simulation/GameScreen.h"

#include <csignal>

namespace
{

GameScreen* gameScreen = nullptr;   // attached for the whole run
PlayOverlay* playOverlay = nullptr; // above it, for the whole run

// The target of the save-on-pause subscription; it has no state. The
// preferences come first, then the game state once the play screen exists;
// neither has anything to write yet.
class SaveHelper
{
public:
    void SaveGameState()
    {
        Vexel::Log::Verbose("frontend", gameScreen ? "save game state" : "save preferences");
    }
};

SaveHelper saveHelper;

// Escape ends the program the way closing the window does: the shell turns
// SIGTERM into its quit, and the usual shutdown (and save) follows.
class BackKeyQuit
{
public:
    void OnBackKey()
    {
        Vexel::Log::Verbose("frontend", "back key: quit");
        std::raise(SIGTERM);
    }
};

BackKeyQuit backKeyQuit;

} // namespace

void ConfigureApplication(Vexel::AppSettings* settings)
{
    settings->orientation = 1;
    settings->effectVoiceCount = 8;
    settings->extensionMap[".dat"] = ".png";
    Vexel::AppEvents::Pause().Subscribe(Vexel::Action<>(&saveHelper, &SaveHelper::SaveGameState));
}

void InitializeGame()
{
    Vexel::UI::UIManager::SetClearColor(Color(0, 0, 0, 255));
    InitUIHelper();
    // A desktop has no accelerometer, and without one the reading is that
    // of a device lying flat, which would pause the game at once; aim by
    // touch (the options page that turns tilt back on comes with the menus).
    GamePrefs::SetTiltControls(false);
    gameScreen = new GameScreen();
    gameScreen->GetSimulation().StartGame(1, 1);
    Vexel::UI::UIManager::AttachElement(gameScreen, 0);
    playOverlay = new PlayOverlay(gameScreen);
    Vexel::UI::UIManager::AttachElement(playOverlay, 1);
    Vexel::App::BackKeyPressed.Subscribe(Vexel::Action<>(&backKeyQuit, &BackKeyQuit::OnBackKey));
}

void ShutdownGame()
{
    Vexel::Log::Verbose("frontend", "shutdown game");
    saveHelper.SaveGameState();
}
