// The leaderboard service end to end: requests built here, answered by the
// independent Python score server over loopback, delivered on frames pumped
// by the test.
#include "engine/core/FrameEvents.h"
#include "engine/core/RecordSchema.h"
#include "engine/core/WideValues.h"
#include "engine/services/BoardExchange.h"
#include "engine/services/BoardTask.h"
#include "engine/services/Leaderboard.h"

#include "tests/network/ScoreServerProcess.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace Vexel::Services;
using TestSupport::ScoreServerProcess;
using ResponseTask = Leaderboard::ResponseTask;

namespace
{
const std::string RowSchema = "int64 datetime string:3 int32 int32 int32 byte skip:7";
const std::string SubmitSchema = "uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32";
const std::string OwnKeySchema = "uint256 int16 int16";
const std::string TopKeySchema = "int16";
const int16_t Mode = 3000;
const int Platform = 2;

struct Row
{
    int64_t score;
    double date;
    std::string name;
    int32_t kills, lastWave, seconds;
    uint8_t extraWaves;
};

// What came back for one request.
struct Answer
{
    bool completed = false;
    bool cancelled = false;
    int32_t status = -1;
    std::vector<Row> rows;
};

// Watches tasks and gives each up inside its completed handler, as the
// score tables do.
class Watcher
{
public:
    std::shared_ptr<Answer> Watch(ResponseTask* task, std::string const& schema = RowSchema)
    {
        auto answer = std::make_shared<Answer>();
        answers.push_back({task, answer});
        rowSchema = schema;
        task->Completed.Subscribe(
            Vexel::Action<ResponseTask*, Leaderboard::response_t>(this, &Watcher::OnCompleted));
        task->Cancelled.Subscribe(
            Vexel::Action<ResponseTask*, Leaderboard::response_t>(this, &Watcher::OnCancelled));
        return answer;
    }

    void OnCompleted(ResponseTask* task, Leaderboard::response_t response)
    {
        Answer* answer = Find(task);
        answer->completed = true;
        answer->status = response.status;
        for (int i = 0; i < Leaderboard::GetRowCount(response, rowSchema); i++)
        {
            const uint8_t* record = Leaderboard::GetRow(response, rowSchema, i);
            Row row;
            std::string* name;
            std::memcpy(&row.score, record + RecordSchema::GetFieldOffset(rowSchema, 0), 8);
            std::memcpy(&row.date, record + RecordSchema::GetFieldOffset(rowSchema, 1), 8);
            std::memcpy(&name, record + RecordSchema::GetFieldOffset(rowSchema, 2), sizeof(name));
            std::memcpy(&row.kills, record + RecordSchema::GetFieldOffset(rowSchema, 3), 4);
            std::memcpy(&row.lastWave, record + RecordSchema::GetFieldOffset(rowSchema, 4), 4);
            std::memcpy(&row.seconds, record + RecordSchema::GetFieldOffset(rowSchema, 5), 4);
            std::memcpy(&row.extraWaves, record + RecordSchema::GetFieldOffset(rowSchema, 6), 1);
            row.name = name ? *name : "<null>";
            answer->rows.push_back(row);
        }
        Forget(task);
        task->Release();
    }

    void OnCancelled(ResponseTask* task, Leaderboard::response_t) { Find(task)->cancelled = true; }

    // Unsubscribes and releases a task that is still pending.
    void GiveUp(ResponseTask* task)
    {
        task->Completed.Unsubscribe(this);
        task->Cancelled.Unsubscribe(this);
        Forget(task);
        task->Release();
    }

private:
    Answer* Find(ResponseTask* task)
    {
        for (auto& entry : answers)
            if (entry.first == task)
                return entry.second.get();
        static Answer nowhere;
        return &nowhere;
    }
    void Forget(ResponseTask* task)
    {
        for (auto& entry : answers)
            if (entry.first == task)
                entry.first = nullptr;
    }

