// The modes a game runs in. The numbers are stored in saved games and name
// the score tables: they never change.
#pragma once

struct GameMode
{
    enum Enum
    {
        None = 0,          // no game: enemies drift in behind the menus
        Classic = 1,       // endless from wave 1
        Quickstart = 2,    // endless from a chosen wave
        Level = 3,         // one designed level
        Practice = 4,      // a designed level without score
        GauntletStage = 5, // the eight waves of one stage
        FullGauntlet = 6,  // all 64 waves
        Tutorial = 7,
        Last = Tutorial
    };

    // A designed level, its practice, a gauntlet stage and the full gauntlet
    // start at a designed level; the others have none.
    static bool StartsAtLevel(int mode) { return mode >= Level && mode <= FullGauntlet; }
};
