// The main screen: its first start and later starts, the layout metrics it
// takes from the screen, page switching with its fades, the back key, and
// the end of a game with its results and awards.
#include "engine/core/BackKeyEvent.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/FrontEndTables.h"
#include "game/scores/HighScores.h"
#include "game/simulation/SimulationView.h"
#include "game/play/TargetInputElement.h"
#include "game/simulation/Tutorial.h"
#include "game/widgets/TitleBarText.h"
#include "game/widgets/UITextureButton.h"
#include "tests/frontend/MainScreenTestSupport.h"
#include "tests/simulation/SimulationTestSupport.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

using FrontEndTest::MainScreenFixture;
using Vexel::UI::Element;
using Vexel::UI::UIManager;

namespace
{

class MainScreenTest : public MainScreenFixture
{
protected:
    // The title of the current title bar ("" without one).
    std::string Title() const
    {
        Element* bar = screen->GetTitleBar();
        if (!bar || bar->GetChildCount() == 0)
            return "";
        TitleBarText* text = dynamic_cast<TitleBarText*>(bar->GetChild(0));
        return text ? text->GetText() : "";
    }
    int TitleTile() const
    {
        UITextureButton* bar = dynamic_cast<UITextureButton*>(screen->GetTitleBar());
        return bar && bar->GetTile() ? int(bar->GetTile()->id) : -1;
    }
    // The persistent buttons that stand at the page's foot, by name.
    std::vector<std::string> ShownButtons() const
    {
        const std::pair<const char*, Element*> named[] = {
            {"back", screen->GetBackButton()},
            {"options", screen->GetOptionsButton()},
            {"tutorial", screen->GetTutorialButton()},
            {"more", screen->GetMoreGamesButton()},
            {"lowerBack", screen->GetLowerBackButton()},
            {"continue", screen->GetContinueButton()},
            {"controls", screen->GetControlsButton()},
            {"surrender", screen->GetSurrenderButton()},
            {"submit", screen->GetSubmitScoreButton()},
            {"next", screen->GetResultsNextButton()},
        };
        std::vector<std::string> shown;
        for (auto const& entry : named)
            if (entry.second->IsVisible() && entry.second->IsEnabled() && entry.second->GetAlpha() > 0.99f)
                shown.push_back(entry.first);
        return shown;
    }
    // From the title page to a running Classic game: [1, 9, 2].
    void StartClassic()
    {
        screen->OnShowClassic(nullptr, Vector2());
        screen->OnPlay(nullptr, Vector2());
        ASSERT_EQ(2, Page());
    }
};

TEST_F(MainScreenTest, FirstStartOpensTheTutorial)
{
    Make();
    EXPECT_TRUE(GamePrefs::IsFirstRunDone());
    struct stat info;
    ASSERT_EQ(0, stat(SavePath("quellar_prefs.prf").c_str(), &info));
    EXPECT_EQ(46, info.st_size);
    EXPECT_EQ(2, Page());
    EXPECT_EQ((std::vector<int>{1, 2}), Stack());
    EXPECT_EQ(7, Sim().GetMode());
    EXPECT_EQ(2, MusicHeading());
    EXPECT_FALSE(Exists("state.sav"));
    EXPECT_EQ(nullptr, screen->GetTitleBar());

    // The first step waits for the player: the continue button shows at
    // the bottom, and a press moves the tutorial on.
    Settle();
    EXPECT_EQ((std::vector<std::string>{"continue"}), ShownButtons());
    Element* next = screen->GetContinueButton();
    EXPECT_EQ(uint32_t(Vexel::UI::Alignment::Bottom), next->GetLayout().position.alignment);
    EXPECT_EQ(Vector2(0.0f, 0.0f), next->GetLayout().position.positionPortrait);
    EXPECT_EQ(0, Sim().View().TutorialStep());
    Click(next);
    Frame(2);
    EXPECT_EQ(1, Sim().View().TutorialStep());
    EXPECT_FALSE(next->IsVisible());
}

TEST_F(MainScreenTest, LaterStartsShowTheTitlePage)
{
    FirstRunDone();
    Make();
    EXPECT_EQ(1, Page());
    EXPECT_EQ((std::vector<int>{1}), Stack());
    EXPECT_EQ(0, Sim().GetMode());
    EXPECT_EQ(0, MusicHeading());
    EXPECT_EQ("Cobalt Keep", Title());
    EXPECT_EQ(183, TitleTile());
    EXPECT_EQ(-2000000001, UIManager::GetElementLayer(game));
    EXPECT_EQ(0, UIManager::GetElementLayer(screen));
    EXPECT_EQ(10u, screen->GetFixedButtons().size());
    Settle();
    EXPECT_EQ((std::vector<std::string>{"options", "tutorial", "more"}), ShownButtons());
    EXPECT_NEAR(0.9f, game->GetAlpha(), 1e-5f);
    MenuMetrics const& m = screen->GetMetrics();
    Vexel::UI::ElementPosition const left = screen->GetTutorialButton()->GetLayout().position;
    EXPECT_EQ(uint32_t(Vexel::UI::Alignment::Bottom), left.alignment);
    EXPECT_EQ(m.bottomButtonPosition * Vector2(-1.0f, 1.0f), left.positionPortrait);
    EXPECT_EQ(Vector2(0.0f, -0.5f * m.buttonCell.y), screen->GetMoreGamesButton()->GetLayout().position.positionPortrait);
    EXPECT_EQ(m.bottomButtonPosition, screen->GetOptionsButton()->GetLayout().position.positionPortrait);
    // The title bar spans the tile's proportions at the bar's height.
    Element* bar = screen->GetTitleBar();
    EXPECT_NEAR(35.0f, bar->GetSize().y, 1e-4f);
    EXPECT_NEAR(1.0f, bar->GetAlpha(), 1e-5f);
}

TEST_F(MainScreenTest, LayoutMetricsFollowTheScreen)
{
    FirstRunDone();
    struct Case
    {
        int w, h;
        float scale;
        Vector2 cell;
        float contentScale;
    };
    const Case cases[] = {
        {320, 480, 0.5f, Vector2(97.0f, 45.0f), 0.5f},
        {640, 960, 1.0f, Vector2(194.0f, 90.0f), 1.0f},
        {768, 1024, 1.0f, Vector2(194.0f, 90.0f), 1.0f},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.w);
        Vexel::Platform::SetScreenMetrics(c.w, c.h, Vector2(0.0f, 0.0f));
        Make();
        EXPECT_FLOAT_EQ(c.scale, screen->GetMetrics().scale);
        EXPECT_EQ(c.cell, screen->GetMetrics().buttonCell);
        EXPECT_FLOAT_EQ(c.contentScale, screen->GetMetrics().contentScale);
        Destroy();
    }
}

