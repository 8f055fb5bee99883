// The title menu: the four big mode buttons.
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/pages/PageBuilders.h"
#include "game/frontend/pages/PageParts.h"
#include "game/widgets/UITextureButton.h"

void BuildTitlePage(MainScreen& screen, PageBuild& build)
{
    std::vector<Vexel::UI::Element*>& out = build.elements;
    out.push_back(screen.MakeBigButton(Vector2(1.0f, -1.0f), MenuTile(87),
                                       PressHandler(&screen, &MainScreen::OnShowQuickstart)));
    out.push_back(screen.MakeBigButton(Vector2(-1.0f, -1.0f), MenuTile(86),
                                       PressHandler(&screen, &MainScreen::OnShowClassic)));
    out.push_back(screen.MakeBigButton(Vector2(-1.0f, 1.0f), MenuTile(85),
                                       PressHandler(&screen, &MainScreen::OnShowGauntlet)));
    out.push_back(screen.MakeBigButton(Vector2(1.0f, 1.0f), MenuTile(88),
                                       PressHandler(&screen, &MainScreen::OnShowStages)));
}
