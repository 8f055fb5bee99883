// A score table's file: "highscore_" + table name + "_" + mode id + ".score",
// version 6 (version 5 is read too). Fields in order: attempt, accepted,
// changes, successes, ownScoresRestored, the best, online and latest
// entries, the count and entries of the global list (best first), and the
// time of the last top-list answer. An entry is its 24 stats bytes, a double
// date, an int32 name length and the characters.
#pragma once

#include "game/scores/HighScores.h"

#include <cstdint>
#include <string>
#include <vector>

struct ScoreFileRecord
{
    static const int32_t Version = 6;
    static const int MaxNameLength = 64;
    static const int MaxGlobalEntries = 100;

    int32_t version = Version; // as read: 5 or 6
    int32_t attempt = 0;
    bool accepted = true;
    int32_t changes = 0;
    int32_t successes = 0;
    bool ownScoresRestored = false;
    HighScores::ScoreEntry best, online, latest;
    std::vector<HighScores::ScoreEntry> global; // as stored, best first
    double lastFetch = 0.0;
};

struct ScoreReadResult
{
    enum Enum
    {
        Complete,
        OtherVersion, // nothing was read
        Damaged       // the fields and whole entries before the damage were read
    };
};

// The file name of a table.
std::string ScoreFileName(std::string const& tableName, int16_t modeId);

// Reads field by field and stops at the first one that cannot be read: the
// file ends, a name length outside 0..64, a negative count. An entry counts
// only when read whole, and the global list keeps its first 100 entries.
// Dates that are not numbers read as 0. Problems are reported once, naming
// the file.
ScoreReadResult::Enum ReadScoreFile(const uint8_t* data, int size, std::string const& fileName,
                                    ScoreFileRecord& record);
// Always version 6; names are cut to 64 characters.
std::string WriteScoreFile(ScoreFileRecord const& record);
