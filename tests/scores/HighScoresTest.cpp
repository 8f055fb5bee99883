#include "engine/core/Platform.h"
#include "engine/services/BoardStatus.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "game/scores/ModeHighScores.h"
#include "game/scores/ScoreFile.h"
#include "tests/scores/FakeScoreService.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

#include <climits>
#include <cmath>
#include <limits>

using namespace ScoresTest;
using HighScores::GlobalScoreState;
using HighScores::ScoreEntry;
using HighScores::ScoreStats;
using Vexel::Services::BoardStatus;

namespace
{
ScoreStats Stats(int64_t score, int32_t kills = 100, int32_t lastWave = 7, uint8_t extra = 0,
                 int32_t seconds = 95)
{
    ScoreStats stats;
    stats.score = score;
    stats.kills = kills;
    stats.lastWaveIndex = lastWave;
    stats.extraWaves = extra;
    stats.seconds = seconds;
    return stats;
}

ScoreEntry Entry(int64_t score, std::string const& name, double date = 1000.0, int32_t kills = 5)
{
    ScoreEntry entry;
    entry.stats = Stats(score, kills);
    entry.name = name;
    entry.date = date;
    return entry;
}

// Every state change the table announces.
struct StateLog
{
    std::vector<GlobalScoreState::Enum> states;
    void OnChanged(HighScores::ITopScore*, GlobalScoreState::Enum state) { states.push_back(state); }
};

class HighScoresTest : public SaveFolderTest
{
protected:
    FakeHost host;
    StateLog log;

    void SetUp() override
    {
        GamePrefs::Unload();
        AllAwards::Unload();
    }
    void TearDown() override
    {
        GamePrefs::Unload();
        AllAwards::Unload();
    }

    std::unique_ptr<ModeHighScores> Make(std::string const& name = "level", int16_t mode = 1005)
    {
        std::unique_ptr<ModeHighScores> table(new ModeHighScores(name, mode, &host));
        table->StateChanged().Subscribe(
            HighScores::ITopScore::StateEvent::ActionType(&log, &StateLog::OnChanged));
        return table;
    }

    FakeRequest* Only(FakeRequest::Kind kind)
    {
        std::vector<FakeRequest*> pending = host.Pending(kind);
        EXPECT_EQ(pending.size(), 1u);
        return pending.empty() ? nullptr : pending[0];
    }
};
} // namespace

TEST_F(HighScoresTest, AFreshTableAsksForTheTopListAndWritesThe147ByteFile)
{
    auto table = Make();
    FakeRequest* topList = Only(FakeRequest::TopList);
    EXPECT_EQ(topList->board, 10003);
    EXPECT_EQ(topList->modeId, 1005);
    EXPECT_TRUE(host.Pending(FakeRequest::Submit).empty());
    EXPECT_EQ(table->GetState(), GlobalScoreState::Fetching);
    EXPECT_EQ(table->GetBest().name, "---");
    EXPECT_EQ(table->GetGlobalEntry(0).name, "---");
    EXPECT_EQ(table->GetGlobalEntry(-1).stats.score, 0);
    EXPECT_EQ(table->GetGlobalLeader().name, "---");
    EXPECT_EQ(host.servicesMade, 1);

    table.reset();
    EXPECT_TRUE(topList->gone) << "released with the table";
    EXPECT_FALSE(topList->answered);

    // Header, then three default entries ("---"), no list, lastFetch 0.
    std::string entry = std::string(24, '\0') + std::string(8, '\0') + Hex("03 00 00 00") + "---";
    std::string expected = Hex("06 00 00 00 00 00 00 00 01 00 00 00 00 00 00 00 00 00") + entry + entry +
                           entry + Hex("00 00 00 00") + std::string(8, '\0');
    EXPECT_EQ(ReadSaved("highscore_level_1005.score"), expected);
    EXPECT_EQ(expected.size(), 147u);
}