TEST_F(MainScreenTest, OutgoingButtonsAreDisabledAtOnceIncomingAfterTheirFade)
{
    FirstRunDone();
    Make();
    Settle();
    std::vector<Element*> titlePage = screen->GetPageElements();
    screen->OnShowClassic(nullptr, Vector2());
    // At once: the title page and its buttons take no more presses.
    EXPECT_FALSE(screen->GetTutorialButton()->IsEnabled());
    EXPECT_FALSE(screen->GetMoreGamesButton()->IsEnabled());
    for (Element* element : titlePage)
        EXPECT_FALSE(element->IsEnabled());
    // The back button comes in, and takes presses only after 0.2 s.
    Element* back = screen->GetBackButton();
    EXPECT_FALSE(back->IsEnabled());
    Frame(5);
    EXPECT_FALSE(back->IsEnabled());
    EXPECT_LT(back->GetAlpha(), 1.0f);
    Frame(2);
    EXPECT_TRUE(back->IsEnabled());
    EXPECT_FLOAT_EQ(1.0f, back->GetAlpha());
    // The options button stayed: it never stopped taking presses.
    EXPECT_TRUE(screen->GetOptionsButton()->IsEnabled());

    // A page left while it still fades in is out of reach at once.
    Settle();
    std::vector<Element*> classic = screen->GetPageElements();
    ASSERT_FALSE(classic.empty());
    screen->OnOptions(nullptr, Vector2());
    Frame(2);
    std::vector<Element*> options = screen->GetPageElements();
    ASSERT_FALSE(options.empty());
    Element* row = options.front();
    screen->OnBack(nullptr, Vector2());
    EXPECT_EQ(9, Page());
    const Vector2 centre = row->GetPosition() + row->GetSize() * 0.5f;
    UIManager::InjectTouchDown(3, centre, 1);
    EXPECT_NE(row, InternalUIManagerEventCore::Instance().GetCapture(3));
    UIManager::InjectTouchUp(3, centre, 1);
    Settle();
    EXPECT_EQ(9, Page());
    // The faded pages are gone from the tree: the touch backdrop, the
    // outgoing layer, the ten buttons, the title bar and the page remain.
    EXPECT_EQ(2 + 10 + 1 + int(screen->GetPageElements().size()), screen->GetChildCount());
    EXPECT_EQ(0, screen->GetChild(1)->GetChildCount());
}

