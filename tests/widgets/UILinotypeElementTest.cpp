// The static text block: word wrap per line, rows a font size apart, the
// element sized to the block, layout only when the drawing alpha changes,
// the flush before drawing and the block's top-left on the element's.
#include "game/widgets/UILinotypeElement.h"

#include "tests/widgets/TextWidgetTestSupport.h"

#include <map>

using namespace TextWidgetTest;
using Vexel::Rectangle;
using Vexel::Graphics::RenderState;
using Vexel::Graphics::GL::Recorder;
using Vexel::UI::ElementPosition;

namespace
{

const Color kWhite(255, 255, 255, 255);

// The font at size 20: 10 px per character, baseline 16 below a row's top.
class UILinotypeElementTest : public ::testing::Test
{
protected:
    UILinotypeElementTest() : face(81), font(&face, 20.0f) { font.Load(); }
    void SetUp() override { RenderState::ResetCache(); }

    // The laid-out rows keyed by their top, each as text (gaps of one
    // advance read as spaces) with the x where it starts.
    std::map<float, std::pair<float, std::string>> Rows(UILinotypeElement const& element)
    {
        std::map<float, std::map<float, char>> cells;
        auto const* batch = element.GetTextBatch();
        const VertexP2T2C* v = batch->GetImpl()->buffer->GetVertices();
        for (int q = 0; q < batch->GetCharacterCount(); ++q)
            cells[v[4 * q].y][v[4 * q].x] = char(int(v[4 * q].u * 256.0f + 0.5f));
        std::map<float, std::pair<float, std::string>> rows;
        for (auto const& row : cells)
        {
            float x = row.second.begin()->first;
            std::string text;
            for (auto const& cell : row.second)
            {
                for (; x + 1.0f < cell.first; x += 10.0f)
                    text += ' ';
                text += cell.second;
                x = cell.first + 10.0f;
            }
            rows[row.first] = {row.second.begin()->first, text};
        }
        return rows;
    }

    FakeTypeface face;
    FakeFont font;
    CountingFlush flush;
};

} // namespace

TEST_F(UILinotypeElementTest, WrapsEachLineAtItsWidthWithRowsAFontSizeApart)
{
    struct Case
    {
        std::string text;
        float wrap;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"one two", 70.0f, {"one two"}},
        {"one two three", 75.0f, {"one two", "three"}},
        {"one two three", 69.0f, {"one", "two", "three"}},
        // A word wider than the width stands alone, unbroken.
        {"hi extraordinary ok", 50.0f, {"hi", "extraordinary", "ok"}},
        {"a b c d e f", 30.0f, {"a b", "c d", "e f"}},
        {"", 100.0f, {}},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.wrap));
        UILinotypeElement element({LinotypeLine(c.text, Vector2(7.0f, 30.0f), c.wrap, kWhite)},
                                  ElementPosition(Vector2(0.0f, 0.0f)), &flush, &font);
        auto rows = Rows(element);
        ASSERT_EQ(c.rows.size(), rows.size());
        size_t i = 0;
        for (auto const& row : rows)
        {
            // Every row starts at the line's x; rows follow by the font size.
            EXPECT_FLOAT_EQ(30.0f - 16.0f + 20.0f * float(i), row.first);
            EXPECT_FLOAT_EQ(7.0f, row.second.first);
            EXPECT_EQ(c.rows[i], row.second.second);
            ++i;
        }
    }
}

TEST_F(UILinotypeElementTest, LinesArePlacedOnlyByTheirPositionsAndSizeTheElement)
{
    UILinotypeElement element({LinotypeLine("AB", Vector2(0.0f, 0.0f), 300.0f, kWhite),
                               LinotypeLine("CDE FG", Vector2(0.0f, 40.0f), 300.0f, kWhite)},
                              ElementPosition(Vector2(5.0f, 5.0f)), &flush, &font);
    auto rows = Rows(element);
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ("AB", rows[-16.0f].second);
    EXPECT_EQ("CDE FG", rows[24.0f].second);
    // The union of both rows: 60 wide, from -16 to 44. Sized at once.
    EXPECT_EQ(Rectangle(0.0f, -16.0f, 60.0f, 60.0f), element.GetTextBatch()->GetBounds());
    EXPECT_EQ(Vector2(60.0f, 60.0f), element.GetSize());
    EXPECT_EQ(Vector2(60.0f, 60.0f), element.GetSizeFor(false));
    EXPECT_EQ(Vexel::UI::TouchMode::Ignore, element.GetTouchMode());
    EXPECT_EQ(8, element.GetTextBatch()->GetCapacity());
    // Laid out at construction, fully transparent.
    EXPECT_EQ(0.0f, element.GetLastAlpha());
    EXPECT_EQ(0, element.GetTextBatch()->GetImpl()->buffer->GetVertices()[0].color.a);
    EXPECT_EQ(0, flush.first);
}

