// The page builders and page contents headless: a main screen on the real UI
// manager with fonts of fixed advances, its pages built into a PageBuild and
// looked at element by element.
#include "engine/ui/UIManager.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/pages/PageTable.h"
#include "game/frontend/text/HelpTexts.h"
#include "game/frontend/elements/LeaderboardPageElement.h"
#include "game/frontend/text/LevelDescriptions.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/elements/NumberSelectionElement.h"
#include "game/frontend/elements/ScaleElement.h"
#include "game/frontend/elements/TopScoresElement.h"
#include "game/audio/GameMusic.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "game/play/GameScreen.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UISlider.h"
#include "game/widgets/UITextButton.h"
#include "game/widgets/TitleBarText.h"
#include "game/widgets/UITextureButton.h"
#include "tests/frontend/FrontEndTestSupport.h"
#include "tests/support/TempDirectory.h"
#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

using FrontEndTest::ExpectNear;
using Vexel::UI::Element;

namespace
{

// Music requests, kept instead of played.
class MusicLog : public GameMusic::IMusicPlayer
{
public:
    MusicLog() : previous(GameMusic::SetPlayer(this)) {}
    ~MusicLog() override
    {
        GameMusic::SetPlayer(previous);
        GameMusic::Reset();
    }
    int Play(std::string const& name, int, int, float, float) override
    {
        played.push_back(name);
        return int(played.size());
    }
    int GetTrackState(int) override { return 1; }
    void StopCurrent(bool, float) override {}

    std::vector<std::string> played;

private:
    GameMusic::IMusicPlayer* previous;
};

class PageBuilders : public ::testing::Test
{
protected:
    void SetUp() override { Start(320, 480); }

    void Start(int width, int height)
    {
        Stop();
        UITest::ResetUIState();
        Vexel::Platform::SetScreenMetrics(width, height, Vector2(0.0f, 0.0f));
        saveFolder.reset(new ScopedEnvironment("XDG_DATA_HOME", saves.Path()));
        GamePrefs::Unload();
        AllAwards::Unload();
        GamePrefs::Load();
        GamePrefs::MarkFirstRunDone();
        GamePrefs::SetTiltControls(false);
        screen = new MainScreen();
        Vexel::UI::UIManager::AttachElement(screen, 0);
    }

    void Stop()
    {
        if (!screen)
            return;
        UITest::ResetUIState();
        delete screen;
        screen = nullptr;
        GamePrefs::Unload();
        AllAwards::Unload();
        saveFolder.reset();
    }

    void TearDown() override
    {
        for (Element* e : built.elements)
            delete e;
        built.elements.clear();
        Stop();
        Vexel::Platform::SetScreenMetrics(320, 480, Vector2(0.0f, 0.0f));
    }

    // The page's content as ShowPage would get it, coming from `from`.
    PageBuild& Build(int page, int from = 1)
    {
        for (Element* e : built.elements)
            delete e;
        built = PageBuild();
        built.page = page;
        built.previousPage = from;
        built.titleKind = PageTable[page].titleKind;
        // The content builders read the current page, as ShowPage sets it.
        if (screen->GetCurrentPage() != page)
            screen->ShowPage(page, true);
        for (Element* e : built.elements)
            delete e;
        built.elements.clear();
        screen->BuildPageContent(built);
        return built;
    }

    MenuMetrics const& M() const { return screen->GetMetrics(); }
    float Cs() const { return screen->GetMetrics().contentScale; }
    static Vector2 Pos(Element* e) { return e->GetLayout().position.positionPortrait; }
    static uint32_t Align(Element* e) { return e->GetLayout().position.alignment; }

    template <class T> static std::vector<T*> All(std::vector<Element*> const& elements)
    {
        std::vector<T*> out;
        for (Element* e : elements)
            if (T* t = dynamic_cast<T*>(e))
                out.push_back(t);
        return out;
    }
    template <class T> static void Collect(Element* e, std::vector<T*>& out)
    {
        if (T* t = dynamic_cast<T*>(e))
            out.push_back(t);
        for (int i = 0; i < e->GetChildCount(); i++)
            Collect(e->GetChild(i), out);
    }
    template <class T> static std::vector<T*> Deep(Element* e)
    {
        std::vector<T*> out;
        Collect(e, out);
        return out;
    }
    static int TileOf(Element* e)
    {
        UITextureButton* b = dynamic_cast<UITextureButton*>(e);
        return b && b->GetTile() ? int(b->GetTile()->id) : -1;
    }
    static std::string TextOf(Element* e)
    {
        std::string all;
        for (UILinotypeElement* t : Deep<UILinotypeElement>(e))
            for (LinotypeLine const& line : t->GetLines())
                all += line.text + "|";
        return all;
    }

