// The score views over a score table: the top scores block (entries, text
// positions and colours, rebuild on the table's state) and the leaderboard
// page (rows and columns, pages of ten, flicks, state, alignment).
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/TileInfo.h"
#include "game/frontend/elements/LeaderboardPageElement.h"
#include "game/frontend/elements/LeaderboardVerticalPage.h"
#include "game/frontend/text/ScoreTexts.h"
#include "game/frontend/elements/TopScoresElement.h"
#include "game/frontend/elements/WaitingRotatorElement.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UIPalette.h"
#include "game/widgets/UITextureButton.h"
#include "tests/frontend/FakeScoreTable.h"
#include "tests/frontend/FrontEndTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using FrontEndTest::FakeScoreTable;
using FrontEndTest::RecordingBatch;
using HighScores::GlobalScoreState;

namespace
{

std::vector<std::string> Texts(UILinotypeElement const* element)
{
    std::vector<std::string> out;
    for (LinotypeLine const& line : element->GetLines())
        out.push_back(line.text);
    return out;
}

LinotypeLine const* Find(UILinotypeElement const* element, std::string const& text)
{
    for (LinotypeLine const& line : element->GetLines())
    {
        if (line.text == text)
            return &line;
    }
    return nullptr;
}

void ExpectColour(Color expected, Color actual, const char* what, int tolerance = 0)
{
    EXPECT_NEAR(int(expected.r), int(actual.r), tolerance) << what;
    EXPECT_NEAR(int(expected.g), int(actual.g), tolerance) << what;
    EXPECT_NEAR(int(expected.b), int(actual.b), tolerance) << what;
    EXPECT_NEAR(int(expected.a), int(actual.a), tolerance) << what;
}

class ScoreViewsTest : public ::testing::Test
{
protected:
    ScoreViewsTest() { Vexel::Graphics::RenderState::ResetCache(); }

    TextWidgetTest::FakeWidgetFonts fonts;
    TextWidgetTest::CountingFlush flush;
    RecordingBatch first;
    RecordingBatch second;
    FakeScoreTable table;
};

// ---- Top scores ------------------------------------------------------------

class TopScoresTest : public ScoreViewsTest
{
protected:
    const Vector2 size{600.0f, 240.0f};

    std::unique_ptr<TopScoresElement> Make(bool showLeader, HighScores::ITopScore* source)
    {
        return std::unique_ptr<TopScoresElement>(
            new TopScoresElement(&flush, source, &first, size, 1.0f, &second, showLeader));
    }
};

TEST_F(TopScoresTest, EmptyEntriesShowDashesAndNotSet)
{
    for (HighScores::ITopScore* source :
         {static_cast<HighScores::ITopScore*>(&table), static_cast<HighScores::ITopScore*>(nullptr)})
    {
        auto element = Make(false, source);
        EXPECT_EQ((std::vector<std::string>{"a", "a", "---", "a", "a", "---"}),
                  Texts(element->GetLargeText()));
        EXPECT_EQ((std::vector<std::string>{"a", "a", "Your Latest!", "not set...", "a", "a", "Your Best!",
                                            "not set..."}),
                  Texts(element->GetSmallText()));
    }
}

TEST_F(TopScoresTest, EntriesWithTheirScoresAndDetailsWherePlaced)
{
    table.latest = FakeScoreTable::Entry("Ann", 1234, 1, 1, 0);
    table.best = FakeScoreTable::Entry("Bob", 1234567, 40, 12, 3);
    table.global = {FakeScoreTable::Entry("Cat", 1234567890, 7, 0, 0)};
    auto element = Make(true, &table);

    const float step = 0.333333f;
    struct Case
    {
        const char* text;
        Vector2 fraction; // of the element's size
        bool large;
    };
    const std::vector<Case> cases = {
        {"Ann", {0.035f, 0.0f}, true},
        {"1,234", {0.44f - 0.018f * 5.0f, 0.04f}, false},
        {"1 Wave  1 kill", {0.414f, 0.16f}, false},
        {"Bob", {0.035f, step}, true},
        {"1,234,567", {0.44f - 0.018f * 9.0f, step + 0.04f}, false},
        {"12 +3 Waves  40 kills", {0.372f, step + 0.16f}, false},
        {"Cat", {0.035f, 2.0f * step}, true},
        {"1,234,567,890", {0.26f, 2.0f * step + 0.04f}, false},
        {"7 kills", {0.468f, 2.0f * step + 0.16f}, false},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.text);
        LinotypeLine const* line = Find(c.large ? element->GetLargeText() : element->GetSmallText(), c.text);
        ASSERT_NE(nullptr, line);
        FrontEndTest::ExpectNear(c.fraction * size, line->position, "position");
        EXPECT_EQ(size.x, line->wrapWidth);
    }
    // The labels end near the right edge; with a face too wide for their
    // places (16 px a character here) they end at the edge.
    const std::vector<Case> labels = {
        {"Your Latest!", {0.752f, 0.04f}, false},
        {"Your Best!", {0.787f, step + 0.04f}, false},
        {"Global Leader!", {0.697f, 2.0f * step + 0.04f}, false},
    };
    for (Case const& c : labels)
    {
        SCOPED_TRACE(c.text);
        LinotypeLine const* line = Find(element->GetSmallText(), c.text);
        ASSERT_NE(nullptr, line);
        const float x = std::min(c.fraction.x * size.x, size.x - 16.0f * float(std::string(c.text).size()));
        FrontEndTest::ExpectNear(Vector2(x, c.fraction.y * size.y), line->position, "position");
    }
    TopScoresElement narrowFace(&flush, &table, &first, Vector2(1200.0f, 240.0f), 1.0f, &second, true);
    FrontEndTest::ExpectNear(Vector2(0.752f * 1200.0f, 0.04f * 240.0f),
                             Find(narrowFace.GetSmallText(), "Your Latest!")->position, "room enough");

