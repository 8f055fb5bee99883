#include "game/frontend/pages/PageRules.h"

const char* ResultsHeading(int awardCount)
{
    switch (awardCount)
    {
    case 3:
        return "Three awards!";
    case 2:
        return "Two awards!";
    case 1:
        return "One award!";
    default:
        return "No awards...";
    }
}

float AwardThresholdFontFactor(int32_t value)
{
    if (value < 1000)
        return 38.0f;
    if (value < 10000)
        return 33.5f;
    return 28.0f;
}

BadgeLook ProgressBadgeLook(int earned, int total)
{
    if (earned >= total)
        return {77, false, Color(255, 255, 255, 255)};
    if (total - earned < total)
        return {76, true, Color(127, 212, 255, 255)};
    return {79, true, Color(255, 127, 127, 255)};
}

Color AwardStarColour(bool earned)
{
    return earned ? Color(255, 255, 255, 255) : Color(255, 255, 255, 96);
}

Color AwardThresholdColour(bool achieved)
{
    return Color(255, 127, 127, 255).ScaleAlpha(achieved ? 0.8f : 0.625f);
}
