// What a score table asks of the leaderboard: the three requests it sends,
// with typed values. The live implementation forwards them to
// Vexel::Services::Leaderboard; tests put a scripted one in its place.
//
// The caller owns each returned task (it gives it up with Release); the rows
// of a response belong to the task and are valid while its completed event
// runs. A null task means the request could not be made at all.
#pragma once

#include "engine/core/WideValues.h"
#include "engine/services/Leaderboard.h"

#include <cstdint>
#include <string>

struct ScoreSubmission
{
    uint256 deviceId;
    int16_t platformId = 0;
    int16_t modeId = 0;
    std::string name;
    int64_t inverseScore = 0; // INT64_MAX - score: the server sorts ascending
    int64_t score = 0;
    int32_t lastWaveIndex = 0;
    uint8_t extraWaves = 0;
    int32_t seconds = 0;
    int32_t kills = 0;
};

class IScoreService
{
public:
    using Response = Vexel::Services::Leaderboard::response_t;
    using ResponseTask = Vexel::Services::Leaderboard::ResponseTask;

    virtual ~IScoreService() {}

    // "uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32"
    virtual ResponseTask* Submit(int32_t board, ScoreSubmission const& submission) = 0;
    // Key "int16": the mode id. Rows by HighScores::RowSchema.
    virtual ResponseTask* QueryTopList(int32_t board, int16_t modeId) = 0;
    // Key "uint256 int16 int16". Rows by HighScores::RowSchema.
    virtual ResponseTask* QueryOwnScores(int32_t board, uint256 const& deviceId, int16_t platformId,
                                         int16_t modeId) = 0;
};

// Where a score table gets the time and its service from.
class IScoreTableHost
{
public:
    virtual ~IScoreTableHost() {}
    // Seconds since 1970.
    virtual double Now() = 0;
    // A new service the table owns, or null when the leaderboard is offline.
    virtual IScoreService* CreateService() = 0;
};
