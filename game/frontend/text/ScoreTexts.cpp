#include "game/frontend/text/ScoreTexts.h"

#include "engine/core/DateTime.h"
#include "engine/ui/UIHelper.h"

namespace
{

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

std::string FormatTimeTaken(int32_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    const int32_t hours = seconds / 3600;
    const int32_t minutes = seconds / 60 % 60;
    return std::to_string(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(seconds % 60);
}

std::string FormatScoreDate(double seconds)
{
    const Vexel::DateParts parts = Vexel::DateTime::ToLocalParts(seconds);
    return std::to_string(parts.day) + "/" + TwoDigits(parts.month) + "/" + std::to_string(parts.year);
}

std::string FormatLeaderboardWaves(HighScores::ScoreStats const& stats)
{
    std::string text = std::to_string(stats.lastWaveIndex);
    if (stats.extraWaves != 0)
        text += " +" + std::to_string(stats.extraWaves);
    return text;
}

std::string FormatScoreText(int64_t score)
{
    if (score <= 0)
        return "not set...";
    return FormatWithThousands(score);
}

std::string FormatGameDetails(HighScores::ScoreStats const& stats)
{
    if (stats.score <= 0)
        return std::string();
    std::string text;
    if (stats.lastWaveIndex > 0)
    {
        text = std::to_string(stats.lastWaveIndex);
        if (stats.extraWaves > 0)
            text += " +" + std::to_string(stats.extraWaves);
        text += stats.lastWaveIndex == 1 ? " Wave  " : " Waves  ";
    }
    return text + std::to_string(stats.kills) + (stats.kills == 1 ? " kill" : " kills");
}
