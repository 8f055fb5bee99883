// The main screen's life: construction (play screen, metrics, persistent
// buttons, the restore or the first page), the per-frame watch over the game
// of page 2 with the end of a game, and the two sprite batches.
#include "game/frontend/MainScreen.h"

#include "engine/core/BackKeyEvent.h"
#include "engine/core/Log.h"
#include "engine/core/Platform.h"
#include "engine/ui/UIManager.h"
#include "game/audio/GameMusic.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/play/GameScreen.h"
#include "game/simulation/GameMode.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "game/widgets/UITextButton.h"
#include "game/widgets/UITextureButton.h"

#include <algorithm>

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;
using Vexel::UI::UIManager;

const char* const MainScreen::kStateFileName = "state.sav";

namespace
{
typedef Vexel::Action<Element*, Vector2 const&> PressHandler;

const Color kWhite(255, 255, 255, 255);
const Color kControlsText(127, 212, 255, 255);
const int kAlphaBlend = 1;
} // namespace

MainScreen::MainScreen()
    : Screen(Vexel::UI::TouchMode::Ignore), firstBatch(kBatchCapacity), secondBatch(kBatchCapacity),
      currentPage(0), chosenLevel(0), chosenStage(0), titleBar(nullptr), backButton(nullptr),
      tutorialButton(nullptr), moreGamesButton(nullptr), optionsButton(nullptr), lowerBackButton(nullptr),
      continueButton(nullptr), controlsButton(nullptr), surrenderButton(nullptr), submitScoreButton(nullptr),
      resultsNextButton(nullptr), gameScreen(nullptr), touchBackdrop(nullptr), outgoingLayer(nullptr),
      restored(false)
{
    // Under everything of this screen: takes the touches that no page element
    // takes, so that on a menu page they never reach the game beneath
    // (whose touch elements would aim, lay or sweep locks in a paused game).
    // Off while the game itself is the page.
    touchBackdrop = new Element(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vexel::Platform::GetScreenSize(),
                                              Vexel::Platform::GetRotatedScreenSize()),
                                Vexel::UI::TouchMode::Swallow);
    AddChild(touchBackdrop);
    // Below every page: the outgoing page, disabled so that none of its
    // elements takes a touch while it fades out.
    outgoingLayer = new Element(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vexel::Platform::GetScreenSize(),
                                              Vexel::Platform::GetRotatedScreenSize(), 1.0f, false),
                                Vexel::UI::TouchMode::Ignore);
    AddChild(outgoingLayer);

    // One layer below this screen, which is not attached yet: the play screen
    // lies under every other root.
    gameScreen = new GameScreen();
    UIManager::AttachElement(gameScreen, UIManager::GetElementLayer(this) - 1);

    const Vector2 size = GetSize();
    metrics = MenuMetrics::Compute(size.x, size.y);

    CreateFixedButtons();

    if (!RestoreState())
    {
        if (!GamePrefs::IsFirstRunDone())
        {
            // The first start of the game goes straight into the tutorial.
            GamePrefs::MarkFirstRunDone();
            pageStack.push_back(Page::Title);
            OnTutorial(nullptr, Vector2());
        }
        else
        {
            GameMusic::Play(0, true, 0.0f, 0.0f);
            ShowPage(Page::Title, true);
        }
    }

    Vexel::App::BackKeyPressed.Subscribe(Vexel::Action<>(this, &MainScreen::OnBackKey));
}

MainScreen::~MainScreen()
{
    Vexel::App::BackKeyPressed.Unsubscribe(this);
}

Element* MainScreen::AddFixedButton(Element* button, PressHandler handler, int beepVariant)
{
    AddChild(button);
    fixedButtons.push_back(button);
    button->Clicked.Subscribe(handler);
    AttachMenuBeep(button, beepVariant);
    return button;
}

