// The blocks that show awards: the results block of the name-entry page
// (how many awards the finished game earned, one star per kind) and the
// description block that heads the level and stage pages (picture, waves,
// duration, difficulty pips, description and the three award stars).
#include "game/frontend/MainScreen.h"

#include "engine/graphics/type/IFont.h"
#include "engine/ui/UIHelper.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/text/LevelDescriptions.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/pages/PageRules.h"
#include "game/frontend/elements/ScaleElement.h"
#include "game/play/GameScreen.h"
#include "game/scores/Awards.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UITextureButton.h"

#include <algorithm>
#include <string>

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

typedef Vexel::Action<Element*, Vector2 const&> PressHandler;

const int kKillStarTile = 81;
const int kNoCannonStarTile = 82;
const int kNoLossStarTile = 83;
const int kStarSizeTile = 76;
const int kPipTile = 84;
const int kBackdropTile = 68;

// The smallest font (design pixels) the description rows step down to.
const float kSmallestDescriptionFont = 24.0f;

const Color kWhite(255, 255, 255, 255);
const Color kHeadingColour(127, 212, 255, 255);

// Page colours by title kind (the description blocks take the page's).
const Color kPageColours[3] = {Color(255, 127, 127, 255), Color(127, 255, 212, 255),
                               Color(127, 212, 255, 255)};

Vector2 TileSize(int id)
{
    TileInfo const* tile = MenuTile(id);
    return tile ? tile->size : Vector2(0.0f, 0.0f);
}

} // namespace

void MainScreen::AddAwardThreshold(Element* killStar, Award* award, float scale)
{
    if (!killStar || !award)
        return;
    const float cs = metrics.contentScale;
    const Color colour = AwardThresholdColour(award->IsAchieved());
    std::vector<LinotypeLine> lines;
    lines.push_back(LinotypeLine(std::to_string(award->GetValue()), Vector2(0.0f, 0.0f), 1000.0f, colour));
    killStar->AddChild(
        new UILinotypeElement(lines, ElementPosition(Vector2(0.0f, 0.0f), 0), this,
                              GetFont(cs * AwardThresholdFontFactor(award->GetValue()) * scale)));
}

Element* MainScreen::MakeResultsAwardsBlock()
{
    Award* award = gameScreen ? gameScreen->GetSimulation().GetAward() : nullptr;
    if (!award)
        return nullptr;
    const float cs = metrics.contentScale;
    const bool hasKill = award->GetValue() >= 1;

    ScaleElement* block = new ScaleElement(
        ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), GetSize(), 1.0f, true), this, false, false);

    std::vector<LinotypeLine> lines;
    lines.push_back(
        LinotypeLine(ResultsHeading(lastGameAwards.Count()), Vector2(0.0f, 0.0f), 1000.0f, kHeadingColour));
    UILinotypeElement* heading = new UILinotypeElement(lines, ElementPosition(Vector2(0.0f, -320.0f * cs), 0),
                                                       this, GetFont(75.0f * cs));
    UITextureButton* backdrop =
        new UITextureButton(ElementLayout(heading->GetLayout().position, heading->GetSize(), 1.0f, true),
                            MenuTile(kBackdropTile), heading->GetSize() * Vector2(1.16f, 1.35f), 1,
                            &firstBatch, &secondBatch, false, Color(0, 0, 0, 63), false);
    block->AddChild(backdrop);
    block->AddChild(heading);

    const Vector2 starSize = TileSize(kStarSizeTile) * (cs * 1.5f);
    const float y = -210.0f * cs;
    auto star = [&](int tile, float x, bool earned)
    {
        UITextureButton* button = new UITextureButton(
            ElementLayout(ElementPosition(Vector2(x, y), 0), starSize, 1.0f, true), MenuTile(tile), starSize,
            1, &firstBatch, &secondBatch, true, AwardStarColour(earned), true);
        button->Clicked.Subscribe(PressHandler(this, &MainScreen::OnShowPage<Page::Achievements>));
        AttachMenuBeep(button, 0);
        block->AddChild(button);
        return button;
    };
    UITextureButton* killStar = nullptr;
    if (hasKill)
    {
        killStar = star(kKillStarTile, -starSize.x, lastGameAwards.flags[0] != 0);
        star(kNoCannonStarTile, 0.0f, lastGameAwards.flags[1] != 0);
        star(kNoLossStarTile, starSize.x, lastGameAwards.flags[2] != 0);
    }
    else
    {
        star(kNoCannonStarTile, -starSize.x / 2.0f, lastGameAwards.flags[1] != 0);
        star(kNoLossStarTile, starSize.x / 2.0f, lastGameAwards.flags[2] != 0);
    }
    AddAwardThreshold(killStar, award, 1.5f);
    return block;
}

