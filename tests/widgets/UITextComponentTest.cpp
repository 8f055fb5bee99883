// The coloured, word-wrapped text: the breaking rules, colour runs, moves
// that shift the kept vertices, re-layout on resizing, fitting the element
// to its text in both orientations, and fonts without a face.
#include "game/widgets/UIColoredStringGeometry.h"
#include "game/widgets/UITextComponent.h"

#include "engine/graphics/GeometryBatch.h"
#include "tests/widgets/TextWidgetTestSupport.h"

#include <map>

using namespace TextWidgetTest;
using Vexel::Rectangle;
using Vexel::Graphics::GL::Recorder;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const Color kRed(255, 0, 0, 255);
const Color kYellow(255, 255, 0, 160);

struct Glyph
{
    char c;
    float x;
    Color colour;
};

// The laid-out characters by row (the row's top relative to the rectangle,
// in font sizes) and x.
std::map<int, std::vector<Glyph>> Rows(UIColoredStringGeometry& text)
{
    text.GetBounds(); // lays out when needed
    std::map<int, std::vector<Glyph>> rows;
    const VertexP2T2C* v = text.GetVertices();
    const int quads = v ? text.GetVertexCount() / 4 : 0;
    for (int q = 0; q < quads; ++q)
    {
        VertexP2T2C const& corner = v[4 * q];
        const int row = int(std::lround((corner.y - text.GetRect().y) / 20.0f));
        rows[row].push_back({char(int(corner.u * 256.0f + 0.5f)), corner.x - text.GetRect().x, corner.color});
    }
    return rows;
}

// Rows as text, a gap of one advance (10 px) read as a space.
std::map<int, std::string> RowTexts(UIColoredStringGeometry& text)
{
    std::map<int, std::string> out;
    for (auto const& row : Rows(text))
    {
        std::string s;
        float x = 0.0f;
        for (Glyph const& g : row.second)
        {
            for (; x + 1.0f < g.x; x += 10.0f)
                s += ' ';
            s += g.c;
            x = g.x + 10.0f;
        }
        out[row.first] = s;
    }
    return out;
}

class ColoredTextTest : public ::testing::Test
{
protected:
    ColoredTextTest() : face(85), font(&face, 20.0f) {}
    void SetUp() override
    {
        Vexel::Graphics::RenderState::ResetCache();
        GetTransientBatch()->Draw();
    }

    FakeWidgetFonts fonts;
    FakeTypeface face;
    FakeFont font; // 10 px per character, rows 20 apart
};

} // namespace

TEST_F(ColoredTextTest, BreaksAfterTheLastBlankThatFitsAndCutsLongWords)
{
    struct Case
    {
        std::string text;
        float width;
        std::map<int, std::string> rows; // leading columns as spaces
    };
    const std::vector<Case> cases = {
        // "ab cd " fits in 60 (the space stays above), "e" does not.
        {"ab cd ef", 60.0f, {{0, "ab cd"}, {1, "ef"}}},
        // The second space does not fit: "cd" starts the second row.
        {"ab cd ef", 55.0f, {{0, "ab"}, {1, "cd ef"}}},
        // Half a pixel of overhang still fits.
        {"ab cd ef", 79.5f, {{0, "ab cd ef"}}},
        {"ab cd ef", 79.4f, {{0, "ab cd"}, {1, "ef"}}},
        // A word wider than the rectangle is cut where it stops fitting.
        {"abcdefgh", 35.0f, {{0, "abc"}, {1, "def"}, {2, "gh"}}},
        {"ab\tcd", 35.0f, {{0, "ab"}, {1, "cd"}}},
        // Newlines always break; an empty row in between stays empty.
        {"a\n\nb", 0.0f, {{0, "a"}, {2, "b"}}},
        {"ab\ncd ef", 45.0f, {{0, "ab"}, {1, "cd"}, {2, "ef"}}},
        // Leading blanks go at the start and after a newline only.
        {"  ab", 100.0f, {{0, "ab"}}},
        {"x\n \ty", 100.0f, {{0, "x"}, {1, "y"}}},
        {"ab   cd", 45.0f, {{0, "ab"}, {1, " cd"}}},
        // No width, no wrapping.
        {"one two three four five six", -1.0f, {{0, "one two three four five six"}}},
        {"one two three four five six", 0.0f, {{0, "one two three four five six"}}},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE("\"" + c.text + "\" in " + std::to_string(c.width));
        UIColoredStringGeometry text(&font, Rectangle(5.0f, 7.0f, c.width, 100.0f));
        text.Append(c.text, kRed);
        EXPECT_EQ(c.rows, RowTexts(text));
    }
}

