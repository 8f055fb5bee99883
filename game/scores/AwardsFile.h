// The awards file "awards.awd" (version 7, 220 bytes): the three flag bytes
// of the 64 level awards and then of the 8 stage awards. The full Gauntlet's
// flags are not part of it.
#pragma once

#include <cstdint>
#include <string>

class Award;

struct AwardsReadResult
{
    enum Enum
    {
        Complete,
        OtherVersion, // nothing was read
        Damaged       // the awards before the damage were read
    };
};

// Reads the flags of awards[0..71] without raising their Changed events.
// Problems are reported once, naming the file.
AwardsReadResult::Enum ReadAwardsFile(const uint8_t* data, int size, Award* const* awards);
std::string WriteAwardsFile(Award const* const* awards);