TEST_F(HighScoresTest, AFirstResultIsKeptListedSavedAndSubmittedTo10001)
{
    auto table = Make("infinite", 3000);
    table->AddScore(Stats(0), "AAA");
    EXPECT_FALSE(Exists("highscore_infinite_3000.score")) << "a score of 0 changes nothing";
    EXPECT_TRUE(host.Pending(FakeRequest::Submit).empty());

    host.now += 5.0;
    table->AddScore(Stats(4321, 77, 12, 3, 250), "AAA");
    EXPECT_EQ(table->GetBest().stats.score, 4321);
    EXPECT_EQ(table->GetLatest().date, host.now);
    EXPECT_EQ(table->GetOnlineEntry().name, "AAA");
    EXPECT_EQ(table->GetChanges(), 1);
    EXPECT_FALSE(table->IsAccepted());
    ASSERT_EQ(table->GetGlobalCount(), 1);
    EXPECT_EQ(table->GetGlobalLeader().stats.score, 4321);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Submitting);

    FakeRequest* submit = Only(FakeRequest::Submit);
    EXPECT_EQ(submit->board, 10001);
    EXPECT_EQ(submit->submission.deviceId, Vexel::Platform::GetDeviceId());
    EXPECT_EQ(submit->submission.platformId, 2);
    EXPECT_EQ(submit->submission.modeId, 3000);
    EXPECT_EQ(submit->submission.name, "AAA");
    EXPECT_EQ(submit->submission.inverseScore, INT64_MAX - 4321);
    EXPECT_EQ(submit->submission.score, 4321);
    EXPECT_EQ(submit->submission.lastWaveIndex, 12);
    EXPECT_EQ(submit->submission.extraWaves, 3);
    EXPECT_EQ(submit->submission.seconds, 250);
    EXPECT_EQ(submit->submission.kills, 77);

    // The 186-byte file: the 147 bytes of a fresh one with the entry in each
    // of the three slots and once in the list.
    std::string saved = ReadSaved("highscore_infinite_3000.score");
    ASSERT_EQ(saved.size(), 186u);
    EXPECT_EQ(Get<int32_t>(saved, 0), 6);
    EXPECT_EQ(Get<int32_t>(saved, 4), 0);   // attempt
    EXPECT_EQ(saved[8], 0);                 // not accepted
    EXPECT_EQ(Get<int32_t>(saved, 9), 1);   // changes
    EXPECT_EQ(Get<int32_t>(saved, 13), 0);  // successes
    for (size_t at : {18u, 57u, 96u, 139u}) // best, online, latest, the list's entry
    {
        EXPECT_EQ(Get<int64_t>(saved, at), 4321) << at;
        EXPECT_EQ(Get<int32_t>(saved, at + 8), 77) << at;
        EXPECT_EQ(Get<int32_t>(saved, at + 12), 12) << at;
        EXPECT_EQ(uint8_t(saved[at + 16]), 3) << at;
        EXPECT_EQ(saved.substr(at + 17, 3), std::string(3, '\0')) << at;
        EXPECT_EQ(Get<int32_t>(saved, at + 20), 250) << at;
        EXPECT_EQ(Get<double>(saved, at + 24), host.now) << at;
        EXPECT_EQ(saved.substr(at + 32, 7), Hex("03 00 00 00") + "AAA") << at;
    }
    EXPECT_EQ(Get<int32_t>(saved, 135), 1);

    // Accepted: the table fetches the list again.
    FakeHost::Answer(submit, BoardStatus::Success);
    EXPECT_TRUE(submit->gone);
    EXPECT_TRUE(table->IsAccepted());
    EXPECT_EQ(table->GetSuccesses(), 1);
    EXPECT_EQ(host.Pending(FakeRequest::TopList).size(), 1u) << "the old query was replaced";
    EXPECT_EQ(table->GetState(), GlobalScoreState::Fetching);
}