// Every page's frame: how much of the game shows through it and which
// persistent buttons stand at its foot.
TEST_F(MainScreenTest, EveryPageHasItsFrame)
{
    struct Case
    {
        int page;
        float alpha;
        std::vector<std::string> buttons;
    };
    const std::vector<std::string> none, back{"back"}, standard{"back", "options"};
    std::vector<Case> cases = {
        {0, 0.0f, none},
        {1, 0.9f, {"options", "tutorial", "more"}},
        {3, 0.9f, {"next"}},
        {4, 0.166666f, {"next"}},
        {5, 0.45f, {"submit"}},
        {6, 0.12f, back},
        {7, 0.12f, {"lowerBack", "controls"}},
        {22, 0.0f, {"lowerBack"}},
        {23, 0.75f, back},
        {24, 0.0f, back},
        {25, 0.12f, back},
        {26, 0.75f, back},
        {27, 0.12f, back},
        {28, 0.75f, back},
        {29, 0.75f, back},
    };
    for (int page : {8, 9})
        cases.push_back({page, 0.8f, standard});
    for (int page = 10; page <= 19; page++)
        cases.push_back({page, 0.7f, standard});
    for (int page : {20, 21})
        cases.push_back({page, 0.4f, standard});
    for (int page = 30; page <= 43; page++)
        cases.push_back({page, 0.12f, back});

    FirstRunDone();
    Make();
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.page);
        screen->ShowPage(c.page, true);
        Settle();
        ASSERT_EQ(c.page, Page());
        EXPECT_EQ(c.buttons, ShownButtons());
        EXPECT_NEAR(c.alpha, game->GetAlpha(), 1e-4f);
    }

    // A running game shows no button; its pause menu offers the surrender.
    Destroy();
    Make();
    StartClassic();
    Settle();
    EXPECT_NEAR(1.0f, game->GetAlpha(), 1e-4f);
    std::vector<std::string> shown = ShownButtons();
    shown.erase(std::remove(shown.begin(), shown.end(), "continue"), shown.end());
    EXPECT_EQ(none, shown);
    screen->ShowPage(23, true);
    Settle();
    EXPECT_EQ((std::vector<std::string>{"lowerBack", "surrender"}), ShownButtons());
    EXPECT_NEAR(0.75f, game->GetAlpha(), 1e-4f);
}

TEST_F(MainScreenTest, ShowingTheCurrentPageAgainLeavesADuplicate)
{
    FirstRunDone();
    Make();
    screen->OnShowClassic(nullptr, Vector2());
    const std::vector<Element*> elements = screen->GetPageElements();
    screen->ShowPage(9, true);
    EXPECT_EQ((std::vector<int>{1, 9, 9}), Stack());
    EXPECT_EQ(elements, screen->GetPageElements());
    screen->OnBackKey();
    EXPECT_EQ(9, Page());
    EXPECT_EQ((std::vector<int>{1, 9}), Stack());
    screen->OnBackKey();
    EXPECT_EQ(1, Page());
    EXPECT_EQ((std::vector<int>{1}), Stack());
}

