// One column set of the leaderboard: its title row, the player's best and
// latest rows, and the global rows, made when first drawn and dropped
// whenever the table's contents change.
#pragma once

#include "game/frontend/elements/LeaderboardSingleElement.h"

#include <map>
#include <memory>

class LeaderboardVerticalPage
{
public:
    LeaderboardVerticalPage(float scale, int columnSet, IFlush* flusher, HighScores::ITopScore* table);
    virtual ~LeaderboardVerticalPage();

    LeaderboardSingleElement& GetHeader() { return *header; }
    LeaderboardSingleElement& GetBest() { return *best; }
    LeaderboardSingleElement& GetLatest() { return *latest; }
    // The global row of that index, made now when it is not there yet.
    LeaderboardSingleElement& GetRow(int index);
    // The global rows made so far.
    size_t GetRowCount() const { return rows.size(); }

    // The table changed: drop the global rows and read the best and latest
    // entries again.
    void Refresh();

private:
    float scale;
    int columnSet;
    IFlush* flusher;
    HighScores::ITopScore* table;
    std::unique_ptr<LeaderboardSingleElement> header;
    std::map<int, std::unique_ptr<LeaderboardSingleElement>> rows;
    std::unique_ptr<LeaderboardSingleElement> best;
    std::unique_ptr<LeaderboardSingleElement> latest;
};