    TextWidgetTest::FakeWidgetFonts fonts;
    FrontEndTest::SoundLog sounds;
    MusicLog music;
    TempDirectory saves;
    std::unique_ptr<ScopedEnvironment> saveFolder;
    MainScreen* screen = nullptr;
    PageBuild built;
};

TEST_F(PageBuilders, TitlePageHasFourTiltedBigButtons)
{
    PageBuild& b = Build(1);
    ASSERT_EQ(4u, b.elements.size());
    const struct
    {
        Vector2 slot;
        int tile;
        int page;
    } cases[] = {{{1, -1}, 87, 8}, {{-1, -1}, 86, 9}, {{-1, 1}, 85, 10}, {{1, 1}, 88, 11}};
    for (size_t i = 0; i < 4; i++)
    {
        Element* e = b.elements[i];
        EXPECT_EQ(cases[i].tile, TileOf(e));
        const Vector2 p = (cases[i].slot * 0.5f).Rotate(0.045f);
        ExpectNear(p * M().bigButtonCell + M().buttonShift + Vector2(0.0f, -21.0f * Cs()), Pos(e),
                   "big button");
        EXPECT_EQ(0u, Align(e));
        ExpectNear(M().bigButtonCell, e->GetSize(), "big button cell");
        EXPECT_EQ(0, MenuBeepHelper::Instance().GetVariant(e));
    }
    // Pressing one opens its mode page.
    Element* classic = b.elements[1];
    classic->Clicked.Raise(classic, Vector2(0.0f, 0.0f));
    EXPECT_EQ(9, screen->GetCurrentPage());
}

TEST_F(PageBuilders, GauntletGridHoldsStagesInGridOrderWithBadges)
{
    PageBuild& b = Build(10);
    ASSERT_EQ(18u, b.elements.size()); // button, badge, button, badge, ...
    for (int k = 0; k < 9; k++)
    {
        Element* button = b.elements[size_t(2 * k)];
        Element* badge = b.elements[size_t(2 * k + 1)];
        const int item = GridOrder[k];
        EXPECT_EQ(item == 8 ? 168 : 169 + item, TileOf(button)) << k;
        ExpectNear(Vector2(float(k % 3 - 1), float(k / 3 - 1)) * M().gridButtonCell + M().buttonShift,
                   Pos(button), "grid cell");
        ExpectNear(Pos(button) + button->GetSize() * Vector2(0.4f, -0.4f), Pos(badge), "badge corner");
        ExpectNear(Vector2(52.0f, 52.0f) * Cs(), badge->GetSize(), "badge size");
        // Nothing earned yet: the red badge with every star still to earn.
        EXPECT_EQ(79, TileOf(badge)) << k;
        Award* award = AllAwards::GetGroupAward(item);
        EXPECT_EQ(std::to_string(award->GetMaxStars()) + "|", TextOf(badge)) << k;
    }
}

TEST_F(PageBuilders, LevelGridBadgesFollowTheStarsEarned)
{
    // Level 1: every star; level 2: one of three; level 0 (no kill star):
    // none of its two.
    AllAwards::GetAward(1)->SetAchieved();
    AllAwards::GetAward(1)->SetFlag1();
    AllAwards::GetAward(1)->SetFlag2();
    AllAwards::GetAward(2)->SetFlag1();
    PageBuild& b = Build(12);
    ASSERT_EQ(16u, b.elements.size());
    const struct
    {
        int level;
        int tile;
        const char* text;
        Color colour;
    } cases[] = {
        {0, 79, "2|", Color(255, 127, 127, 255)},
        {1, 77, "", Color()},
        {2, 76, "2|", Color(127, 212, 255, 255)},
    };
    for (auto const& c : cases)
    {
        Element* button = b.elements[size_t(2 * c.level)];
        Element* badge = b.elements[size_t(2 * c.level + 1)];
        EXPECT_EQ(89 + c.level, TileOf(button));
        EXPECT_EQ(c.tile, TileOf(badge)) << c.level;
        EXPECT_EQ(c.text, TextOf(badge)) << c.level;
        std::vector<UILinotypeElement*> numbers = Deep<UILinotypeElement>(badge);
        if (!numbers.empty())
        {
            EXPECT_EQ(c.colour.Packed(), numbers[0]->GetLines()[0].colour.Packed()) << c.level;
        }
    }
    // The third row's two buttons stand centred.
    ExpectNear(Vector2(-0.5f, 1.0f) * M().gridButtonCell + M().buttonShift, Pos(b.elements[12]), "seventh");
    ExpectNear(Vector2(0.5f, 1.0f) * M().gridButtonCell + M().buttonShift, Pos(b.elements[14]), "eighth");
}

TEST_F(PageBuilders, BadgeNumbersOfTenOrMoreUseTheSmallerFont)
{
    Build(11);
    Element* button = built.elements[0];
    const struct
    {
        int total;
        float font;
    } cases[] = {{9, 45.0f}, {10, 32.0f}, {24, 32.0f}};
    for (auto const& c : cases)
    {
        Element* badge = screen->MakeProgressBadge(button, 0, c.total);
        std::vector<UILinotypeElement*> number = Deep<UILinotypeElement>(badge);
        ASSERT_EQ(1u, number.size());
        EXPECT_EQ(std::to_string(c.total) + "|", TextOf(badge));
        // One line of the fixed-advance font is as tall as its size.
        EXPECT_NEAR(c.font * Cs(), number[0]->GetSize().y, 1e-3f) << c.total;
        delete badge;
    }
}

TEST_F(PageBuilders, ActionRowsOfTheModeStageAndLevelPages)
{
    const float H = 480.0f, bh = M().buttonCell.y;
    const Vector2 left = M().bottomButtonPosition * Vector2(-1, 1), right = M().bottomButtonPosition;
    // Level 1 has a kill threshold, level 0 none.
    const struct
    {
        int page;
        int level;
        std::vector<int> tiles;
        std::vector<Vector2> positions;
    } cases[] = {
        {9,
         0,
         {161, 165, 158},
         {{0, H / 2 - bh}, left + Vector2(0, H / 2 - 1.5f * bh), right + Vector2(0, H / 2 - 1.5f * bh)}},
        {8,
         0,
         {161, 165, 158},
         {{0, H / 2 - bh}, left + Vector2(0, H / 2 - 1.5f * bh), right + Vector2(0, H / 2 - 1.5f * bh)}},
        {20,
         1,
         {167, 164, 162, 165, 158},
         {{0, H / 2 - 1.5f * bh},
          left + Vector2(0, H / 2 - 1.5f * bh),
          right + Vector2(0, H / 2 - 1.5f * bh),
          left + Vector2(0, H / 2 - 2.5f * bh),
          right + Vector2(0, H / 2 - 2.5f * bh)}},
        {20,
         0,
         {167, 164, 162, 165},
         {{0, H / 2 - 1.5f * bh},
          left + Vector2(0, H / 2 - 1.5f * bh),
          right + Vector2(0, H / 2 - 1.5f * bh),
          left + Vector2(0, H / 2 - 2.5f * bh)}},
    };
    for (auto const& c : cases)
    {
        screen->SetChosenLevel(c.level);
        PageBuild& b = Build(c.page);
        std::vector<UITextureButton*> buttons = All<UITextureButton>(b.elements);
        ASSERT_EQ(c.tiles.size(), buttons.size()) << c.page << "/" << c.level;
        for (size_t i = 0; i < buttons.size(); i++)
        {
            EXPECT_EQ(c.tiles[i], TileOf(buttons[i])) << c.page << " #" << i;
            ExpectNear(c.positions[i], Pos(buttons[i]), "action button");
            EXPECT_EQ(0u, Align(buttons[i]));
        }
        // The block and the top-scores list follow the row; the list is
        // shorter without a kill award.
        std::vector<TopScoresElement*> lists = All<TopScoresElement>(b.elements);
        ASSERT_EQ(1u, lists.size());
        const bool hasAward = c.page != 20 || c.level != 0;
        EXPECT_NEAR((hasAward ? 240.0f : 180.0f) * Cs(), lists[0]->GetSize().y, 1e-3f) << c.page;
        EXPECT_EQ(lists[0], b.elements.back());
    }
    // The play-level button is the tall one.
    Build(20);
    ExpectNear(M().tallButtonCell, built.elements[0]->GetSize(), "play level cell");
}

TEST_F(PageBuilders, ActionRowReportsItsHeight)
{
    const float H = 480.0f, bh = M().buttonCell.y;
    screen->ShowPage(23, true);
    std::vector<Element*> none;
    EXPECT_FLOAT_EQ(H / 2.0f, screen->MakeActionRow(none, nullptr));
    EXPECT_TRUE(none.empty());
    screen->ShowPage(9, true);
    std::vector<Element*> endless;
    // Measured to the lowest top edge, the play button's: the content may
    // reach down between the tips and leaderboard buttons beside it.
    EXPECT_FLOAT_EQ(1.5f * bh, screen->MakeActionRow(endless, nullptr));
    EXPECT_EQ(3u, endless.size());
    for (Element* e : endless)
        delete e;
}

TEST_F(PageBuilders, BindingByTileAndTheBackBeep)
{
    const struct
    {
        int tile;
        int variant;
    } cases[] = {{156, 1}, {161, 0}, {158, 0}, {165, 0}, {153, 0}};
    for (auto const& c : cases)
    {
        auto* button = new UITextureButton(Vexel::UI::ElementLayout(), MenuTile(c.tile), Vector2(10, 10), 1,
                                           screen->GetFirstBatch(), screen->GetSecondBatch(), true,
                                           Color(255, 255, 255, 255), false);
        screen->BindButtonByTile(button);
        EXPECT_EQ(c.variant, MenuBeepHelper::Instance().GetVariant(button)) << c.tile;
        EXPECT_EQ(c.tile == 153 ? 1u : 2u, button->Clicked.SubscriberCount()) << c.tile;
        delete button;
    }
    // The leaderboard button opens the leaderboard.
    screen->ShowPage(9, true);
    PageBuild& b = Build(9);
    Element* leaderboard = All<UITextureButton>(b.elements)[2];
    leaderboard->Clicked.Raise(leaderboard, Vector2(0, 0));
    EXPECT_EQ(6, screen->GetCurrentPage());
}

TEST_F(PageBuilders, LevelDescriptionBlock)
{
    // Level 7: threshold 520, difficulty 2; level 47 difficulty 7 (two rows).
    for (int level : {7, 47, 0})
    {
        Element* block = screen->MakeLevelDescriptionBlock(level, 0);
        ASSERT_NE(nullptr, dynamic_cast<ScaleElement*>(block));
        ExpectNear(Vector2(600, 250) * Cs(), block->GetSize(), "block");
        std::vector<UITextureButton*> buttons = Deep<UITextureButton>(block);
        std::vector<int> stars, pips;
        int picture = -1;
        for (UITextureButton* b : buttons)
        {
            const int t = TileOf(b);
            if (t >= 81 && t <= 83)
                stars.push_back(t);
            else if (t == 84)
                pips.push_back(t);
            else if (t >= 89 && t <= 152)
                picture = t;
        }
        Award* award = AllAwards::GetAward(level);
        const std::vector<int> expected =
            award->GetValue() >= 1 ? std::vector<int>{81, 82, 83} : std::vector<int>{82, 83};
        EXPECT_EQ(expected, stars) << level;
        EXPECT_EQ(size_t(GetLevelDescription(level)->difficulty), pips.size()) << level;
        EXPECT_EQ(89 + level, picture);
        const std::string text = TextOf(block);
        EXPECT_NE(std::string::npos, text.find("Waves:|One|Duration:|")) << text;
        EXPECT_NE(std::string::npos, text.find(GetLevelDescription(level)->description)) << text;
        if (award->GetValue() >= 1)
        {
            EXPECT_NE(std::string::npos, text.find(std::to_string(award->GetValue()) + "|")) << text;
        }
        delete block;
    }
}

TEST_F(PageBuilders, DifficultyPipsZigzagFromSix)
{
    Element* five = screen->MakeDescriptionBlock(nullptr, &LevelDescriptions[35], LevelTile(35),
                                                 Vexel::Action<Element*, Vector2 const&>(), 0);
    Element* seven = screen->MakeDescriptionBlock(nullptr, &LevelDescriptions[47], LevelTile(47),
                                                  Vexel::Action<Element*, Vector2 const&>(), 0);
    auto pips = [](Element* block)
    {
        std::vector<Vector2> out;
        for (UITextureButton* b : Deep<UITextureButton>(block))
            if (TileOf(b) == 84)
                out.push_back(Pos(b));
        return out;
    };
    std::vector<Vector2> row = pips(five), zigzag = pips(seven);
    ASSERT_EQ(size_t(LevelDescriptions[35].difficulty), row.size());
    ASSERT_EQ(size_t(LevelDescriptions[47].difficulty), zigzag.size());
    const float pipW = MenuTile(84)->size.x * Cs(), pipH = MenuTile(84)->size.y * Cs();
    for (size_t i = 1; i < row.size(); i++)
    {
        EXPECT_NEAR(pipW, row[i].x - row[i - 1].x, 1e-3f);
        EXPECT_NEAR(row[0].y, row[i].y, 1e-3f);
    }
    for (size_t i = 1; i < zigzag.size(); i++)
    {
        EXPECT_NEAR(pipW * 0.5f, zigzag[i].x - zigzag[i - 1].x, 1e-3f);
        EXPECT_NEAR(zigzag[0].y + (i % 2 ? pipH * 0.866f : 0.0f), zigzag[i].y, 1e-3f);
    }
    // Without an award only the two other stars, stacked about the middle.
    std::vector<UITextureButton*> stars;
    for (UITextureButton* b : Deep<UITextureButton>(five))
        if (TileOf(b) >= 81 && TileOf(b) <= 83)
            stars.push_back(b);
    ASSERT_EQ(2u, stars.size());
    EXPECT_NEAR(-Pos(stars[0]).y, Pos(stars[1]).y, 1e-3f);
    delete five;
    delete seven;
}

TEST_F(PageBuilders, ThresholdFontOnTheKillStar)
{
    Award small(999), middle(1000), large(10000);
    middle.SetAchieved();
    const struct
    {
        Award* award;
        float factor;
        float scale;
        int alpha;
    } cases[] = {{&small, 38.0f, 1.0f, 159}, {&middle, 33.5f, 1.0f, 204}, {&large, 28.0f, 1.5f, 159}};
    for (auto const& c : cases)
    {
        Element star(Vexel::UI::ElementLayout(), 0);
        screen->AddAwardThreshold(&star, c.award, c.scale);
        std::vector<UILinotypeElement*> text = Deep<UILinotypeElement>(&star);
        ASSERT_EQ(1u, text.size());
        EXPECT_EQ(std::to_string(c.award->GetValue()) + "|", TextOf(&star));
        EXPECT_NEAR(Cs() * c.factor * c.scale, text[0]->GetSize().y, 1e-3f) << c.award->GetValue();
        EXPECT_NEAR(c.alpha, text[0]->GetLines()[0].colour.a, 1) << c.award->GetValue();
    }
    screen->AddAwardThreshold(nullptr, &small, 1.0f); // nothing, no crash
}

TEST_F(PageBuilders, StageBlocksAndTheFullGauntlet)
{
    for (int stage : {0, 7, 8, 12})
    {
        Element* block = screen->MakeStageDescriptionBlock(stage, 0);
        int picture = -1;
        for (UITextureButton* b : Deep<UITextureButton>(block))
            if (TileOf(b) >= 168 && TileOf(b) <= 176)
                picture = TileOf(b);
        const int row = stage > 8 ? 8 : stage;
        EXPECT_EQ(row == 8 ? 168 : 169 + row, picture) << stage;
        EXPECT_NE(std::string::npos, TextOf(block).find(GauntletDescriptions[row].description)) << stage;
        delete block;
    }
}

TEST_F(PageBuilders, ResultsBlockCountsTheAwardsOfTheGame)
{
    // No award in an endless game: no block.
    screen->GetGameScreen()->GetSimulation().StartGame(1, 1);
    EXPECT_EQ(nullptr, screen->MakeResultsAwardsBlock());
    // A level with a kill threshold: three stars and the threshold.
    screen->GetGameScreen()->GetSimulation().StartGameAtLevel(1, 3, 1);
    Element* block = screen->MakeResultsAwardsBlock();
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(std::string("No awards...|290|"), TextOf(block));
    std::vector<int> tiles;
    std::vector<float> xs;
    for (UITextureButton* b : Deep<UITextureButton>(block))
        if (TileOf(b) >= 81 && TileOf(b) <= 83)
        {
            tiles.push_back(TileOf(b));
            xs.push_back(Pos(b).x);
        }
    EXPECT_EQ((std::vector<int>{81, 82, 83}), tiles);
    const float starW = MenuTile(76)->size.x * Cs() * 1.5f;
    EXPECT_EQ((std::vector<float>{-starW, 0.0f, starW}), xs);
    delete block;
    // Level 0 has no kill star: two, centred.
    screen->GetGameScreen()->GetSimulation().StartGameAtLevel(0, 3, 1);
    block = screen->MakeResultsAwardsBlock();
    ASSERT_NE(nullptr, block);
    xs.clear();
    for (UITextureButton* b : Deep<UITextureButton>(block))
        if (TileOf(b) >= 81 && TileOf(b) <= 83)
            xs.push_back(Pos(b).x);
    EXPECT_EQ((std::vector<float>{-starW / 2.0f, starW / 2.0f}), xs);
    delete block;
}

TEST_F(PageBuilders, EndlessBlocks)
{
    GamePrefs::SetStartingWave(17);
    screen->ShowPage(8, true);
    Element* quick = screen->MakeEndlessBlock(true);
    std::vector<UISlider*> sliders = Deep<UISlider>(quick);
    ASSERT_EQ(1u, sliders.size());
    EXPECT_EQ(std::string("Select a starting wave:|"), TextOf(quick));
    sliders[0]->Changed.Raise(sliders[0], 42);
    EXPECT_EQ(42, GamePrefs::GetStartingWave());
    sliders[0]->Changed.Raise(sliders[0], 140);
    EXPECT_EQ(99, GamePrefs::GetStartingWave());
    delete quick;

    Element* classic = screen->MakeEndlessBlock(false);
    EXPECT_EQ(
        std::string("Survive as long as you can!\n\nTry not to think about why the planet only built one "
                    "orbital defense cannon. It's kind of a plot hole...|"),
        TextOf(classic));
    EXPECT_TRUE(Deep<UISlider>(classic).empty());
    delete classic;
}

TEST_F(PageBuilders, InfoBlocksWithAndWithoutAPicture)
{
    Element* plain = screen->MakeInfoBlock(nullptr, Vector2(0, 0), "Text");
    ASSERT_EQ(1, plain->GetChildCount());
    ExpectNear(Vector2(0, 0), Pos(plain->GetChild(0)), "centred text");
    delete plain;
    const Vector2 size = M().textBlockSize;
    Element* pictured = screen->MakeInfoBlock(MenuTile(177), size, "Text");
    ASSERT_EQ(2, pictured->GetChildCount());
    const float blockH = 640.0f * Cs();
    ExpectNear(Vector2(0, (size.y - blockH) / 2.0f), Pos(pictured->GetChild(0)), "picture at the top");
    ExpectNear(Vector2(0, size.y / 2.0f + 28.0f * Cs()), Pos(pictured->GetChild(1)), "text below");
    delete pictured;
}

TEST_F(PageBuilders, HelpAndTipsPages)
{
    const struct
    {
        int page;
        int tile;
    } cases[] = {{30, -1},  {31, 80},  {36, -1},  {37, 177}, {38, 182},
                 {39, 180}, {40, 179}, {41, 178}, {42, 181}};
    for (auto const& c : cases)
    {
        PageBuild& b = Build(c.page);
        ASSERT_EQ(1u, b.elements.size()) << c.page;
        std::vector<UITextureButton*> pictures = Deep<UITextureButton>(b.elements[0]);
        EXPECT_EQ(c.tile, pictures.empty() ? -1 : TileOf(pictures[0])) << c.page;
        EXPECT_EQ(std::string(GetHelpText(c.page)) + "|", TextOf(b.elements[0])) << c.page;
    }
    const struct
    {
        int from;
        int tile;
        std::string text;
    } tips[] = {{9, -1, kEndlessTip},
                {8, -1, kEndlessTip},
                {20, 89 + 12, GetLevelHint(12)},
                {21, 168, kGauntletTip},
                {23, -2, ""}};
    screen->SetChosenLevel(12);
    screen->SetChosenStage(8);
    for (auto const& t : tips)
    {
        PageBuild& b = Build(43, t.from);
        if (t.tile == -2)
        {
            EXPECT_TRUE(b.elements.empty());
            continue;
        }
        ASSERT_EQ(1u, b.elements.size()) << t.from;
        std::vector<UITextureButton*> pictures = Deep<UITextureButton>(b.elements[0]);
        EXPECT_EQ(t.tile, pictures.empty() ? -1 : TileOf(pictures[0])) << t.from;
        EXPECT_EQ(t.text + "|", TextOf(b.elements[0])) << t.from;
    }
}

TEST_F(PageBuilders, RowsOfTheOptionPages)
{
    const struct
    {
        int page;
        float widthFactor;
        std::vector<std::string> labels;
        std::vector<int> tiles;
        std::set<int> wide, gaps;
    } cases[] = {
        {22, 1.1f, {"", "", "", "", "Surrender!"}, {-1, -1, -1, -1, 155}, {4}, {}},
        {23, 1.0f, {"More Games!", "Audio", "Controls", "Information"}, {155, 153, 153, 154}, {0}, {0}},
        {24, 1.0f, {"", "", "", "", "Calibrate!"}, {-1, -1, -1, -1, 154}, {4}, {}},
        {28,
         1.32f,
         {"Know your enemy", "Score keeping", "Achievements", "Basic Shooting", "Lock Tactics",
          "Planet Cannon", "General strategy"},
         {155, 153, 153, 153, 153, 153, 154},
         {},
         {}},
        {29,
         1.25f,
         {"How many??", "Basic enemies", "Spawners", "Landers", "Builders", "Bosses", "Spawner bosses"},
         {153, 153, 153, 153, 153, 153, 153},
         {},
         {}},
    };
    for (auto const& c : cases)
    {
        PageBuild& b = Build(c.page);
        EXPECT_FLOAT_EQ(c.widthFactor, b.rowWidthFactor) << c.page;
        ASSERT_EQ(c.labels.size(), b.rows.size()) << c.page;
        for (size_t i = 0; i < b.rows.size(); i++)
        {
            EXPECT_EQ(c.labels[i], b.rows[i].label) << c.page << " row " << i;
            EXPECT_EQ(c.tiles[i], b.rows[i].tile ? int(b.rows[i].tile->id) : -1) << c.page << " row " << i;
            EXPECT_EQ(c.tiles[i] == -1 ? false : true, b.rows[i].handler.IsBound()) << c.page << " row " << i;
        }
        EXPECT_EQ(c.wide, b.wideRows) << c.page;
        EXPECT_EQ(c.gaps, b.gapAfter) << c.page;
    }
    // Page 24's calibration row beeps with variant 2, the others with 0.
    EXPECT_EQ(2, Build(24).rows[4].beepVariant);
    EXPECT_EQ(0, Build(28).rows[0].beepVariant);
}

TEST_F(PageBuilders, ControlOptionsGreySweepWithoutLocks)
{
    GamePrefs::SetTargetLocks(false);
    PageBuild& b = Build(27);
    std::vector<UICheckButton*> checks = All<UICheckButton>(b.elements);
    ASSERT_EQ(3u, checks.size()); // tilt, locks, sweep
    UICheckButton* locks = checks[1];
    UICheckButton* sweep = checks[2];
    EXPECT_FALSE(sweep->IsEnabled());
    locks->OnClick(Vector2(0, 0)); // on
    EXPECT_TRUE(GamePrefs::GetTargetLocks());
    EXPECT_TRUE(sweep->IsEnabled());
    locks->OnClick(Vector2(0, 0)); // off again
    EXPECT_FALSE(sweep->IsEnabled());
    for (UICheckButton* c : checks)
        EXPECT_EQ(2, MenuBeepHelper::Instance().GetVariant(c));
    std::vector<UITextButton*> calibrate = All<UITextButton>(b.elements);
    ASSERT_EQ(1u, calibrate.size());
    calibrate[0]->Clicked.Raise(calibrate[0], Vector2(0, 0));
    EXPECT_EQ(24, screen->GetCurrentPage());
}

TEST_F(PageBuilders, AudioOptionsStoreTheVolumes)
{
    GamePrefs::SetMusicVolume(0.375f);
    GamePrefs::SetSoundVolume(0.805f);
    PageBuild& b = Build(25);
    std::vector<UISlider*> sliders = All<UISlider>(b.elements);
    ASSERT_EQ(2u, sliders.size());
    // Each stores what it is moved to (0 silences, v gives (v + 0.5) / 100).
    sliders[0]->Changed.Raise(sliders[0], 0);
    EXPECT_FLOAT_EQ(0.0f, GamePrefs::GetMusicVolume());
    sliders[1]->Changed.Raise(sliders[1], 40);
    EXPECT_FLOAT_EQ(0.405f, GamePrefs::GetSoundVolume());
    std::vector<UICheckButton*> checks = All<UICheckButton>(b.elements);
    ASSERT_EQ(1u, checks.size());
    EXPECT_NE(std::string::npos, TextOf(b.elements.back()).find("Music volume level|Effects volume level|"));
}

TEST_F(PageBuilders, NameEntryWithAndWithoutAwards)
{
    const struct
    {
        int mode;
        int level;
        bool awards;
    } cases[] = {{1, 0, false}, {3, 1, true}};
    for (auto const& c : cases)
    {
        if (c.mode == 1)
            screen->GetGameScreen()->GetSimulation().StartGame(1, 1);
        else
            screen->GetGameScreen()->GetSimulation().StartGameAtLevel(c.level, c.mode, 1);
        PageBuild& b = Build(5);
        std::vector<NumberSelectionElement*> drums = All<NumberSelectionElement>(b.elements);
        ASSERT_EQ(3u, drums.size());
        const float y = (c.awards ? 70.0f : -35.0f) * Cs();
        const float drumW = 160.0f * Cs();
        for (int i = 0; i < 3; i++)
            ExpectNear(Vector2(drumW * float(i - 1), y), Pos(drums[size_t(i)]), "drum");
        EXPECT_NEAR((c.awards ? 390.0f : 440.0f) * Cs(), drums[0]->GetSize().y, 1e-3f);
        int separators = 0;
        for (UITextureButton* t : All<UITextureButton>(b.elements))
            separators += TileOf(t) == 0 ? 1 : 0;
        EXPECT_EQ(4, separators);
        std::vector<UICheckButton*> online = All<UICheckButton>(b.elements);
        ASSERT_EQ(1u, online.size());
        ExpectNear(Vector2(0, (c.awards ? 260.0f : 300.0f) * Cs() + y), Pos(online[0]), "online switch");
        EXPECT_EQ(c.awards, dynamic_cast<ScaleElement*>(b.elements[0]) != nullptr);
    }
}

TEST_F(PageBuilders, LeaderboardTableFollowsTheEarlierPage)
{
    const struct
    {
        int from;
        bool shown;
    } cases[] = {{1, true}, {8, true}, {9, true}, {20, true}, {21, true}, {23, false}, {5, false}};
    for (auto const& c : cases)
    {
        PageBuild& b = Build(6, c.from);
        EXPECT_EQ(c.shown ? 1u : 0u, All<LeaderboardPageElement>(b.elements).size()) << c.from;
    }
}

TEST_F(PageBuilders, SelectedLevelTitleStyle)
{
    const struct
    {
        int level;
        int kind;
    } cases[] = {{0, 0}, {15, 0}, {16, 1}, {31, 1}, {32, 0}, {47, 0}, {48, 1}, {55, 1}, {56, 0}, {63, 0}};
    for (auto const& c : cases)
    {
        screen->SetChosenLevel(c.level);
        EXPECT_EQ(c.kind, Build(20).titleKind) << c.level;
    }
}

TEST_F(PageBuilders, ResultsPagesPlayTheirMusic)
{
    // The track each results page fades to: "Win" after an endless game,
    // "Menu" after a lost one and after a single level.
    const struct
    {
        int page;
        int mode;
        int track;
        int tile;
    } cases[] = {{3, 1, 3, 75}, {4, 1, 0, 74}, {3, 3, 0, 75}, {3, 4, 0, 75}};
    for (auto const& c : cases)
    {
        GameMusic::Reset();
        if (c.mode == 1)
            screen->GetGameScreen()->GetSimulation().StartGame(1, 1);
        else
            screen->GetGameScreen()->GetSimulation().StartGameAtLevel(3, c.mode, 1);
        PageBuild& b = Build(c.page);
        const int track =
            GameMusic::GetPendingTrack() >= 0 ? GameMusic::GetPendingTrack() : GameMusic::GetCurrentTrack();
        EXPECT_EQ(c.track, track) << c.page << " after mode " << c.mode;
        ASSERT_EQ(1u, b.elements.size());
        EXPECT_EQ(c.tile, TileOf(b.elements[0]));
        ExpectNear(Vector2(0, -250.0f * Cs()), Pos(b.elements[0]), "results picture");
        ExpectNear(M().descriptionSize, b.elements[0]->GetSize(), "results picture size");
    }
}

TEST_F(PageBuilders, EveryPageShowsItsTitle)
{
    const char* const titles[MainScreen::kPageCount] = {
        nullptr,
        "Cobalt Keep",
        nullptr,
        nullptr,
        nullptr,
        "Name Entry",
        "Leaderboard",
        "Device Too Flat",
        "Quickstart Mode",
        "Classic Mode",
        "Gauntlet",
        "Select a Stage",
        "Stage: Chaos",
        "Stage: Order",
        "Stage: Vanguard",
        "Stage: Tactical",
        "Stage: Flanked",
        "Stage: Swarm",
        "Stage: Horde",
        "Stage: Ganked",
        "Selected Level",
        "Gauntlet Stage",
        "Surrender?",
        "Game Options",
        "Tilt Calibration",
        "Audio Options",
        "Vibration",
        "Control Options",
        "Information",
        "Know Your Enemy",
        "Score Keeping",
        "Achievements",
        "Shooting",
        "Lock Tactics",
        "Planet Cannon",
        "General Strategy",
        "How Many??",
        "Basic Enemies",
        "Spawners",
        "Landers",
        "Builders",
        "Bosses",
        "Spawner Bosses",
        "Strategy Tips",
    };
    auto shown = [&]() -> std::string
    {
        Element* bar = screen->GetTitleBar();
        if (!bar)
            return "(none)";
        std::vector<TitleBarText*> text = Deep<TitleBarText>(bar);
        return text.empty() ? "(empty)" : text[0]->GetText();
    };
    for (int page = 0; page < MainScreen::kPageCount; page++)
    {
        screen->ShowPage(page == 1 ? 9 : 1, true);
        screen->ShowPage(page, true);
        EXPECT_EQ(titles[page] ? std::string(titles[page]) : std::string("(none)"), shown()) << page;
    }
    screen->SetChosenStage(8);
    screen->ShowPage(1, true);
    screen->ShowPage(21, true);
    EXPECT_EQ("Full Gauntlet", shown());
}

TEST_F(PageBuilders, LayoutAtTwiceTheSize)
{
    Start(640, 960);
    EXPECT_FLOAT_EQ(1.0f, Cs());
    PageBuild& b = Build(10);
    ExpectNear(Vector2(1, 1) * M().gridButtonCell + M().buttonShift, Pos(b.elements[16]), "last cell");
    ExpectNear(Vector2(168, 240), M().gridButtonSize, "grid button");
}

} // namespace
