// Start-up glue. Until the main menu exists the game's first screen is a
// plain title screen; there are no preferences or game state to save yet.
#include "game/frontend/GameStartup.h"

#include "engine/core/Log.h"
#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/TitleScreen.h"

namespace
{

TitleScreen* firstScreen = nullptr; // attached for the whole run

// The target of the save-on-pause subscription; it has no state. The
// preferences come first, then the game state once the first screen exists;
// neither has anything to write yet.
class SaveHelper
{
public:
    void SaveGameState() { Vexel::Log::Verbose("frontend", firstScreen ? "save game state" : "save preferences"); }
};

SaveHelper saveHelper;

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
    firstScreen = new TitleScreen();
    Vexel::UI::UIManager::AttachElement(firstScreen, 0);
}

void ShutdownGame()
{
    Vexel::Log::Verbose("frontend", "shutdown game");
    saveHelper.SaveGameState();
}
