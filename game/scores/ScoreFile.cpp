#include "game/scores/ScoreFile.h"

#include "engine/core/Log.h"
#include "game/scores/SaveReader.h"
#include "game/scores/SaveWriter.h"

#include <cmath>

namespace
{
bool ReadFlag(SaveReader& reader, bool& flag)
{
    uint8_t value;
    if (!reader.ReadByte(value))
        return false;
    flag = value != 0;
    return true;
}

// Whole or not at all.
bool ReadEntry(SaveReader& reader, HighScores::ScoreEntry& entry)
{
    HighScores::ScoreEntry read;
    uint8_t padding[3];
    if (!(reader.ReadInt64(read.stats.score) && reader.ReadInt32(read.stats.kills) &&
          reader.ReadInt32(read.stats.lastWaveIndex) && reader.ReadByte(read.stats.extraWaves) &&
          reader.ReadBytes(padding, 3) && reader.ReadInt32(read.stats.seconds) &&
          reader.ReadDouble(read.date) && reader.ReadString(read.name, ScoreFileRecord::MaxNameLength)))
        return false;
    // The list is ordered by date on equal scores: a NaN would break it.
    if (!std::isfinite(read.date))
        read.date = 0.0;
    entry = read;
    return true;
}

void WriteEntry(SaveWriter& writer, HighScores::ScoreEntry const& entry)
{
    const uint8_t padding[3] = {0, 0, 0};
    writer.WriteInt64(entry.stats.score);
    writer.WriteInt32(entry.stats.kills);
    writer.WriteInt32(entry.stats.lastWaveIndex);
    writer.WriteByte(entry.stats.extraWaves);
    writer.WriteBytes(padding, 3);
    writer.WriteInt32(entry.stats.seconds);
    writer.WriteDouble(entry.date);
    writer.WriteString(entry.name.substr(0, ScoreFileRecord::MaxNameLength));
}
} // namespace

std::string ScoreFileName(std::string const& tableName, int16_t modeId)
{
    return "highscore_" + tableName + "_" + std::to_string(modeId) + ".score";
}

ScoreReadResult::Enum ReadScoreFile(const uint8_t* data, int size, std::string const& fileName,
                                    ScoreFileRecord& record)
{
    SaveReader reader(data, size);
    int32_t version = -1;
    reader.ReadInt32(version);
    if (version != 5 && version != 6)
    {
        if (reader.Failed())
            Vexel::Log::Warning("scores",
                                "\"%s\" is too short to hold a version (%d bytes); the table starts empty",
                                fileName.c_str(), size < 0 ? 0 : size);
        else
            Vexel::Log::Warning("scores", "\"%s\" has version %d, not 5 or 6; the table starts empty",
                                fileName.c_str(), version);
        return ScoreReadResult::OtherVersion;
    }
    record.version = version;

    int32_t count = 0;
    bool complete = reader.ReadInt32(record.attempt) && ReadFlag(reader, record.accepted) &&
                    reader.ReadInt32(record.changes) && reader.ReadInt32(record.successes) &&
                    ReadFlag(reader, record.ownScoresRestored) && ReadEntry(reader, record.best) &&
                    ReadEntry(reader, record.online) && ReadEntry(reader, record.latest) &&
                    reader.ReadInt32(count);
    int damagedAt = reader.FailedAt();
    if (complete && count < 0)
    {
        complete = false;
        damagedAt = reader.Position() - 4;
    }
    record.global.clear();
    for (int32_t i = 0; complete && i < count; i++)
    {
        HighScores::ScoreEntry entry;
        if (!ReadEntry(reader, entry))
        {
            complete = false;
            damagedAt = reader.FailedAt();
            break;
        }
        if (int(record.global.size()) < ScoreFileRecord::MaxGlobalEntries)
            record.global.push_back(entry);
    }
    if (complete && !reader.ReadDouble(record.lastFetch))
    {
        complete = false;
        damagedAt = reader.FailedAt();
    }
    if (!std::isfinite(record.lastFetch))
        record.lastFetch = 0.0;
    if (!complete)
    {
        if (damagedAt < 0)
            damagedAt = reader.FailedAt();
        Vexel::Log::Warning("scores", "\"%s\" is damaged at byte %d (%d bytes); what came before is kept",
                            fileName.c_str(), damagedAt, size);
        return ScoreReadResult::Damaged;
    }
    return ScoreReadResult::Complete;
}

std::string WriteScoreFile(ScoreFileRecord const& record)
{
    SaveWriter writer;
    writer.WriteInt32(ScoreFileRecord::Version);
    writer.WriteInt32(record.attempt);
    writer.WriteByte(record.accepted ? 1 : 0);
    writer.WriteInt32(record.changes);
    writer.WriteInt32(record.successes);
    writer.WriteByte(record.ownScoresRestored ? 1 : 0);
    WriteEntry(writer, record.best);
    WriteEntry(writer, record.online);
    WriteEntry(writer, record.latest);
    writer.WriteInt32(int32_t(record.global.size()));
    for (HighScores::ScoreEntry const& entry : record.global)
        WriteEntry(writer, entry);
    writer.WriteDouble(record.lastFetch);
    return writer.Bytes();
}
