#include "game/scores/SaveReader.h"

#include <cstring>

SaveReader::SaveReader(const uint8_t* data, int size) : data(data), size(data != nullptr && size > 0 ? size : 0) {}

bool SaveReader::Take(void* destination, int count)
{
    if (failed || count < 0 || count > size - position)
    {
        if (!failed)
            failedAt = position;
        failed = true;
        return false;
    }
    if (count > 0)
        std::memcpy(destination, data + position, size_t(count));
    position += count;
    return true;
}

// The fields are little-endian and so is every machine we build for; the
// byte copies below rely on that.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "saved files are read as little-endian");

bool SaveReader::ReadInt32(int32_t& value)
{
    int32_t read;
    if (!Take(&read, 4))
        return false;
    value = read;
    return true;
}

bool SaveReader::ReadInt16(int16_t& value)
{
    int16_t read;
    if (!Take(&read, 2))
        return false;
    value = read;
    return true;
}

bool SaveReader::ReadInt64(int64_t& value)
{
    int64_t read;
    if (!Take(&read, 8))
        return false;
    value = read;
    return true;
}

bool SaveReader::ReadByte(uint8_t& value)
{
    return Take(&value, 1);
}

bool SaveReader::ReadFloat(float& value)
{
    float read;
    if (!Take(&read, 4))
        return false;
    value = read;
    return true;
}

bool SaveReader::ReadDouble(double& value)
{
    double read;
    if (!Take(&read, 8))
        return false;
    value = read;
    return true;
}

bool SaveReader::ReadBytes(void* destination, int count)
{
    return Take(destination, count);
}

bool SaveReader::ReadString(std::string& value, int maxLength)
{
    const int start = position;
    int32_t length = 0;
    if (!ReadInt32(length))
        return false;
    if (length < 0 || length > maxLength || length > size - position)
    {
        failed = true;
        failedAt = start;
        return false;
    }
    value.assign(reinterpret_cast<const char*>(data + position), size_t(length));
    position += length;
    return true;
}

bool SaveReader::Skip(int count)
{
    if (failed || count < 0 || count > size - position)
        return Take(nullptr, -1);
    position += count;
    return true;
}
