#include "game/simulation/SpawnList.h"

#include "game/simulation/RawFields.h"

#include <algorithm>
#include <istream>
#include <ostream>

namespace
{

// Rows of the enemy kinds table; a spawned kind indexes it.
const int kEnemyKinds = 55;

bool Fail(SpawnList& list, std::string* error, const std::string& why)
{
    list.clear();
    if (error != nullptr)
        *error = why;
    return false;
}

} // namespace

uint16_t ExpandSpawnList(SpawnList& list)
{
    SpawnList copy;
    copy.swap(list);
    list.reserve(copy.size());
    // 64 bits: up to 65535 records of 65535 ticks each would pass 2^31.
    uint64_t t = 0;
    uint32_t end = 0;
    for (SpawnRecord record : copy)
    {
        if (record.count == 0)
            continue;
        t += record.delay;
        record.startTick = static_cast<uint16_t>(std::min<uint64_t>(t, 65535));
        record.delay = 0;
        list.push_back(record);
        uint32_t step = record.interval != 0 ? record.interval : 1;
        uint32_t groupEnd = std::min<uint32_t>(record.startTick + record.count * step, 65535);
        end = std::max(end, groupEnd);
    }
    return static_cast<uint16_t>(end);
}

void ClearSpawnList(SpawnList& list)
{
    list.clear();
}

void SaveSpawnList(const SpawnList& list, std::ostream& out)
{
    WriteInt32(out, static_cast<int32_t>(list.size()));
    for (const SpawnRecord& record : list)
    {
        uint8_t bytes[SpawnRecord::kBytes];
        record.ToBytes(bytes);
        out.write(reinterpret_cast<const char*>(bytes), SpawnRecord::kBytes);
    }
}

bool LoadSpawnList(SpawnList& list, std::istream& in, std::string* error)
{
    list.clear();
    int32_t count = ReadInt32(in);
    if (!in)
        return Fail(list, error, "the spawn list's count is cut off");
    if (count < 0 || count > kMaxSavedSpawnRecords)
        return Fail(list, error, "the spawn list holds " + std::to_string(count) + " records");
    list.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
    {
        uint8_t bytes[SpawnRecord::kBytes] = {};
        in.read(reinterpret_cast<char*>(bytes), SpawnRecord::kBytes);
        if (!in)
            return Fail(list, error, "spawn record " + std::to_string(i) + " is cut off");
        SpawnRecord record = SpawnRecord::FromBytes(bytes);
        if (record.kind >= kEnemyKinds)
            return Fail(list, error,
                        "spawn record " + std::to_string(i) + " has kind " + std::to_string(record.kind));
        list.push_back(record);
    }
    return true;
}
