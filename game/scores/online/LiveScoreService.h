// The live side of the score tables: the wall clock and the online
// leaderboard, configured once from the environment:
//   COBALT_KEEP_SCORE_SERVER  the score server's base URL
//                             (default "http://127.0.0.1:12000/")
//   COBALT_KEEP_GAME_KEY      the game key sent with every request
//                             (default "cobalt-keep", 1 to 64 printable
//                             characters)
// A malformed value is reported once and leaves the leaderboard offline:
// every request fails at once and the tables show their failed state, while
// the game plays on.
#pragma once

#include "engine/services/Leaderboard.h"
#include "game/scores/IScoreService.h"

#include <string>

struct ScoreServerSettings
{
    static const char* const DefaultUrl; // "http://127.0.0.1:12000/"
    static const char* const DefaultKey; // "cobalt-keep"

    std::string baseUrl;
    std::string gameKey;
    bool online = false;

    // Null values take the defaults. Reports a malformed game key; the URL is
    // checked when it is handed to the leaderboard.
    static ScoreServerSettings Parse(const char* url, const char* key);
    // Read from the environment on the first call, handed to the leaderboard,
    // and kept for the rest of the run. Call it at start-up.
    static ScoreServerSettings const& Get();
};

// Requests through Vexel::Services::Leaderboard.
class LeaderboardScoreService : public IScoreService
{
public:
    explicit LeaderboardScoreService(std::string const& gameKey) : board(gameKey) {}

    ResponseTask* Submit(int32_t boardId, ScoreSubmission const& submission) override;
    ResponseTask* QueryTopList(int32_t boardId, int16_t modeId) override;
    ResponseTask* QueryOwnScores(int32_t boardId, uint256 const& deviceId, int16_t platformId,
                                 int16_t modeId) override;

private:
    Vexel::Services::Leaderboard board;
};

class LiveScoreTableHost : public IScoreTableHost
{
public:
    static LiveScoreTableHost& Instance();

    double Now() override;
    // Null while the settings leave the leaderboard offline.
    IScoreService* CreateService() override;
};