    std::vector<std::pair<ResponseTask*, std::shared_ptr<Answer>>> answers;
    std::string rowSchema;
};

// Fires frames until the condition holds or 20 s have passed.
bool PumpUntil(std::function<bool()> condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Vexel::FrameEvents::Animating.Raise(1.0f / 30);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class LeaderboardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.IsRunning()) << "the score server did not start";
        ASSERT_TRUE(Leaderboard::SetServerUrl(server.BaseUrl()));
        Leaderboard::SetTimeLimit(5000);
        board.reset(new Leaderboard(gameKey));
    }

    void TearDown() override
    {
        board.reset();
        Vexel::FrameEvents::Animating.Raise(1.0f / 30); // answers what was left
        Leaderboard::SetTimeLimit(10000);
        EXPECT_EQ(0, BoardExchange::Instance().GetUserCount());
        EXPECT_EQ(0, BoardExchange::Instance().GetLeftoverCount());
    }

    std::shared_ptr<Answer> SubmitScore(int32_t boardId, uint256 const& device, std::string const& name,
                                        int64_t score)
    {
        return watcher.Watch(board->Submit(boardId, SubmitSchema, &device, Platform, int(Mode), &name,
                                           int64_t(INT64_MAX - score), score, 9, 2, 75, int32_t(score / 10)));
    }
    std::shared_ptr<Answer> TopList()
    {
        return watcher.Watch(board->Query(10003, RowSchema, TopKeySchema, int(Mode)));
    }
    std::shared_ptr<Answer> OwnScores(uint256 const& device)
    {
        return watcher.Watch(board->Query(11000, RowSchema, OwnKeySchema, &device, Platform, int(Mode)));
    }
    static bool Done(std::shared_ptr<Answer> const& answer)
    {
        return PumpUntil([&] { return answer->completed; });
    }

    std::string gameKey = "cobalt-keep-test";
    ScoreServerProcess server;
    std::unique_ptr<Leaderboard> board;
    Watcher watcher;
};

TEST_F(LeaderboardTest, SubmittedScoresComeBackInTheTopListAndOwnScores)
{
    const uint256 me(0x11111111, 2, 3, 4, 5, 6, 7, 0x88888888);
    const uint256 other(9, 9, 9, 9, 9, 9, 9, 9);
    auto first = SubmitScore(10001, me, "AAA", 1500);
    auto second = SubmitScore(10002, other, "BOB", 2500);
    auto better = SubmitScore(10002, me, "AAA", 1800);
    ASSERT_TRUE(Done(first) && Done(second) && Done(better));
    EXPECT_EQ(1, first->status);
    EXPECT_EQ(1, second->status);
    EXPECT_TRUE(first->rows.empty());

    auto top = TopList();
    ASSERT_TRUE(Done(top));
    EXPECT_EQ(1, top->status);
    ASSERT_EQ(2u, top->rows.size()); // each device once, best first
    EXPECT_EQ(2500, top->rows[0].score);
    EXPECT_EQ("BOB", top->rows[0].name);
    EXPECT_EQ(1800, top->rows[1].score);
    EXPECT_EQ("AAA", top->rows[1].name);
    EXPECT_EQ(180, top->rows[1].kills);
    EXPECT_EQ(9, top->rows[1].lastWave);
    EXPECT_EQ(75, top->rows[1].seconds);
    EXPECT_EQ(2, top->rows[1].extraWaves);
    EXPECT_GT(top->rows[1].date, 1.0e9);

    auto own = OwnScores(me);
    ASSERT_TRUE(Done(own));
    EXPECT_EQ(1, own->status);
    ASSERT_EQ(2u, own->rows.size());
    EXPECT_EQ(1800, own->rows[0].score);
    EXPECT_EQ(1500, own->rows[1].score);

    // The server saw the device, platform and mode as sent.
    const std::string dump = server.Control("dump");
    EXPECT_NE(std::string::npos,
              dump.find("10001 3000 888888880000000700000006000000050000000400000003000000021111111"
                        "1 2 AAA 1500 150 9 2 75 cobalt-keep-test"))
        << dump;
}

