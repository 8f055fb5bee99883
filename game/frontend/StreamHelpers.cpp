#include "game/frontend/StreamHelpers.h"

#include <cstring>
#include <istream>
#include <ostream>

void WriteInt32(std::ostream& out, int32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.write(bytes, 4);
}

int32_t ReadInt32(std::istream& in)
{
    char bytes[4];
    in.read(bytes, 4);
    if (in.gcount() != 4)
        return -1;
    int32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}
