// Fires the real Shutdown event, which also stops the global thread pool, so
// it runs in a process of its own.
#include "engine/core/AppEvents.h"
#include "game/scores/Awards.h"
#include "game/scores/HighScores.h"
#include "game/scores/online/LiveScoreService.h"
#include "game/scores/ScoreFile.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

using namespace ScoresTest;

TEST_F(SaveFolderTest, ShutdownSavesAndClosesEveryTable)
{
    // No server: every request fails at once without touching the network.
    ScopedEnvironment server("COBALT_KEEP_SCORE_SERVER", "not a url");
    TestSupport::LogCapture log;
    HighScores::SetTableHost(&LiveScoreTableHost::Instance());
    HighScores::ITopScore* level = HighScores::GetLevelScores(3);
    HighScores::ITopScore* stage = HighScores::GetStageScores(8);
    ASSERT_NE(level, nullptr);
    ASSERT_NE(stage, nullptr);
    HighScores::ScoreStats stats;
    stats.score = 4200;
    stats.kills = 12;
    level->AddScore(stats, "END");
    AllAwards::GetGroupAward(2)->SetFlag2();
    unlink(SavePath("awards.awd").c_str());
    unlink(SavePath("highscore_level_1003.score").c_str());

    Vexel::AppEvents::Shutdown().Raise();

    EXPECT_TRUE(Exists("awards.awd"));
    EXPECT_EQ(ReadSaved("awards.awd")[4 + 66 * 3 + 2], 1);
    const std::string saved = ReadSaved("highscore_level_1003.score");
    ScoreFileRecord record;
    ASSERT_EQ(
        ReadScoreFile(reinterpret_cast<const uint8_t*>(saved.data()), int(saved.size()), "level", record),
        ScoreReadResult::Complete);
    EXPECT_EQ(record.best.name, "END");
    EXPECT_TRUE(Exists("highscore_stage_2008.score"));
    // After Shutdown a request makes a new table, read from its file.
    HighScores::ITopScore* again = HighScores::GetLevelScores(3);
    EXPECT_EQ(again->GetBest().stats.score, 4200);
}