TEST_F(ColoredTextTest, CharacterTooWideForTheEmptyFirstRowMovesDownFirst)
{
    UIColoredStringGeometry text(&font, Rectangle(0.0f, 0.0f, 5.0f, 100.0f));
    text.Append("a", kRed);
    EXPECT_EQ((std::map<int, std::string>{{1, "a"}}), RowTexts(text));
}

TEST_F(ColoredTextTest, SegmentsKeepTheirColoursOnOneLine)
{
    UIColoredStringGeometry text(&font, Vector2(3.0f, 4.0f));
    EXPECT_EQ(Rectangle(3.0f, 4.0f, -1.0f, -1.0f), text.GetRect());
    text.Append("ab", kRed);
    text.Append("", kRed); // nothing
    text.Append(UIColoredStringSegment(77, "cd", kYellow));
    auto rows = Rows(text);
    ASSERT_EQ(1u, rows.size());
    ASSERT_EQ(4u, rows[0].size());
    const float xs[4] = {0, 10, 20, 30};
    const Color colours[4] = {kRed, kRed, kYellow, kYellow};
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(xs[i], rows[0][i].x);
        EXPECT_EQ(colours[i], rows[0][i].colour);
    }
    // The first row's top is the rectangle's top.
    EXPECT_EQ(Rectangle(3.0f, 4.0f, 40.0f, 20.0f), text.GetBounds());
    EXPECT_EQ("abcd", text.GetText());
}

TEST_F(ColoredTextTest, ColourRunsWrapWithTheText)
{
    UIColoredStringGeometry text(&font, Rectangle(0.0f, 0.0f, 50.0f, 100.0f));
    text.Append("one ", kRed);
    text.Append("two three", kYellow);
    auto rows = Rows(text);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(kRed, rows[0][0].colour);
    EXPECT_EQ(kYellow, rows[1][0].colour); // "two" wrapped below
    EXPECT_EQ(kYellow, rows[2][0].colour);
}

TEST_F(ColoredTextTest, ARunAfterAColourChangeThatDoesNotFitMovesDownInsteadOfOverhanging)
{
    struct Case
    {
        std::vector<UIColoredStringSegment> segments;
        std::map<int, std::string> rows;
    };
    const std::vector<Case> cases = {
        // The word across the colour change still wraps whole at its blank.
        {{{"one t", kRed}, {"wo", kYellow}}, {{0, "one"}, {1, "two"}}},
        {{{"one ", kRed}, {"t", kRed}, {"wo", kYellow}}, {{0, "one"}, {1, "two"}}},
        {{{"one", kRed}, {" two", kYellow}}, {{0, "one"}, {1, "two"}}},
        {{{"ab", kRed}, {"cdefgh", kYellow}}, {{0, "ab"}, {1, "cdefg"}, {2, "h"}}},
    };
    for (Case const& c : cases)
    {
        UIColoredStringGeometry text(&font, Rectangle(0.0f, 0.0f, 50.0f, 100.0f));
        for (UIColoredStringSegment const& segment : c.segments)
            text.Append(segment);
        EXPECT_EQ(c.rows, RowTexts(text));
        for (auto const& row : Rows(text))
            for (Glyph const& g : row.second)
                EXPECT_LE(g.x + 10.0f, 50.5f) << g.c << " overhangs";
    }
}

TEST_F(ColoredTextTest, MovingShiftsTheKeptVerticesAndResizingLaysOutAgain)
{
    UIColoredStringGeometry text(&font, Rectangle(0.0f, 0.0f, 60.0f, 100.0f));
    text.Append("ab cd ef", kRed);
    EXPECT_EQ(Rectangle(0.0f, 0.0f, 60.0f, 40.0f), text.GetBounds());
    VertexP2T2C* kept = text.GetVertices();
    ASSERT_NE(nullptr, kept);
    const float firstX = kept[0].x, firstY = kept[0].y;

    text.SetRect(Rectangle(15.0f, -5.0f, 60.0f, 100.0f));
    ASSERT_TRUE(text.IsGenerated()) << "a move keeps the layout";
    EXPECT_EQ(kept, text.GetVertices());
    EXPECT_FLOAT_EQ(firstX + 15.0f, kept[0].x);
    EXPECT_FLOAT_EQ(firstY - 5.0f, kept[0].y);
    EXPECT_EQ(Rectangle(15.0f, -5.0f, 60.0f, 40.0f), text.GetBounds());
    EXPECT_EQ((std::map<int, std::string>{{0, "ab cd"}, {1, "ef"}}), RowTexts(text));

    text.SetRect(Rectangle(15.0f, -5.0f, 45.0f, 100.0f));
    EXPECT_FALSE(text.IsGenerated()) << "a new width lays out again";
    EXPECT_EQ((std::map<int, std::string>{{0, "ab"}, {1, "cd"}, {2, "ef"}}), RowTexts(text));
    EXPECT_FLOAT_EQ(45.0f, text.GetWidth());
}

