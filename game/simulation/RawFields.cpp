#include "game/simulation/RawFields.h"

#include <cstring>
#include <istream>
#include <ostream>

static_assert(sizeof(int32_t) == 4, "four-byte fields");

void WriteInt32(std::ostream& out, int32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.write(bytes, 4);
}

int32_t ReadInt32(std::istream& in)
{
    int32_t value = -1;
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    in.read(bytes, 4);
    std::memcpy(&value, bytes, 4);
    return value;
}
