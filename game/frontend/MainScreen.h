// The one menu screen of the game. It holds every menu page over the running
// world: the play screen (GameScreen) sits one UI layer below it, so the
// pages fade in and out over the game, and page 2 is the game itself. The
// screen keeps the stack of visited pages (the title page 1 at the bottom),
// the ten persistent bottom buttons, the layout metrics every page builder
// shares and the two sprite batches (512 quads each) that every button and
// page element draws through; it draws them after its children and flushes
// them for text elements through IFlush.
//
// Every frame it watches the game of page 2: the tutorial's continue
// button, the "Device Too Flat" and pause pages, and the end of a game, whose
// result and awards it keeps for the results and name-entry pages.
//
// Page switching (ShowPage, GoBack, the back key) and every handler live in
// MainScreenNavigation.cpp and MainScreenHandlers.cpp; each page's frame and
// content builder in its row of the page table (pages/PageTable.h), the
// builders and the blocks they share in pages/; "state.sav" in
// MainScreenState.cpp.
//
// Made once by InitializeGame and kept until exit. Main thread only.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Delegate.h"
#include "engine/core/Vector2.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/ui/Screen.h"
#include "game/frontend/Page.h"
#include "game/scores/HighScores.h"
#include "game/widgets/IFlush.h"

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

class Award;
class GameScreen;
class UICheckButton;
class UISlider;
class UITextureButton;
struct LevelDescription;
struct TileInfo;

namespace Vexel
{
namespace UI
{
class ElementTransition;
}
} // namespace Vexel

// Which of the three awards the last finished game earned: 0 the kill award,
// 1 the no-cannon award, 2 the no-loss award; each 0 or 1.
struct AwardFlags
{
    uint8_t flags[3];

    AwardFlags() { Clear(); }
    void Clear() { flags[0] = flags[1] = flags[2] = 0; }
    int Count() const { return int(flags[0] != 0) + int(flags[1] != 0) + int(flags[2] != 0); }
};

// The sizes every page builder shares, computed once from the screen size.
// s is the design scale (1 on a 640 x 960 screen), snapped to 1.0 and 0.5
// when it lies just above them so that the art stays pixel-exact.
struct MenuMetrics
{
    float scale = 0.0f; // s
    Vector2 buttonShift;
    float titleBarHeight = 0.0f;
    Vector2 bigButtonCell;
    Vector2 bigButtonSize;
    Vector2 gridButtonCell;
    Vector2 gridButtonSize;
    Vector2 textBlockSize;
    Vector2 buttonCell;
    Vector2 buttonSize;
    Vector2 tallButtonCell;
    Vector2 wideButtonSize;
    Vector2 wideButtonCell;
    Vector2 panelSize;
    Vector2 bottomButtonPosition;
    Vector2 wideRowCell;
    Vector2 wideRowSize;
    Vector2 descriptionSize;
    float contentScale = 0.0f; // cs: the page blocks' content

    // For a screen of width w and height h (portrait).
    static MenuMetrics Compute(float w, float h);
    // 1.0 < x <= 1.15 gives 1.0; 0.5 < x <= 0.575 gives 0.5.
    static float Snap(float x);
};

// One row of a page's column of text buttons. A row without a tile keeps its
// place in the column but shows nothing.
struct PageRow
{
    int beepVariant = 0;
    Color colour;
    TileInfo const* tile = nullptr;
    std::string label;
    Vexel::Action<Vexel::UI::Element*, Vector2 const&> handler;
};

// The working values of one ShowPage call, which the page's content builder
// may change (defaults as set by ShowPage).
struct PageBuild
{
    int page = 0;
    bool animate = true;
    int previousPage = 0;        // top of the stack before the call, 0 for none
    float playScreenAlpha = 1.0f;
    Vexel::UI::Element* leftButton = nullptr;   // backButton
    Vexel::UI::Element* centreButton = nullptr; // none
    Vexel::UI::Element* rightButton = nullptr;  // optionsButton
    int titleKind = 4;                          // the page table's; 4: no title bar
    std::string title;                          // the page table's
    float rowWidthFactor = 1.0f;
    std::vector<Vexel::UI::Element*> elements; // the new page's elements, in order
    std::vector<PageRow> rows;
    std::set<int> wideRows;
    std::set<int> gapAfter;
};

