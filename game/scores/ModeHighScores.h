// The score table of one game mode (see HighScores.h). It submits a new
// online entry at once and retries a failed submission up to five attempts
// in a row, then starts a new round every 10 s; it fetches the top list every
// 60 s (every 10 s while the last fetch failed or a new entry is waiting to
// show) and asks once for the player's own scores on the server (then every
// 300 s until that succeeds) to restore a personal best lost with the file.
//
// A request it gives up (a newer one replaces it) is forgotten: it is
// unsubscribed before it is released, so its cancellation never counts as a
// failure and never starts another submission.
#pragma once

#include "game/scores/HighScores.h"
#include "game/scores/IScoreService.h"

#include <set>

class ModeHighScores : public HighScores::ITopScore
{
public:
    static const int32_t OwnScoresBoard = 11000;
    static const int32_t TopListBoard = 10003;
    static const int32_t LaterSubmitBoard = 10002; // after two accepted submissions, or when refused
    static const int32_t FirstSubmitBoard = 10001;
    static const int MaxAttempts = 5;
    static const int MaxGlobalEntries = 100;

    // Reads the table's file, asks for the top list, and resubmits an entry
    // the server has not accepted yet. The host (not owned, outliving the
    // table) gives the clock and the service.
    ModeHighScores(std::string const& name, int16_t modeId, IScoreTableHost* host);
    // Saves the file and gives up every pending request.
    ~ModeHighScores() override;
    ModeHighScores(const ModeHighScores&) = delete;
    ModeHighScores& operator=(const ModeHighScores&) = delete;

    void AddScore(HighScores::ScoreStats stats, std::string const& name) override;
    HighScores::ScoreEntry const& GetBest() override { return best; }
    HighScores::ScoreEntry const& GetLatest() override { return latest; }
    HighScores::ScoreEntry const& GetGlobalLeader() override;
    HighScores::ScoreEntry const& GetGlobalEntry(int n) override;
    int GetGlobalCount() override { return int(global.size()); }
    HighScores::GlobalScoreState::Enum GetState() override { return state; }
    StateEvent& StateChanged() override { return stateChanged; }
    void Update() override;

    void Save();
    int16_t GetModeId() const { return modeId; }
    std::string const& GetFileName() const { return fileName; }
    HighScores::ScoreEntry const& GetOnlineEntry() const { return online; }
    bool IsAccepted() const { return accepted; }
    int32_t GetChanges() const { return changes; }
    int32_t GetSuccesses() const { return successes; }
    int32_t GetAttempt() const { return attempt; }
    bool IsOwnScoresRestored() const { return ownScoresRestored; }
    double GetLastFetch() const { return lastFetch; }

private:
    using ResponseTask = IScoreService::ResponseTask;
    using Response = IScoreService::Response;

    struct EntryOrder
    {
        bool operator()(HighScores::ScoreEntry const& a, HighScores::ScoreEntry const& b) const
        {
            return HighScores::IsBetter(a, b);
        }
    };

    void Load();
    void SubmitOnlineEntry(int attempt, bool otherBoard);
    void QueryTopList();
    void QueryOwnScores();
    void UpdateState(bool failed);
    void OnTaskCompleted(ResponseTask* task, Response response);
    void OnTaskDisposed(ResponseTask* task, Response response);
    void CheckAward();
    void EnsureLeaderboard();
    void Watch(ResponseTask* task);
    // Unsubscribes and releases a task of ours; the slot becomes null.
    void Forget(ResponseTask*& task);
    void TrimGlobal();
    double Now();

    IScoreTableHost* host;
    IScoreService* service = nullptr;
    ResponseTask* submitTask = nullptr;
    ResponseTask* topListTask = nullptr;
    ResponseTask* ownScoresTask = nullptr;
    StateEvent stateChanged;
    HighScores::GlobalScoreState::Enum state = HighScores::GlobalScoreState::Idle;
    int32_t attempt = 0;
    bool accepted = true;
    int32_t changes = 0;
    int32_t successes = 0;
    HighScores::ScoreEntry online;
    std::string fileName;
    int16_t modeId;
    HighScores::ScoreEntry best, latest;
    double lastFetch = 0.0;
    std::multiset<HighScores::ScoreEntry, EntryOrder> global;
    bool topListDirty = false;
    bool submitRetry = false;
    bool ownScoresRestored = false;
    double lastQueryTime, lastSubmitTime, lastOwnScoresTime;
};
