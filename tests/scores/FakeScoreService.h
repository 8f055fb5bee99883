// A scripted leaderboard for the score-table tests: every request is kept
// with its values and its task, and the test answers it (on its own thread,
// as the per-frame dispatch would) or watches it being given up. The clock
// is a number the test moves.
#pragma once

#include "engine/core/MemoryBuffer.h"
#include "engine/core/RecordSchema.h"
#include "game/scores/HighScores.h"
#include "game/scores/IScoreService.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace ScoresTest
{

struct FakeRequest
{
    using Response = IScoreService::Response;
    using ResponseTask = IScoreService::ResponseTask;

    enum Kind
    {
        Submit,
        TopList,
        OwnScores
    } kind;
    int32_t board = 0;
    ScoreSubmission submission; // for Submit
    int16_t modeId = 0;         // for the queries
    uint256 deviceId;           // for OwnScores
    int16_t platformId = 0;     // for OwnScores
    ResponseTask* task = nullptr;
    bool cancelled = false;
    bool gone = false; // the task was destroyed
    bool answered = false;
    Response answer;

    Response Produce() { return answer; }
    void OnCancelled(ResponseTask*, Response) { cancelled = true; }
    // The rows belong to the task, as with the live service.
    void OnDisposed(ResponseTask*, Response)
    {
        gone = true;
        task = nullptr;
        FreeRows(answer.rows);
        answer.rows = nullptr;
    }

    static void FreeRows(Vexel::IO::MemoryBuffer* rows)
    {
        if (rows == nullptr)
            return;
        const int size = RecordSchema::GetRecordSize(HighScores::RowSchema);
        for (int offset = 0; offset + size <= rows->size; offset += size)
            RecordSchema::ReleaseRecord(HighScores::RowSchema, rows->data + offset);
        delete rows;
    }

    bool Pending() const { return !answered && !gone; }
};

// Rows as the live service decodes them.
inline Vexel::IO::MemoryBuffer* MakeRows(std::vector<HighScores::ScoreEntry> const& entries)
{
    const char* schema = HighScores::RowSchema;
    const int size = RecordSchema::GetRecordSize(schema);
    auto* rows = new Vexel::IO::MemoryBuffer(int(entries.size()) * size);
    for (size_t i = 0; i < entries.size(); i++)
    {
        uint8_t* row = rows->data + i * size_t(size);
        HighScores::ScoreEntry const& e = entries[i];
        std::string* name = new std::string(e.name);
        std::memcpy(row + RecordSchema::GetFieldOffset(schema, 0), &e.stats.score, 8);
        std::memcpy(row + RecordSchema::GetFieldOffset(schema, 1), &e.date, 8);
        std::memcpy(row + RecordSchema::GetFieldOffset(schema, 2), &name, sizeof(name));
        std::memcpy(row + RecordSchema::GetFieldOffset(schema, 3), &e.stats.kills, 4);
        std::memcpy(row + RecordSchema::GetFieldOffset(schema, 4), &e.stats.lastWaveIndex, 4);
        std::memcpy(row + RecordSchema::GetFieldOffset(schema, 5), &e.stats.seconds, 4);
        std::memcpy(row + RecordSchema::GetFieldOffset(schema, 6), &e.stats.extraWaves, 1);
    }
    return rows;
}

class FakeHost : public IScoreTableHost
{
public:
    using ResponseTask = IScoreService::ResponseTask;

    double now = 1300000000.0;
    bool offline = false;
    int servicesMade = 0;
    std::vector<std::unique_ptr<FakeRequest>> requests;

    ~FakeHost() override
    {
        for (auto& request : requests)
            if (!request->gone)
                FakeRequest::FreeRows(request->answer.rows);
    }

    double Now() override { return now; }
    IScoreService* CreateService() override
    {
        if (offline)
            return nullptr;
        servicesMade++;
        return new Service(*this);
    }

    // The requests of one kind still waiting for an answer.
    std::vector<FakeRequest*> Pending(FakeRequest::Kind kind)
    {
        std::vector<FakeRequest*> found;
        for (auto& request : requests)
            if (request->kind == kind && request->Pending())
                found.push_back(request.get());
        return found;
    }

    std::vector<FakeRequest*> All(FakeRequest::Kind kind)
    {
        std::vector<FakeRequest*> found;
        for (auto& request : requests)
            if (request->kind == kind)
                found.push_back(request.get());
        return found;
    }

    // Delivers an answer through the task's completed event.
    static void Answer(FakeRequest* request, int32_t status, Vexel::IO::MemoryBuffer* rows = nullptr)
    {
        ASSERT_TRUE(request->Pending());
        request->answer = FakeRequest::Response(status, rows);
        request->answered = true;
        request->task->Run();
    }

private:
    class Service : public IScoreService
    {
    public:
        explicit Service(FakeHost& host) : host(host) {}

        ResponseTask* Submit(int32_t board, ScoreSubmission const& submission) override
        {
            FakeRequest* request = Add(FakeRequest::Submit, board);
            request->submission = submission;
            return request->task;
        }
        ResponseTask* QueryTopList(int32_t board, int16_t modeId) override
        {
            FakeRequest* request = Add(FakeRequest::TopList, board);
            request->modeId = modeId;
            return request->task;
        }
        ResponseTask* QueryOwnScores(int32_t board, uint256 const& deviceId, int16_t platformId,
                                     int16_t modeId) override
        {
            FakeRequest* request = Add(FakeRequest::OwnScores, board);
            request->deviceId = deviceId;
            request->platformId = platformId;
            request->modeId = modeId;
            return request->task;
        }

    private:
        FakeRequest* Add(FakeRequest::Kind kind, int32_t board)
        {
            host.requests.emplace_back(new FakeRequest());
            FakeRequest* request = host.requests.back().get();
            request->kind = kind;
            request->board = board;
            request->task =
                new ResponseTask(Vexel::Func<FakeRequest::Response>(request, &FakeRequest::Produce),
                                 FakeRequest::Response(), false);
            request->task->Cancelled.Subscribe(
                Vexel::Action<ResponseTask*, FakeRequest::Response>(request, &FakeRequest::OnCancelled));
            request->task->Disposed.Subscribe(
                Vexel::Action<ResponseTask*, FakeRequest::Response>(request, &FakeRequest::OnDisposed));
            return request;
        }

        FakeHost& host;
    };
};

} // namespace ScoresTest