class MainScreen : public Vexel::UI::Screen, public IFlush
{
public:
    static constexpr int kPageCount = Page::Count;
    static constexpr int kBatchCapacity = 512; // quads per sprite batch
    // The saved game state, in the save folder.
    static const char* const kStateFileName; // "state.sav"
    static constexpr int32_t kStateVersion = 3;

    // Makes the play screen (attached one layer below this screen), the
    // persistent buttons, restores "state.sav" or starts the tutorial (first
    // run) or the title page, and hooks the back key. Needs the UI manager.
    MainScreen();
    // Leaves the play screen alone (neither deleted nor detached).
    ~MainScreen() override;

    void Update(float dt) override;
    // Draws the first, then the second batch: what the children queued.
    void DrawEnd(Vexel::Rectangle rect, float alpha) override;

    void FlushFirstBatch() override;
    void FlushSecondBatch() override;

    // Writes "state.sav": resumable (the stack, choices, last result, game and
    // music) while the stack holds a game or its results, else 5 bytes; with
    // discard always 5 bytes. The stack is unchanged.
    void SaveState(bool discard);

    // --- Page switching (MainScreenNavigation.cpp) ---
    // Pushes the page and, unless it is the current page already (the entry
    // stays pushed), builds it and animates the change: forward (animate)
    // the old page flies out and the new one grows from the centre; back the
    // other way round.
    void ShowPage(int page, bool animate);
    // Leaves count pages (at most all but the bottom one); page 2 is shown
    // unpaused, and "Device Too Flat" is skipped once tilt is off.
    void GoBack(int count);
    void OnBackKey();
    void OnFadeFinished(Vexel::UI::Element* element, Vexel::UI::ElementTransition* transition);

