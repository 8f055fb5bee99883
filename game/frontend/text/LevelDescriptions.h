// The catalogue the level and stage pages describe a game with before it
// starts: per designed level and per Gauntlet stage a difficulty, the number
// of waves in words, the expected length and a one-line description; per
// designed level a longer hint for the "Strategy Tips" page. All constant.
#pragma once

#include <cstdint>
#include <string>

struct LevelDescription
{
    int32_t difficulty;      // 1..9
    const char* waves;       // in words: "One", "Eight", ...
    const char* duration;    // "15 seconds", "1.5 minutes", ...
    const char* description; // one line
};

const int kLevelDescriptionCount = 64;
const int kGauntletDescriptionCount = 9;

// Indexed by designed level 0..63.
extern const LevelDescription LevelDescriptions[kLevelDescriptionCount];
// Indexed by Gauntlet stage: 0..7 the eight-wave stages, 8 the full
// 64-wave Gauntlet. Read directly; callers pass a stage they chose.
extern const LevelDescription GauntletDescriptions[kGauntletDescriptionCount];

// The row of the level, or a fallback record ("Unknown Time", "Unknown
// Description", difficulty 1) for any level outside 0..63. Never null.
LevelDescription const* GetLevelDescription(int level);

// The level's hint: one to three paragraphs separated by an empty line.
// "Unknown Level" for any level outside 0..63. The texts are built together
// on the first call and the reference stays valid until the program exits.
std::string const& GetLevelHint(int level);
