// The page table: everything that makes one menu page, in one row. ShowPage
// sets the working values from the page's row (title, play-screen alpha, the
// three bottom buttons) and then runs its content builder, which adds the
// elements and rows and may change the working values. A new page is a new
// row and a new builder.
#pragma once

#include "game/frontend/Page.h"

#include <cstdint>

class MainScreen;
struct PageBuild;

// The persistent buttons a page shows at its foot.
struct BottomButton
{
    enum Enum
    {
        None,
        Back,
        LowerBack,
        Options,
        Tutorial,
        MoreGames,
        Controls,
        Surrender,
        SubmitScore,
        ResultsNext
    };
};

// Adds a page's content to the build (PageBuild in MainScreen.h).
typedef void (*PageBuilder)(MainScreen& screen, PageBuild& build);

struct PageTableEntry
{
    int32_t titleKind;     // 0..2 a title-bar style, 4 no title bar
    const char* title;     // null without a title bar
    float playScreenAlpha; // how much of the game shows through
    BottomButton::Enum left, centre, right;
    PageBuilder build; // null: the page holds nothing
};

// Indexed by page.
extern const PageTableEntry PageTable[Page::Count];
