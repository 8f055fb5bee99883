// Collects the little-endian fields of a saved file in memory, so that the
// file is written with one call and a failure shows in one place.
#pragma once

#include <cstdint>
#include <string>

class SaveWriter
{
public:
    void WriteInt32(int32_t value) { Put(&value, 4); }
    void WriteInt16(int16_t value) { Put(&value, 2); }
    void WriteInt64(int64_t value) { Put(&value, 8); }
    void WriteByte(uint8_t value) { Put(&value, 1); }
    void WriteFloat(float value) { Put(&value, 4); }
    void WriteDouble(double value) { Put(&value, 8); }
    void WriteBytes(const void* data, int count) { Put(data, count); }
    // An int32 length and the characters, without a terminator.
    void WriteString(std::string const& text)
    {
        WriteInt32(int32_t(text.size()));
        Put(text.data(), int(text.size()));
    }

    std::string const& Bytes() const { return bytes; }

    // Writes the bytes through the engine's file helpers (a temporary file
    // renamed over the old one); true only when the new file is in place. A
    // failure has been reported; the caller keeps its data as unsaved.
    bool SaveAs(std::string const& fileName) const { return SaveBytes(fileName, bytes); }
    static bool SaveBytes(std::string const& fileName, std::string const& bytes);

private:
    void Put(const void* data, int count)
    {
        if (count > 0)
            bytes.append(static_cast<const char*>(data), size_t(count));
    }

    std::string bytes;
};
