// The content builders of the page table's rows, by page family. Each adds
// its page's elements and rows to the build (see PageTable.h).
#pragma once

class MainScreen;
struct PageBuild;

// TitlePage.cpp: the title menu's four big buttons.
void BuildTitlePage(MainScreen& screen, PageBuild& build);

// GridPages.cpp: the Gauntlet grid, the stage grid and a stage's levels.
void BuildGauntletGrid(MainScreen& screen, PageBuild& build);
void BuildStageGrid(MainScreen& screen, PageBuild& build);
void BuildLevelGrid(MainScreen& screen, PageBuild& build);

// ResultsPages.cpp: the results picture and music, the name entry.
void BuildResultsPage(MainScreen& screen, PageBuild& build);
void BuildNameEntryPage(MainScreen& screen, PageBuild& build);

// OptionsPages.cpp: the pause and options pages.
void BuildDeviceTooFlatPage(MainScreen& screen, PageBuild& build);
void BuildSurrenderPage(MainScreen& screen, PageBuild& build);
void BuildGameOptionsPage(MainScreen& screen, PageBuild& build);
void BuildCalibrationPage(MainScreen& screen, PageBuild& build);
void BuildAudioOptionsPage(MainScreen& screen, PageBuild& build);
void BuildVibrationPage(MainScreen& screen, PageBuild& build);
void BuildControlOptionsPage(MainScreen& screen, PageBuild& build);

// HelpPages.cpp: the information menus, the help pages and the tips.
void BuildInformationPage(MainScreen& screen, PageBuild& build);
void BuildKnowYourEnemyPage(MainScreen& screen, PageBuild& build);
void BuildHelpPage(MainScreen& screen, PageBuild& build);
void BuildStrategyTipsPage(MainScreen& screen, PageBuild& build);

// ScorePages.cpp: the leaderboard and the pages over a top-scores list.
void BuildLeaderboardPage(MainScreen& screen, PageBuild& build);
void BuildEndlessPage(MainScreen& screen, PageBuild& build);
void BuildSelectedLevelPage(MainScreen& screen, PageBuild& build);
void BuildGauntletStagePage(MainScreen& screen, PageBuild& build);
