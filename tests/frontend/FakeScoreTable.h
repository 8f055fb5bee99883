// A score table whose entries and online state a test sets directly; it
// counts the polls and raises StateChanged like the real tables.
#pragma once

#include "game/scores/HighScores.h"

#include <vector>

namespace FrontEndTest
{

class FakeScoreTable : public HighScores::ITopScore
{
public:
    void AddScore(HighScores::ScoreStats, std::string const&) override {}
    HighScores::ScoreEntry const& GetBest() override { return best; }
    HighScores::ScoreEntry const& GetLatest() override { return latest; }
    HighScores::ScoreEntry const& GetGlobalLeader() override { return GetGlobalEntry(0); }
    HighScores::ScoreEntry const& GetGlobalEntry(int n) override
    {
        if (n < 0 || size_t(n) >= global.size())
            return none;
        return global[size_t(n)];
    }
    int GetGlobalCount() override { return int(global.size()); }
    HighScores::GlobalScoreState::Enum GetState() override { return state; }
    StateEvent& StateChanged() override { return stateChanged; }
    void Update() override { ++polls; }

    // Sets the state and tells the listeners, as a finished request would.
    void SetState(HighScores::GlobalScoreState::Enum newState)
    {
        state = newState;
        ITopScore* self = this;
        stateChanged.Raise(self, state);
    }

    static HighScores::ScoreEntry Entry(std::string const& name, int64_t score, int32_t kills = 0,
                                        int32_t lastWaveIndex = 0, uint8_t extraWaves = 0,
                                        int32_t seconds = 0, double date = 0.0)
    {
        HighScores::ScoreEntry e;
        e.name = name;
        e.stats.score = score;
        e.stats.kills = kills;
        e.stats.lastWaveIndex = lastWaveIndex;
        e.stats.extraWaves = extraWaves;
        e.stats.seconds = seconds;
        e.date = date;
        return e;
    }

    HighScores::ScoreEntry best;
    HighScores::ScoreEntry latest;
    HighScores::ScoreEntry none;
    std::vector<HighScores::ScoreEntry> global;
    HighScores::GlobalScoreState::Enum state = HighScores::GlobalScoreState::Idle;
    StateEvent stateChanged;
    int polls = 0;
};

} // namespace FrontEndTest
