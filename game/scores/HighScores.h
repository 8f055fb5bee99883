// The score tables of the game: one per Gauntlet stage (and the full
// Gauntlet), one per designed level, one for both endless modes. Each keeps
// the player's best, the latest result, the entry last offered to the online
// leaderboard and a copy of the global top list, in its own file, and keeps
// them in step with the score server while something shows it (Update).
//
// Main thread only.
#pragma once

#include "engine/core/Event.h"

#include <cstdint>
#include <string>

class IScoreTableHost;

namespace HighScores
{

// The result of one game. In files: 24 bytes (score at 0, kills at 8,
// lastWaveIndex at 12, extraWaves at 16, three zero bytes, seconds at 20).
struct ScoreStats
{
    int64_t score = 0;
    int32_t kills = 0;
    int32_t lastWaveIndex = 0; // the size of the game's wave list minus one
    uint8_t extraWaves = 0;    // waves beyond the list, 0..255
    int32_t seconds = 0;
};

struct ScoreEntry
{
    ScoreStats stats;
    double date = 0.0; // seconds since 1970
    std::string name = "---";

    // Same score and same name; the date and the other stats do not count.
    bool operator==(ScoreEntry const& other) const
    {
        return stats.score == other.stats.score && name == other.name;
    }
    bool operator!=(ScoreEntry const& other) const { return !(*this == other); }
};

// A higher score wins; on equal scores the earlier entry does.
bool IsBetter(ScoreEntry const& a, ScoreEntry const& b);

struct GlobalScoreState
{
    enum Enum
    {
        Idle = 0,
        Fetching = 1,   // a top-list or own-scores query is pending
        Submitting = 2, // a submission is pending
        Failed = 3      // the last request failed and nothing is pending
    };
};

class ITopScore
{
public:
    using StateEvent = Vexel::Event<ITopScore*, GlobalScoreState::Enum>;

    // A score of 0 is ignored.
    virtual void AddScore(ScoreStats stats, std::string const& name) = 0;
    virtual ScoreEntry const& GetBest() = 0;
    virtual ScoreEntry const& GetLatest() = 0;
    // The first entry of the global list, or an entry named "---".
    virtual ScoreEntry const& GetGlobalLeader() = 0;
    // Entry n of the global list (best first), or an entry named "---".
    virtual ScoreEntry const& GetGlobalEntry(int n) = 0;
    virtual int GetGlobalCount() = 0;
    virtual GlobalScoreState::Enum GetState() = 0;
    virtual StateEvent& StateChanged() = 0;
    // The polling: called every frame by what shows the table.
    virtual void Update() = 0;

    virtual ~ITopScore() {}
};

// Score-table mode ids.
const int16_t LevelModeBase = 1000;  // + designed level 0..63
const int16_t StageModeBase = 2000;  // + stage 0..8 (8: the full Gauntlet)
const int16_t InfiniteModeId = 3000; // both endless modes

// Made on first request; deleted at Shutdown. Null out of range.
// The host (clock and leaderboard service) of the tables made from now on.
// Until the game sets the live one (game/scores/online), tables have no
// leaderboard; null goes back to that.
void SetTableHost(IScoreTableHost* host);
ITopScore* GetInfiniteScores();
ITopScore* GetLevelScores(int level);
ITopScore* GetStageScores(int stage);

// A row of the top-list and own-scores replies, decoded with RowSchema, as an
// entry (a missing name reads as "", a date that is not a number as 0).
extern const char* const RowSchema; // "int64 datetime string:3 int32 int32 int32 byte skip:7"
ScoreEntry ScoreEntryFromRow(const uint8_t* row);

} // namespace HighScores
