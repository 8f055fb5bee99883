// The small rules of the page builders that tests check on their own: the
// results heading, the kill-threshold font and the progress badge's look.
#pragma once

#include "engine/core/Color.h"

#include <cstdint>

// "Three awards!", "Two awards!", "One award!", else "No awards...".
const char* ResultsHeading(int awardCount);

// The font factor (times the content scale) of a kill threshold written on
// its star: smaller for longer numbers.
float AwardThresholdFontFactor(int32_t value);

// A progress badge shows the stars still to earn: tile 76 with a blue number
// when some were earned, tile 79 with a red number when none were, and tile
// 77 without a number when all were.
struct BadgeLook
{
    int tile;
    bool showNumber;
    Color numberColour;
};
BadgeLook ProgressBadgeLook(int earned, int total);

// An award star: opaque white when earned, faint when still to earn.
Color AwardStarColour(bool earned);

// The kill threshold written on its star: red, brighter once achieved.
Color AwardThresholdColour(bool achieved);
