// Stand-in until the score tables land: the result record a finished game
// hands over, and table lookups that find no table (null).
#pragma once

#include <cstdint>

namespace HighScores
{

struct ScoreStats
{
    int64_t score;
    int32_t kills;
    int32_t lastWaveIndex;
    uint8_t extraWaves;
    int32_t seconds;
};

struct ScoreEntry;

struct GlobalScoreState
{
    enum Enum
    {
        Idle,
        Fetching,
        Submitting,
        Failed
    };
};

class ITopScore;

// The endless modes' table, a designed level's (0..63) and a stage's (0..7,
// 8 the full gauntlet).
ITopScore* GetInfiniteScores();
ITopScore* GetLevelScores(int level);
ITopScore* GetStageScores(int stage);

} // namespace HighScores