TEST_F(MainScreenTest, BackKeyRules)
{
    FirstRunDone();
    Make();
    // Fewer than two entries: nothing.
    screen->OnBackKey();
    EXPECT_EQ((std::vector<int>{1}), Stack());
    // Ignored on the title page, the results, name entry and "Surrender?".
    for (int page : {1, 3, 4, 5, 22})
    {
        SCOPED_TRACE(page);
        screen->ShowPage(page, true);
        const std::vector<int> before = Stack();
        screen->OnBackKey();
        EXPECT_EQ(before, Stack());
        EXPECT_EQ(page, Page());
    }
    Destroy();
    Make();
    // Anywhere else it goes back one page, and Escape reaches it.
    screen->OnShowStages(nullptr, Vector2());
    Vexel::App::BackKeyPressed.Raise();
    EXPECT_EQ(1, Page());

    // In a game it pauses; the pause page opens on the next frame.
    StartClassic();
    Vexel::App::BackKeyPressed.Raise();
    EXPECT_TRUE(game->IsPaused());
    EXPECT_EQ(2, Page());
    Frame();
    EXPECT_EQ(23, Page());
    EXPECT_EQ((std::vector<int>{1, 9, 2, 23}), Stack());
    Settle();
    EXPECT_EQ((std::vector<std::string>{"lowerBack", "surrender"}), ShownButtons());
    // Back from the pause page resumes the game.
    screen->OnBackKey();
    EXPECT_EQ(2, Page());
    EXPECT_FALSE(game->IsPaused());
}

TEST_F(MainScreenTest, BackOntoTheFlatPageWithTiltOffReturnsToTheGame)
{
    FirstRunDone();
    Make();
    StartClassic();
    GamePrefs::SetTiltControls(true);
    *UIManager::GetTilt() = Vector3(0.0f, 0.05f, -1.0f); // lying flat
    Frame(15);
    EXPECT_EQ(7, Page());
    EXPECT_EQ("Device Too Flat", Title());
    Settle();
    EXPECT_EQ((std::vector<std::string>{"lowerBack", "controls"}), ShownButtons());
    Click(screen->GetControlsButton());
    EXPECT_EQ(27, Page());
    GamePrefs::SetTiltControls(false);
    *UIManager::GetTilt() = Vector3(0.0f, -1.0f, 0.0f);
    screen->OnBackKey();
    EXPECT_EQ(2, Page());
    EXPECT_EQ((std::vector<int>{1, 9, 2}), Stack());
    EXPECT_FALSE(game->IsPaused());
    Frame(3);
    EXPECT_EQ(2, Page());

    // With tilt still on, back lands on the flat page again.
    GamePrefs::SetTiltControls(true);
    screen->ShowPage(7, true);
    screen->ShowPage(27, true);
    screen->OnBackKey();
    EXPECT_EQ(7, Page());
}

const int kTiltAim = SimulationInput::kTiltAimId;

// Which device the game runs on, for one test.
struct ScopedTiltSensor
{
    explicit ScopedTiltSensor(bool present) { Vexel::Platform::SetTiltSensorPresent(present); }
    ~ScopedTiltSensor()
    {
        Vexel::Platform::SetTiltSensorPresent(true);
        *UIManager::GetTilt() = Vector3();
    }
};

// The first-run preferences file: every default, the first run done.
std::string FirstRunPreferences()
{
    std::string bytes;
    auto put = [&](const void* p, size_t n) { bytes.append(static_cast<const char*>(p), n); };
    auto i32 = [&](int32_t v) { put(&v, 4); };
    auto f32 = [&](float v) { put(&v, 4); };
    auto u8 = [&](uint8_t v) { put(&v, 1); };
    i32(19);
    u8(1);
    f32(1.0f);
    f32(1.0f);
    u8(1); // vibration
    u8(1); // tilt controls
    u8(1); // target locks
    u8(1); // target sweep
    i32(3);
    put("AAA", 3);
    i32(10);
    i32(0);
    u8(1); // first run done
    f32(0.0f);
    f32(-1.0f);
    f32(0.0f);
    u8(1); // submit online
    return bytes;
}

