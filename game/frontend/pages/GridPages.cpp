// The grids: the Gauntlet's stages and the full Gauntlet, the eight stages
// and the eight levels of one stage, each button with its progress badge.
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/pages/PageBuilders.h"
#include "game/scores/Awards.h"
#include "game/widgets/UITextureButton.h"

using Vexel::UI::Element;

namespace
{
// The cell of button k of an eight-button grid: the third row's two buttons
// stand centred.
Vector2 EightGridCell(int k)
{
    return k < 6 ? Vector2(float(k % 3 - 1), float(k / 3 - 1)) : Vector2(float(k % 3) - 0.5f, 1.0f);
}
} // namespace

void BuildGauntletGrid(MainScreen& screen, PageBuild& build)
{
    std::vector<Element*>& out = build.elements;
    for (int k = 0; k < 9; ++k)
    {
        const int item = GridOrder[k];
        Element* button =
            screen.MakeGridButton(Vector2(float(k % 3 - 1), float(k / 3 - 1)), GauntletTile(item),
                                  MainScreen::GridChoiceHandler(&screen, item));
        out.push_back(button);
        Award* award = AllAwards::GetGroupAward(item);
        out.push_back(screen.MakeProgressBadge(button, award ? award->GetEarnedStars() : 0,
                                               award ? award->GetMaxStars() : 0));
    }
}

void BuildStageGrid(MainScreen& screen, PageBuild& build)
{
    std::vector<Element*>& out = build.elements;
    for (int k = 0; k < 8; ++k)
    {
        const int item = GridOrder[k];
        Element* button = screen.MakeGridButton(EightGridCell(k), GauntletTile(item),
                                                MainScreen::GridChoiceHandler(&screen, item));
        out.push_back(button);
        out.push_back(screen.MakeProgressBadge(button, AllAwards::GetGroupEarnedStars(item),
                                               AllAwards::GetGroupMaxStars(item)));
    }
}

void BuildLevelGrid(MainScreen& screen, PageBuild& build)
{
    std::vector<Element*>& out = build.elements;
    const int stage = build.page - Page::FirstStageLevels;
    for (int k = 0; k < 8; ++k)
    {
        const int level = StageStart[stage] + k;
        Element* button = screen.MakeGridButton(EightGridCell(k), LevelTile(level),
                                                MainScreen::GridChoiceHandler(&screen, k));
        out.push_back(button);
        Award* award = AllAwards::GetAward(level);
        out.push_back(screen.MakeProgressBadge(button, award ? award->GetEarnedStars() : 0,
                                               award ? award->GetMaxStars() : 0));
    }
}
