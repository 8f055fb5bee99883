// The leaderboard, and the pages that stand over a top-scores list with
// their action row: Quickstart and Classic, a selected level, a Gauntlet
// stage.
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/elements/LeaderboardPageElement.h"
#include "game/frontend/pages/PageBuilders.h"
#include "game/scores/Awards.h"

void BuildLeaderboardPage(MainScreen& screen, PageBuild& build)
{
    HighScores::ITopScore* table = nullptr;
    switch (build.previousPage)
    {
    case Page::Title:
    case Page::Quickstart:
    case Page::Classic:
        table = HighScores::GetInfiniteScores();
        break;
    case Page::SelectedLevel:
        table = HighScores::GetLevelScores(screen.GetChosenLevel());
        break;
    case Page::GauntletStage:
        table = HighScores::GetStageScores(screen.GetChosenStage());
        break;
    default:
        break;
    }
    if (table)
        build.elements.push_back(new LeaderboardPageElement(
            table, screen.GetFlusher(), screen.GetSecondBatch(), screen.GetMetrics().contentScale));
}

void BuildEndlessPage(MainScreen& screen, PageBuild& build)
{
    screen.LayOutPageContent(build.elements, screen.MakeEndlessBlock(build.page == Page::Quickstart),
                             HighScores::GetInfiniteScores(), nullptr);
}

void BuildSelectedLevelPage(MainScreen& screen, PageBuild& build)
{
    const int level = screen.GetChosenLevel();
    if ((level >= 16 && level <= 31) || (level >= 48 && level <= 55))
        build.titleKind = 1;
    screen.LayOutPageContent(build.elements, screen.MakeLevelDescriptionBlock(level, build.titleKind),
                             HighScores::GetLevelScores(level), AllAwards::GetAward(level));
}

void BuildGauntletStagePage(MainScreen& screen, PageBuild& build)
{
    const int stage = screen.GetChosenStage();
    // Stage 8 is the whole Gauntlet.
    if (stage > 7)
        build.title = "Full Gauntlet";
    screen.LayOutPageContent(build.elements, screen.MakeStageDescriptionBlock(stage, build.titleKind),
                             HighScores::GetStageScores(stage), AllAwards::GetGroupAward(stage));
}
