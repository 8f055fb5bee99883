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
    if (currentPage == 10)
    {
        if (item < 0 || item > 8)
            return;
        chosenStage = item;
        ShowPage(21, true);
    }
    else if (currentPage == 11)
    {
        if (item >= 0 && item < 8)
            ShowPage(12 + item, true);
    }
    else if (currentPage >= 12 && currentPage <= 19)
    {
        // Eight levels a stage: anything else would name another stage's
        // level, or none.
        if (item < 0 || item > 7)
            return;
        chosenLevel = StageStart[currentPage - 12] + item;
        ShowPage(20, true);
    }
}

void MainScreen::OnMoreGames(Element*, Vector2 const&)
{
    LaunchMoreGamesPage();
}

void MainScreen::OnShowQuickstart(Element*, Vector2 const&) { ShowPage(8, true); }
void MainScreen::OnShowClassic(Element*, Vector2 const&) { ShowPage(9, true); }
void MainScreen::OnShowGauntlet(Element*, Vector2 const&) { ShowPage(10, true); }
void MainScreen::OnShowStages(Element*, Vector2 const&) { ShowPage(11, true); }
void MainScreen::OnOptions(Element*, Vector2 const&) { ShowPage(23, true); }
void MainScreen::OnShowControls(Element*, Vector2 const&) { ShowPage(27, true); }
void MainScreen::OnShowCalibration(Element*, Vector2 const&) { ShowPage(24, true); }
void MainScreen::OnShowSurrender(Element*, Vector2 const&) { ShowPage(22, true); }
void MainScreen::OnLeaderboard(Element*, Vector2 const&) { ShowPage(6, true); }
void MainScreen::OnNothing(Element*, Vector2 const&) {}

void MainScreen::OnTutorial(Element*, Vector2 const&)
{
    gameScreen->GetSimulation().StartTutorial(0);
    GameMusic::Play(kTutorialMusic, true, 0.7f, 0.0f);
    ShowPage(2, true);
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
    simulation.StartGame(1, 1);
    GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
    // After that game and its name entry the player lands on the leaderboard.
    PopPage();
    pageStack.push_back(6);
    ShowPage(2, true);
}

void MainScreen::OnPlay(Element*, Vector2 const&)
{
    Simulation& simulation = gameScreen->GetSimulation();
    switch (currentPage)
    {
    case 9:
        simulation.StartGame(1, 1);
        GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
        break;
    case 21:
        if (chosenStage >= 0 && chosenStage <= 7)
            simulation.StartGameAtLevel(StageStart[chosenStage], 5, 1);
        else
            simulation.StartGameAtLevel(0, 6, 1);
        GameMusic::Play(kInGameMusic, true, 0.6f, 0.0f);
        break;
    case 8:
        simulation.StartGame(2, GamePrefs::GetStartingWave() + 1);
        GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
        break;
    default:
        return;
    }
    ShowPage(2, true);
}

void MainScreen::OnPlayLevel(Element*, Vector2 const&)
{
    if (currentPage != 20)
        return;
    gameScreen->GetSimulation().StartGameAtLevel(chosenLevel, 3, 1);
    GameMusic::Play(kInGameMusic, true, 0.3f, 0.0f);
    ShowPage(2, true);
}

void MainScreen::OnPracticeLevel(Element*, Vector2 const&)
{
    if (currentPage != 20)
        return;
    gameScreen->GetSimulation().StartGameAtLevel(chosenLevel, 4, 1);
    GameMusic::Play(kInGameMusic, true, 0.3f, 0.0f);
    ShowPage(2, true);
}

void MainScreen::OnEndlessFromLevel(Element*, Vector2 const&)
{
    if (currentPage != 20)
        return;
    // After the game the player returns to "Classic Mode".
    pageStack.push_back(9);
    gameScreen->GetSimulation().StartGameAtLevel(chosenLevel, 1, 1);
    GameMusic::Play(kInGameMusic, true, 0.7f, 0.0f);
    ShowPage(2, true);
}