TEST_F(LeaderboardTest, EachMisbehaviourEndsWithItsStatus)
{
    struct Case
    {
        const char* mode;
        int32_t status;
    };
    const Case cases[] = {
        {"refuse-all", 0xF402},        {"http-404", 0xF101},  {"http-500", 0xF101},
        {"http-503", 0xF101},          {"http-401", 0xF101},  {"http-403", 0xF101},
        {"http-418", 0xF101},          {"bad-magic", 0xF801}, {"long-length", 0xF801},
        {"empty-body", 0xF101},        {"no-length", 0xF101}, {"odd-body", 0xF103},
        {"huge-count", 0xF801},        {"status-0", 0xF801},  {"status-2", 0xF801},
        {"status-3", 0xF801},          {"status-77", 77},     {"close-mid-body", 0xF101},
        {"header-never-ends", 0xF101}, {"hang-up", 0xF101},
    };
    for (Case const& c : cases)
    {
        ASSERT_EQ(std::string("mode ") + c.mode + "\n",
                  server.Control(std::string("misbehave=") + c.mode + "&count=1"));
        auto top = TopList();
        ASSERT_TRUE(Done(top)) << c.mode;
        EXPECT_EQ(c.status, top->status) << c.mode;
        EXPECT_TRUE(top->rows.empty()) << c.mode;
    }
    // And the server still answers properly afterwards.
    auto top = TopList();
    ASSERT_TRUE(Done(top));
    EXPECT_EQ(1, top->status);
}

TEST_F(LeaderboardTest, RefusalOnTheFirstBoardOnly)
{
    server.Control("misbehave=refuse");
    const uint256 me(1, 1, 1, 1, 1, 1, 1, 1);
    auto refused = SubmitScore(10001, me, "AAA", 10);
    auto accepted = SubmitScore(10002, me, "AAA", 10);
    ASSERT_TRUE(Done(refused) && Done(accepted));
    EXPECT_EQ(0xF402, refused->status);
    EXPECT_EQ(1, accepted->status);
}

TEST_F(LeaderboardTest, SilentServerTimesOutAndServerDownFails)
{
    Leaderboard::SetTimeLimit(300);
    server.Control("misbehave=silent&count=1");
    auto silent = TopList();
    ASSERT_TRUE(Done(silent));
    EXPECT_EQ(0xF101, silent->status);

    server.Stop();
    auto down = TopList();
    ASSERT_TRUE(Done(down));
    EXPECT_EQ(0xF101, down->status);
}

TEST_F(LeaderboardTest, ShutdownDoesNotWaitForASilentServer)
{
    Leaderboard::SetTimeLimit(10000);
    server.Control("misbehave=silent");
    auto stuck = TopList();
    auto queued = TopList();
    ASSERT_TRUE(PumpUntil([] { return BoardExchange::Instance().GetQueuedCount() == 1; }));
    const auto start = std::chrono::steady_clock::now();
    board.reset(); // the last user: stops the worker mid-download
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(stuck->completed);
    Vexel::FrameEvents::Animating.Raise(1.0f / 30);
    EXPECT_TRUE(stuck->completed);
    EXPECT_EQ(2, stuck->status);
    EXPECT_TRUE(queued->completed);
    EXPECT_EQ(2, queued->status);
}

TEST_F(LeaderboardTest, CancelledRequestIsNeverSent)
{
    Leaderboard::SetTimeLimit(500);
    server.Control("misbehave=silent&count=1");
    auto busy = TopList(); // holds the worker for the time limit
    ResponseTask* doomed = board->Query(10003, RowSchema, TopKeySchema, int(Mode));
    auto doomedAnswer = watcher.Watch(doomed);
    doomed->Cancel();
    EXPECT_TRUE(doomedAnswer->cancelled);
    watcher.GiveUp(doomed);
    auto after = TopList();
    ASSERT_TRUE(Done(busy) && Done(after));
    EXPECT_FALSE(doomedAnswer->completed);
    const std::string history = server.Control("history");
    // The silent one and the one after it; nothing in between.
    EXPECT_EQ("op=1 board=10003 misbehave=silent\nop=1 board=10003 key=cobalt-keep-test status=0x1 rows=0\n",
              history);
}

