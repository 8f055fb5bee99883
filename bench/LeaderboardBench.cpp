// The leaderboard client against the local Python score server: round-trip
// time of a submit and of a top-list query (median of 100, answers taken as
// soon as they are ready rather than once per 33 ms frame), and how many
// requests per second the one exchange thread gets through when 500 wait in
// its queue. Run by hand: build/bench/leaderboard_bench.
#include "bench/BenchSupport.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/WideValues.h"
#include "engine/services/Leaderboard.h"

#include "tests/network/ScoreServerProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using Vexel::Services::Leaderboard;
using Clock = std::chrono::steady_clock;

namespace
{
using Vexel::Bench::Median;
using Vexel::Bench::Milliseconds;
const std::string RowSchema = "int64 datetime string:3 int32 int32 int32 byte skip:7";
const std::string SubmitSchema = "uint256 int16 int16 string:3 int64 int64 int32 byte int32 int32";

class Counter
{
public:
    int answered = 0;
    int failed = 0;

    void Watch(Leaderboard::ResponseTask* task)
    {
        task->Completed.Subscribe(
            Vexel::Action<Leaderboard::ResponseTask*, Leaderboard::response_t>(this, &Counter::OnCompleted));
    }
    void OnCompleted(Leaderboard::ResponseTask* task, Leaderboard::response_t response)
    {
        answered++;
        if (response.status != 1)
            failed++;
        task->Release();
    }
};

void PumpUntil(Counter const& counter, int answered)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(120);
    while (counter.answered < answered && Clock::now() < deadline)
    {
        Vexel::FrameEvents::Animating.Raise(0.0f);
        std::this_thread::yield();
    }
}

} // namespace

int main()
{
    TestSupport::ScoreServerProcess server({"--db", ":memory:"});
    if (!server.IsRunning())
    {
        std::fprintf(stderr, "leaderboard_bench: the score server did not start\n");
        return 1;
    }
    Leaderboard::SetServerUrl(server.BaseUrl());
    int failed = 0;
    {
        Leaderboard board("bench");
        Counter counter;
        std::vector<double> submits, queries;
        for (int i = 0; i < 100; i++)
        {
            const uint256 device(uint32_t(i), 1, 2, 3, 4, 5, 6, 7);
            const std::string name = "B" + std::to_string(i % 10);
            const int64_t score = 1000 + i;
            const Clock::time_point start = Clock::now();
            counter.Watch(board.Submit(10001, SubmitSchema, &device, 2, 3000, &name,
                                       int64_t(INT64_MAX - score), score, 9, 0, 60, 100));
            PumpUntil(counter, counter.answered + 1);
            submits.push_back(Milliseconds(Clock::now() - start));
        }
        for (int i = 0; i < 100; i++)
        {
            const Clock::time_point start = Clock::now();
            counter.Watch(board.Query(10003, RowSchema, "int16", 3000));
            PumpUntil(counter, counter.answered + 1);
            queries.push_back(Milliseconds(Clock::now() - start));
        }

        const int burst = 500;
        const int before = counter.answered;
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < burst; i++)
            counter.Watch(board.Query(10003, RowSchema, "int16", 1000 + i % 64));
        PumpUntil(counter, before + burst);
        const double seconds = Milliseconds(Clock::now() - start) / 1000.0;
        failed = counter.failed;

        std::printf("submit round trip (median of 100): %.2f ms\n", Median(submits));
        std::printf("top-list query round trip, 100 rows (median of 100): %.2f ms\n", Median(queries));
        std::printf("requests per second (%d queued top-list queries): %.0f\n", burst, burst / seconds);
        std::printf("failed requests: %d\n", failed);
    }
    Vexel::FrameEvents::Animating.Raise(0.0f);
    return failed == 0 ? 0 : 1;
}
