// The buttons of the mode, stage and level pages: the big mode buttons of
// the title page, the grid buttons with their progress badges, the action
// row at the foot of a page and the frame that stacks a page's block over
// its top-scores list.
#include "game/frontend/MainScreen.h"

#include "engine/ui/UIHelper.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/pages/PageRules.h"
#include "game/frontend/elements/TopScoresElement.h"
#include "game/scores/Awards.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UITextureButton.h"

#include <string>

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

typedef Vexel::Action<Element*, Vector2 const&> PressHandler;

const Color kWhite(255, 255, 255, 255);

// The tilt of the title page's big buttons: the grid looks hand-placed.
const float kBigButtonTilt = 0.045f;

// The tiles of the action row, in the order BindButtonByTile tries them.
struct TileBinding
{
    int tile;
    void (MainScreen::*handler)(Element*, Vector2 const&);
};
const TileBinding kTileBindings[] = {
    {156, &MainScreen::OnBack},
    {161, &MainScreen::OnPlay},
    {158, &MainScreen::OnLeaderboard},
    {160, &MainScreen::OnOptions},
    {167, &MainScreen::OnPlayLevel},
    {162, &MainScreen::OnPracticeLevel},
    {164, &MainScreen::OnEndlessFromLevel},
    {165, &MainScreen::OnStrategyTips},
    {166, &MainScreen::OnTutorial},
};
const int kBackTile = 156;

bool HasAward(Award const* award)
{
    return award && award->GetValue() >= 1;
}

void Subscribe(Element* button, PressHandler const& handler)
{
    if (handler.IsBound())
        button->Clicked.Subscribe(handler);
}

} // namespace

UITextureButton* MainScreen::MakeBigButton(Vector2 slot, TileInfo const* tile, PressHandler handler)
{
    MenuMetrics const& m = metrics;
    const Vector2 p = (slot * 0.5f).Rotate(kBigButtonTilt);
    const Vector2 position = p * m.bigButtonCell + m.buttonShift + Vector2(0.0f, -21.0f * m.contentScale);
    UITextureButton* button =
        new UITextureButton(ElementLayout(ElementPosition(position, 0), m.bigButtonCell, 1.0f, true), tile,
                            m.bigButtonSize, 1, &firstBatch, &secondBatch, true, kWhite, true);
    Subscribe(button, handler);
    AttachMenuBeep(button, 0);
    return button;
}

UITextureButton* MainScreen::MakeGridButton(Vector2 cell, TileInfo const* tile, PressHandler handler)
{
    MenuMetrics const& m = metrics;
    const Vector2 position = cell * m.gridButtonCell + m.buttonShift;
    UITextureButton* button =
        new UITextureButton(ElementLayout(ElementPosition(position, 0), m.gridButtonCell, 1.0f, true), tile,
                            m.gridButtonSize, 2, &firstBatch, &secondBatch, true, kWhite, true);
    Subscribe(button, handler);
    AttachMenuBeep(button, 0);
    return button;
}

Element* MainScreen::MakeProgressBadge(Element* button, int earned, int total)
{
    const float cs = metrics.contentScale;
    const int remaining = total - earned;
    const Vector2 size(52.0f * cs, 52.0f * cs);
    const Vector2 position =
        button->GetLayout().position.positionPortrait + button->GetSize() * Vector2(0.4f, -0.4f);

    const BadgeLook look = ProgressBadgeLook(earned, total);
    UITextureButton* badge =
        new UITextureButton(ElementLayout(ElementPosition(position, 0), size, 1.0f, true),
                            MenuTile(look.tile), size, 1, &firstBatch, &secondBatch, false, kWhite, false);
    if (look.showNumber)
    {
        std::vector<LinotypeLine> lines;
        lines.push_back(
            LinotypeLine(std::to_string(remaining), Vector2(0.0f, 0.0f), 100000.0f, look.numberColour));
        badge->AddChild(new UILinotypeElement(lines, ElementPosition(Vector2(0.0f, 0.0f), 0), this,
                                              GetFont((remaining < 10 ? 45.0f : 32.0f) * cs)));
    }
    return badge;
}

void MainScreen::BindButtonByTile(UITextureButton* button)
{
    TileInfo const* tile = button->GetTile();
    const int id = tile ? int(tile->id) : -1;
    for (TileBinding const& binding : kTileBindings)
    {
        if (binding.tile == id)
        {
            button->Clicked.Subscribe(PressHandler(this, binding.handler));
            break;
        }
    }
    AttachMenuBeep(button, id == kBackTile ? 1 : 0);
}

