#include "game/scores/HighScores.h"

#include "engine/core/RecordSchema.h"

#include <cmath>
#include <cstring>

namespace HighScores
{

const char* const RowSchema = "int64 datetime string:3 int32 int32 int32 byte skip:7";

bool IsBetter(ScoreEntry const& a, ScoreEntry const& b)
{
    return a.stats.score > b.stats.score || (a.stats.score == b.stats.score && a.date < b.date);
}

namespace
{
template <class T> T FieldAt(const uint8_t* row, int field)
{
    T value;
    std::memcpy(&value, row + RecordSchema::GetFieldOffset(RowSchema, field), sizeof(T));
    return value;
}

} // namespace

ScoreEntry ScoreEntryFromRow(const uint8_t* row)
{
    ScoreEntry entry;
    if (row == nullptr)
        return entry;
    entry.stats.score = FieldAt<int64_t>(row, 0);
    entry.date = FieldAt<double>(row, 1);
    if (!std::isfinite(entry.date))
        entry.date = 0.0; // the list is ordered by date on equal scores
    const std::string* name = FieldAt<const std::string*>(row, 2);
    entry.name = name != nullptr ? *name : std::string();
    entry.stats.kills = FieldAt<int32_t>(row, 3);
    entry.stats.lastWaveIndex = FieldAt<int32_t>(row, 4);
    entry.stats.seconds = FieldAt<int32_t>(row, 5);
    entry.stats.extraWaves = FieldAt<uint8_t>(row, 6);
    return entry;
}

} // namespace HighScores
