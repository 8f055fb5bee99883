#include "game/scores/HighScores.h"
#include "game/scores/online/LiveScoreService.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

TEST(ScoreServerSettings, DefaultsAndGameKeys)
{
    struct Case
    {
        const char* url;
        const char* key;
        bool online;
        const char* expectedUrl;
        const char* expectedKey;
    } cases[] = {
        {nullptr, nullptr, true, "http://127.0.0.1:12000/", "cobalt-keep"},
        {"http://scores.example:8080/", "abc", true, "http://scores.example:8080/", "abc"},
        {nullptr, "", false, "http://127.0.0.1:12000/", ""},
        {nullptr, "tab\there", false, "http://127.0.0.1:12000/", "tab\there"},
        {nullptr, "0123456789012345678901234567890123456789012345678901234567890123", true,
         "http://127.0.0.1:12000/", "0123456789012345678901234567890123456789012345678901234567890123"},
        {nullptr, "01234567890123456789012345678901234567890123456789012345678901234", false,
         "http://127.0.0.1:12000/", "01234567890123456789012345678901234567890123456789012345678901234"},
    };
    for (auto const& c : cases)
    {
        TestSupport::LogCapture log;
        ScoreServerSettings settings = ScoreServerSettings::Parse(c.url, c.key);
        EXPECT_EQ(settings.online, c.online) << (c.key ? c.key : "(default)");
        EXPECT_EQ(settings.baseUrl, c.expectedUrl);
        EXPECT_EQ(settings.gameKey, c.expectedKey);
        EXPECT_EQ(log.Lines().size(), c.online ? 0u : 1u) << "one line for a malformed key";
    }
}

// The settings are read once per process: this is the only test here that
// reaches them through the game's own tables.
TEST(ScoreServerSettings, AMalformedServerLeavesTheGamesTablesOffline)
{
    TempDirectory home;
    ScopedEnvironment saves("XDG_DATA_HOME", home.Path());
    ScopedEnvironment server("COBALT_KEEP_SCORE_SERVER", "ftp://scores.example/");
    TestSupport::LogCapture log;
    ScoreServerSettings const& settings = ScoreServerSettings::Get();
    EXPECT_FALSE(settings.online);
    EXPECT_EQ(log.Lines().size(), 1u) << "reported once";
    EXPECT_EQ(&ScoreServerSettings::Get(), &settings);

    HighScores::SetTableHost(&LiveScoreTableHost::Instance());
    HighScores::ITopScore* level = HighScores::GetLevelScores(5);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(HighScores::GetLevelScores(5), level);
    EXPECT_EQ(level->GetState(), HighScores::GlobalScoreState::Failed);
    HighScores::ScoreStats stats;
    stats.score = 10;
    level->AddScore(stats, "AAA");
    EXPECT_EQ(level->GetBest().stats.score, 10);
    EXPECT_EQ(level->GetState(), HighScores::GlobalScoreState::Failed);

    EXPECT_EQ(HighScores::GetLevelScores(64), nullptr);
    EXPECT_EQ(HighScores::GetLevelScores(-1), nullptr);
    EXPECT_EQ(HighScores::GetStageScores(9), nullptr);
    EXPECT_NE(HighScores::GetStageScores(8), nullptr);
    EXPECT_NE(HighScores::GetInfiniteScores(), nullptr);
    EXPECT_EQ(HighScores::GetInfiniteScores(), HighScores::GetInfiniteScores());
    EXPECT_EQ(log.Lines().size(), 1u);
}