    // Colours: names bright, labels and scores bright and a little faded,
    // details dim; anchors next to invisible.
    const Color bright(159, 222, 255, 255);
    const Color dim(114, 190, 229, 255);
    ExpectColour(bright, Find(element->GetLargeText(), "Ann")->colour, "name", 1);
    ExpectColour(bright.ScaleAlpha(0.7f), Find(element->GetSmallText(), "Your Best!")->colour, "label", 1);
    ExpectColour(bright.ScaleAlpha(0.95f), Find(element->GetSmallText(), "1,234")->colour, "score", 1);
    ExpectColour(dim, Find(element->GetSmallText(), "7 kills")->colour, "details", 1);
    ExpectColour(Color(0, 0, 0, 1), Find(element->GetSmallText(), "a")->colour, "anchor");

    // The panel under the texts, on tile 68, larger than the block.
    Vexel::UI::Element* content = element->GetContent();
    ASSERT_EQ(3, content->GetChildCount());
    auto* panel = dynamic_cast<UITextureButton*>(content->GetChild(0));
    ASSERT_NE(nullptr, panel);
    ASSERT_NE(nullptr, panel->GetTile());
    EXPECT_EQ(68u, panel->GetTile()->id);
    FrontEndTest::ExpectNear(Vector2(720.0f, 264.0f), panel->GetSize(), "panel size");
}

TEST_F(TopScoresTest, RebuildsOnItsTablesStateOnly)
{
    auto element = Make(false, &table);
    EXPECT_FALSE(element->GetSpinner()->IsVisible());
    EXPECT_FALSE(element->GetErrorText()->IsVisible());
    EXPECT_EQ("Network error! Try again later.", Texts(element->GetErrorText()).at(0));

    table.best = FakeScoreTable::Entry("Zed", 50, 5, 3, 0);
    Vexel::UI::Element* before = element->GetContent();
    // Raised by another table: nothing changes.
    FakeScoreTable other;
    table.StateChanged().Raise(static_cast<HighScores::ITopScore*>(&other), GlobalScoreState::Failed);
    EXPECT_EQ(before, element->GetContent());
    EXPECT_EQ(nullptr, Find(element->GetLargeText(), "Zed"));

    const struct
    {
        GlobalScoreState::Enum state;
        bool spinner;
        bool error;
    } cases[] = {
        {GlobalScoreState::Fetching, true, false},
        {GlobalScoreState::Submitting, true, false},
        {GlobalScoreState::Failed, false, true},
        {GlobalScoreState::Idle, false, false},
    };
    for (auto const& c : cases)
    {
        table.SetState(c.state);
        EXPECT_EQ(c.spinner, element->GetSpinner()->IsVisible()) << c.state;
        EXPECT_EQ(c.error, element->GetErrorText()->IsVisible()) << c.state;
    }
    EXPECT_NE(nullptr, Find(element->GetLargeText(), "Zed"));

    // Shown, it keeps its table polling.
    const int polls = table.polls;
    element->Update(1.0f / 30.0f);
    EXPECT_EQ(polls + 1, table.polls);

    element.reset();
    EXPECT_EQ(0u, table.StateChanged().SubscriberCount());
}

