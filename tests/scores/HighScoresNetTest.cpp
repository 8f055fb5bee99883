// The score tables end to end: the live leaderboard client against the
// independent Python score server on a free port, with frames pumped by the
// test and a clock the test moves for the retry rounds.
#include "engine/core/DateTime.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Platform.h"
#include "engine/services/BoardStatus.h"
#include "engine/services/Leaderboard.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "game/scores/online/LiveScoreService.h"
#include "game/scores/ModeHighScores.h"
#include "tests/network/ScoreServerProcess.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

#include <chrono>
#include <functional>
#include <sstream>
#include <thread>

using namespace ScoresTest;
using HighScores::GlobalScoreState;
using TestSupport::ScoreServerProcess;

namespace
{
// Counts what the tables send through the live service.
class CountingService : public IScoreService
{
public:
    CountingService(std::string const& key, int& submits) : live(key), submits(submits) {}
    ResponseTask* Submit(int32_t board, ScoreSubmission const& submission) override
    {
        submits++;
        return live.Submit(board, submission);
    }
    ResponseTask* QueryTopList(int32_t board, int16_t modeId) override
    {
        return live.QueryTopList(board, modeId);
    }
    ResponseTask* QueryOwnScores(int32_t board, uint256 const& deviceId, int16_t platformId,
                                 int16_t modeId) override
    {
        return live.QueryOwnScores(board, deviceId, platformId, modeId);
    }

private:
    LeaderboardScoreService live;
    int& submits;
};

class NetHost : public IScoreTableHost
{
public:
    double offset = 0.0; // added to the wall clock
    int submits = 0;
    std::string key = "cobalt-keep-e2e";

