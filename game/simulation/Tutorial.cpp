// GameMode::Tutorial: a scripted tutorial of seven steps inside the normal simulation.
// Each step waits for its own condition (a continue tap, a cleared wave,
// spent cannon shots, a pause) before the next begins; the wave state machine
// asks UpdateTutorialStep every running tick.
#include "game/simulation/Tutorial.h"

#include "game/simulation/Simulation.h"
#include "game/scores/GamePrefs.h"

namespace
{
const char* const kContinueWhenReady = "Continue when ready...\n\n\n\n";
} // namespace

std::string GetTutorialText(int step)
{
    switch (step)
    {
    case 0:
        return "Welcome to the tutorial!\n\nThis is your planet.\nDon't let it die.";
    case 1:
        if (GamePrefs::IsTiltInUse())
            return "Tilt the device to direct shots at\nthe red enemies, and destroy\nthem before they hit "
                   "your "
                   "planet!";
        return "Touch the screen to direct shots at\nthe red enemies, and destroy\nthem before they hit your "
               "planet!";
    case 2:
        return "You can also use multitouch\nto split your fire into\nmultiple shooting streams.";
    case 3:
        return "You can fire the planet cannon\nby touching the planet and\ndragging where you want\nto "
               "shoot it.";
    case 4:
        return "You have limited shots\nfor the planet cannon!\n\nUse them wisely.";
    case 5:
        return "You can pause the game at any time\nby double-tapping the planet.\n\nThis opens the options "
               "screen,\nwhere you can adjust controls\nand sound, view information,\nor quit the tutorial.";
    case 6:
        return "You have completed the\ninteractive tutorial!\n\nYou can get more information\nat any time "
               "by "
               "going to\nOptions -> Information.";
    default:
        return "";
    }
}

std::string GetTutorialPrompt(int step)
{
    switch (step)
    {
    case 0:
    case 2:
    case 4:
        return kContinueWhenReady;
    case 1:
        return "Normally the enemies would be\nflying towards the planet.\n\nDestroy all enemies to "
               "continue.";
    case 3:
        return "Fire all remaining cannon\nshots to continue.";
    case 5:
        return "Pause the game once and return\nto finish the tutorial.";
    case 6:
        return "Basically everything there is\nto know about this game can\nbe found in the information "
               "area!\n\nPress continue to start a\nClassic infinite mode game!\n\n\n\n";
    default:
        return "";
    }
}

void Simulation::StartTutorial(int step)
{
    tutorialFinished = 0;
    tutorialPaused = 0;
    tutorialStep = step;
    tutorialWave = 0;
    tutorialAwaitingTap = 0;
    tutorialTapped = 0;
    StartGame(GameMode::Tutorial, 0);
    UpdateTutorialStep(false);
}

// Sets up the current step and answers whether its condition is met.
bool Simulation::UpdateTutorialStep(bool waveDone)
{
    if (mode != GameMode::Tutorial)
    {
        tutorialPaused = 0;
        return false;
    }
    bool result = false;
    tutorialWave = 0;
    tutorialAwaitingTap = 0;
    tutorialFinished = 0;
    switch (tutorialStep)
    {
    case 0:
    case 2:
    case 4:
        tutorialAwaitingTap = 1; // ends by the continue tap
        break;
    case 1:
        tutorialWave = 10;
        result = waveDone; // every target destroyed
        break;
    case 3:
        tutorialWave = 20;
        result = cannonCharges == 0; // every cannon shot fired
        break;
    case 5:
        result = tutorialPaused != 0; // the player paused once
        break;
    case 6:
        tutorialFinished = 1;
        break;
    default:
        break;
    }
    tutorialPaused = 0;
    return result;
}

bool Simulation::IsTutorialFinished() const
{
    return tutorialFinished != 0 && mode == GameMode::Tutorial;
}

bool Simulation::IsWaitingForTap() const
{
    return tutorialAwaitingTap != 0 || IsTutorialFinished();
}

void Simulation::ContinueTutorial()
{
    tutorialTapped = 1;
}

bool Simulation::IsCannonLockedByTutorial() const
{
    return mode == GameMode::Tutorial && tutorialStep != 3;
}
