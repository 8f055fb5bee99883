// The texts the score views write about one score entry: the leaderboard's
// columns and the top scores block's lines. Pure functions of the entry.
#pragma once

#include "game/scores/HighScores.h"

#include <cstdint>
#include <string>

// Hours, minutes and seconds: "1:02:05", "0:00:59". Hours are not padded;
// a negative time (only a damaged entry has one) reads as "0:00:00".
std::string FormatTimeTaken(int32_t seconds);

// The local calendar date of seconds since 1970 as day/month/year: the day
// unpadded, the month two digits, the year in full ("5/03/2010").
std::string FormatScoreDate(double seconds);

// The last wave index, then " +" and the extra waves when there are any:
// "12", "12 +3".
std::string FormatLeaderboardWaves(HighScores::ScoreStats const& stats);

// "not set..." for a score of 0 or less, else the score with thousands
// separators ("1,234,567").
std::string FormatScoreText(int64_t score);

// The line under a score: "12 +3 Waves  40 kills", "1 Wave  1 kill", or the
// kills alone when no wave index is known. Empty for a score of 0 or less.
std::string FormatGameDetails(HighScores::ScoreStats const& stats);