TEST_F(MainScreenTest, WithoutATiltSensorTheGamePlaysByTouchAndKeepsTheTiltChoice)
{
    ScopedTiltSensor desktop(false);
    GamePrefs::SetSubmitOnline(true);
    // Without a sensor the reading is exactly that of a device at rest.
    *UIManager::GetTilt() = Vector3(0.0f, 0.0f, -1.0f);
    TestSupport::LogCapture log;
    Make(); // the first run: the tutorial
    Frame(20);
    EXPECT_EQ(2, Page());
    EXPECT_FALSE(game->IsPaused());
    EXPECT_EQ(0u, game->GetLastInput().aims.count(kTiltAim));
    EXPECT_EQ(0u, GetTutorialText(1).find("Touch the screen"));

    StartClassic();
    Frame(20);
    EXPECT_EQ(2, Page());
    EXPECT_FALSE(game->IsPaused());
    EXPECT_FALSE(game->IsFlat());
    EXPECT_EQ(0u, game->GetLastInput().aims.count(kTiltAim));
    EXPECT_TRUE(GamePrefs::GetTiltControls());
    EXPECT_EQ(0u, log.Lines().size());

    // The Pause event's save writes the first-run file unchanged.
    GamePrefs::Save();
    EXPECT_EQ(46u, FirstRunPreferences().size());
    EXPECT_EQ(FirstRunPreferences(), ReadSaved("quellar_prefs.prf"));
}

TEST_F(MainScreenTest, ASensorLyingExactlyLevelShowsTheFlatPage)
{
    ScopedTiltSensor device(true);
    FirstRunDone();
    Make();
    StartClassic();
    EXPECT_EQ(0u, GetTutorialText(1).find("Tilt the device"));
    *UIManager::GetTilt() = Vector3(0.0f, 0.0f, -1.0f);
    Frame(5);
    EXPECT_EQ(2, Page());
    Frame(10);
    EXPECT_EQ(7, Page());
    EXPECT_TRUE(game->IsPaused());
    EXPECT_TRUE(GamePrefs::GetTiltControls());
}

TEST_F(MainScreenTest, TouchesOnTheMenuPagesDoNotReachTheGame)
{
    FirstRunDone();
    Make();
    StartClassic();
    Settle();
    // A lock left of the page's rows, laid by a double tap held a while.
    const Vector2 size = screen->GetSize();
    const Vector2 lock(size.x * 0.1f, size.y * 0.45f);
    UIManager::InjectTouchDown(0, lock, 2);
    Frame(12);
    UIManager::InjectTouchUp(0, lock, 2);
    Frame();
    ASSERT_EQ(1u, game->GetLocks().size());

    // A drag over the lock, from below it to above it.
    auto drag = [&] {
        Vector2 at(lock.x, size.y * 0.6f);
        UIManager::InjectTouchDown(1, at, 1);
        Frame();
        Element* holder = InternalUIManagerEventCore::Instance().GetCapture(1);
        for (; at.y > size.y * 0.3f; at.y -= 8.0f)
        {
            UIManager::InjectTouchMove(1, at);
            Frame();
        }
        UIManager::InjectTouchUp(1, at, 1);
        Frame();
        return holder;
    };

    screen->OnBackKey();
    Frame(2);
    ASSERT_EQ(23, Page());
    Settle();
    Element* holder = drag();
    EXPECT_EQ(nullptr, dynamic_cast<TargetInputElement*>(holder));
    EXPECT_EQ(1u, game->GetLocks().size());
    EXPECT_EQ(23, Page());

    // Back in the game, the same drag sweeps the lock away.
    screen->OnBackKey();
    Frame(2);
    ASSERT_EQ(2, Page());
    holder = drag();
    EXPECT_NE(nullptr, dynamic_cast<TargetInputElement*>(holder));
    EXPECT_EQ(0u, game->GetLocks().size());
}

TEST_F(MainScreenTest, Page21WithTheFullGauntletStartsMode6)
{
    FirstRunDone();
    Make();
    screen->OnShowGauntlet(nullptr, Vector2());
    screen->ChooseGridItem(8);
    EXPECT_EQ(21, Page());
    EXPECT_EQ(8, screen->GetChosenStage());
    EXPECT_EQ("Full Gauntlet", Title());
    screen->OnPlay(nullptr, Vector2());
    EXPECT_EQ(2, Page());
    EXPECT_EQ(6, Sim().GetMode());
    ASSERT_FALSE(Sim().View().Waves().empty());
    EXPECT_EQ(0, Sim().View().Waves()[0]);

    // A single stage keeps its own title and starts mode 5 at its first level.
    Destroy();
    Make();
    screen->OnShowGauntlet(nullptr, Vector2());
    screen->ChooseGridItem(3);
    EXPECT_EQ("Gauntlet Stage", Title());
    screen->OnPlay(nullptr, Vector2());
    EXPECT_EQ(5, Sim().GetMode());
    EXPECT_EQ(24, Sim().View().Waves()[0]);
}

