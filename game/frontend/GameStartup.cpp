// Start-up glue: the settings the game asks of the shell, the main screen,
// and the save on every deactivation and at exit.
#include "game/frontend/GameStartup.h"

#include "engine/core/AppEvents.h"
#include "engine/core/AppSettings.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Log.h"
#include "engine/core/StringUtil.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "game/audio/GameAudioPrefs.h"
#include "game/frontend/MainScreen.h"
#include "game/scores/GamePrefs.h"
#include "game/scores/HighScores.h"
#include "game/scores/online/LiveScoreService.h"

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace
{

MainScreen* mainScreen = nullptr; // attached for the whole run, never reset

// The target of the save-on-pause subscription; it has no state. The
// preferences come first, then the game state once the main screen exists.
class SaveHelper
{
public:
    void SaveGameState()
    {
        Vexel::Log::Verbose("frontend", mainScreen ? "save game state" : "save preferences");
        GamePrefs::Save();
        if (mainScreen)
            mainScreen->SaveState(false);
    }
};

SaveHelper saveHelper;

// Test seam: COBALT_KEEP_SHOW_PAGES="frame:page,..." shows those pages on
// those frames (counted from the first update), so that the end-to-end tour
// reaches the pages no button leads to. Off unless set.
class PageSchedule
{
public:
    bool Parse(const char* text)
    {
        std::vector<std::string> items;
        Vexel::StringUtil::Split(text, ',', items);
        for (std::string const& item : items)
        {
            char* end = nullptr;
            const long frame = std::strtol(item.c_str(), &end, 10);
            long page = -1;
            if (end && *end == ':' && end != item.c_str())
            {
                const char* pageText = end + 1;
                page = std::strtol(pageText, &end, 10);
                if (end == pageText || *end != '\0')
                    page = -1;
            }
            if (frame < 1 || page < 0 || page >= MainScreen::kPageCount)
            {
                Vexel::Log::Error("frontend", "COBALT_KEEP_SHOW_PAGES: \"%s\" is not frame:page (page 0..43)",
                                  item.c_str());
                pages.clear();
                return false;
            }
            pages[int(frame)] = int(page);
        }
        return !pages.empty();
    }
    void OnUpdate(float)
    {
        ++frame;
        auto due = pages.find(frame);
        if (due != pages.end() && mainScreen)
            mainScreen->ShowPage(due->second, true);
    }

private:
    std::map<int, int> pages;
    int frame = 0;
};

PageSchedule pageSchedule;

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
    HighScores::SetTableHost(&LiveScoreTableHost::Instance());
    GameAudioPrefs::Follow();
    GamePrefs::Load();
    Vexel::UI::UIManager::SetClearColor(Color(0, 0, 0, 255));
    InitUIHelper();
    mainScreen = new MainScreen();
    Vexel::UI::UIManager::AttachElement(mainScreen, 0);
    const char* schedule = std::getenv("COBALT_KEEP_SHOW_PAGES");
    if (schedule && *schedule && pageSchedule.Parse(schedule))
        Vexel::FrameEvents::Updating.Subscribe(Vexel::Action<float>(&pageSchedule, &PageSchedule::OnUpdate));
}

void ShutdownGame()
{
    Vexel::Log::Verbose("frontend", "shutdown game");
    saveHelper.SaveGameState();
}

MainScreen* GetMainScreen()
{
    return mainScreen;
}
