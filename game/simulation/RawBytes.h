// Raw little-endian values of the saved game, any plain type. This program
// only runs on little-endian hosts, where that is the host order.
#pragma once

#include <cstring>
#include <istream>
#include <ostream>
#include <type_traits>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "saved games are little-endian");

template <class T> void WriteRaw(std::ostream& out, T const& value)
{
    static_assert(std::is_trivially_copyable<T>::value, "raw values are plain data");
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.write(bytes, sizeof(T));
}

// False, with value untouched, when the stream ends first.
template <class T> bool ReadRaw(std::istream& in, T& value)
{
    static_assert(std::is_trivially_copyable<T>::value, "raw values are plain data");
    char bytes[sizeof(T)];
    if (!in.read(bytes, sizeof(T)))
        return false;
    std::memcpy(&value, bytes, sizeof(T));
    return true;
}