// A finished game of a mode, as the play screen would hold it.
SimTest::SavedGame FinishedGame(int mode, int level, bool alive)
{
    SimTest::SavedGame game;
    game.mode = mode;
    if (mode == 3 || mode == 4)
        game.waves = {level, 64};
    game.waveState = 2;
    game.waveNumber = 2;
    game.score = 5000;
    game.kills = 400;
    game.seconds = 95;
    if (!alive)
        game.population = 0;
    return game;
}

TEST_F(MainScreenTest, GameEndShowsTheResults)
{
    FirstRunDone();
    Make();
    StartClassic();
    Frame(10);
    Sim().Surrender();
    Frame();
    EXPECT_EQ(4, Page());
    EXPECT_EQ((std::vector<int>{1, 9, 4}), Stack());
    EXPECT_EQ(0, MusicHeading());
    EXPECT_EQ(0, screen->GetLastGameAwards().Count());
    Settle();
    EXPECT_EQ((std::vector<std::string>{"next"}), ShownButtons());
    EXPECT_NEAR(0.166666f, game->GetAlpha(), 1e-4f);

    // A level won with the planet alive: page 3, and its awards.
    Destroy();
    Make();
    screen->SetChosenLevel(1);
    screen->ShowPage(20, true);
    screen->OnPlayLevel(nullptr, Vector2());
    LoadGame(FinishedGame(3, 1, true).Bytes());
    Frame();
    EXPECT_EQ(3, Page());
    EXPECT_EQ((std::vector<int>{1, 20, 3}), Stack());
    EXPECT_EQ(5000, screen->GetLastGameStats().score);
    EXPECT_EQ(400, screen->GetLastGameStats().kills);
    EXPECT_EQ(3, screen->GetLastGameAwards().Count());
    Award* award = AllAwards::GetAward(1);
    EXPECT_TRUE(award->IsAchieved());
    EXPECT_TRUE(award->GetFlag1());
    EXPECT_TRUE(award->GetFlag2());
}

TEST_F(MainScreenTest, AwardsOfAFinishedGame)
{
    FirstRunDone();
    struct Case
    {
        const char* name;
        int level;
        int kills;
        bool alive;
        bool cannon;
        bool lostSome;
        uint8_t expected[3];
    };
    const Case cases[] = {
        {"all three", 1, 290, true, false, false, {1, 1, 1}},
        {"kills below the goal", 1, 289, true, false, false, {0, 1, 1}},
        {"no goal never grants kills", 0, 100000, true, false, false, {0, 1, 1}},
        {"cannon used", 2, 400, true, true, false, {1, 0, 1}},
        {"some population lost", 2, 400, true, false, true, {1, 1, 0}},
        {"planet lost, no cannon", 2, 400, false, false, true, {1, 0, 0}},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.name);
        // Flags only ever go from 0 to 1: every case starts without awards.
        std::remove(SavePath("awards.awd").c_str());
        AllAwards::Unload();
        Make();
        screen->SetChosenLevel(c.level);
        screen->ShowPage(20, true);
        screen->OnPlayLevel(nullptr, Vector2());
        SimTest::SavedGame game = FinishedGame(3, c.level, c.alive);
        game.kills = c.kills;
        game.cannonUsed = c.cannon ? 1 : 0;
        if (c.lostSome && c.alive)
            game.population = game.lossFreePopulation - 1000;
        LoadGame(game.Bytes());
        Frame();
        EXPECT_EQ(c.alive ? 3 : 4, Page());
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(c.expected[i], screen->GetLastGameAwards().flags[i]) << i;
        Award* award = AllAwards::GetAward(c.level);
        EXPECT_EQ(c.expected[0] != 0, award->IsAchieved());
        EXPECT_EQ(c.expected[1] != 0, award->GetFlag1());
        EXPECT_EQ(c.expected[2] != 0, award->GetFlag2());
        Destroy();
    }
}

