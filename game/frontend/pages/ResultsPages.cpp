// After a game: the results picture with its music, and the name entry with
// the awards, the three name drums and the online choice.
#include "game/audio/GameMusic.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/elements/NumberSelectionElement.h"
#include "game/frontend/pages/PageBuilders.h"
#include "game/frontend/pages/PageParts.h"
#include "game/scores/GamePrefs.h"
#include "game/simulation/GameMode.h"
#include "game/play/GameScreen.h"
#include "game/widgets/UITextureButton.h"

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{
const char* const kSubmitOnline = "Submit Score Online!";
const char* const kDontSubmit = "Don't Submit Online...";
} // namespace

void BuildResultsPage(MainScreen& screen, PageBuild& build)
{
    MenuMetrics const& m = screen.GetMetrics();
    const float cs = m.contentScale;
    const bool lost = build.page == Page::ResultsLost;
    build.elements.push_back(new UITextureButton(
        ElementLayout(ElementPosition(Vector2(0.0f, -250.0f * cs), 0), m.descriptionSize, 1.0f, true),
        MenuTile(lost ? 74 : 75), m.descriptionSize, 2, screen.GetFirstBatch(), screen.GetSecondBatch(),
        false, PageColours::White, false));
    if (lost)
        GameMusic::Play(0, true, 0.4f, 0.2f);
    else
    {
        GameScreen* game = screen.GetGameScreen();
        const int mode = game ? game->GetSimulation().GetMode() : GameMode::None;
        if (mode == GameMode::Level || mode == GameMode::Practice)
            GameMusic::Play(0, true, 15.0f, 2.0f);
        else
            GameMusic::Play(3, true, 0.22f, 0.0f);
    }
}

void BuildNameEntryPage(MainScreen& screen, PageBuild& build)
{
    const float cs = screen.GetMetrics().contentScale;
    std::vector<Element*>& out = build.elements;
    Element* awards = screen.MakeResultsAwardsBlock();
    if (awards)
        out.push_back(awards);
    const float drumHeight = awards ? 390.0f : 440.0f;
    const float checkDistance = awards ? 260.0f : 300.0f;
    const float y = awards ? 70.0f * cs : -35.0f * cs;
    const Vector2 drumSize = Vector2(160.0f, drumHeight) * cs;
    const Vector2 separatorSize = Vector2(10.0f, 320.0f) * cs;
    for (int i = 0; i < 3; ++i)
        out.push_back(new NumberSelectionElement(
            ElementLayout(ElementPosition(Vector2(drumSize.x * float(i - 1), y), 0), drumSize, 1.0f, true), i,
            screen.GetFlusher(), screen.GetFirstBatch()));
    const float separators[4] = {-1.5f, -0.5f, 0.5f, 1.5f};
    for (float k : separators)
        out.push_back(new UITextureButton(
            ElementLayout(ElementPosition(Vector2(k * drumSize.x, y), 0), separatorSize, 1.0f, true),
            MenuTile(0), separatorSize, 2, screen.GetFirstBatch(), screen.GetSecondBatch(), false,
            Color(255, 255, 255, 175), false));
    AddCheckButton(screen, build, Vector2(0.0f, checkDistance * cs + y), Vector2(1.4f, 1.0f),
                   Vector2(1.4f, 0.8f), kSubmitOnline, kDontSubmit, GamePrefs::GetSubmitOnline(),
                   &MainScreen::OnSubmitOnlineToggled);
}
