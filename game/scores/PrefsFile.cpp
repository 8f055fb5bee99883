#include "game/scores/PrefsFile.h"

#include "engine/core/Log.h"
#include "game/scores/SaveReader.h"
#include "game/scores/SaveWriter.h"

#include <cmath>
#include <cstring>

const char* const PrefsRecord::FileName = "quellar_prefs.prf";

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

// A volume the audio modules can use: NaN gives full volume, the rest is
// clamped to 0..1.
float SaneVolume(float volume, bool& changed)
{
    float sane = std::isnan(volume) ? 1.0f : volume < 0.0f ? 0.0f : volume > 1.0f ? 1.0f : volume;
    changed = changed || !(sane == volume);
    return sane;
}
} // namespace

PrefsReadResult::Enum ReadPrefsFile(const uint8_t* data, int size, PrefsRecord& record)
{
    const char* name = PrefsRecord::FileName;
    SaveReader reader(data, size);
    int32_t version = -1;
    reader.ReadInt32(version);
    if (version != PrefsRecord::Version)
    {
        if (reader.Failed())
            Vexel::Log::Warning("scores", "\"%s\" is too short to hold a version (%d bytes); the defaults are kept",
                                name, size < 0 ? 0 : size);
        else
            Vexel::Log::Warning("scores", "\"%s\" has version %d, not %d; the defaults are kept", name, version,
                                PrefsRecord::Version);
        return PrefsReadResult::OtherVersion;
    }

    float musicVolume = record.musicVolume;
    float effectsVolume = record.effectsVolume;
    Vector3 tilt = record.tiltReference;
    const bool complete = ReadFlag(reader, record.soundEnabled) && reader.ReadFloat(musicVolume) &&
                          reader.ReadFloat(effectsVolume) && ReadFlag(reader, record.vibration) &&
                          ReadFlag(reader, record.tiltControls) && ReadFlag(reader, record.targetLocks) &&
                          ReadFlag(reader, record.targetSweep) &&
                          reader.ReadString(record.playerName, size) &&
                          reader.ReadInt32(record.startingWave) && reader.ReadInt32(record.musicSet) &&
                          ReadFlag(reader, record.firstRunDone) && reader.ReadFloat(tilt.x) &&
                          reader.ReadFloat(tilt.y) && reader.ReadFloat(tilt.z) &&
                          ReadFlag(reader, record.submitOnline);

    bool volumesChanged = false;
    record.musicVolume = SaneVolume(musicVolume, volumesChanged);
    record.effectsVolume = SaneVolume(effectsVolume, volumesChanged);
    if (volumesChanged)
        Vexel::Log::Warning("scores", "\"%s\" holds a volume outside 0..1; it is clamped", name);
    if (std::isfinite(tilt.x) && std::isfinite(tilt.y) && std::isfinite(tilt.z))
        record.tiltReference = tilt;
    else
        Vexel::Log::Warning("scores", "\"%s\" holds a tilt reference that is not a number; the old one is kept",
                            name);

    if (!complete)
    {
        Vexel::Log::Warning("scores", "\"%s\" is damaged at byte %d (%d bytes); the later values are kept", name,
                            reader.FailedAt(), size < 0 ? 0 : size);
        return PrefsReadResult::Damaged;
    }
    return PrefsReadResult::Complete;
}

std::string WritePrefsFile(PrefsRecord const& record)
{
    SaveWriter writer;
    writer.WriteInt32(PrefsRecord::Version);
    writer.WriteByte(record.soundEnabled ? 1 : 0);
    writer.WriteFloat(record.musicVolume);
    writer.WriteFloat(record.effectsVolume);
    writer.WriteByte(record.vibration ? 1 : 0);
    writer.WriteByte(record.tiltControls ? 1 : 0);
    writer.WriteByte(record.targetLocks ? 1 : 0);
    writer.WriteByte(record.targetSweep ? 1 : 0);
    // A name is saved up to its first NUL.
    writer.WriteString(std::string(record.playerName.c_str()));
    writer.WriteInt32(record.startingWave);
    writer.WriteInt32(record.musicSet);
    writer.WriteByte(record.firstRunDone ? 1 : 0);
    writer.WriteFloat(record.tiltReference.x);
    writer.WriteFloat(record.tiltReference.y);
    writer.WriteFloat(record.tiltReference.z);
    writer.WriteByte(record.submitOnline ? 1 : 0);
    return writer.Bytes();
}
