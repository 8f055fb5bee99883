#include "game/frontend/pages/PageTable.h"

#include "game/frontend/pages/PageBuilders.h"

namespace
{
const BottomButton::Enum None = BottomButton::None;
const BottomButton::Enum Back = BottomButton::Back;
const BottomButton::Enum Options = BottomButton::Options;
} // namespace

const PageTableEntry PageTable[Page::Count] = {
    // The play screen is hidden.
    {4, nullptr, 0.0f, None, None, None, nullptr},
    {2, "Cobalt Keep", 0.9f, BottomButton::Tutorial, BottomButton::MoreGames, Options, BuildTitlePage},
    {4, nullptr, 1.0f, None, None, None, nullptr},
    {4, nullptr, 0.9f, None, None, BottomButton::ResultsNext, BuildResultsPage},
    // The lost planet only glimmers behind its results.
    {4, nullptr, 0.166666f, None, None, BottomButton::ResultsNext, BuildResultsPage},
    {2, "Name Entry", 0.45f, None, None, BottomButton::SubmitScore, BuildNameEntryPage},
    {0, "Leaderboard", 0.12f, Back, None, None, BuildLeaderboardPage},
    {0, "Device Too Flat", 0.12f, BottomButton::LowerBack, None, BottomButton::Controls,
     BuildDeviceTooFlatPage},
    {2, "Quickstart Mode", 0.8f, Back, None, Options, BuildEndlessPage},
    {2, "Classic Mode", 0.8f, Back, None, Options, BuildEndlessPage},
    {2, "Gauntlet", 0.7f, Back, None, Options, BuildGauntletGrid},
    {2, "Select a Stage", 0.7f, Back, None, Options, BuildStageGrid},
    {0, "Stage: Chaos", 0.7f, Back, None, Options, BuildLevelGrid},
    {0, "Stage: Order", 0.7f, Back, None, Options, BuildLevelGrid},
    {1, "Stage: Vanguard", 0.7f, Back, None, Options, BuildLevelGrid},
    {1, "Stage: Tactical", 0.7f, Back, None, Options, BuildLevelGrid},
    {0, "Stage: Flanked", 0.7f, Back, None, Options, BuildLevelGrid},
    {0, "Stage: Swarm", 0.7f, Back, None, Options, BuildLevelGrid},
    {1, "Stage: Horde", 0.7f, Back, None, Options, BuildLevelGrid},
    {0, "Stage: Ganked", 0.7f, Back, None, Options, BuildLevelGrid},
    {0, "Selected Level", 0.4f, Back, None, Options, BuildSelectedLevelPage},
    {0, "Gauntlet Stage", 0.4f, Back, None, Options, BuildGauntletStagePage},
    {0, "Surrender?", 0.0f, BottomButton::LowerBack, None, None, BuildSurrenderPage},
    // The pause menu of a running game changes its buttons (its builder).
    {2, "Game Options", 0.75f, Back, None, None, BuildGameOptionsPage},
    {0, "Tilt Calibration", 0.0f, Back, None, None, BuildCalibrationPage},
    {2, "Audio Options", 0.12f, Back, None, None, BuildAudioOptionsPage},
    {2, "Vibration", 0.75f, Back, None, None, BuildVibrationPage},
    {2, "Control Options", 0.12f, Back, None, None, BuildControlOptionsPage},
    {2, "Information", 0.75f, Back, None, None, BuildInformationPage},
    {2, "Know Your Enemy", 0.75f, Back, None, None, BuildKnowYourEnemyPage},
    {2, "Score Keeping", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Achievements", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Shooting", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Lock Tactics", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Planet Cannon", 0.12f, Back, None, None, BuildHelpPage},
    {2, "General Strategy", 0.12f, Back, None, None, BuildHelpPage},
    {2, "How Many??", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Basic Enemies", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Spawners", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Landers", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Builders", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Bosses", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Spawner Bosses", 0.12f, Back, None, None, BuildHelpPage},
    {2, "Strategy Tips", 0.12f, Back, None, None, BuildStrategyTipsPage},
};