    double Now() override { return Vexel::DateTime::Now() + offset; }
    IScoreService* CreateService() override { return new CountingService(key, submits); }
};

HighScores::ScoreStats Stats(int64_t score, int32_t kills = 50)
{
    HighScores::ScoreStats stats;
    stats.score = score;
    stats.kills = kills;
    stats.lastWaveIndex = 7;
    stats.extraWaves = 1;
    stats.seconds = 120;
    return stats;
}

std::vector<std::string> Lines(std::string const& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

// Lines of the server's request history that contain every given piece.
int CountHistory(ScoreServerProcess& server, std::vector<std::string> const& pieces)
{
    int count = 0;
    for (std::string const& line : Lines(server.Control("history")))
    {
        bool all = true;
        for (std::string const& piece : pieces)
            all = all && line.find(piece) != std::string::npos;
        count += all;
    }
    return count;
}

class HighScoresNetTest : public SaveFolderTest
{
protected:
    ScoreServerProcess server;
    NetHost host;

    void SetUp() override
    {
        ASSERT_TRUE(server.IsRunning());
        ASSERT_TRUE(Vexel::Services::Leaderboard::SetServerUrl(server.BaseUrl()));
        Vexel::Services::Leaderboard::SetTimeLimit(2000);
        GamePrefs::Unload();
        AllAwards::Unload();
    }

    void TearDown() override
    {
        Vexel::Services::Leaderboard::SetTimeLimit(10000);
        GamePrefs::Unload();
        AllAwards::Unload();
    }

    // Pumps frames (the leaderboard delivers on Animating) and updates the
    // table until the condition holds; false after 15 s.
    bool PumpUntil(ModeHighScores* table, std::function<bool()> condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (std::chrono::steady_clock::now() < deadline)
        {
            Vexel::FrameEvents::Animating.Raise(1.0f / 30);
            if (table != nullptr)
                table->Update();
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    bool Settled(ModeHighScores* table)
    {
        return PumpUntil(table,
                         [table] {
                             return table->GetState() == GlobalScoreState::Idle ||
                                    table->GetState() == GlobalScoreState::Failed;
                         });
    }
};
} // namespace

TEST_F(HighScoresNetTest, AFirstResultIsSubmittedTo10001AndComesBackInTheTopList)
{
    ModeHighScores table("infinite", 3000, &host);
    table.AddScore(Stats(4321, 77), "AAA");
    ASSERT_TRUE(PumpUntil(&table, [&] { return table.IsAccepted(); }));
    ASSERT_TRUE(PumpUntil(&table, [&] { return table.GetState() == GlobalScoreState::Idle; }));
    EXPECT_EQ(CountHistory(server, {"op=2", "board=10001", "key=cobalt-keep-e2e", "status=0x1"}), 1);

    const std::vector<std::string> rows = Lines(server.Control("dump"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].rfind("10001 3000 ", 0), 0u) << rows[0];
    EXPECT_NE(rows[0].find(" AAA 4321 77 7 1 120 cobalt-keep-e2e"), std::string::npos) << rows[0];

    ASSERT_EQ(table.GetGlobalCount(), 1);
    EXPECT_EQ(table.GetGlobalLeader().name, "AAA");
    EXPECT_EQ(table.GetGlobalLeader().stats.score, 4321);
    EXPECT_EQ(table.GetGlobalLeader().stats.kills, 77);
    EXPECT_GT(table.GetLastFetch(), 0.0);
}

TEST_F(HighScoresNetTest, TwoAcceptedSubmissionsMoveLaterOnesTo10002)
{
    ModeHighScores table("level", 1010, &host);
    for (int64_t score : {100, 200, 300})
    {
        table.AddScore(Stats(score), "BOB");
        ASSERT_TRUE(PumpUntil(&table, [&] { return table.IsAccepted(); })) << score;
    }
    EXPECT_EQ(CountHistory(server, {"op=2", "board=10001", "status=0x1"}), 2);
    EXPECT_EQ(CountHistory(server, {"op=2", "board=10002", "status=0x1"}), 1);
    EXPECT_EQ(table.GetSuccesses(), 3);
}

TEST_F(HighScoresNetTest, ARefusalMovesTheEntryTo10002)
{
    server.Control("misbehave=refuse&count=1");
    ModeHighScores table("stage", 2001, &host);
    table.AddScore(Stats(900), "EVE");
    ASSERT_TRUE(PumpUntil(&table, [&] { return table.IsAccepted(); }));
    EXPECT_EQ(CountHistory(server, {"op=2", "board=10001", "status=0xF402"}), 1) << server.Control("history");
    EXPECT_EQ(CountHistory(server, {"op=2", "board=10002", "status=0x1"}), 1);
    EXPECT_EQ(host.submits, 2);
}

TEST_F(HighScoresNetTest, WithTheServerDownFiveAttemptsFailThenANewRoundStarts)
{
    server.Stop();
    ModeHighScores table("infinite", 3000, &host);
    table.AddScore(Stats(555), "OFF");
    ASSERT_TRUE(
        PumpUntil(&table, [&] { return host.submits == 5 && table.GetState() == GlobalScoreState::Failed; }))
        << "never a spinner forever";
    EXPECT_EQ(table.GetAttempt(), 5) << "the attempts are used up";
    EXPECT_FALSE(table.IsAccepted());

    // Nothing more until ten seconds have passed on the table's clock.
    for (int i = 0; i < 20; i++)
    {
        Vexel::FrameEvents::Animating.Raise(1.0f / 30);
        table.Update();
    }
    EXPECT_EQ(host.submits, 5);
    host.offset += 10.5;
    table.Update();
    EXPECT_EQ(host.submits, 6);
    EXPECT_EQ(table.GetAttempt(), 0);
    EXPECT_EQ(table.GetState(), GlobalScoreState::Submitting);
    ASSERT_TRUE(PumpUntil(&table, [&]
                          { return host.submits == 10 && table.GetState() == GlobalScoreState::Failed; }));
}

TEST_F(HighScoresNetTest, OwnScoresRestoreALostBestAndGrantTheKillAward)
{
    {
        ModeHighScores first("level", 1001, &host);
        first.AddScore(Stats(9000, 300), "ME");
        // Dropping a table drops its pending queries: its own-scores query
        // is answered before it goes.
        ASSERT_TRUE(PumpUntil(&first, [&] { return first.IsAccepted() && first.IsOwnScoresRestored(); }));
    }
    // The files are lost: the table and the awards start over.
    unlink(SavePath("highscore_level_1001.score").c_str());
    unlink(SavePath("awards.awd").c_str());
    AllAwards::Unload();
    EXPECT_FALSE(AllAwards::GetAward(1)->IsAchieved());

    ModeHighScores table("level", 1001, &host);
    EXPECT_EQ(table.GetBest().stats.score, 0);
    ASSERT_TRUE(PumpUntil(&table, [&] { return table.IsOwnScoresRestored(); }));
    EXPECT_EQ(table.GetBest().stats.score, 9000);
    EXPECT_EQ(table.GetBest().name, "ME");
    EXPECT_EQ(table.GetBest().stats.kills, 300);
    EXPECT_TRUE(AllAwards::GetAward(1)->IsAchieved()) << "level 1 needs 290 kills";
    EXPECT_EQ(CountHistory(server, {"op=1", "board=11000", "status=0x1"}), 2) << "one per table";
}

TEST_F(HighScoresNetTest, AMisbehavingServerGivesFailureAndKeepsTheList)
{
    ModeHighScores table("infinite", 3000, &host);
    table.AddScore(Stats(1000), "KEP");
    ASSERT_TRUE(PumpUntil(&table, [&] { return table.IsAccepted(); }));
    ASSERT_TRUE(PumpUntil(&table, [&] { return table.GetState() == GlobalScoreState::Idle; }));
    ASSERT_TRUE(PumpUntil(&table, [&] { return table.IsOwnScoresRestored(); }));
    ASSERT_EQ(table.GetGlobalCount(), 1);

    for (const char* mode : {"http-404", "http-500", "bad-magic", "long-length", "empty-body", "odd-body",
                             "huge-count", "status-0", "close-mid-body", "header-never-ends"})
    {
        server.Control(std::string("misbehave=") + mode + "&count=1");
        host.offset += 61.0; // the list is due again
        table.Update();
        ASSERT_EQ(table.GetState(), GlobalScoreState::Fetching) << mode;
        ASSERT_TRUE(Settled(&table)) << mode;
        EXPECT_EQ(table.GetState(), GlobalScoreState::Failed) << mode;
        EXPECT_EQ(table.GetGlobalCount(), 1) << mode;
        EXPECT_EQ(table.GetGlobalLeader().name, "KEP") << mode;
    }
}

TEST_F(HighScoresNetTest, ASilentServerTimesOutAndTheTableGoesAway)
{
    Vexel::Services::Leaderboard::SetTimeLimit(300);
    server.Control("misbehave=silent");
    {
        ModeHighScores table("infinite", 3000, &host);
        table.AddScore(Stats(77), "ZZZ");
        ASSERT_TRUE(PumpUntil(&table, [&] { return table.GetState() == GlobalScoreState::Failed; }));
        EXPECT_FALSE(table.IsAccepted());
        // More requests wait in line; going away must not wait for them.
        host.offset += 100.0;
        table.Update();
    }
    ASSERT_TRUE(PumpUntil(nullptr, [] { return true; }));
    server.Control("misbehave=none");
}
