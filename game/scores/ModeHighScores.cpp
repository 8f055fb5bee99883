#include "game/scores/ModeHighScores.h"

#include "engine/core/File.h"
#include "engine/core/Platform.h"
#include "engine/services/BoardStatus.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "engine/core/RecordSchema.h"
#include "game/scores/SaveWriter.h"
#include "game/scores/ScoreFile.h"

#include <algorithm>
#include <climits>

using HighScores::GlobalScoreState;
using HighScores::ScoreEntry;
using Vexel::Services::BoardStatus;

namespace
{
// A counter read from a file may sit at its limit; it stops there.
void Increment(int32_t& counter)
{
    if (counter < INT32_MAX)
        counter++;
}
int RowSize()
{
    static const int size = RecordSchema::GetRecordSize(HighScores::RowSchema);
    return size;
}

int RowCount(IScoreService::Response const& response)
{
    return response.rows == nullptr || response.rows->data == nullptr ? 0 : response.rows->size / RowSize();
}

const uint8_t* Row(IScoreService::Response const& response, int index)
{
    return response.rows->data + size_t(index) * size_t(RowSize());
}
} // namespace

ModeHighScores::ModeHighScores(std::string const& name, int16_t modeId, IScoreTableHost* host)
    : host(host), fileName(ScoreFileName(name, modeId)), modeId(modeId)
{
    const double now = Now();
    lastQueryTime = now;
    lastSubmitTime = now;
    lastOwnScoresTime = now - 50000.0; // the first Update asks at once
    Load();
    QueryTopList();
    if (!accepted)
        SubmitOnlineEntry(0, false);
}

ModeHighScores::~ModeHighScores()
{
    Save();
    Forget(submitTask);
    Forget(topListTask);
    Forget(ownScoresTask);
    delete service;
}

double ModeHighScores::Now()
{
    return host->Now();
}

void ModeHighScores::Load()
{
    Vexel::IO::File::RemoveLeftovers(fileName);
    int size = 0;
    uint8_t* bytes = Vexel::IO::File::ReadAllBytes(fileName, false, &size);
    if (size < 0)
        return; // no file yet
    ScoreFileRecord record;
    const ScoreReadResult::Enum result = ReadScoreFile(bytes, size, fileName, record);
    delete[] bytes;
    if (result == ScoreReadResult::OtherVersion)
        return;
    attempt = record.attempt;
    accepted = record.accepted;
    changes = record.changes;
    successes = record.successes;
    ownScoresRestored = record.ownScoresRestored;
    best = record.best;
    online = record.online;
    latest = record.latest;
    for (ScoreEntry const& entry : record.global)
        global.insert(entry);
    TrimGlobal();
    lastFetch = record.lastFetch;
    CheckAward();
    if (record.version == 5)
    {
        // Files of that version may hold entries the server never took.
        accepted = false;
        successes = 0;
    }
}

void ModeHighScores::Save()
{
    ScoreFileRecord record;
    record.attempt = attempt;
    record.accepted = accepted;
    record.changes = changes;
    record.successes = successes;
    record.ownScoresRestored = ownScoresRestored;
    record.best = best;
    record.online = online;
    record.latest = latest;
    record.global.assign(global.begin(), global.end());
    record.lastFetch = lastFetch;
    // Each save writes the whole table, so one that failed (and was
    // reported) is made good by the next save point.
    SaveWriter::SaveBytes(fileName, WriteScoreFile(record));
}

void ModeHighScores::AddScore(HighScores::ScoreStats stats, std::string const& name)
{
    if (stats.score == 0)
        return;
    latest.stats = stats;
    latest.name = name;
    latest.date = Now();
    if (HighScores::IsBetter(latest, best))
        best = latest;
    EnsureLeaderboard();

    bool submissionDue = false;
    if (changes == 0 || HighScores::IsBetter(latest, online))
    {
        // The new entry takes the old online entry's place in the list.
        if (changes > 0)
        {
            for (auto it = global.begin(); it != global.end(); ++it)
                if (*it == online)
                {
                    global.erase(it);
                    break;
                }
        }
        if (GamePrefs::GetSubmitOnline())
            global.insert(latest);
        TrimGlobal();
        online = latest;
        accepted = false;
        Increment(changes);
        submissionDue = true;
    }
    Save();
    if (submissionDue)
    {
        Forget(submitTask);
        SubmitOnlineEntry(0, false);
    }
}