TEST_F(ColoredTextTest, ClearedOrEmptyTextDrawsNothing)
{
    UIColoredStringGeometry text(&font, Rectangle(0.0f, 0.0f, 100.0f, 100.0f));
    text.Append("abc", kRed);
    EXPECT_EQ(30.0f, text.GetBounds().width);
    text.Clear();
    EXPECT_EQ(Rectangle(), text.GetBounds());
    EXPECT_EQ("", text.GetText());
    Recorder recorder;
    GetTransientBatch()->Add(&text);
    GetTransientBatch()->Draw();
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
    // Blanks only: laid out, but no quad.
    text.Append("   ", kRed);
    GetTransientBatch()->Add(&text);
    GetTransientBatch()->Draw();
    EXPECT_EQ(0, recorder.Count("glDrawElements"));
}

TEST_F(ColoredTextTest, LoadsTheFontBeforeTakingTheFaceTexture)
{
    ASSERT_EQ(nullptr, face.GetTexture()) << "the face is not loaded yet";
    UIColoredStringGeometry text(&font, Vector2(0.0f, 0.0f));
    EXPECT_GE(font.loads, 1);
    EXPECT_EQ(*face.texture, text.GetTexture());
    EXPECT_EQ(1, text.GetBlendMode());
}

TEST_F(ColoredTextTest, ToleratesAMissingFaceAndAMissingFont)
{
    FakeFont faceless(nullptr, 20.0f);
    UIColoredStringGeometry withoutFace(&faceless, Rectangle(0.0f, 0.0f, 50.0f, 50.0f));
    UIColoredStringGeometry withoutFont(nullptr, Rectangle(0.0f, 0.0f, 50.0f, 50.0f));
    for (UIColoredStringGeometry* text : {&withoutFace, &withoutFont})
    {
        EXPECT_EQ(Vexel::Graphics::Texture::Empty, text->GetTexture());
        text->Append("nothing to see", kRed);
        EXPECT_EQ(Rectangle(), text->GetBounds());
        Recorder recorder;
        GetTransientBatch()->Add(text);
        GetTransientBatch()->Draw();
        EXPECT_EQ(0, recorder.Count("glDrawElements"));
    }
}

TEST_F(ColoredTextTest, LongTextIsDrawnWholeByTheSharedBatch)
{
    // Over 64 characters: more than the batch's own buffer takes at once.
    std::string words;
    for (int i = 0; i < 30; ++i)
        words += "word ";
    UIColoredStringGeometry text(&font, Rectangle(0.0f, 0.0f, 200.0f, 400.0f));
    text.Append(words, kRed);
    Recorder recorder;
    GetTransientBatch()->Add(&text);
    GetTransientBatch()->Draw();
    int quads = 0;
    for (Drawn const& drawn : Replay(recorder))
        quads += int(drawn.vertices.size());
    EXPECT_GE(quads, 120 * 6);
    EXPECT_EQ(int64_t(85), Replay(recorder).at(0).texture);
}

// --- the element ---

TEST_F(ColoredTextTest, ComponentDrawsItsTextInTheElementRectangleWithItsOwnAlpha)
{
    UITextComponent component(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(60.0f, 100.0f)),
                              20.0f, std::string("ab cd ef"), kYellow);
    ASSERT_EQ(1u, fonts.made.size());
    EXPECT_EQ(kUIFontFile, fonts.files[0]);
    EXPECT_FLOAT_EQ(20.0f, fonts.made[0]->size);
    EXPECT_EQ(Vexel::UI::TouchMode::Ignore, component.GetTouchMode());

    Recorder recorder;
    component.Draw(Rectangle(100.0f, 200.0f, 60.0f, 100.0f), 0.1f);
    EXPECT_EQ(0, recorder.Count("glDrawElements")) << "drawn only with the shared batch";
    GetTransientBatch()->Draw();
    std::vector<Drawn> drawn = Replay(recorder);
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(int64_t(kPlainTextureName), drawn[0].texture);
    // "ab cd" above "ef"; the blank ending the first row has no quad.
    EXPECT_EQ(Rectangle(100.0f, 200.0f, 50.0f, 40.0f), drawn[0].Extent());
    for (VertexP2T2C const& v : drawn[0].vertices)
        EXPECT_EQ(kYellow, v.color) << "the drawing alpha is not applied";
    EXPECT_EQ(1, component.GetTextGeometry().GetBlendMode());
}

