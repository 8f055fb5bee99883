// What the menu's buttons, check buttons and sliders do: start games and
// their music, switch pages and change the preferences. Handlers that depend
// on the current page do nothing on any other, so a press that arrives
// during a page change is harmless.
#include "game/frontend/MainScreen.h"

#include "engine/core/Platform.h"
#include "engine/core/Vector3.h"
#include "engine/ui/UIManager.h"
#include "game/audio/GameMusic.h"
#include "game/audio/GameSounds.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MoreGames.h"
#include "game/play/GameScreen.h"
#include "game/play/TiltHelpers.h"
#include "game/simulation/GameMode.h"
#include "game/scores/GamePrefs.h"

#include <algorithm>

using Vexel::UI::Element;

namespace
{
typedef Vexel::Action<Element*, Vector2 const&> PressHandler;

// Music tracks.
const int kMenuMusic = 0;
const int kInGameMusic = 1;
const int kTutorialMusic = 2;
// A sample of the new effects level when the slider is let go.
const int kSampleSound = 2;
} // namespace

void MainScreen::OnBack(Element*, Vector2 const&)
{
    GoBack(1);
}

void MainScreen::OnGridChoice0(Element*, Vector2 const&) { ChooseGridItem(0); }
void MainScreen::OnGridChoice1(Element*, Vector2 const&) { ChooseGridItem(1); }
void MainScreen::OnGridChoice2(Element*, Vector2 const&) { ChooseGridItem(2); }
void MainScreen::OnGridChoice3(Element*, Vector2 const&) { ChooseGridItem(3); }
void MainScreen::OnGridChoice4(Element*, Vector2 const&) { ChooseGridItem(4); }
void MainScreen::OnGridChoice5(Element*, Vector2 const&) { ChooseGridItem(5); }
void MainScreen::OnGridChoice6(Element*, Vector2 const&) { ChooseGridItem(6); }
void MainScreen::OnGridChoice7(Element*, Vector2 const&) { ChooseGridItem(7); }
void MainScreen::OnGridChoice8(Element*, Vector2 const&) { ChooseGridItem(8); }

PressHandler MainScreen::GridChoiceHandler(MainScreen* screen, int item)
{
    static void (MainScreen::*const handlers[9])(Element*, Vector2 const&) = {
        &MainScreen::OnGridChoice0, &MainScreen::OnGridChoice1, &MainScreen::OnGridChoice2,
        &MainScreen::OnGridChoice3, &MainScreen::OnGridChoice4, &MainScreen::OnGridChoice5,
        &MainScreen::OnGridChoice6, &MainScreen::OnGridChoice7, &MainScreen::OnGridChoice8,
    };
    if (item < 0 || item > 8)
        return PressHandler();
    return PressHandler(screen, handlers[item]);
}

void MainScreen::ChooseGridItem(int item)
{
    if (currentPage == Page::Gauntlet)
    {
        if (item < 0 || item > 8)
            return;
        chosenStage = item;
        ShowPage(Page::GauntletStage, true);
    }
    else if (currentPage == Page::StageSelect)
    {
        if (item >= 0 && item < 8)
            ShowPage(Page::FirstStageLevels + item, true);
    }
    else if (currentPage >= Page::FirstStageLevels && currentPage <= Page::LastStageLevels)
    {
        // Eight levels a stage: anything else would name another stage's
        // level, or none.
        if (item < 0 || item > 7)
            return;
        chosenLevel = StageStart[currentPage - Page::FirstStageLevels] + item;
        ShowPage(Page::SelectedLevel, true);
    }
}

void MainScreen::OnMoreGames(Element*, Vector2 const&)
{
    LaunchMoreGamesPage();
}

void MainScreen::OnShowQuickstart(Element*, Vector2 const&) { ShowPage(Page::Quickstart, true); }
void MainScreen::OnShowClassic(Element*, Vector2 const&) { ShowPage(Page::Classic, true); }
void MainScreen::OnShowGauntlet(Element*, Vector2 const&) { ShowPage(Page::Gauntlet, true); }
void MainScreen::OnShowStages(Element*, Vector2 const&) { ShowPage(Page::StageSelect, true); }
void MainScreen::OnOptions(Element*, Vector2 const&) { ShowPage(Page::GameOptions, true); }
void MainScreen::OnShowControls(Element*, Vector2 const&) { ShowPage(Page::ControlOptions, true); }
void MainScreen::OnShowCalibration(Element*, Vector2 const&) { ShowPage(Page::TiltCalibration, true); }
void MainScreen::OnShowSurrender(Element*, Vector2 const&) { ShowPage(Page::Surrender, true); }
void MainScreen::OnLeaderboard(Element*, Vector2 const&) { ShowPage(Page::Leaderboard, true); }
void MainScreen::OnNothing(Element*, Vector2 const&) {}