TEST_F(LeaderboardTest, GameKeysKeepTheirOwnTables)
{
    const uint256 me(5, 5, 5, 5, 5, 5, 5, 5);
    auto mine = SubmitScore(10001, me, "ME", 700);
    ASSERT_TRUE(Done(mine));
    Leaderboard other("another-game");
    auto theirs = watcher.Watch(other.Query(10003, RowSchema, TopKeySchema, int(Mode)));
    ASSERT_TRUE(Done(theirs));
    EXPECT_EQ(1, theirs->status);
    EXPECT_TRUE(theirs->rows.empty());
    EXPECT_EQ(2, BoardExchange::Instance().GetUserCount());
}

TEST(LeaderboardOffline, MalformedServerUrlIsReportedOnceAndFailsAtOnce)
{
    TestSupport::LogCapture log;
    const std::string before = Leaderboard::GetServerUrl();
    EXPECT_FALSE(Leaderboard::SetServerUrl("ftp://nowhere"));
    EXPECT_FALSE(Leaderboard::IsOnline());
    ASSERT_EQ(1u, log.Lines().size());
    EXPECT_NE(std::string::npos, log.Lines()[0].message.find("\"ftp://nowhere\""));
    {
        Leaderboard board("k");
        Watcher watcher;
        auto answer = watcher.Watch(board.Query(10003, RowSchema, TopKeySchema, int(Mode)));
        ASSERT_TRUE(PumpUntil([&] { return answer->completed; }));
        EXPECT_EQ(0xF101, answer->status);
    }
    Vexel::FrameEvents::Animating.Raise(1.0f / 30);
    EXPECT_TRUE(Leaderboard::SetServerUrl(before));
    EXPECT_TRUE(Leaderboard::IsOnline());
}

// BoardTask alone: the states its task's owner can drive it into.
struct Seen
{
    int completed = 0;
    int32_t status = -1;
    void OnCompleted(ResponseTask*, Leaderboard::response_t response)
    {
        completed++;
        status = response.status;
    }
};

TEST(BoardTask, CancelledThenAnsweredKeepsCancelled)
{
    BoardTask board("int32", 1);
    ResponseTask* task = board.GetTask();
    task->Cancel();
    EXPECT_EQ(2, board.GetStatus());
    EXPECT_EQ(nullptr, board.GetTask());
    board.Complete(1, new Vexel::IO::MemoryBuffer(8)); // freed, not kept
    EXPECT_EQ(2, board.GetStatus());
    task->Release();
}

TEST(BoardTask, ReleasedOrDestroyedTaskIsForgotten)
{
    BoardTask pending("int32", 2);
    pending.GetTask()->Release(); // a pending task is cancelled first
    EXPECT_EQ(2, pending.GetStatus());
    EXPECT_EQ(nullptr, pending.GetTask());
    pending.Deliver(); // nothing left to run

    BoardTask answered("int32", 3);
    answered.Complete(1, nullptr);
    ResponseTask* task = answered.GetTask();
    answered.Deliver();
    task->Release();
    EXPECT_EQ(3, answered.GetStatus());
    EXPECT_EQ(nullptr, answered.GetTask());
}

TEST(BoardTask, DeliveryHandsTheRowsToTheTask)
{
    const std::string schema = "int32 string:4";
    BoardTask* board = new BoardTask(schema, 3);
    ResponseTask* task = board->GetTask();
    Seen seen;
    task->Completed.Subscribe(
        Vexel::Action<ResponseTask*, Leaderboard::response_t>(&seen, &Seen::OnCompleted));
    Vexel::IO::MemoryBuffer* rows = new Vexel::IO::MemoryBuffer(RecordSchema::GetRecordSize(schema));
    std::string* text = new std::string("abcd");
    std::memcpy(rows->data + 4, &text, sizeof(text));
    board->Complete(1, rows);
    board->Deliver();
    delete board; // the task keeps the rows
    EXPECT_EQ(1, seen.completed);
    EXPECT_EQ(1, seen.status);
    EXPECT_EQ(rows, task->GetResult().rows);
    task->Release(); // frees the rows and the string (checked by the sanitizer build)
}

} // namespace