void MainScreen::OnStrategyTips(Element*, Vector2 const&)
{
    if (currentPage == 8 || currentPage == 9 || currentPage == 20 || currentPage == 21)
        ShowPage(43, true);
}

void MainScreen::OnSubmitScore(Element*, Vector2 const&)
{
    // Once per name entry: a second press must not add the score again.
    if (currentPage != 5)
        return;
    if (HighScores::ITopScore* table = gameScreen->GetSimulation().GetHighScores())
        table->AddScore(lastGameStats, GamePrefs::GetPlayerName());
    GamePrefs::Save();
    GameMusic::Play(kMenuMusic, true, 8.0f, 2.0f);
    GoBack(1);
}

void MainScreen::OnResultsNext(Element*, Vector2 const&)
{
    if (currentPage != 3 && currentPage != 4)
        return;
    if (gameScreen->GetSimulation().GetHighScores() && lastGameStats.score > 0)
    {
        PopPage();
        ShowPage(5, true);
    }
    else
        GoBack(1);
}

void MainScreen::OnShowPage25(Element*, Vector2 const&) { ShowPage(25, true); }
void MainScreen::OnShowPage27(Element*, Vector2 const&) { ShowPage(27, true); }
void MainScreen::OnShowPage28(Element*, Vector2 const&) { ShowPage(28, true); }
void MainScreen::OnShowPage29(Element*, Vector2 const&) { ShowPage(29, true); }
void MainScreen::OnShowPage30(Element*, Vector2 const&) { ShowPage(30, true); }
void MainScreen::OnShowPage31(Element*, Vector2 const&) { ShowPage(31, true); }
void MainScreen::OnShowPage32(Element*, Vector2 const&) { ShowPage(32, true); }
void MainScreen::OnShowPage33(Element*, Vector2 const&) { ShowPage(33, true); }
void MainScreen::OnShowPage34(Element*, Vector2 const&) { ShowPage(34, true); }
void MainScreen::OnShowPage35(Element*, Vector2 const&) { ShowPage(35, true); }
void MainScreen::OnShowPage36(Element*, Vector2 const&) { ShowPage(36, true); }
void MainScreen::OnShowPage37(Element*, Vector2 const&) { ShowPage(37, true); }
void MainScreen::OnShowPage38(Element*, Vector2 const&) { ShowPage(38, true); }
void MainScreen::OnShowPage39(Element*, Vector2 const&) { ShowPage(39, true); }
void MainScreen::OnShowPage40(Element*, Vector2 const&) { ShowPage(40, true); }
void MainScreen::OnShowPage41(Element*, Vector2 const&) { ShowPage(41, true); }
void MainScreen::OnShowPage42(Element*, Vector2 const&) { ShowPage(42, true); }

PressHandler MainScreen::ShowPageHandler(MainScreen* screen, int page)
{
    static void (MainScreen::*const forwarders[16])(Element*, Vector2 const&) = {
        &MainScreen::OnShowPage27, &MainScreen::OnShowPage28, &MainScreen::OnShowPage29,
        &MainScreen::OnShowPage30, &MainScreen::OnShowPage31, &MainScreen::OnShowPage32,
        &MainScreen::OnShowPage33, &MainScreen::OnShowPage34, &MainScreen::OnShowPage35,
        &MainScreen::OnShowPage36, &MainScreen::OnShowPage37, &MainScreen::OnShowPage38,
        &MainScreen::OnShowPage39, &MainScreen::OnShowPage40, &MainScreen::OnShowPage41,
        &MainScreen::OnShowPage42,
    };
    if (page == 25)
        return PressHandler(screen, &MainScreen::OnShowPage25);
    if (page >= 27 && page <= 42)
        return PressHandler(screen, forwarders[page - 27]);
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