// ---- Leaderboard -----------------------------------------------------------

class LeaderboardTest : public ScoreViewsTest
{
protected:
    std::unique_ptr<LeaderboardPageElement> Make(float scale = 1.0f)
    {
        return std::unique_ptr<LeaderboardPageElement>(
            new LeaderboardPageElement(&table, &flush, &first, scale));
    }

    void Fill(int count)
    {
        table.global.clear();
        for (int i = 0; i < count; ++i)
            table.global.push_back(
                FakeScoreTable::Entry("P" + std::to_string(i), 1000 - i, i, 2, 0, 60, 0.0));
    }

    // A frame without a touch, then a touch dragged by (dx, dy) for one frame.
    static void Flick(LeaderboardPageElement& page, float dx, float dy)
    {
        page.CancelTouch();
        page.Update(1.0f / 30.0f);
        page.TouchDown(Vector2(320.0f, 350.0f), 1);
        page.TouchMove(Vector2(320.0f + dx, 350.0f + dy));
        page.Update(1.0f / 30.0f);
    }
};

TEST_F(LeaderboardTest, RowsReadTheirColumns)
{
    table.global = {FakeScoreTable::Entry("Ann", 10, 1), FakeScoreTable::Entry("Bob", 9, 1),
                    FakeScoreTable::Entry("Cat", 1234567, 40, 12, 3, 3725, 1268000000.0)};
    table.best = FakeScoreTable::Entry("Dee", 59, 2, 0, 0, 59, 0.0);
    auto page = Make(0.5f);

    struct Case
    {
        LeaderboardSingleElement* row;
        std::vector<std::string> texts;
    };
    LeaderboardVerticalPage& set0 = page->GetPage(0);
    LeaderboardVerticalPage& set1 = page->GetPage(1);
    const std::vector<Case> cases = {
        {&set0.GetHeader(), {"a", "a", "Name", "Score", "Waves"}},
        {&set1.GetHeader(), {"a", "a", "Kills", "Time Taken", "Date"}},
        {&set0.GetRow(2), {"a", "a", "3", "Cat", "1,234,567", "12 +3"}},
        {&set1.GetRow(2), {"a", "a", "3", "40", "1:02:05", FormatScoreDate(1268000000.0)}},
        {&set0.GetBest(), {"a", "a", "Top", "Dee", "59", "0"}},
        {&set1.GetBest(), {"a", "a", "Top", "2", "0:00:59", FormatScoreDate(0.0)}},
        {&set0.GetLatest(), {"a", "a", "New", "---", "--", "---"}},
        {&set1.GetLatest(), {"a", "a", "New", "---", "--:--:--", "--/--/--"}},
        {&set0.GetRow(5), {"a", "a", "6", "---", "--", "---"}},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.texts, Texts(c.row->GetText()));

    // Every text is centred on its column; scale 0.5, font 19.5: 9.75 a character.
    UILinotypeElement const* cat = set0.GetRow(2).GetText();
    struct Column
    {
        const char* text;
        float x;
        Color colour;
    };
    const std::vector<Column> columns = {
        {"3", -282.0f, UIPalette[9].ScaleAlpha(0.68f)},
        {"Cat", -188.0f, UIPalette[8]},
        {"1,234,567", 10.0f, UIPalette[7]},
        {"12 +3", 232.0f, UIPalette[8]},
    };
    for (Column const& c : columns)
    {
        LinotypeLine const* line = Find(cat, c.text);
        ASSERT_NE(nullptr, line) << c.text;
        EXPECT_NEAR(c.x * 0.5f - 9.75f * 0.5f * float(std::string(c.text).size()), line->position.x, 1e-3f)
            << c.text;
        EXPECT_EQ(0.0f, line->position.y);
        ExpectColour(c.colour, line->colour, c.text);
    }
    ExpectColour(UIPalette[9].ScaleAlpha(0.86f), Find(set0.GetHeader().GetText(), "Name")->colour, "title");
    ExpectColour(UIPalette[10].ScaleAlpha(0.5f), Find(set1.GetLatest().GetText(), "--:--:--")->colour,
                 "dashes");
    ExpectColour(UIPalette[9].ScaleAlpha(0.5f), Find(set1.GetLatest().GetText(), "New")->colour,
                 "empty rank");
    // The anchors pin every row's block to the same span.
    EXPECT_EQ(-2000.0f, cat->GetLines()[0].position.x);
    EXPECT_EQ(0, int(cat->GetLines()[0].colour.a));
    EXPECT_EQ(set0.GetHeader().GetText()->GetSize().x, cat->GetSize().x);
}