TEST_F(HighScoresTest, TwoAcceptedSubmissionsMoveLaterOnesTo10002)
{
    auto table = Make();
    int64_t score = 100;
    std::vector<int32_t> boards;
    for (int i = 0; i < 4; i++)
    {
        table->AddScore(Stats(score += 100), "BOB");
        FakeRequest* submit = Only(FakeRequest::Submit);
        boards.push_back(submit->board);
        FakeHost::Answer(submit, BoardStatus::Success);
    }
    EXPECT_EQ(boards, (std::vector<int32_t>{10001, 10001, 10002, 10002}));
    EXPECT_EQ(table->GetSuccesses(), 4);
    EXPECT_EQ(table->GetGlobalCount(), 1) << "each better result took the old one's place";
}

TEST_F(HighScoresTest, ARefusalMovesTheNextAttemptTo10002)
{
    auto table = Make();
    table->AddScore(Stats(500), "EVE");
    FakeRequest* first = Only(FakeRequest::Submit);
    FakeHost::Answer(first, BoardStatus::Refused);
    FakeRequest* second = Only(FakeRequest::Submit);
    EXPECT_EQ(second->board, 10002);
    EXPECT_EQ(table->GetAttempt(), 1);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Submitting);
    // An ordinary failure after that goes back to the first board.
    FakeHost::Answer(second, BoardStatus::DownloadFailed);
    EXPECT_EQ(Only(FakeRequest::Submit)->board, 10001);
}

TEST_F(HighScoresTest, FiveFailedAttemptsShowFailureUntilANewRoundTenSecondsLater)
{
    auto table = Make();
    FakeHost::Answer(Only(FakeRequest::TopList), BoardStatus::Success);
    table->AddScore(Stats(900), "EVE");
    for (int attempt = 0; attempt < 5; attempt++)
    {
        FakeRequest* submit = Only(FakeRequest::Submit);
        ASSERT_NE(submit, nullptr);
        EXPECT_EQ(table->GetAttempt(), attempt);
        EXPECT_EQ(table->GetState(), GlobalScoreState::Submitting);
        FakeHost::Answer(submit, BoardStatus::DownloadFailed);
    }
    EXPECT_TRUE(host.Pending(FakeRequest::Submit).empty());
    EXPECT_EQ(table->GetState(), GlobalScoreState::Failed) << "no spinner once the attempts are used up";
    EXPECT_EQ(log.states.back(), GlobalScoreState::Failed);

    const double failedAt = host.now;
    host.now = failedAt + 9.5;
    table->Update(); // own scores go out here; no submission yet
    EXPECT_TRUE(host.Pending(FakeRequest::Submit).empty());
    FakeHost::Answer(Only(FakeRequest::OwnScores), BoardStatus::Success);
    host.now = failedAt + 10.0;
    table->Update();
    FakeRequest* round = Only(FakeRequest::Submit);
    ASSERT_NE(round, nullptr);
    EXPECT_EQ(table->GetAttempt(), 0);
    EXPECT_EQ(round->board, 10001);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Submitting);
    FakeHost::Answer(round, BoardStatus::Success);
    EXPECT_TRUE(table->IsAccepted());
}