ScoreEntry const& ModeHighScores::GetGlobalLeader()
{
    static const ScoreEntry none;
    return global.empty() ? none : *global.begin();
}

ScoreEntry const& ModeHighScores::GetGlobalEntry(int n)
{
    static const ScoreEntry none;
    if (n < 0 || n >= int(global.size()))
        return none;
    auto it = global.begin();
    std::advance(it, n);
    return *it;
}

void ModeHighScores::SubmitOnlineEntry(int attempt, bool otherBoard)
{
    Forget(submitTask);
    if (changes <= 0)
        return;
    this->attempt = attempt;
    if (attempt >= MaxAttempts || !GamePrefs::GetSubmitOnline())
        return;
    EnsureLeaderboard();
    const int32_t board = successes < 2 && (attempt < 1 || !otherBoard) ? FirstSubmitBoard : LaterSubmitBoard;
    submitRetry = true;

    ScoreSubmission submission;
    submission.deviceId = Vexel::Platform::GetDeviceId();
    submission.platformId = int16_t(Vexel::Platform::GetPlatformId());
    submission.modeId = modeId;
    submission.name = online.name;
    submission.inverseScore = INT64_MAX - online.stats.score;
    submission.score = online.stats.score;
    submission.lastWaveIndex = online.stats.lastWaveIndex;
    submission.extraWaves = online.stats.extraWaves;
    submission.seconds = online.stats.seconds;
    submission.kills = online.stats.kills;
    submitTask = service != nullptr ? service->Submit(board, submission) : nullptr;
    if (submitTask == nullptr)
    {
        UpdateState(true); // offline: this attempt failed at once
        return;
    }
    Watch(submitTask);
    UpdateState(false);
}

void ModeHighScores::QueryTopList()
{
    EnsureLeaderboard();
    Forget(topListTask);
    topListDirty = true;
    topListTask = service != nullptr ? service->QueryTopList(TopListBoard, modeId) : nullptr;
    if (topListTask == nullptr)
    {
        UpdateState(true);
        return;
    }
    Watch(topListTask);
    UpdateState(false);
}

void ModeHighScores::QueryOwnScores()
{
    EnsureLeaderboard();
    Forget(ownScoresTask);
    lastOwnScoresTime = Now();
    ownScoresTask = service != nullptr
                        ? service->QueryOwnScores(OwnScoresBoard, Vexel::Platform::GetDeviceId(),
                                                  int16_t(Vexel::Platform::GetPlatformId()), modeId)
                        : nullptr;
    if (ownScoresTask == nullptr)
    {
        UpdateState(true);
        return;
    }
    Watch(ownScoresTask);
    UpdateState(false);
}

void ModeHighScores::Update()
{
    const double t = Now();
    // A clock set back must not stall the polling until it catches up.
    lastQueryTime = std::min(lastQueryTime, t);
    lastSubmitTime = std::min(lastSubmitTime, t);
    lastOwnScoresTime = std::min(lastOwnScoresTime, t);
    if (ownScoresTask == nullptr && !ownScoresRestored && t - lastOwnScoresTime > 300.0)
        QueryOwnScores();
    if (submitTask == nullptr && (!accepted || submitRetry) && t - lastSubmitTime >= 10.0)
    {
        lastSubmitTime = t;
        SubmitOnlineEntry(0, false);
    }
    if (topListTask == nullptr && ((topListDirty && t - lastQueryTime >= 10.0) || t - lastQueryTime >= 60.0))
    {
        lastQueryTime = t;
        QueryTopList();
    }
}