TEST_F(MainScreenTest, PracticeAndTutorialGoBackWithTheMenuMusic)
{
    FirstRunDone();
    Make();
    screen->SetChosenLevel(12);
    screen->OnShowStages(nullptr, Vector2());
    screen->ChooseGridItem(1);
    screen->ChooseGridItem(4);
    EXPECT_EQ(20, Page());
    EXPECT_EQ(12, screen->GetChosenLevel());
    screen->OnPracticeLevel(nullptr, Vector2());
    EXPECT_EQ(4, Sim().GetMode());
    EXPECT_EQ(1, MusicHeading());
    LoadGame(FinishedGame(4, 12, false).Bytes());
    Frame();
    EXPECT_EQ(20, Page());
    EXPECT_EQ((std::vector<int>{1, 11, 13, 20}), Stack());
    EXPECT_EQ(0, MusicHeading());

    screen->OnTutorial(nullptr, Vector2());
    EXPECT_EQ(2, MusicHeading());
    Sim().Surrender();
    Frame();
    EXPECT_EQ(20, Page());
    EXPECT_EQ(0, MusicHeading());
}

TEST_F(MainScreenTest, ResultsLeadToNameEntryWhenScored)
{
    FirstRunDone();
    Make();
    StartClassic();
    LoadGame(FinishedGame(1, 0, false).Bytes());
    Frame();
    ASSERT_EQ(4, Page());
    screen->OnResultsNext(nullptr, Vector2());
    EXPECT_EQ(5, Page());
    EXPECT_EQ((std::vector<int>{1, 9, 5}), Stack());
    EXPECT_EQ("Name Entry", Title());
    Settle();
    EXPECT_EQ((std::vector<std::string>{"submit"}), ShownButtons());

    // The name entry's confirmation adds the score to the table.
    GamePrefs::SetPlayerName("Zed");
    screen->OnSubmitScore(nullptr, Vector2());
    EXPECT_EQ(9, Page());
    EXPECT_EQ((std::vector<int>{1, 9}), Stack());
    HighScores::ScoreEntry const& latest = HighScores::GetInfiniteScores()->GetLatest();
    EXPECT_EQ(5000, latest.stats.score);
    EXPECT_EQ("Zed", latest.name);
    EXPECT_EQ(0, MusicHeading());
    // A second press arrives too late: nothing is added twice.
    screen->OnSubmitScore(nullptr, Vector2());
    EXPECT_EQ(9, Page());

    // Without points there is no name entry.
    screen->OnPlay(nullptr, Vector2());
    SimTest::SavedGame nothing = FinishedGame(1, 0, false);
    nothing.score = 0;
    LoadGame(nothing.Bytes());
    Frame();
    ASSERT_EQ(4, Page());
    screen->OnResultsNext(nullptr, Vector2());
    EXPECT_EQ(9, Page());
    EXPECT_EQ((std::vector<int>{1, 9}), Stack());
}

TEST_F(MainScreenTest, TheTutorialsLastContinueStartsAClassicGame)
{
    Make();
    ASSERT_EQ(7, Sim().GetMode());
    SimTest::SavedGame tutorial;
    tutorial.mode = 7;
    tutorial.tutorialStep = 6;
    tutorial.tutorialFinished = 1;
    tutorial.waves = {};
    LoadGame(tutorial.Bytes());
    Frame(10);
    ASSERT_TRUE(Sim().IsTutorialFinished());
    EXPECT_TRUE(screen->GetContinueButton()->IsVisible());
    screen->OnContinue(nullptr, Vector2());
    EXPECT_EQ(1, Sim().GetMode());
    EXPECT_EQ(1, MusicHeading());
    EXPECT_EQ(2, Page());
    EXPECT_EQ((std::vector<int>{1, 6, 2}), Stack());
    // That game over, its name entry leads to the leaderboard.
    LoadGame(FinishedGame(1, 0, false).Bytes());
    Frame();
    screen->OnResultsNext(nullptr, Vector2());
    screen->OnSubmitScore(nullptr, Vector2());
    EXPECT_EQ(6, Page());
    EXPECT_EQ((std::vector<int>{1, 6}), Stack());
}

} // namespace