TEST_F(HighScoresTest, TheTopListIsFetchedEverySixtySecondsOrTenWhileDirty)
{
    auto table = Make();
    const double start = host.now;
    FakeHost::Answer(Only(FakeRequest::TopList), BoardStatus::Success,
                     MakeRows({Entry(50, "LOW", 1.0), Entry(900, "TOP", 5.0), Entry(900, "OLD", 2.0)}));
    EXPECT_EQ(table->GetState(), GlobalScoreState::Idle);
    ASSERT_EQ(table->GetGlobalCount(), 3);
    EXPECT_EQ(table->GetGlobalEntry(0).name, "OLD") << "the earlier of equal scores first";
    EXPECT_EQ(table->GetGlobalEntry(1).name, "TOP");
    EXPECT_EQ(table->GetGlobalEntry(2).name, "LOW");
    EXPECT_EQ(table->GetLastFetch(), start);
    EXPECT_EQ(Get<int32_t>(ReadSaved("highscore_level_1005.score"), 135), 3) << "saved";

    // Own scores leave at the first update; the list waits its 60 s.
    table->Update();
    FakeHost::Answer(Only(FakeRequest::OwnScores), BoardStatus::Success);
    host.now = start + 59.0;
    table->Update();
    EXPECT_TRUE(host.Pending(FakeRequest::TopList).empty());
    host.now = start + 60.0;
    table->Update();
    FakeRequest* again = Only(FakeRequest::TopList);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Fetching);

    // A failed fetch keeps the old list and asks again after 10 s.
    FakeHost::Answer(again, BoardStatus::BadReply);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Failed);
    EXPECT_EQ(table->GetGlobalCount(), 3);
    host.now = start + 69.0;
    table->Update();
    EXPECT_TRUE(host.Pending(FakeRequest::TopList).empty());
    host.now = start + 70.0;
    table->Update();
    EXPECT_EQ(host.Pending(FakeRequest::TopList).size(), 1u);
}

TEST_F(HighScoresTest, AClockSetBackDoesNotStallThePolling)
{
    auto table = Make();
    FakeHost::Answer(Only(FakeRequest::TopList), BoardStatus::Success);
    table->Update();
    FakeHost::Answer(Only(FakeRequest::OwnScores), BoardStatus::DownloadFailed);
    host.now -= 86400.0;
    table->Update();
    EXPECT_TRUE(host.Pending(FakeRequest::TopList).empty());
    host.now += 60.0;
    table->Update();
    EXPECT_EQ(host.Pending(FakeRequest::TopList).size(), 1u);
    host.now += 300.5;
    table->Update();
    EXPECT_EQ(host.Pending(FakeRequest::OwnScores).size(), 1u);
}

TEST_F(HighScoresTest, TheListKeepsAtMostAHundredEntries)
{
    auto table = Make();
    std::vector<ScoreEntry> rows;
    for (int i = 0; i < 150; i++)
        rows.push_back(Entry(1000 + i, "R" + std::to_string(i % 10), 10.0 + i));
    FakeHost::Answer(Only(FakeRequest::TopList), BoardStatus::Success, MakeRows(rows));
    ASSERT_EQ(table->GetGlobalCount(), 100);
    EXPECT_EQ(table->GetGlobalLeader().stats.score, 1149);
    EXPECT_EQ(table->GetGlobalEntry(99).stats.score, 1050);

    // Better than the online entry: it joins, the worst drops out.
    table->AddScore(Stats(1100), "NEW");
    EXPECT_EQ(table->GetGlobalCount(), 100);
    EXPECT_EQ(table->GetGlobalEntry(99).stats.score, 1051);
    // Better again: it takes its own old entry's place.
    table->AddScore(Stats(1200), "NEW");
    EXPECT_EQ(table->GetGlobalLeader().stats.score, 1200);
    EXPECT_EQ(table->GetGlobalEntry(99).stats.score, 1051);
    // Not better than the online entry: the list stays as it is.
    table->AddScore(Stats(1150), "NEW");
    EXPECT_EQ(table->GetGlobalEntry(1).stats.score, 1149);
    EXPECT_EQ(table->GetLatest().stats.score, 1150);
    EXPECT_EQ(table->GetBest().stats.score, 1200);
    EXPECT_EQ(table->GetChanges(), 2);
    EXPECT_EQ(table->GetGlobalEntry(100).name, "---");
}

TEST_F(HighScoresTest, EqualScoresKeepTheEarlierBest)
{
    auto table = Make();
    table->AddScore(Stats(700), "ONE");
    host.now += 1.0;
    table->AddScore(Stats(700), "TWO");
    EXPECT_EQ(table->GetBest().name, "ONE");
    EXPECT_EQ(table->GetLatest().name, "TWO");
    EXPECT_EQ(table->GetOnlineEntry().name, "ONE");
}