TEST_F(LeaderboardTest, PagesOfTenRows)
{
    const std::vector<std::pair<int, int>> counts = {{0, 0}, {1, 1}, {10, 1}, {11, 2}, {100, 10}};
    for (auto const& c : counts)
    {
        Fill(c.first);
        EXPECT_EQ(c.second, Make()->GetPageCount()) << c.first;
    }

    // Nothing to flick through and no row made for an empty list.
    Fill(0);
    auto empty = Make();
    Flick(*empty, 0.0f, -300.0f);
    EXPECT_EQ(0, empty->GetRowPage());
    empty->Draw(Vexel::Rectangle(0.0f, 0.0f, 640.0f, 700.0f), 1.0f);
    EXPECT_EQ(0u, empty->GetPage(0).GetRowCount());

    // 11 entries: the second page holds one real row and nine empty ones.
    Fill(11);
    auto page = Make();
    Flick(*page, 0.0f, -0.25f * 700.0f);
    EXPECT_EQ(1, page->GetRowPage());
    for (int i = 0; i < 60; ++i)
    {
        page->CancelTouch();
        page->Update(1.0f / 30.0f);
    }
    page->Draw(Vexel::Rectangle(0.0f, 0.0f, 640.0f, 700.0f), 1.0f);
    EXPECT_EQ("P10", Texts(page->GetPage(0).GetRow(10).GetText())[3]);
    for (int r = 11; r < 20; ++r)
        EXPECT_EQ("---", Texts(page->GetPage(0).GetRow(r).GetText())[3]) << r;
    EXPECT_EQ(20, page->GetPageCount() * 10);
}