float MainScreen::MakeActionRow(std::vector<Element*>& out, Award* award)
{
    MenuMetrics const& m = metrics;
    const float H = GetSize().y;
    const float bh = m.buttonCell.y;
    const size_t start = out.size();
    float y1 = H / 2.0f - 2.5f * bh;
    const float y2 = H / 2.0f - 1.5f * bh;
    float y3 = H / 2.0f - bh;
    bool hasAward = HasAward(award);

    auto make = [&](int tile)
    {
        UITextureButton* button = new UITextureButton(
            ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), Vexel::UI::Alignment::TopLeft), m.buttonCell,
                          1.0f, true),
            MenuTile(tile), m.buttonSize, 1, &firstBatch, &secondBatch, true, kWhite, false);
        BindButtonByTile(button);
        return button;
    };

    UITextureButton* play = nullptr;
    UITextureButton* endless = nullptr;
    UITextureButton* practice = nullptr;
    UITextureButton* tips = nullptr;
    UITextureButton* leaderboard = nullptr;
    switch (currentPage)
    {
    case Page::Quickstart:
    case Page::Classic:
    case Page::GauntletStage:
        if (currentPage != Page::GauntletStage)
            hasAward = true;
        tips = make(165);
        if (hasAward)
            leaderboard = make(158);
        play = make(161);
        y1 = y2;
        break;
    case Page::SelectedLevel:
        tips = make(165);
        if (hasAward)
            leaderboard = make(158);
        endless = make(164);
        practice = make(162);
        play = new UITextureButton(
            ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), Vexel::UI::Alignment::TopLeft),
                          m.tallButtonCell, 1.0f, true),
            MenuTile(167), m.wideButtonSize, 1, &firstBatch, &secondBatch, true, kWhite, false);
        BindButtonByTile(play);
        y3 -= bh / 2.0f;
        break;
    default:
        break;
    }

    auto place = [&](UITextureButton* button, Vector2 position)
    {
        if (!button)
            return;
        button->SetPosition(ElementPosition(position, 0));
        out.push_back(button);
    };
    const Vector2 left = m.bottomButtonPosition * Vector2(-1.0f, 1.0f);
    const Vector2 right = m.bottomButtonPosition * Vector2(1.0f, 1.0f);
    place(play, Vector2(0.0f, y3));
    place(endless, left + Vector2(0.0f, y2));
    place(practice, right + Vector2(0.0f, y2));
    place(tips, left + Vector2(0.0f, y1));
    place(leaderboard, right + Vector2(0.0f, y1));

    // The row's top: the largest top edge of its buttons, so a content block
    // may reach down between the outer buttons of the lowest row.
    float top = 0.0f;
    for (size_t i = start; i < out.size(); ++i)
    {
        const float edge = out[i]->GetLayout().position.positionPortrait.y - out[i]->GetSize().y / 2.0f;
        if (top <= edge)
            top = edge;
    }
    return H / 2.0f - top;
}

void MainScreen::LayOutPageContent(std::vector<Element*>& out, Element* block, HighScores::ITopScore* scores,
                                   Award* award)
{
    MenuMetrics const& m = metrics;
    const float cs = m.contentScale;
    const float H = GetSize().y;
    const float bh = m.buttonCell.y;
    const bool hasAward = currentPage == Page::Quickstart || currentPage == Page::Classic || HasAward(award);

    const float row = MakeActionRow(out, award);
    const float bottom = (H - bh) - row;
    const float centre = (m.titleBarHeight + bottom) / 2.0f;

    if (scores)
        scores->Update();
    const Vector2 listSize = Vector2(600.0f, hasAward ? 240.0f : 180.0f) * cs;
    TopScoresElement* list =
        new TopScoresElement(this, scores, &firstBatch, listSize, cs, &secondBatch, hasAward);

    const float blockHeight = block ? block->GetSize().y : 0.0f;
    const float listHeight = list->GetSize().y;
    const float gap = 36.0f * cs + listHeight + blockHeight;
    if (block)
    {
        block->SetPosition(
            ElementPosition(Vector2(0.0f, centre - H / 2.0f - gap / 2.0f + blockHeight / 2.0f), 0));
        out.push_back(block);
    }
    list->SetPosition(ElementPosition(Vector2(0.0f, centre - H / 2.0f + gap / 2.0f - listHeight / 2.0f), 0));
    out.push_back(list);
}