TEST_F(HighScoresTest, OwnScoresRestoreTheBestAndGrantTheKillAward)
{
    // Level 1 needs 290 kills.
    auto table = Make("level", 1001);
    EXPECT_TRUE(host.Pending(FakeRequest::OwnScores).empty()) << "asked at the first update, not before";
    table->Update();
    FakeRequest* own = Only(FakeRequest::OwnScores);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->board, 11000);
    EXPECT_EQ(own->modeId, 1001);
    EXPECT_EQ(own->platformId, 2);
    EXPECT_EQ(own->deviceId, Vexel::Platform::GetDeviceId());
    EXPECT_FALSE(AllAwards::GetAward(1)->IsAchieved());

    FakeHost::Answer(own, BoardStatus::Success,
                     MakeRows({Entry(300, "OLD", 50.0, 120), Entry(8000, "ME", 60.0, 300)}));
    EXPECT_EQ(table->GetBest().stats.score, 8000);
    EXPECT_EQ(table->GetBest().name, "ME");
    EXPECT_TRUE(table->IsOwnScoresRestored());
    EXPECT_TRUE(AllAwards::GetAward(1)->IsAchieved());
    EXPECT_EQ(table->GetState(), GlobalScoreState::Fetching) << "the first top list is still out";

    // Restored: never asked again.
    host.now += 10000.0;
    table->Update();
    EXPECT_TRUE(host.Pending(FakeRequest::OwnScores).empty());
}

TEST_F(HighScoresTest, AFailedOwnScoresQueryIsAFailureAndIsRetriedAfterFiveMinutes)
{
    auto table = Make();
    FakeHost::Answer(Only(FakeRequest::TopList), BoardStatus::Success);
    const double start = host.now;
    table->Update();
    FakeHost::Answer(Only(FakeRequest::OwnScores), BoardStatus::DownloadFailed);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Failed);
    EXPECT_FALSE(table->IsOwnScoresRestored());
    host.now = start + 300.0;
    table->Update();
    EXPECT_TRUE(host.Pending(FakeRequest::OwnScores).empty());
    host.now = start + 300.5;
    table->Update();
    EXPECT_EQ(host.Pending(FakeRequest::OwnScores).size(), 1u);
}

TEST_F(HighScoresTest, AReplacedSubmissionIsForgottenNotFailed)
{
    auto table = Make();
    table->AddScore(Stats(100), "ONE");
    FakeRequest* first = Only(FakeRequest::Submit);
    log.states.clear();
    table->AddScore(Stats(200), "TWO");
    EXPECT_TRUE(first->gone);
    EXPECT_TRUE(first->cancelled);
    EXPECT_FALSE(first->answered);
    ASSERT_EQ(host.All(FakeRequest::Submit).size(), 2u)
        << "exactly one new submission, no retry of the old one";
    EXPECT_EQ(Only(FakeRequest::Submit)->submission.name, "TWO");
    EXPECT_EQ(table->GetAttempt(), 0);
    EXPECT_TRUE(log.states.empty()) << "still submitting, never failed";

    // Going away releases everything pending without answers.
    table.reset();
    for (auto& request : host.requests)
        EXPECT_TRUE(request->gone);
}

TEST_F(HighScoresTest, AnAnswerForAGivenUpExchangeIsForgotten)
{
    auto table = Make();
    table->AddScore(Stats(300), "ONE");
    FakeHost::Answer(Only(FakeRequest::Submit), BoardStatus::Cancelled);
    EXPECT_TRUE(host.Pending(FakeRequest::Submit).empty()) << "no retry";
    EXPECT_EQ(table->GetAttempt(), 0);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Fetching);
    FakeHost::Answer(Only(FakeRequest::TopList), BoardStatus::Cancelled);
    EXPECT_EQ(table->GetState(), GlobalScoreState::Idle);
}