void MainScreen::OnTutorial(Element*, Vector2 const&)
{
    gameScreen->GetSimulation().StartTutorial(0);
    GameMusic::Play(kTutorialMusic, true, 0.7f, 0.0f);
    ShowPage(Page::Game, true);
}

void MainScreen::OnSurrender(Element*, Vector2 const&)
{
    gameScreen->GetSimulation().Surrender();
    // Back to the game on page 2, which then ends.
    GoBack(2);
}

void MainScreen::OnCalibrate(Element*, Vector2 const&)
{
    Vector3 const& tilt = *Vexel::UI::UIManager::GetTilt();
    if (IsDeviceFlat(tilt))
        return;
    GamePrefs::SetTiltReference(tilt.Normalized());
    GamePrefs::Save();
}

void MainScreen::OnContinue(Element*, Vector2 const&)
{
    Simulation& simulation = gameScreen->GetSimulation();
    if (!simulation.IsTutorialFinished())
    {
        simulation.ContinueTutorial();
        return;
    }
    simulation.StartGame(GameMode::Classic, 1);
    GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
    // After that game and its name entry the player lands on the leaderboard.
    PopPage();
    pageStack.push_back(Page::Leaderboard);
    ShowPage(Page::Game, true);
}

void MainScreen::OnPlay(Element*, Vector2 const&)
{
    Simulation& simulation = gameScreen->GetSimulation();
    switch (currentPage)
    {
    case Page::Classic:
        simulation.StartGame(GameMode::Classic, 1);
        GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
        break;
    case Page::GauntletStage:
        if (chosenStage >= 0 && chosenStage <= 7)
            simulation.StartGameAtLevel(StageStart[chosenStage], GameMode::GauntletStage, 1);
        else
            simulation.StartGameAtLevel(0, GameMode::FullGauntlet, 1);
        GameMusic::Play(kInGameMusic, true, 0.6f, 0.0f);
        break;
    case Page::Quickstart:
        simulation.StartGame(GameMode::Quickstart, GamePrefs::GetStartingWave() + 1);
        GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
        break;
    default:
        return;
    }
    ShowPage(Page::Game, true);
}

void MainScreen::OnPlayLevel(Element*, Vector2 const&)
{
    if (currentPage != Page::SelectedLevel)
        return;
    gameScreen->GetSimulation().StartGameAtLevel(chosenLevel, GameMode::Level, 1);
    GameMusic::Play(kInGameMusic, true, 0.3f, 0.0f);
    ShowPage(Page::Game, true);
}

void MainScreen::OnPracticeLevel(Element*, Vector2 const&)
{
    if (currentPage != Page::SelectedLevel)
        return;
    gameScreen->GetSimulation().StartGameAtLevel(chosenLevel, GameMode::Practice, 1);
    GameMusic::Play(kInGameMusic, true, 0.3f, 0.0f);
    ShowPage(Page::Game, true);
}

void MainScreen::OnEndlessFromLevel(Element*, Vector2 const&)
{
    if (currentPage != Page::SelectedLevel)
        return;
    // After the game the player returns to "Classic Mode".
    pageStack.push_back(Page::Classic);
    gameScreen->GetSimulation().StartGameAtLevel(chosenLevel, GameMode::Classic, 1);
    GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
    ShowPage(Page::Game, true);
}

void MainScreen::OnStrategyTips(Element*, Vector2 const&)
{
    if (currentPage == Page::Quickstart || currentPage == Page::Classic || currentPage == Page::SelectedLevel ||
        currentPage == Page::GauntletStage)
        ShowPage(Page::StrategyTips, true);
}

