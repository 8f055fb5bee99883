// The frame of every page: how much of the game shows through it and which
// persistent buttons stand at its foot (left, centre, right).
#include "game/frontend/MainScreen.h"

void MainScreen::SetPageFrame(PageBuild& build)
{
    Vexel::UI::Element* const none = nullptr;
    auto frame = [&](float alpha, Vexel::UI::Element* left, Vexel::UI::Element* centre,
                     Vexel::UI::Element* right) {
        build.playScreenAlpha = alpha;
        build.leftButton = left;
        build.centreButton = centre;
        build.rightButton = right;
    };
    const int page = build.page;
    switch (page)
    {
    case 0:
        frame(0.0f, none, none, none);
        break;
    case 1:
        frame(0.9f, tutorialButton, moreGamesButton, optionsButton);
        break;
    case 2:
        frame(1.0f, none, none, none);
        break;
    case 3:
        frame(0.9f, none, none, resultsNextButton);
        break;
    case 4:
        // The lost planet only glimmers behind its results.
        frame(0.166666f, none, none, resultsNextButton);
        break;
    case 5:
        frame(0.45f, none, none, submitScoreButton);
        break;
    case 6:
        frame(0.12f, backButton, none, none);
        break;
    case 7:
        frame(0.12f, lowerBackButton, none, controlsButton);
        break;
    case 22:
        frame(0.0f, lowerBackButton, none, none);
        break;
    case 23:
        // The pause menu of a running game offers the surrender.
        if (build.previousPage == 2)
            frame(0.75f, lowerBackButton, none, surrenderButton);
        else
            frame(0.75f, backButton, none, none);
        break;
    case 24:
        frame(0.0f, backButton, none, none);
        break;
    case 25:
    case 27:
        frame(0.12f, backButton, none, none);
        break;
    case 26:
    case 28:
    case 29:
        frame(0.75f, backButton, none, none);
        break;
    default:
        if (page == 8 || page == 9)
            build.playScreenAlpha = 0.8f;
        else if (page >= 10 && page <= 19)
            build.playScreenAlpha = 0.7f;
        else if (page == 20 || page == 21)
            build.playScreenAlpha = 0.4f;
        else if (page >= 30 && page <= 43)
            frame(0.12f, backButton, none, none);
        // Anything else keeps the defaults.
        break;
    }
}