TEST_F(HighScoresTest, WithoutOnlineSubmissionResultsStayLocal)
{
    GamePrefs::SetSubmitOnline(false);
    auto table = Make();
    table->AddScore(Stats(650), "LOC");
    EXPECT_TRUE(host.All(FakeRequest::Submit).empty());
    EXPECT_EQ(table->GetGlobalCount(), 0);
    EXPECT_EQ(table->GetBest().stats.score, 650);
    EXPECT_EQ(table->GetOnlineEntry().stats.score, 650);
    host.now += 100.0;
    table->Update();
    EXPECT_TRUE(host.All(FakeRequest::Submit).empty());
}

TEST_F(HighScoresTest, AnOfflineLeaderboardShowsFailure)
{
    host.offline = true;
    auto table = Make();
    EXPECT_EQ(table->GetState(), GlobalScoreState::Failed);
    table->AddScore(Stats(10), "OFF");
    EXPECT_EQ(table->GetState(), GlobalScoreState::Failed);
    host.now += 20.0;
    table->Update();
    EXPECT_EQ(table->GetState(), GlobalScoreState::Failed);
    EXPECT_TRUE(host.requests.empty());
    EXPECT_EQ(table->GetBest().stats.score, 10);
}

TEST_F(HighScoresTest, ATableComesBackAsSaved)
{
    {
        auto table = Make("stage", 2003);
        table->AddScore(Stats(1234, 2600), "SAV");
        FakeHost::Answer(Only(FakeRequest::Submit), BoardStatus::Success);
        FakeHost::Answer(Only(FakeRequest::TopList), BoardStatus::Success,
                         MakeRows({Entry(5000, "TOP", 3.0)}));
    }
    AllAwards::Unload();
    host.requests.clear();
    auto table = Make("stage", 2003);
    EXPECT_EQ(table->GetBest().stats.score, 1234);
    EXPECT_EQ(table->GetBest().name, "SAV");
    EXPECT_TRUE(table->IsAccepted());
    EXPECT_EQ(table->GetSuccesses(), 1);
    EXPECT_EQ(table->GetGlobalCount(), 1);
    EXPECT_EQ(table->GetGlobalLeader().name, "TOP");
    EXPECT_TRUE(host.Pending(FakeRequest::Submit).empty()) << "accepted: nothing to resubmit";
    EXPECT_TRUE(AllAwards::GetGroupAward(3)->IsAchieved()) << "stage 3 needs 2600 kills; checked when read";
}

TEST_F(HighScoresTest, AVersion5FileIsReadAndResubmitted)
{
    ScoreFileRecord record;
    record.accepted = true;
    record.changes = 1;
    record.successes = 3;
    record.best = record.online = record.latest = Entry(777, "OLD", 99.0);
    std::string bytes = WriteScoreFile(record);
    std::memcpy(&bytes[0], "\x05\x00\x00\x00", 4);
    WriteSaved("highscore_infinite_3000.score", bytes);

    auto table = Make("infinite", 3000);
    EXPECT_EQ(table->GetBest().stats.score, 777);
    EXPECT_FALSE(table->IsAccepted());
    EXPECT_EQ(table->GetSuccesses(), 0);
    FakeRequest* submit = Only(FakeRequest::Submit);
    ASSERT_NE(submit, nullptr);
    EXPECT_EQ(submit->submission.score, 777);
    EXPECT_EQ(submit->board, 10001);
}

TEST_F(HighScoresTest, RowsWithUnusableDatesStillSort)
{
    auto table = Make();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    FakeHost::Answer(
        Only(FakeRequest::TopList), BoardStatus::Success,
        MakeRows({Entry(10, "A", nan), Entry(10, "B", 5.0), Entry(10, "C", nan), Entry(20, "D", nan)}));
    ASSERT_EQ(table->GetGlobalCount(), 4);
    EXPECT_EQ(table->GetGlobalEntry(0).name, "D");
    EXPECT_EQ(table->GetGlobalEntry(0).date, 0.0);
    EXPECT_EQ(table->GetGlobalEntry(3).name, "B");
}