void MainScreen::OnSubmitScore(Element*, Vector2 const&)
{
    // Once per name entry: a second press must not add the score again.
    if (currentPage != Page::NameEntry)
        return;
    if (HighScores::ITopScore* table = gameScreen->GetSimulation().GetHighScores())
        table->AddScore(lastGameStats, GamePrefs::GetPlayerName());
    GamePrefs::Save();
    GameMusic::Play(kMenuMusic, true, 8.0f, 2.0f);
    GoBack(1);
}

void MainScreen::OnResultsNext(Element*, Vector2 const&)
{
    if (currentPage != Page::ResultsAlive && currentPage != Page::ResultsLost)
        return;
    if (gameScreen->GetSimulation().GetHighScores() && lastGameStats.score > 0)
    {
        PopPage();
        ShowPage(Page::NameEntry, true);
    }
    else
        GoBack(1);
}

PressHandler MainScreen::ShowPageHandler(MainScreen* screen, int page)
{
    struct Forwarder
    {
        Page::Enum page;
        void (MainScreen::*handler)(Element*, Vector2 const&);
    };
    static const Forwarder forwarders[] = {
        {Page::AudioOptions, &MainScreen::OnShowPage<Page::AudioOptions>},
        {Page::ControlOptions, &MainScreen::OnShowPage<Page::ControlOptions>},
        {Page::Information, &MainScreen::OnShowPage<Page::Information>},
        {Page::KnowYourEnemy, &MainScreen::OnShowPage<Page::KnowYourEnemy>},
        {Page::ScoreKeeping, &MainScreen::OnShowPage<Page::ScoreKeeping>},
        {Page::Achievements, &MainScreen::OnShowPage<Page::Achievements>},
        {Page::Shooting, &MainScreen::OnShowPage<Page::Shooting>},
        {Page::LockTactics, &MainScreen::OnShowPage<Page::LockTactics>},
        {Page::PlanetCannon, &MainScreen::OnShowPage<Page::PlanetCannon>},
        {Page::GeneralStrategy, &MainScreen::OnShowPage<Page::GeneralStrategy>},
        {Page::HowMany, &MainScreen::OnShowPage<Page::HowMany>},
        {Page::BasicEnemies, &MainScreen::OnShowPage<Page::BasicEnemies>},
        {Page::Spawners, &MainScreen::OnShowPage<Page::Spawners>},
        {Page::Landers, &MainScreen::OnShowPage<Page::Landers>},
        {Page::Builders, &MainScreen::OnShowPage<Page::Builders>},
        {Page::Bosses, &MainScreen::OnShowPage<Page::Bosses>},
        {Page::SpawnerBosses, &MainScreen::OnShowPage<Page::SpawnerBosses>},
    };
    for (Forwarder const& forwarder : forwarders)
        if (forwarder.page == page)
            return PressHandler(screen, forwarder.handler);
    return PressHandler();
}

void MainScreen::OnVibrationToggled(UICheckButton*, bool on)
{
    GamePrefs::SetVibration(on);
    if (on)
        Vexel::Platform::Vibrate();
}

void MainScreen::OnTiltToggled(UICheckButton*, bool on) { GamePrefs::SetTiltControls(on); }
void MainScreen::OnLocksToggled(UICheckButton*, bool on) { GamePrefs::SetTargetLocks(on); }
void MainScreen::OnSweepToggled(UICheckButton*, bool on) { GamePrefs::SetTargetSweep(on); }
void MainScreen::OnSoundToggled(UICheckButton*, bool on) { GamePrefs::SetSoundEnabled(on); }
void MainScreen::OnSubmitOnlineToggled(UICheckButton*, bool on) { GamePrefs::SetSubmitOnline(on); }

void MainScreen::OnStartingWave(UISlider*, int value)
{
    GamePrefs::SetStartingWave(std::clamp(value, 1, 99));
}

float MainScreen::SliderVolume(int value)
{
    return value < 1 ? 0.0f : (float(value) + 0.5f) * 0.01f;
}

void MainScreen::OnMusicVolume(UISlider*, int value)
{
    GamePrefs::SetMusicVolume(SliderVolume(value));
}

void MainScreen::OnEffectsVolume(UISlider*, int value)
{
    GamePrefs::SetSoundVolume(SliderVolume(value));
}

void MainScreen::OnEffectsSliderReleased(Element*, Vector2 const&, int)
{
    GameSounds::Play(kSampleSound, 1.4f, 1.0f);
}
