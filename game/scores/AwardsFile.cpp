#include "game/scores/AwardsFile.h"

#include "engine/core/Log.h"
#include "game/scores/Awards.h"
#include "game/scores/SaveReader.h"
#include "game/scores/SaveWriter.h"

namespace
{
const int StoredAwards = AllAwards::LevelCount + AllAwards::StageCount;
}

AwardsReadResult::Enum ReadAwardsFile(const uint8_t* data, int size, Award* const* awards)
{
    SaveReader reader(data, size);
    int32_t version = -1;
    reader.ReadInt32(version);
    if (version != AllAwards::FileVersion)
    {
        if (reader.Failed())
            Vexel::Log::Warning("scores", "\"%s\" is too short to hold a version (%d bytes); every award starts clear",
                                AllAwards::FileName, size < 0 ? 0 : size);
        else
            Vexel::Log::Warning("scores", "\"%s\" has version %d, not %d; every award starts clear",
                                AllAwards::FileName, version, AllAwards::FileVersion);
        return AwardsReadResult::OtherVersion;
    }
    for (int i = 0; i < StoredAwards; i++)
    {
        if (!awards[i]->Read(reader))
        {
            Vexel::Log::Warning("scores", "\"%s\" is truncated at byte %d; award %d and the later ones start clear",
                                AllAwards::FileName, size, i);
            return AwardsReadResult::Damaged;
        }
    }
    return AwardsReadResult::Complete;
}

std::string WriteAwardsFile(Award const* const* awards)
{
    SaveWriter writer;
    writer.WriteInt32(AllAwards::FileVersion);
    for (int i = 0; i < StoredAwards; i++)
        awards[i]->Write(writer);
    return writer.Bytes();
}
