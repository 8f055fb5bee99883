#include "game/frontend/elements/LeaderboardSingleElement.h"

#include "engine/core/Rectangle.h"
#include "engine/graphics/type/IFont.h"
#include "engine/ui/UIHelper.h"
#include "game/frontend/text/ScoreTexts.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UIPalette.h"

#include <string>
#include <vector>

namespace
{

const float kMinimumAlpha = 0.001f;

// Centred on x, like every text of a row, but kept inside the page (half a
// page either side of the row's middle, less a small margin): the face may be
// wider than the one the columns were placed for.
void Place(Vexel::Graphics::Type::IFont* font, std::vector<LinotypeLine>& lines, std::string const& text,
           Color colour, Vector2 position, float halfPage)
{
    const float width = font ? font->MeasureText(text).x : 0.0f;
    float left = position.x - width * 0.5f;
    if (left + width > halfPage)
        left = halfPage - width;
    if (left < -halfPage)
        left = -halfPage;
    lines.push_back(LinotypeLine(text, Vector2(left, position.y), 1000000.0f, colour));
}

HighScores::ScoreEntry const& NoEntry()
{
    static const HighScores::ScoreEntry entry;
    return entry;
}

} // namespace

LeaderboardSingleElement::LeaderboardSingleElement(int columnSet, HighScores::ITopScore* table, int kind,
                                                   int index, float scale, IFlush* flusher)
    : halfWidth(320.0f * scale), columnSet(columnSet), kind(kind)
{
    Vexel::Graphics::Type::IFont* font = GetFont(39.0f * scale);
    const float halfPage = 312.0f * scale;

    HighScores::ScoreEntry const* entry = &NoEntry();
    if (table)
    {
        if (kind == Kind::Best)
            entry = &table->GetBest();
        else if (kind == Kind::Latest)
            entry = &table->GetLatest();
        else
            entry = &table->GetGlobalEntry(index);
    }
    const bool empty = entry->stats.score <= 0;

    std::vector<LinotypeLine> lines;
    // Invisible anchors: every row's block spans the same width, so that each
    // is centred on the row's middle.
    const float anchorWidth = font ? font->MeasureText("a").x : 0.0f;
    lines.push_back(LinotypeLine("a", Vector2(-2000.0f, 0.0f), 10000.0f, Color(0, 0, 0, 0)));
    lines.push_back(LinotypeLine("a", Vector2(2000.0f - anchorWidth, 0.0f), 10000.0f, Color(0, 0, 0, 0)));

    if (table)
    {
        std::string rank = kind == Kind::Best     ? "Top"
                           : kind == Kind::Latest ? "New"
                                                  : std::to_string(index + 1);
        Place(font, lines, rank, UIPalette[9].ScaleAlpha(empty ? 0.5f : 0.68f),
              Vector2(-282.0f * scale, 0.0f), halfPage);
    }

    const float x[2][3] = {{-188.0f, 10.0f, 232.0f}, {-164.0f, 8.0f, 208.0f}};
    const int set = columnSet == 1 ? 1 : 0;
    std::string texts[3];
    Color colours[3];
    if (!table)
    {
        const char* titles[2][3] = {{"Name", "Score", "Waves"}, {"Kills", "Time Taken", "Date"}};
        for (int c = 0; c < 3; ++c)
        {
            texts[c] = titles[set][c];
            colours[c] = UIPalette[9].ScaleAlpha(0.86f);
        }
    }
    else if (empty)
    {
        const char* dashes[2][3] = {{"---", "--", "---"}, {"---", "--:--:--", "--/--/--"}};
        for (int c = 0; c < 3; ++c)
        {
            texts[c] = dashes[set][c];
            colours[c] = UIPalette[10].ScaleAlpha(0.5f);
        }
    }
    else if (set == 0)
    {
        texts[0] = entry->name;
        texts[1] = FormatWithThousands(entry->stats.score);
        texts[2] = FormatLeaderboardWaves(entry->stats);
        colours[0] = UIPalette[8];
        colours[1] = UIPalette[7];
        colours[2] = UIPalette[8];
    }
    else
    {
        texts[0] = std::to_string(entry->stats.kills);
        texts[1] = FormatTimeTaken(entry->stats.seconds);
        texts[2] = FormatScoreDate(entry->date);
        colours[0] = UIPalette[8];
        colours[1] = UIPalette[7];
        colours[2] = UIPalette[8];
    }
    for (int c = 0; c < 3; ++c)
        Place(font, lines, texts[c], colours[c], Vector2(x[set][c] * scale, 0.0f), halfPage);

    text.reset(
        new UILinotypeElement(lines, Vexel::UI::ElementPosition(Vector2(0.0f, 0.0f), 0), flusher, font));
}

LeaderboardSingleElement::~LeaderboardSingleElement() = default;

void LeaderboardSingleElement::Draw(Vector2 position, float alpha)
{
    if (!text || !(alpha > kMinimumAlpha))
        return;
    const Vector2 size = text->GetSize();
    text->Draw(
        Vexel::Rectangle(position.x + halfWidth - size.x * 0.5f, position.y - size.y * 0.8f, size.x, size.y),
        alpha);
}
