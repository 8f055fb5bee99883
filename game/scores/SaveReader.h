// Reads the little-endian fields of a saved file out of its bytes. A field
// that does not fit in what is left fails, leaves its destination alone and
// stops the reader: every later read fails too, so a reader can walk a file
// field by field and keep what it got before the damage.
#pragma once

#include <cstdint>
#include <string>

class SaveReader
{
public:
    SaveReader(const uint8_t* data, int size);

    bool ReadInt32(int32_t& value);
    bool ReadInt16(int16_t& value);
    bool ReadInt64(int64_t& value);
    bool ReadByte(uint8_t& value);
    bool ReadFloat(float& value);
    bool ReadDouble(double& value);
    bool ReadBytes(void* destination, int count);
    // An int32 length and that many characters. A length below 0 or above
    // maxLength or what is left is damage: the reader stops at the length.
    bool ReadString(std::string& value, int maxLength);
    bool Skip(int count);

    int Position() const { return position; }
    int Remaining() const { return failed ? 0 : size - position; }
    bool Failed() const { return failed; }
    // Where the first failed read started (-1 while none failed).
    int FailedAt() const { return failedAt; }

private:
    bool Take(void* destination, int count);

    const uint8_t* data;
    int size;
    int position = 0;
    int failedAt = -1;
    bool failed = false;
};