Element* MainScreen::MakeDescriptionBlock(Award* award, LevelDescription const* description,
                                          TileInfo const* picture, PressHandler pictureHandler,
                                          int colourIndex)
{
    const float cs = metrics.contentScale;
    const bool hasKill = award && award->GetValue() >= 1;
    const Vector2 blockSize = Vector2(600.0f, 250.0f) * cs;
    const ElementLayout blockLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), blockSize, 1.0f, true);

    ScaleElement* block = new ScaleElement(blockLayout, this, false, false);
    Element* panel = new Element(blockLayout, Vexel::UI::TouchMode::Take);
    block->AddChild(panel);

    // The award stars down the left edge.
    const Vector2 starSize = TileSize(kStarSizeTile) * cs;
    auto star = [&](int tile, float y, bool earned)
    {
        UITextureButton* button = new UITextureButton(
            ElementLayout(ElementPosition(Vector2(0.0f, y), Vexel::UI::Alignment::Left), starSize, 1.0f,
                          true),
            MenuTile(tile), starSize, 1, &firstBatch, &secondBatch, true, AwardStarColour(earned), false);
        button->Clicked.Subscribe(PressHandler(this, &MainScreen::OnShowPage<Page::Achievements>));
        AttachMenuBeep(button, 0);
        panel->AddChild(button);
        return button;
    };
    UITextureButton* killStar = nullptr;
    const bool flag1 = award && award->GetFlag1();
    const bool flag2 = award && award->GetFlag2();
    if (hasKill)
    {
        killStar = star(kKillStarTile, -starSize.y, award->IsAchieved());
        star(kNoCannonStarTile, 0.0f, flag1);
        star(kNoLossStarTile, starSize.y, flag2);
    }
    else
    {
        star(kNoCannonStarTile, -starSize.y / 2.0f, flag1);
        star(kNoLossStarTile, starSize.y / 2.0f, flag2);
    }
    AddAwardThreshold(killStar, award, 1.0f);

    // The picture beside them.
    const Vector2 pictureSize = Vector2(168.0f, 240.0f) * cs;
    const Vector2 picturePosition(105.0f * cs, 0.0f);
    UITextureButton* pictureButton = new UITextureButton(
        ElementLayout(ElementPosition(picturePosition, Vexel::UI::Alignment::Left), pictureSize, 1.0f, true),
        picture, pictureSize, 2, &firstBatch, &secondBatch, false, kWhite, true);
    if (pictureHandler.IsBound())
        pictureButton->Clicked.Subscribe(pictureHandler);
    panel->AddChild(pictureButton);

    // The text right of the picture.
    const float gap = 20.0f * cs;
    const float textX = picturePosition.x + pictureSize.x + gap;
    const Vector2 textArea = blockSize - Vector2(textX + gap, 0.0f);

    const Color4f page(kPageColours[colourIndex >= 0 && colourIndex < 3 ? colourIndex : 0]);
    const Color label(page * 0.9f + Color4f(0.0f, 0.0f, 0.0f, 1.0f) * 0.1f);
    const Color value(page * 0.75f + Color4f(1.0f, 1.0f, 1.0f, 1.0f) * 0.25f);

    static const LevelDescription kEmpty = {0, "", "", ""};
    LevelDescription const& row = description ? *description : kEmpty;
    const float w = textArea.x;
    // The values stand in a column after the labels: 133 design pixels in,
    // further when the face sets the labels wider than that. A face too wide
    // for the panel steps the font down until the rows fit beside the
    // picture.
    const Vector2 pipSize = TileSize(kPipTile) * cs;
    const float pipsWidth =
        row.difficulty <= 0 ? 0.0f
                            : (row.difficulty < 6 ? pipSize.x * float(row.difficulty)
                                                  : pipSize.x * (0.5f * float(row.difficulty - 1) + 1.0f));
    float fontSize = 34.0f * cs;
    Vexel::Graphics::Type::IFont* font = GetFont(fontSize);
    float valueX = 133.0f * cs;
    for (int attempt = 0; attempt < 8 && font; ++attempt)
    {
        valueX = 133.0f * cs;
        for (const char* name : {"Waves:", "Duration:", "Difficulty:"})
            valueX = std::max(valueX, font->Measure(name).x + 12.0f * cs);
        float need = valueX + pipsWidth;
        for (const char* value : {row.waves, row.duration})
            if (value)
                need = std::max(need, valueX + font->Measure(value).x);
        if (need <= w || fontSize <= kSmallestDescriptionFont * cs)
            break;
        fontSize = std::max(fontSize * std::max(0.8f, w / need), kSmallestDescriptionFont * cs);
        font = GetFont(fontSize);
    }
    std::vector<LinotypeLine> lines;
    lines.push_back(LinotypeLine("Waves:", Vector2(0.0f, 0.0f), w, label));
    lines.push_back(LinotypeLine(row.waves ? row.waves : "", Vector2(valueX, 0.0f), w, value));
    lines.push_back(LinotypeLine("Duration:", Vector2(0.0f, 35.0f * cs), w, label));
    lines.push_back(LinotypeLine(row.duration ? row.duration : "", Vector2(valueX, 35.0f * cs), w, value));
    lines.push_back(LinotypeLine("Difficulty:", Vector2(0.0f, 70.0f * cs), w, label));
    lines.push_back(
        LinotypeLine(row.description ? row.description : "", Vector2(0.0f, 35.0f * cs * 3.8f), w, label));

    Element* textPanel =
        new Element(ElementLayout(ElementPosition(Vector2(textX, 0.0f), Vexel::UI::Alignment::TopLeft),
                                  textArea, 1.0f, true),
                    Vexel::UI::TouchMode::Ignore);
    panel->AddChild(textPanel);
    UILinotypeElement* text = new UILinotypeElement(
        lines, ElementPosition(Vector2(0.0f, 0.0f), Vexel::UI::Alignment::Left), this, font);
    UITextureButton* backdrop =
        new UITextureButton(ElementLayout(text->GetLayout().position, text->GetSize(), 1.0f, true),
                            MenuTile(kBackdropTile), text->GetSize() + Vector2(80.0f, 48.0f) * cs, 1,
                            &firstBatch, &secondBatch, false, Color(0, 0, 0, 143), false);
    textPanel->AddChild(backdrop);
    textPanel->AddChild(text);

    // Difficulty pips after "Difficulty:"; from 6 on, two half-offset rows.
    for (int i = 0; i < row.difficulty; ++i)
    {
        Vector2 at;
        if (row.difficulty < 6)
            at = Vector2(pipSize.x * float(i) + valueX, 70.0f * cs);
        else
            at =
                Vector2(pipSize.x * 0.5f * float(i) + valueX, 70.0f * cs + pipSize.y * 0.866f * float(i % 2));
        text->AddChild(new UITextureButton(
            ElementLayout(ElementPosition(at, Vexel::UI::Alignment::TopLeft), pipSize, 1.0f, true),
            MenuTile(kPipTile), pipSize, 2, &firstBatch, &secondBatch, false, value, false));
    }
    return block;
}

Element* MainScreen::MakeStageDescriptionBlock(int stage, int colourIndex)
{
    // 8 and above: the full Gauntlet.
    const int row = stage < 0 ? 0 : (stage > 8 ? 8 : stage);
    return MakeDescriptionBlock(AllAwards::GetGroupAward(row), &GauntletDescriptions[row], GauntletTile(row),
                                PressHandler(this, &MainScreen::OnNothing), colourIndex);
}

Element* MainScreen::MakeLevelDescriptionBlock(int level, int colourIndex)
{
    return MakeDescriptionBlock(AllAwards::GetAward(level), GetLevelDescription(level), LevelTile(level),
                                PressHandler(this, &MainScreen::OnNothing), colourIndex);
}
