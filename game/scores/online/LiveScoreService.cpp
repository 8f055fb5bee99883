#include "game/scores/online/LiveScoreService.h"

#include "engine/core/DateTime.h"
#include "engine/core/Log.h"
#include "game/scores/HighScores.h"

#include <cstdlib>

const char* const ScoreServerSettings::DefaultUrl = "http://127.0.0.1:12000/";
const char* const ScoreServerSettings::DefaultKey = "cobalt-keep";

namespace
{
const size_t MaxKeyLength = 64;

bool IsUsableKey(std::string const& key)
{
    if (key.empty() || key.size() > MaxKeyLength)
        return false;
    for (char c : key)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}
} // namespace

ScoreServerSettings ScoreServerSettings::Parse(const char* url, const char* key)
{
    ScoreServerSettings settings;
    settings.baseUrl = url != nullptr ? url : DefaultUrl;
    settings.gameKey = key != nullptr ? key : DefaultKey;
    settings.online = IsUsableKey(settings.gameKey);
    if (!settings.online)
        Vexel::Log::Error("scores",
                          "COBALT_KEEP_GAME_KEY must be 1 to 64 printable characters (got %zu bytes); the "
                          "leaderboard stays offline",
                          settings.gameKey.size());
    return settings;
}

ScoreServerSettings const& ScoreServerSettings::Get()
{
    static const ScoreServerSettings settings = []
    {
        ScoreServerSettings read = Parse(getenv("COBALT_KEEP_SCORE_SERVER"), getenv("COBALT_KEEP_GAME_KEY"));
        // The leaderboard reports a malformed URL itself and then fails every
        // request at once.
        if (!Vexel::Services::Leaderboard::SetServerUrl(read.baseUrl))
            read.online = false;
        return read;
    }();
    return settings;
}

LeaderboardScoreService::ResponseTask* LeaderboardScoreService::Submit(int32_t boardId,
                                                                       ScoreSubmission const& s)
{
    return board.Submit(boardId, "uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32",
                        &s.deviceId, int(s.platformId), int(s.modeId), &s.name, s.inverseScore, s.score,
                        int(s.lastWaveIndex), int(s.extraWaves), int(s.seconds), int(s.kills));
}

LeaderboardScoreService::ResponseTask* LeaderboardScoreService::QueryTopList(int32_t boardId, int16_t modeId)
{
    return board.Query(boardId, HighScores::RowSchema, "int16", int(modeId));
}

LeaderboardScoreService::ResponseTask* LeaderboardScoreService::QueryOwnScores(int32_t boardId,
                                                                               uint256 const& deviceId,
                                                                               int16_t platformId,
                                                                               int16_t modeId)
{
    return board.Query(boardId, HighScores::RowSchema, "uint256 int16 int16", &deviceId, int(platformId),
                       int(modeId));
}

LiveScoreTableHost& LiveScoreTableHost::Instance()
{
    static LiveScoreTableHost host;
    return host;
}

double LiveScoreTableHost::Now()
{
    return Vexel::DateTime::Now();
}

IScoreService* LiveScoreTableHost::CreateService()
{
    ScoreServerSettings const& settings = ScoreServerSettings::Get();
    if (!settings.gameKey.empty() && settings.online)
        return new LeaderboardScoreService(settings.gameKey);
    return nullptr;
}