void MainScreen::CreateFixedButtons()
{
    const ElementLayout layout(ElementPosition(Vector2(0.0f, 0.0f)), metrics.buttonCell, 0.0f, false);
    auto standard = [&](int tile, bool enabled) {
        return new UITextureButton(layout, MenuTile(tile), metrics.buttonSize, kAlphaBlend, &firstBatch,
                                   &secondBatch, enabled, kWhite, false);
    };
    backButton = AddFixedButton(standard(156, false), PressHandler(this, &MainScreen::OnBack), 1);
    optionsButton = AddFixedButton(standard(160, false), PressHandler(this, &MainScreen::OnOptions), 0);
    tutorialButton = AddFixedButton(standard(166, false), PressHandler(this, &MainScreen::OnTutorial), 0);
    moreGamesButton = AddFixedButton(standard(159, false), PressHandler(this, &MainScreen::OnMoreGames), 0);
    lowerBackButton = AddFixedButton(standard(157, false), PressHandler(this, &MainScreen::OnBack), 2);
    continueButton = AddFixedButton(standard(157, true), PressHandler(this, &MainScreen::OnContinue), 2);
    continueButton->SetVisible(false);
    UITextButton* controls = new UITextButton(layout, MenuTile(153), metrics.buttonSize, metrics.buttonSize.y * 0.5f,
                                              kAlphaBlend, &firstBatch, &secondBatch, "Controls", kControlsText);
    // The text button enables itself when it has a tile.
    controls->SetEnabled(false);
    controlsButton = AddFixedButton(controls, PressHandler(this, &MainScreen::OnShowControls), 0);
    surrenderButton = AddFixedButton(standard(163, false), PressHandler(this, &MainScreen::OnShowSurrender), 1);
    submitScoreButton = AddFixedButton(standard(157, false), PressHandler(this, &MainScreen::OnSubmitScore), 0);
    resultsNextButton = AddFixedButton(standard(157, false), PressHandler(this, &MainScreen::OnResultsNext), 0);
}

void MainScreen::FlushFirstBatch()
{
    firstBatch.Draw();
}

void MainScreen::FlushSecondBatch()
{
    secondBatch.Draw();
}

void MainScreen::DrawEnd(Vexel::Rectangle, float)
{
    firstBatch.Draw();
    secondBatch.Draw();
}

void MainScreen::Update(float)
{
    UpdateContinueButton();
    if (currentPage == Page::Game)
    {
        Simulation& simulation = gameScreen->GetSimulation();
        if (!simulation.IsGameOver())
        {
            // The play screen is flat only while tilt controls are in use.
            if (gameScreen->IsFlat())
                ShowPage(Page::DeviceTooFlat, true);
            else if (gameScreen->IsPaused())
                ShowPage(Page::GameOptions, true);
        }
        else
            ProcessGameEnd();
    }
    RemoveFadedElements();
    TracePageEntered();
}

void MainScreen::UpdateContinueButton()
{
    Simulation const& simulation = gameScreen->GetSimulation();
    const bool tutorialDone = simulation.GetMode() == GameMode::Tutorial && simulation.IsTutorialFinished();
    const bool show = currentPage == Page::Game && (simulation.IsWaitingForTap() || tutorialDone);
    if (show)
    {
        // Only what differs: every setter queues a transition.
        if (continueButton->IsTransitioning() || continueButton->GetAlpha() != 1.0f || !continueButton->IsEnabled())
        {
            continueButton->SetAlpha(1.0f);
            continueButton->SetEnabled(true);
            continueButton->SetPosition(ElementPosition(Vector2(0.0f, 0.0f), Vexel::UI::Alignment::Bottom));
        }
        if (!continueButton->IsVisible())
            continueButton->SetVisible(true);
    }
    else if (continueButton->IsVisible() || continueButton->IsTransitioning())
        continueButton->SetVisible(false);
}

void MainScreen::ProcessGameEnd()
{
    Simulation& simulation = gameScreen->GetSimulation();
    if (!simulation.GetHighScores())
    {
        // The tutorial and practice keep no score: back to where the game
        // was started from.
        GameMusic::Play(0, true, 12.0f, 2.0f);
        OnBack(nullptr, Vector2());
        return;
    }
    gameScreen->SetPaused(false);
    lastGameStats = simulation.GetScoreEntry();
    lastGameAwards.Clear();
    if (Award* award = simulation.GetAward())
    {
        // A level without a kill goal never grants the kill award.
        if (award->GetValue() >= 1 && lastGameStats.kills >= award->GetValue())
        {
            award->SetAchieved();
            lastGameAwards.flags[0] = 1;
        }
        if (!simulation.HasUsedCannon() && simulation.HasPopulation())
        {
            award->SetFlag1();
            lastGameAwards.flags[1] = 1;
        }
        if (!simulation.HasLostPopulation())
        {
            award->SetFlag2();
            lastGameAwards.flags[2] = 1;
        }
    }
    PopPage();
    ShowPage(simulation.HasPopulation() ? Page::ResultsAlive : Page::ResultsLost, true);
}

void MainScreen::RemoveFadedElements()
{
    // Moved out first: deleting an element may run handlers that fade more.
    std::vector<Element*> faded;
    faded.swap(pendingRemovals);
    for (Element* element : faded)
    {
        if (HasChild(element))
            RemoveChild(element);
        else if (outgoingLayer->HasChild(element))
            outgoingLayer->RemoveChild(element);
        delete element;
    }
}

void MainScreen::PopPage()
{
    if (!pageStack.empty())
        pageStack.pop_back();
}