    // --- Handlers (MainScreenHandlers.cpp) ---
    // Press handlers take the pressed element and the position.
    void OnBack(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice0(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice1(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice2(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice3(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice4(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice5(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice6(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice7(Vexel::UI::Element*, Vector2 const&);
    void OnGridChoice8(Vexel::UI::Element*, Vector2 const&);
    // The grid handler of item 0..8 (null outside).
    static Vexel::Action<Vexel::UI::Element*, Vector2 const&> GridChoiceHandler(MainScreen* screen, int item);
    void ChooseGridItem(int item);
    void OnMoreGames(Vexel::UI::Element*, Vector2 const&);
    void OnShowQuickstart(Vexel::UI::Element*, Vector2 const&);
    void OnShowClassic(Vexel::UI::Element*, Vector2 const&);
    void OnShowGauntlet(Vexel::UI::Element*, Vector2 const&);
    void OnShowStages(Vexel::UI::Element*, Vector2 const&);
    void OnOptions(Vexel::UI::Element*, Vector2 const&);
    void OnShowControls(Vexel::UI::Element*, Vector2 const&);
    void OnShowCalibration(Vexel::UI::Element*, Vector2 const&);
    void OnTutorial(Vexel::UI::Element*, Vector2 const&);
    void OnShowSurrender(Vexel::UI::Element*, Vector2 const&);
    void OnSurrender(Vexel::UI::Element*, Vector2 const&);
    void OnCalibrate(Vexel::UI::Element*, Vector2 const&);
    void OnContinue(Vexel::UI::Element*, Vector2 const&);
    void OnPlay(Vexel::UI::Element*, Vector2 const&);
    void OnPlayLevel(Vexel::UI::Element*, Vector2 const&);
    void OnPracticeLevel(Vexel::UI::Element*, Vector2 const&);
    void OnEndlessFromLevel(Vexel::UI::Element*, Vector2 const&);
    void OnLeaderboard(Vexel::UI::Element*, Vector2 const&);
    void OnStrategyTips(Vexel::UI::Element*, Vector2 const&);
    void OnSubmitScore(Vexel::UI::Element*, Vector2 const&);
    void OnResultsNext(Vexel::UI::Element*, Vector2 const&);
    // Bound where a button must do nothing (the pictures of the blocks).
    void OnNothing(Vexel::UI::Element*, Vector2 const&);
    // Page forwarders: ShowPage (page, true), for the pages that a row or a
    // button opens without more to do (25 and 27..42; see ShowPageHandler).
    template <int page> void OnShowPage(Vexel::UI::Element*, Vector2 const&) { ShowPage(page, true); }
    // The forwarder of page 25 or 27..42 (empty for any other page).
    static Vexel::Action<Vexel::UI::Element*, Vector2 const&> ShowPageHandler(MainScreen* screen, int page);
    // Toggle handlers take the check button and its new state.
    void OnVibrationToggled(UICheckButton*, bool on);
    void OnTiltToggled(UICheckButton*, bool on);
    void OnLocksToggled(UICheckButton*, bool on);
    void OnSweepToggled(UICheckButton*, bool on);
    void OnSoundToggled(UICheckButton*, bool on);
    void OnSubmitOnlineToggled(UICheckButton*, bool on);
    // Slider handlers take the slider and its value.
    void OnStartingWave(UISlider*, int value);
    void OnMusicVolume(UISlider*, int value);
    void OnEffectsVolume(UISlider*, int value);
    // The effects slider's touch-up event: a sample of the new level.
    void OnEffectsSliderReleased(Vexel::UI::Element*, Vector2 const&, int);
    // 0 below 1, else (value + 0.5) x 0.01.
    static float SliderVolume(int value);

    // --- Page builders (pages/) ---
    // The page's content: working values, elements and rows (step 5 of
    // ShowPage): the builder of the page's row of the page table.
    void BuildPageContent(PageBuild& build);
    UITextureButton* MakeBigButton(Vector2 slot, TileInfo const* tile,
                                   Vexel::Action<Vexel::UI::Element*, Vector2 const&> handler);
    UITextureButton* MakeGridButton(Vector2 cell, TileInfo const* tile,
                                    Vexel::Action<Vexel::UI::Element*, Vector2 const&> handler);
    Vexel::UI::Element* MakeProgressBadge(Vexel::UI::Element* button, int earned, int total);
    void BindButtonByTile(UITextureButton* button);
    float MakeActionRow(std::vector<Vexel::UI::Element*>& out, Award* award);
    void LayOutPageContent(std::vector<Vexel::UI::Element*>& out, Vexel::UI::Element* block,
                           HighScores::ITopScore* scores, Award* award);
    Vexel::UI::Element* MakeResultsAwardsBlock();
    void AddAwardThreshold(Vexel::UI::Element* killStar, Award* award, float scale);
    Vexel::UI::Element* MakeDescriptionBlock(Award* award, LevelDescription const* description,
                                             TileInfo const* picture,
                                             Vexel::Action<Vexel::UI::Element*, Vector2 const&> pictureHandler,
                                             int colourIndex);
    Vexel::UI::Element* MakeStageDescriptionBlock(int stage, int colourIndex);
    Vexel::UI::Element* MakeLevelDescriptionBlock(int level, int colourIndex);
    Vexel::UI::Element* MakeEndlessBlock(bool quickstart);
    Vexel::UI::Element* MakeInfoBlock(TileInfo const* picture, Vector2 pictureSize, std::string const& text);

    // --- State, for the page builders and tests ---
    GameScreen* GetGameScreen() const { return gameScreen; }
    MenuMetrics const& GetMetrics() const { return metrics; }
    Vexel::Graphics::Sprites::TransientBatch* GetFirstBatch() { return &firstBatch; }
    Vexel::Graphics::Sprites::TransientBatch* GetSecondBatch() { return &secondBatch; }
    IFlush* GetFlusher() { return this; }
    int GetCurrentPage() const { return currentPage; }
    // Bottom entry first, the current page last.
    std::vector<int> GetPageStack() const { return std::vector<int>(pageStack.begin(), pageStack.end()); }
    int GetChosenLevel() const { return chosenLevel; }
    int GetChosenStage() const { return chosenStage; }
    void SetChosenLevel(int level) { chosenLevel = level; }
    void SetChosenStage(int stage) { chosenStage = stage; }
    AwardFlags const& GetLastGameAwards() const { return lastGameAwards; }
    HighScores::ScoreStats const& GetLastGameStats() const { return lastGameStats; }
    std::vector<Vexel::UI::Element*> const& GetPageElements() const { return pageElements; }
    Vexel::UI::Element* GetTitleBar() const { return titleBar; }
    std::vector<Vexel::UI::Element*> const& GetFixedButtons() const { return fixedButtons; }
    // True when "state.sav" was restored at construction.
    bool WasRestored() const { return restored; }

    Vexel::UI::Element* GetBackButton() const { return backButton; }
    Vexel::UI::Element* GetTutorialButton() const { return tutorialButton; }
    Vexel::UI::Element* GetMoreGamesButton() const { return moreGamesButton; }
    Vexel::UI::Element* GetOptionsButton() const { return optionsButton; }
    Vexel::UI::Element* GetLowerBackButton() const { return lowerBackButton; }
    Vexel::UI::Element* GetContinueButton() const { return continueButton; }
    Vexel::UI::Element* GetControlsButton() const { return controlsButton; }
    Vexel::UI::Element* GetSurrenderButton() const { return surrenderButton; }
    Vexel::UI::Element* GetSubmitScoreButton() const { return submitScoreButton; }
    Vexel::UI::Element* GetResultsNextButton() const { return resultsNextButton; }

private:
    void CreateFixedButtons();
    Vexel::UI::Element* AddFixedButton(Vexel::UI::Element* button,
                                       Vexel::Action<Vexel::UI::Element*, Vector2 const&> handler,
                                       int beepVariant);
    bool RestoreState();
    void UpdateContinueButton();
    void ProcessGameEnd();
    void RemoveFadedElements();
    // The page frame of ShowPage from the page's row of the page table: the
    // title, play-screen alpha and bottom buttons.
    void SetPageFrame(PageBuild& build);
    void BuildRows(PageBuild& build);
    void ReplaceTitleBar(PageBuild const& build);
    void ShowBottomButtons(PageBuild const& build);
    void RetirePageElements(bool animate);
    void BringInPageElements(PageBuild& build);
    void TracePage(PageBuild const& build);
    void TracePageEntered();
    void PopPage();
    int TopPage() const { return pageStack.empty() ? 0 : pageStack.back(); }

    Vexel::Graphics::Sprites::TransientBatch firstBatch;
    Vexel::Graphics::Sprites::TransientBatch secondBatch;
    std::deque<int> pageStack; // back() is the top
    int currentPage;
    int chosenLevel;
    int chosenStage;
    AwardFlags lastGameAwards;
    HighScores::ScoreStats lastGameStats;
    std::vector<Vexel::UI::Element*> pageElements;
    Vexel::UI::Element* titleBar;
    std::vector<Vexel::UI::Element*> pendingRemovals;
    std::vector<Vexel::UI::Element*> fixedButtons;
    Vexel::UI::Element* backButton;
    Vexel::UI::Element* tutorialButton;
    Vexel::UI::Element* moreGamesButton;
    Vexel::UI::Element* optionsButton;
    Vexel::UI::Element* lowerBackButton;
    Vexel::UI::Element* continueButton;
    Vexel::UI::Element* controlsButton;
    Vexel::UI::Element* surrenderButton;
    Vexel::UI::Element* submitScoreButton;
    Vexel::UI::Element* resultsNextButton;
    MenuMetrics metrics;
    GameScreen* gameScreen;
    // Full-screen, under the pages: swallows the touches of menu pages.
    Vexel::UI::Element* touchBackdrop;
    // The outgoing page's elements fade out in here: a disabled layer, so
    // that no touch reaches them even while an earlier fade-in still runs.
    Vexel::UI::Element* outgoingLayer;
    bool restored;
    // The labels of the rows and where the page's elements arrive, for the
    // trace.
    std::map<Vexel::UI::Element*, std::string> rowLabels;
    struct Arrival
    {
        Vexel::UI::Element* element;
        Vexel::UI::ElementPosition position;
        Vector2 size;
    };
    std::vector<Arrival> arrivals;
    // The traced page whose elements are still coming in (-1: none).
    int enteringPage = -1;
};