TEST_F(UILinotypeElementTest, LaysOutAgainOnlyWhenTheAlphaChanges)
{
    UILinotypeElement element(
        {LinotypeLine("one two", Vector2(0.0f, 16.0f), 40.0f, Color(200, 100, 50, 255))},
        ElementPosition(Vector2(0.0f, 0.0f)), &flush, &font);
    const int afterConstruction = font.layouts;
    EXPECT_EQ(2, afterConstruction);
    // The layouts each draw adds, and the colour the draw used (read before
    // the next layout rewrites the batch).
    struct Step
    {
        float alpha;
        int layouts;
        int vertexAlpha;
    };
    const Step steps[] = {{1.0f, 2, 255}, {1.0f, 0, 255}, {0.5f, 2, 127}, {0.5f, 0, 127}, {1.0f, 2, 255}};
    for (Step const& step : steps)
    {
        const int before = font.layouts;
        Recorder recorder;
        element.Draw(Rectangle(0.0f, 0.0f, 40.0f, 40.0f), step.alpha);
        EXPECT_EQ(step.layouts, font.layouts - before);
        std::vector<Drawn> drawn = Replay(recorder);
        ASSERT_EQ(1u, drawn.size());
        EXPECT_EQ(step.vertexAlpha, drawn[0].vertices[0].color.a);
        EXPECT_EQ(200, drawn[0].vertices[0].color.r);
    }
    EXPECT_EQ(5, flush.first);
    // Relaid text stays within its batch.
    EXPECT_EQ(6, element.GetTextBatch()->GetCharacterCount());
}

TEST_F(UILinotypeElementTest, NearlyTransparentDrawFlushesAndLaysOutButDrawsNothing)
{
    UILinotypeElement element({LinotypeLine("Help", Vector2(0.0f, 16.0f), 100.0f, kWhite)},
                              ElementPosition(Vector2(0.0f, 0.0f)), &flush, &font);
    Recorder recorder;
    element.Draw(Rectangle(0.0f, 0.0f, 40.0f, 20.0f), 0.00005f);
    EXPECT_EQ(1, flush.first);
    EXPECT_EQ(0.00005f, element.GetLastAlpha());
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
    EXPECT_EQ(0, recorder.Count("glPushMatrix"));
}

TEST_F(UILinotypeElementTest, BlockTopLeftLandsOnTheElementsTopLeftAdditively)
{
    // Bounds start at (3, -2): the baseline at 14 lies 16 below the top.
    UILinotypeElement element({LinotypeLine("Keep", Vector2(3.0f, 14.0f), 100.0f, kWhite)},
                              ElementPosition(Vector2(0.0f, 0.0f)), &flush, &font);
    ASSERT_EQ(Vector2(3.0f, -2.0f), element.GetTextBatch()->GetBounds().Position());
    Recorder recorder;
    flush.recorder = &recorder;
    element.Draw(Rectangle(100.0f, 50.0f, 40.0f, 20.0f), 1.0f);
    flush.recorder = nullptr;
    ASSERT_EQ(std::vector<int>{0}, flush.calls) << "the flush comes before any GL call";
    EXPECT_EQ(2, RenderState::GetBlendMode());
    std::vector<Drawn> drawn = Replay(recorder);
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(81, drawn[0].texture);
    EXPECT_EQ(Rectangle(100.0f, 50.0f, 40.0f, 20.0f), drawn[0].Extent());
    // The text is not scaled with the rectangle.
    recorder.Clear();
    element.Draw(Rectangle(10.0f, 10.0f, 400.0f, 200.0f), 1.0f);
    EXPECT_EQ(Rectangle(10.0f, 10.0f, 40.0f, 20.0f), Replay(recorder)[0].Extent());
}

TEST_F(UILinotypeElementTest, WithoutFontOrFlusherItStaysEmpty)
{
    UILinotypeElement element({LinotypeLine("Help", Vector2(0.0f, 16.0f), 100.0f, kWhite)},
                              ElementPosition(Vector2(0.0f, 0.0f)), nullptr, nullptr);
    EXPECT_EQ(Vector2(0.0f, 0.0f), element.GetSize());
    Recorder recorder;
    element.Draw(Rectangle(0.0f, 0.0f, 10.0f, 10.0f), 1.0f);
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
}