TEST_F(LeaderboardTest, OneFlickEachWayPerTouch)
{
    Fill(35); // four pages
    auto page = Make();
    // Not armed before a frame without a touch.
    page->TouchDown(Vector2(320.0f, 350.0f), 1);
    page->TouchMove(Vector2(320.0f, 100.0f));
    page->Update(1.0f / 30.0f);
    EXPECT_EQ(0, page->GetRowPage());

    Flick(*page, 0.0f, -0.25f * 700.0f); // up: the next ten
    EXPECT_EQ(1, page->GetRowPage());
    EXPECT_NEAR((-0.25f + 1.0f) * 0.86f, page->GetRowOffset(), 1e-5f);
    // Dragging on with the same touch flicks no more.
    page->TouchMove(Vector2(320.0f, -400.0f));
    page->Update(1.0f / 30.0f);
    EXPECT_EQ(1, page->GetRowPage());

    Flick(*page, 0.0f, 0.3f * 700.0f); // down: the previous ten
    EXPECT_EQ(0, page->GetRowPage());
    EXPECT_NEAR((0.3f - 1.0f) * 0.86f, page->GetRowOffset(), 1e-5f);
    Flick(*page, 0.0f, 0.3f * 700.0f); // down at the first page: the drag stays live
    EXPECT_EQ(0, page->GetRowPage());

    EXPECT_EQ(0, page->GetColumn());
    Flick(*page, -0.25f * 640.0f, 0.0f); // sideways: the other column set
    EXPECT_EQ(1, page->GetColumn());
    EXPECT_NEAR((-0.25f + 1.0f) * 0.82f, page->GetColumnOffset(), 1e-5f);
    Flick(*page, 0.25f * 640.0f, 0.0f); // either way swaps
    EXPECT_EQ(0, page->GetColumn());

    // A diagonal flick turns the rows only.
    Flick(*page, -0.3f * 640.0f, -0.3f * 700.0f);
    EXPECT_EQ(1, page->GetRowPage());
    EXPECT_EQ(0, page->GetColumn());

    // Released, the offsets ease away.
    for (int i = 0; i < 200; ++i)
    {
        page->CancelTouch();
        page->Update(1.0f / 30.0f);
    }
    EXPECT_NEAR(0.0f, page->GetRowOffset(), 1e-6f);
    EXPECT_NEAR(0.0f, page->GetColumnOffset(), 1e-6f);
    EXPECT_GT(table.polls, 200);
}

TEST_F(LeaderboardTest, ShowsTheTablesStateAndRemakesRowsOnChange)
{
    Fill(12);
    auto page = Make();
    EXPECT_EQ("Flick to see more...", Texts(page->GetFlickText()).at(0));
    EXPECT_EQ("Network error, try again later...", Texts(page->GetErrorText()).at(0));
    const struct
    {
        GlobalScoreState::Enum state;
        bool spinner, error, flick;
    } cases[] = {
        {GlobalScoreState::Idle, false, false, true},      {GlobalScoreState::Fetching, true, false, true},
        {GlobalScoreState::Submitting, true, false, true}, {GlobalScoreState::Failed, false, true, false},
        {GlobalScoreState::Idle, false, false, true},
    };
    for (auto const& c : cases)
    {
        table.state = c.state;
        page->Update(1.0f / 30.0f);
        EXPECT_EQ(c.spinner, page->GetSpinner()->IsVisible()) << c.state;
        EXPECT_EQ(c.error, page->GetErrorText()->IsVisible()) << c.state;
        EXPECT_EQ(c.flick, page->GetFlickText()->IsVisible()) << c.state;
    }

    page->Draw(Vexel::Rectangle(0.0f, 0.0f, 640.0f, 700.0f), 1.0f);
    EXPECT_EQ(10u, page->GetPage(0).GetRowCount());
    EXPECT_EQ(0u, page->GetPage(1).GetRowCount()); // out of sight, not made
    table.best = FakeScoreTable::Entry("New", 77, 1);
    table.SetState(GlobalScoreState::Fetching);
    EXPECT_EQ(0u, page->GetPage(0).GetRowCount());
    EXPECT_EQ("New", Texts(page->GetPage(0).GetBest().GetText())[3]);

    page.reset();
    EXPECT_EQ(0u, table.StateChanged().SubscriberCount());
}

TEST_F(LeaderboardTest, TitlesStayOverTheirColumnsWhereverThePageStands)
{
    Fill(3);
    auto page = Make();
    for (float left : {0.0f, 64.0f, -37.5f})
    {
        SCOPED_TRACE(left);
        Vexel::Graphics::GL::Recorder recorder;
        page->Draw(Vexel::Rectangle(left, 20.0f, 640.0f, 700.0f), 1.0f);
        const std::vector<TextWidgetTest::Drawn> drawn = TextWidgetTest::Replay(recorder);
        // Titles, a page of ten rows, latest and best of the column set in
        // front; the other set is out of sight.
        ASSERT_EQ(13u, drawn.size());
        for (TextWidgetTest::Drawn const& d : drawn)
            EXPECT_NEAR(left + 320.0f, d.matrix.e, 1e-3f);
    }
}

} // namespace