TEST_F(ColoredTextTest, ComponentTextCallsClearOrAppendWithTheirColours)
{
    const ElementLayout layout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(-1.0f, 100.0f));
    struct Case
    {
        const char* what;
        std::function<UITextComponent*()> make;
        std::string text;
        std::vector<Color> colours; // per character
    };
    const std::vector<UIColoredStringSegment> two = {{"ab", kRed}, {"cd", kYellow}};
    const std::vector<Case> cases = {
        {"no text", [&] { return new UITextComponent(layout, 20.0f, kRed); }, "", {}},
        {"string",
         [&] { return new UITextComponent(layout, 20.0f, std::string("xy"), kRed); },
         "xy",
         {kRed, kRed}},
        {"segment",
         [&] { return new UITextComponent(layout, 20.0f, UIColoredStringSegment("xy", kYellow), kRed); },
         "xy",
         {kYellow, kYellow}},
        {"segments",
         [&] { return new UITextComponent(layout, 20.0f, two, kRed); },
         "abcd",
         {kRed, kRed, kYellow, kYellow}},
        {"set then append",
         [&]
         {
             UITextComponent* c = new UITextComponent(layout, 20.0f, std::string("gone"), kRed);
             c->SetText("a", kYellow);
             c->SetColor(kYellow);
             c->AppendText("b");
             c->AppendText("c", kRed);
             c->AppendText(UIColoredStringSegment("d", kYellow));
             c->AppendText(two);
             return c;
         },
         "abcdabcd",
         {kYellow, kYellow, kRed, kYellow, kRed, kRed, kYellow, kYellow}},
        {"set forms",
         [&]
         {
             UITextComponent* c = new UITextComponent(layout, 20.0f, kRed);
             c->SetText(two);
             c->SetText(UIColoredStringSegment("q", kYellow));
             c->SetText("rs");
             return c;
         },
         "rs",
         {kRed, kRed}},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::unique_ptr<UITextComponent> component(c.make());
        UIColoredStringGeometry& text = component->GetTextGeometry();
        text.SetRect(Rectangle(0.0f, 0.0f, -1.0f, -1.0f));
        EXPECT_EQ(c.text, text.GetText());
        std::vector<Color> colours;
        for (auto const& row : Rows(text))
            for (Glyph const& g : row.second)
                colours.push_back(g.colour);
        EXPECT_EQ(c.colours, colours);
    }
}

TEST_F(ColoredTextTest, FitToTextSizesEachOrientationToItsOwnText)
{
    struct Case
    {
        Vector2 portrait, landscape;
        bool fitWidth, fitHeight;
        Vector2 fittedPortrait, fittedLandscape;
    };
    const Case cases[] = {
        // Portrait wraps at 60 ("ab cd " above "ef"), landscape does not.
        {{60, 100}, {200, 100}, true, false, {60, 100}, {80, 100}},
        {{60, 100}, {200, 100}, false, true, {60, 40}, {200, 20}},
        {{60, 100}, {200, 100}, true, true, {60, 40}, {80, 20}},
        {{60, 100}, {200, 100}, false, false, {60, 100}, {200, 100}},
        // Equal variants: one layout for both.
        {{45, 10}, {45, 10}, true, true, {30, 60}, {30, 60}},
    };
    for (Case const& c : cases)
    {
        UITextComponent component(
            ElementLayout(ElementPosition(Vector2(4.0f, 4.0f)), c.portrait, c.landscape), 20.0f,
            std::string("ab cd ef"), kRed);
        component.FitToText(c.fitWidth, c.fitHeight);
        EXPECT_EQ(c.fittedPortrait, component.GetSizeFor(true));
        EXPECT_EQ(c.fittedLandscape, component.GetSizeFor(false));
    }
}