void ModeHighScores::OnTaskCompleted(ResponseTask* task, Response response)
{
    const double now = Now();
    if (task == nullptr || (task != submitTask && task != topListTask && task != ownScoresTask))
        return;
    if (response.status == BoardStatus::Cancelled)
    {
        // The exchange gave the request up: forgotten, not failed.
        Forget(task == submitTask ? submitTask : task == topListTask ? topListTask : ownScoresTask);
        UpdateState(false);
        return;
    }

    bool failed = response.status != BoardStatus::Success;
    if (task == submitTask)
    {
        lastSubmitTime = now;
        const bool otherBoard = response.status == BoardStatus::Refused;
        Forget(submitTask);
        if (!failed)
        {
            submitRetry = false;
            accepted = true;
            Increment(successes);
            QueryTopList();
        }
        else
        {
            // The next attempt at once; after the last one the failure shows
            // until Update starts a new round.
            SubmitOnlineEntry(attempt + 1, otherBoard);
        }
    }
    else if (task == topListTask)
    {
        lastQueryTime = now;
        if (!failed)
        {
            topListDirty = false;
            lastFetch = now;
            global.clear();
            for (int i = 0, count = RowCount(response); i < count; i++)
                global.insert(HighScores::ScoreEntryFromRow(Row(response, i)));
            TrimGlobal();
            Save();
        }
        Forget(topListTask);
    }
    else
    {
        lastQueryTime = now;
        if (!failed)
        {
            ownScoresRestored = true;
            lastOwnScoresTime = now;
            for (int i = 0, count = RowCount(response); i < count; i++)
            {
                ScoreEntry row = HighScores::ScoreEntryFromRow(Row(response, i));
                if (HighScores::IsBetter(row, best) || best.stats.score == 0)
                {
                    best = row;
                    CheckAward();
                }
            }
            Save();
        }
        Forget(ownScoresTask);
    }
    UpdateState(failed);
}

void ModeHighScores::OnTaskDisposed(ResponseTask* task, Response)
{
    if (task == submitTask)
        submitTask = nullptr;
    if (task == topListTask)
        topListTask = nullptr;
    if (task == ownScoresTask)
        ownScoresTask = nullptr;
}

void ModeHighScores::UpdateState(bool failed)
{
    GlobalScoreState::Enum next = submitTask != nullptr ? GlobalScoreState::Submitting
                                  : topListTask != nullptr || ownScoresTask != nullptr
                                      ? GlobalScoreState::Fetching
                                  : failed ? GlobalScoreState::Failed
                                           : GlobalScoreState::Idle;
    if (next == state)
        return;
    state = next;
    stateChanged.Raise(static_cast<ITopScore*>(this), next);
}

void ModeHighScores::CheckAward()
{
    Award* award = nullptr;
    if (modeId >= HighScores::StageModeBase && modeId <= HighScores::StageModeBase + 8)
        award = AllAwards::GetGroupAward(modeId - HighScores::StageModeBase);
    else if (modeId >= HighScores::LevelModeBase && modeId <= HighScores::LevelModeBase + 63)
        award = AllAwards::GetAward(modeId - HighScores::LevelModeBase);
    if (award != nullptr && !award->IsAchieved() && award->GetValue() <= best.stats.kills)
        award->SetAchieved();
}

void ModeHighScores::EnsureLeaderboard()
{
    if (service == nullptr)
        service = host->CreateService();
}

void ModeHighScores::Watch(ResponseTask* task)
{
    task->Completed.Subscribe(Vexel::Action<ResponseTask*, Response>(this, &ModeHighScores::OnTaskCompleted));
    task->Disposed.Subscribe(Vexel::Action<ResponseTask*, Response>(this, &ModeHighScores::OnTaskDisposed));
}

void ModeHighScores::Forget(ResponseTask*& task)
{
    if (task == nullptr)
        return;
    ResponseTask* given = task;
    task = nullptr;
    given->Completed.Unsubscribe(this);
    given->Disposed.Unsubscribe(this);
    given->Release();
}

void ModeHighScores::TrimGlobal()
{
    while (int(global.size()) > MaxGlobalEntries)
        global.erase(std::prev(global.end()));
}
