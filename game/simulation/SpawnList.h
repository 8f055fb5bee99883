// The spawn list of a game: spawn records kept by value, only ever appended,
// visited in order and cleared.
#pragma once

#include "game/simulation/SpawnRecord.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

typedef std::vector<SpawnRecord> SpawnList;

// The most records a saved list may hold.
const int kMaxSavedSpawnRecords = 65535;

// Drops spent records, turns every delay into a start tick inside the list
// (capped at 65535, delays become 0) and returns the tick at which the last
// group ends (0 when nothing is left).
uint16_t ExpandSpawnList(SpawnList& list);

void ClearSpawnList(SpawnList& list);

// int32 count, then the records' 16 raw bytes each.
void SaveSpawnList(const SpawnList& list, std::ostream& out);
// Reads what SaveSpawnList wrote. Trusts nothing: a count outside
// 0..kMaxSavedSpawnRecords, a short read or a kind outside the kinds table
// fails, leaving the list empty and `*error` (when given) saying why. Nothing
// is logged here: the saved game's loader reports the one failure.
bool LoadSpawnList(SpawnList& list, std::istream& in, std::string* error = nullptr);
