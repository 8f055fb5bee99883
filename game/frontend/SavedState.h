// The reader of "state.sav": the page stack, the menu choices, the last
// game's result and awards, the play screen's game and the music state.
// The whole file is checked before anything of it is used: the stack depth
// (1..64), every page (0..43), the chosen level (0..63) and stage (0..8),
// the award flags, the result, the embedded game (by the Simulation's own
// checks) and the music fields, and nothing may follow them.
#pragma once

#include "game/frontend/MainScreen.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SavedState
{
    std::vector<int32_t> pages; // bottom entry first
    int32_t currentPage = 0;
    int32_t chosenLevel = 0;
    int32_t chosenStage = 0;
    AwardFlags awards;
    HighScores::ScoreStats stats;
    // Where the play screen's game and the music state lie in the file.
    size_t gameOffset = 0;
    size_t gameSize = 0;
    size_t musicOffset = 0;
};

struct SavedStateRead
{
    enum Enum
    {
        NotResumable = 0, // nothing to restore (a 5-byte file)
        Resumable = 1,    // out holds what to restore
        Refused = 2,      // damaged or foreign: error says why
    };
};

namespace SavedStateFormat
{
const int32_t Version = 3;
const int MaxDepth = 64;
const size_t MusicSize = 22;
const size_t StatsSize = 24;
} // namespace SavedStateFormat

// Checks the file's bytes. The embedded game is tried on a scratch
// Simulation; what it reports of a refused game becomes part of error
// instead of a line of its own.
SavedStateRead::Enum ReadSavedState(uint8_t const* data, size_t size, SavedState& out, std::string& error);

// Whether a stack holding this page is worth restoring: a game, its results
// or the name entry (and, as the format has always had it, the Horde stage
// and the information page).
bool IsResumablePage(int page);
